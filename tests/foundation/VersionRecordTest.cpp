#include "foundation/VersionRecord.h"

#include "foundation/Archive.h"
#include "foundation/zString.h"
#include "tests/foundation/StreamBytes.h"

#include <gtest/gtest.h>

namespace {

TEST(VersionRecordStored, ReadsThreeBytes)
{
    struct Row { Bytes bytes; int32_t key; int major, minor, build, beta; uint32_t formatError; };
    const Row rows[] = {
        {{0x02, 0x05, 0x04}, 0x20504, 2, 5, 4, 0, 0},
        {{0x02, 0x06, 0xB3}, 0x206B3, 2, 6, 0, 3, 0},
        {{0x03, 0x00, 0x09}, 0x300E9, 3, 0, 9, 0, 0},
        {{0x03, 0x05, 0x00}, 0x305E0, 3, 5, 0, 0, 0},
        {{0x02, 0x05, 0x00}, 0x20500, 2, 5, 0, 0, 0},
        {{0x0A, 0x0F, 0x00}, 0xA0FE0, 10, 15, 0, 0, 0},
        {{0x01, 0x00, 0x00}, 0x10000, 1, 0, 0, 0, 32},
        {{0x0B, 0x00, 0x00}, 0xB00E0, 11, 0, 0, 0, 32},
        {{0x03, 0x10, 0x00}, 0x310E0, 3, 16, 0, 0, 32},
    };
    for (const Row& row : rows) {
        ReadStream in(row.bytes);
        VersionRecord version;
        version.Serialize(in);
        EXPECT_EQ(in->FormatError(), row.formatError) << std::hex << row.key;
        EXPECT_EQ(version.Key(), row.key);
        EXPECT_EQ(version.Major(), row.major);
        EXPECT_EQ(version.Minor(), row.minor);
        EXPECT_EQ(version.Build(), row.build);
        EXPECT_EQ(version.Beta(), row.beta);
        EXPECT_EQ(in->FileVersion(), static_cast<uint32_t>(row.key));
    }
}

TEST(VersionRecordStored, TruncatedRecordSetsTheStreamState)
{
    ReadStream in({3, 5});
    VersionRecord version;
    version.Serialize(in);
    EXPECT_EQ(in->State(), 2u);
}

TEST(VersionRecordStored, CurrentVersionIsWrittenAsThreeBytesAndIsNewest)
{
    EXPECT_EQ(WrittenBytes([](Archive& a) { VersionRecord().Serialize(a); }), (Bytes{3, 5, 0}));
    VersionRecord beta;
    beta.SetFromKey(0x300B7);
    EXPECT_EQ(WrittenBytes([&](Archive& a) { beta.Serialize(a); }), (Bytes{3, 0, 0xB7}));

    ReadStream in({3, 5, 0});
    VersionRecord read(2, 5, 0);
    read.Serialize(in);
    EXPECT_EQ(read.Key(), 0x305E0);
    EXPECT_EQ(read.Key(), KnownVersion::kCurrent);
    for (int32_t known : KnownVersion::kAll)
        EXPECT_TRUE(read.IsNewerThan(known)) << std::hex << known;
}

TEST(VersionRecordStored, NothingHappensWhileAFormatErrorIsSet)
{
    EXPECT_EQ(WrittenBytes([](Archive& a) {
                  a.SetFormatError(30);
                  VersionRecord().Serialize(a);
              }),
              Bytes());
    ReadStream in({1, 0, 0});
    in->SetFormatError(22);
    VersionRecord version(3, 0, 9);
    version.Serialize(in);
    EXPECT_EQ(in->FormatError(), 22u);
    EXPECT_EQ(version.Key(), 0x300E9);
    EXPECT_EQ(in->Position(), 0u);
}

TEST(VersionRecordStored, OnlyTheFirstRecordNamesTheStreamVersion)
{
    ReadStream in({2, 6, 0xB2, 3, 5, 0});
    VersionRecord first, second;
    first.Serialize(in);
    second.Serialize(in);
    EXPECT_EQ(in->FileVersion(), 0x206B2u);
}

TEST(VersionRecordKey, PackingAndOrder)
{
    struct Row { int major, minor, build; int32_t key; };
    const Row rows[] = {
        {2, 5, 4, 0x20504}, {2, 5, 0, 0x20500}, {2, 6, 2, 0x206E2}, {2, 6, 0, 0x206E0},
        {3, 0, 9, 0x300E9}, {3, 0, 10, 0x300EA}, {3, 5, 0, 0x305E0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(VersionRecord(row.major, row.minor, row.build).Key(), row.key);

    VersionRecord beta5;
    beta5.SetFromKey(KnownVersion::k2_6_Beta5);
    EXPECT_TRUE(beta5.IsOlderThan(KnownVersion::k2_6_Build2));
    EXPECT_TRUE(beta5.IsAtMost(KnownVersion::k2_6_Beta5));
    EXPECT_TRUE(beta5.IsAtLeast(KnownVersion::k2_6_Beta5));
    EXPECT_TRUE(beta5.IsKey(0x206B5));
    EXPECT_TRUE(beta5.IsNewerThan(KnownVersion::k2_6));
    EXPECT_TRUE(beta5.IsBetaKey());
    EXPECT_EQ(beta5.LowNibble(), 5);
    EXPECT_EQ(beta5.Beta(), 5);
    EXPECT_EQ(beta5.Build(), 0);
    EXPECT_TRUE(VersionRecord().IsNewerThanRecord(beta5));
    EXPECT_FALSE(beta5.IsNewerThanRecord(VersionRecord()));

    VersionRecord build10;
    build10.SetFromKey(KnownVersion::k3_0_Build10);
    EXPECT_EQ(build10.Build(), 10);
    EXPECT_EQ(build10.Release(), 10);
    EXPECT_FALSE(build10.IsBetaKey());
}

TEST(VersionRecordText, TextForms)
{
    struct Row { int32_t key; bool useBuild; const char* text; };
    zString text;
    VersionRecord().ToText(text, false);
    EXPECT_STREQ(text.Text(), "3.5.6 / 32-bit");
    VersionRecord().ToText(text, true);
    EXPECT_STREQ(text.Text(), "3.5");
    const Row rows[] = {
        {0x300E9, true, "3.0.9"}, {0x300E9, false, "3.0.9 / 32-bit"}, {0x300B7, true, "3.0b7"},
        {0x300B7, false, "3.0b7 / 32-bit"}, {0x20500, true, "2.5"},
    };
    for (const Row& row : rows) {
        VersionRecord version;
        version.SetFromKey(row.key);
        version.ToText(text, row.useBuild);
        EXPECT_STREQ(text.Text(), row.text);
    }
}

TEST(VersionRecordText, ParseTheThreeForms)
{
    struct Row { const char* text; bool parsed; int32_t key; };
    const Row rows[] = {
        {"3.0.b7", true, 0x300B7}, {"3.0.9", true, 0x300E9}, {"2.6.f2", true, 0x206E2},
        {"2.5.4", true, 0x20504}, {"3.5", false, 0x305E0}, {"garbage", false, 0x305E0},
    };
    for (const Row& row : rows) {
        VersionRecord version;
        EXPECT_EQ(version.Parse(row.text), row.parsed) << row.text;
        EXPECT_EQ(version.Key(), row.key) << row.text;
    }
    // A parsed build leaves the beta number as it was.
    VersionRecord beta;
    beta.SetFromKey(0x300B7);
    beta.Parse("3.0.9");
    EXPECT_EQ(beta.Key(), 0x300B7);
    EXPECT_EQ(beta.Build(), 9);
}

}  // namespace
