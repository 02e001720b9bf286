// Stored forms of the document links and the custom interface, hand-built at their version gates.

#include "model/CustomInterfaceSettings.h"
#include "model/DocumentLink.h"

#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "tests/foundation/StreamBytes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

VersionRecord Version(int32_t key)
{
    VersionRecord version;
    version.SetFromKey(key);
    return version;
}

Bytes LinkBytes(int32_t key, int16_t index)
{
    VersionRecord version = Version(key);
    return WrittenBytes([&](Archive& out) {
        version.Serialize(out);
        out.WriteShort(index).WriteShort(DocumentLink::DdeKind);
        FilePath().Serialize(out);
        for (const char* text : {"Sheet", "Book", "R1C1"})
            StoreString(out, text, 42);
        version.Serialize(out);
        StoreString(out, "1.5", 42);
        if (version.IsAtLeast(KnownVersion::k3_0)) {
            StoreString(out, "cost", 42);
            out.WriteShort(1);
        }
    });
}

TEST(DocumentLinkRecord, OlderRecordsHaveNoDescriptionAndANegativeIndexIsDamage)
{
    struct Case {
        int32_t key;
        int16_t index;
        uint32_t error;
        const char* description;
    } cases[] = {
        {KnownVersion::k2_6_Build2, 3, 0, ""},
        {KnownVersion::kCurrent, 3, 0, "cost"},
        {KnownVersion::kCurrent, -1, DocumentLink::FormatBadIndex, ""},
    };
    for (const Case& c : cases) {
        const Bytes bytes = LinkBytes(c.key, c.index);
        ReadStream in(bytes);
        DocumentLink link;
        link.Serialize(in);
        EXPECT_EQ(in->FormatError(), c.error) << std::hex << c.key;
        if (c.error != 0)
            continue;
        EXPECT_EQ(in->Position(), bytes.size());
        EXPECT_STREQ(link.item.Text(), "R1C1");
        EXPECT_STREQ(link.value.Text(), "1.5");
        EXPECT_STREQ(link.description.Text(), c.description);
    }
}

TEST(DocumentLinkRecord, NextIndexFillsTheFirstGap)
{
    struct Case {
        std::vector<int16_t> indexes;
        int expected;
    } cases[] = {{{1, 3}, 2}, {{2, 3}, 4}, {{5}, 2}, {{}, 1}, {{1}, 2}};
    for (const Case& c : cases) {
        DocumentLinkList list;
        for (int16_t index : c.indexes)
            list.InsertSorted(new DocumentLink(index));
        EXPECT_EQ(list.NextIndex(), c.expected) << c.indexes.size();
    }
}

Bytes InterfaceBytes(int32_t key)
{
    VersionRecord version = Version(key);
    return WrittenBytes([&](Archive& out) {
        version.Serialize(out);
        version.Serialize(out);
        for (int16_t flag : {1, 0, 1, 1, 0})
            out.WriteShort(flag);
        out.WriteShort(1).WriteShort(5);
        StoreString(out, "Cost");
        if (version.IsAtLeast(KnownVersion::k3_0_Beta2))
            out.WriteShort(1);
        if (version.IsNewerThan(KnownVersion::k3_0_Beta2))
            out.WriteLong(0x11);
        out.WriteShort(1);
        if (version.IsOlderThan(KnownVersion::k3_0_Beta2)) {
            StoreString(out, "old");
            StoreString(out, "old");
        }
        StoreString(out, "P");
        StoreString(out, "On");
        for (double value : {0.0, 1.0, 0.5, 0.25})
            out.WriteDouble(value);
        out.WriteShort(0).WriteShort(0).WriteShort(1);
        if (version.IsAtLeast(KnownVersion::k3_5))
            StoreString(out, "0.3");
        StoreString(out, "note");
    });
}

TEST(CustomInterfaceRecord, GatesOfTheOptionsAndParameters)
{
    struct Case {
        int32_t key;
        int16_t extended;
        uint32_t mask;
        const char* valueText;
    } cases[] = {
        {0x300B1, 0, 0x3F710, ""},
        {KnownVersion::k3_0_Beta2, 1, 0x3F710, ""},
        {KnownVersion::k3_0_Beta4, 1, 0x11, ""},
        {KnownVersion::kCurrent, 1, 0x11, "0.3"},
    };
    for (const Case& c : cases) {
        const Bytes bytes = InterfaceBytes(c.key);
        ReadStream in(bytes);
        CustomInterfaceSettings settings;
        settings.Serialize(in);
        SCOPED_TRACE(testing::Message() << std::hex << c.key);
        ASSERT_FALSE(in->Failed());
        EXPECT_EQ(in->Position(), bytes.size());
        EXPECT_EQ(settings.options.extended, c.extended);
        EXPECT_EQ(settings.options.analysesOffered, c.mask);
        ASSERT_EQ(settings.options.Count(), 1);
        EXPECT_EQ(settings.options.At(0)->code, 5);
        ASSERT_EQ(settings.Count(), 1);
        EXPECT_STREQ(settings.At(0)->variableName.Text(), "P");
        EXPECT_EQ(settings.At(0)->currentValue, 0.25);
        EXPECT_STREQ(settings.At(0)->valueText.Text(), c.valueText);
        EXPECT_STREQ(settings.comment.Text(), "note");
        if (c.key == KnownVersion::kCurrent) {
            EXPECT_EQ(WrittenBytes([&](Archive& out) { settings.Serialize(out); }), bytes);
        }
    }
}

} // namespace
