#include "foundation/PrinterSetupRecord.h"

#include "foundation/VersionRecord.h"
#include "tests/foundation/StreamBytes.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

namespace {

// A record holding a device mode of the given length whose own fields give dmSize and dmDriverExtra.
PrinterSetupRecord WithDevMode(int16_t length, WORD size, WORD extra)
{
    PrinterSetupRecord record;
    record.devModeLength = length;
    record.devMode.reset(new uint8_t[length]());
    DEVMODEA header{};
    header.dmSize = size;
    header.dmDriverExtra = extra;
    std::memcpy(record.devMode.get(), &header, std::min<size_t>(sizeof header, static_cast<size_t>(length)));
    return record;
}

// A stored device mode is handed on only when its length covers the structure and matches its own sizes;
// with option x never, yet it is written back unchanged.
TEST(PrinterSetupRecord, StoredDeviceModeIsUsedOnlyWhenItsSizesHold)
{
    const WORD full = sizeof(DEVMODEA);
    struct Case {
        int16_t length;
        WORD size, extra;
        bool used;
    } cases[] = {
        {static_cast<int16_t>(full + 8), full, 8, true},
        {static_cast<int16_t>(full), full, 8, false},
        {40, 32, 8, false},
    };
    const VersionRecord current = VersionRecord::Current();
    for (const Case& c : cases) {
        PrinterSetupRecord record = WithDevMode(c.length, c.size, c.extra);
        EXPECT_EQ(record.DevMode() != nullptr, c.used) << c.length;
        const Bytes stored = WrittenBytes([&](Archive& out) { record.Serialize(out, current); });
        ReadStream in(stored);
        PrinterSetupRecord read;
        read.Serialize(in, current);
        EXPECT_EQ(WrittenBytes([&](Archive& out) { read.Serialize(out, current); }), stored);
    }
}

TEST(PrinterSetupRecord, EmptyRecordAndTheReservedWordOfOlderFiles)
{
    PrinterSetupRecord empty;
    EXPECT_EQ(WrittenBytes([&](Archive& out) { empty.Serialize(out, VersionRecord::Current()); }),
              (Bytes{0, 0, 0, 0, 0, 0}));
    VersionRecord older;
    older.SetFromKey(KnownVersion::k3_0_Build9);
    ReadStream in(Bytes{2, 0, 0, 0, 7, 9});
    PrinterSetupRecord read;
    read.Serialize(in, older);
    ASSERT_FALSE(in->Failed());
    EXPECT_EQ(read.devModeLength, 2);
    EXPECT_EQ(read.devMode[1], 9);
}

} // namespace
