// The stored form of a number kept with its typed text, on both sides of 3.5 beta 2.

#include "foundation/FormattedValue.h"
#include "foundation/MemoryStream.h"
#include "foundation/VersionRecord.h"

#include <gtest/gtest.h>

TEST(FormattedValue, FloatWithoutTextUpTo35Beta2ThenDoubleAndText)
{
    FormattedValue original{zString("1,000.25"), 1000.25};
    const struct {
        int32_t version;
        double value;
        const char* text;
    } cases[] = {{KnownVersion::k3_5_Beta2, 1000.25f, ""}, {KnownVersion::k3_5_Beta4, 1000.25, "1,000.25"}};
    for (const auto& c : cases) {
        MemoryStream stream(64);
        if (c.version == KnownVersion::k3_5_Beta2)
            stream.WriteFloat(1000.25f);
        else
            original.Serialize(stream, VersionRecord());
        MemoryStream reader(const_cast<uint8_t*>(stream.Data()), stream.Position(), false);
        VersionRecord version;
        version.SetFromKey(c.version);
        FormattedValue loaded{zString("stale"), 0.0};
        loaded.Serialize(reader, version);
        EXPECT_EQ(loaded.value, c.value) << std::hex << c.version;
        EXPECT_EQ(loaded.text, c.text) << std::hex << c.version;
        EXPECT_EQ(reader.Position(), stream.Position()) << std::hex << c.version;
    }
}
