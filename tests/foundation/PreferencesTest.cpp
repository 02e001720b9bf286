#include "foundation/PreferenceRecord.h"

#include "foundation/LocaleChars.h"
#include "foundation/Archive.h"
#include "foundation/FontRecord.h"
#include "foundation/NumericFormat.h"
#include "foundation/PreferencesFonts.h"
#include "foundation/PreferencesStore.h"
#include "tests/foundation/RegistryTestSupport.h"
#include "tests/foundation/StreamBytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Sections and values of these tests carry names of their own, so they never meet the program's settings.
const char* const TestSection = "KivoTestSection";

class ProfileTest : public testing::Test {
protected:
    StoreTestLock lock;
    void SetUp() override { LocaleChars::Create(true); }
    void TearDown() override
    {
        DeleteProfileSection(TestSection, false);
        DeleteProfileSection(TestSection, true);
    }
};

TEST_F(ProfileTest, RegistryStringsAreWrittenReadAndDeleted)
{
    ASSERT_TRUE(WriteProfileString(TestSection, "Name", "Some value", false));
    std::vector<uint8_t> raw;
    DWORD type = 0;
    ASSERT_TRUE(RawRegistryValue(TestSection, "Name", raw, &type));
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(raw, (std::vector<uint8_t>{'S', 'o', 'm', 'e', ' ', 'v', 'a', 'l', 'u', 'e', 0}));

    zString text("old");
    EXPECT_TRUE(ReadProfileString(TestSection, "Name", text, 100, false));
    EXPECT_STREQ(text.Text(), "Some value");
    EXPECT_TRUE(ReadProfileString(TestSection, "Name", text, 11, false));
    EXPECT_STREQ(text.Text(), "Some value");
    // A value that does not fit reads as empty.
    EXPECT_FALSE(ReadProfileString(TestSection, "Name", text, 10, false));
    EXPECT_STREQ(text.Text(), "");

    EXPECT_TRUE(WriteProfileString(TestSection, "Name", nullptr, false));
    EXPECT_FALSE(ReadProfileString(TestSection, "Name", text, 100, false));
    EXPECT_TRUE(SectionExists(TestSection));
    EXPECT_TRUE(DeleteProfileSection(TestSection, false));
    EXPECT_FALSE(SectionExists(TestSection));
    EXPECT_FALSE(WriteProfileString(TestSection, "Name", nullptr, false));
}

TEST_F(ProfileTest, IniStringsAreWrittenReadAndDeleted)
{
    ASSERT_TRUE(WriteProfileString(TestSection, "Name", "In the file", true));
    EXPECT_EQ(IniValue(TestSection, "Name"), "In the file");
    zString text;
    EXPECT_TRUE(ReadProfileString(TestSection, "Name", text, 100, true));
    EXPECT_STREQ(text.Text(), "In the file");
    EXPECT_FALSE(ReadProfileString(TestSection, "Name", text, 100, false));

    EXPECT_TRUE(DeleteProfileKey(TestSection, "Name"));
    EXPECT_EQ(IniValue(TestSection, "Name"), "");
    WriteProfileString(TestSection, "Other", "x", true);
    EXPECT_TRUE(DeleteProfileSection(TestSection, true));
    EXPECT_EQ(IniValue(TestSection, "Other"), "");
}

TEST_F(ProfileTest, IntegersAreDecimalTextAndMissingOrBadValuesGiveTheDefault)
{
    ASSERT_TRUE(WriteProfileInt(TestSection, "Count", -42));
    zString text;
    ReadProfileString(TestSection, "Count", text, 64, false);
    EXPECT_STREQ(text.Text(), "-42");
    EXPECT_EQ(ReadProfileInt(TestSection, "Count", 5), -42);

    struct Row { const char* stored; int expected; };
    const Row rows[] = {{"1,000", 1000}, {"2K", 2000}, {"abc", 5}, {"", 5}, {"12x", 5}};
    for (const Row& row : rows) {
        WriteProfileString(TestSection, "Count", row.stored, false);
        EXPECT_EQ(ReadProfileInt(TestSection, "Count", 5), row.expected) << row.stored;
    }
    EXPECT_EQ(ReadProfileInt(TestSection, "Missing", 9), 9);
    EXPECT_EQ(ReadProfileInt("KivoTestNoSuchSection", "Missing", 9), 9);
}

// A record of two integers; its stored form is two 4-byte values, a negative first value being damage.
class TestRecord : public PreferenceRecord {
public:
    explicit TestRecord(const char* name) : name_(name) {}

    bool FromText(const char* text, int flag, const VersionRecord& version) override
    {
        ++fromTextCalls;
        textFlag = flag;
        textVersion = version.Key();
        int first = 0, second = 0;
        if (std::sscanf(text, "%d,%d", &first, &second) != 2)
            return false;
        a = first;
        b = second;
        return true;
    }
    const char* ClassName() const override { return name_; }
    void ReadProfile() override
    {
        ++readProfileCalls;
        a = ReadProfileInt(name_, "A", 7);
        b = ReadProfileInt(name_, "B", 8);
    }
    void WriteProfile() override
    {
        WriteProfileInt(name_, "A", a);
        WriteProfileInt(name_, "B", b);
    }
    void Serialize(Archive& archive, const VersionRecord& version) override
    {
        serializedVersion = version.Key();
        if (archive.IsStoring()) {
            archive.WriteLong(a).WriteLong(b);
            return;
        }
        archive.ReadLong(a).ReadLong(b);
        if (a < 0)
            archive.SetFormatError(27);
    }
    void SetDefaults() override
    {
        ++defaultsCalls;
        a = 1;
        b = 2;
    }

    int32_t a = 1;
    int32_t b = 2;
    int fromTextCalls = 0;
    int readProfileCalls = 0;
    int defaultsCalls = 0;
    int textFlag = -1;
    int32_t textVersion = 0;
    int32_t serializedVersion = 0;

private:
    const char* name_;
};

class PreferenceRecordTest : public testing::Test {
protected:
    StoreTestLock lock;
    void SetUp() override { LocaleChars::Create(true); }
    void TearDown() override
    {
        for (const char* name : {"KivoTestRecord", "KivoTestRecordVers"}) {
            RegistryDeleteValue("Preferences", name);
            DeleteProfileKey("Preferences", name);
        }
        DeleteProfileSection("KivoTestRecord", false);
        DeleteProfileSection("KivoTestRecord", true);
    }

    static std::vector<uint8_t> StoredValue()
    {
        std::vector<uint8_t> bytes;
        RawRegistryValue("Preferences", "KivoTestRecord", bytes);
        return bytes;
    }
    static void StoreValue(const std::vector<uint8_t>& bytes)
    {
        RegistryWriteValue("Preferences", "KivoTestRecord", REG_BINARY, bytes.data(), uint32_t(bytes.size()));
    }
};

TEST_F(PreferenceRecordTest, SavedAsTheVersionAndTheStoredForm)
{
    TestRecord record("KivoTestRecord");
    record.a = 0x01020304;
    record.b = -2;
    ASSERT_TRUE(SavePreferences(record));
    std::vector<uint8_t> raw;
    DWORD type = 0;
    ASSERT_TRUE(RawRegistryValue("Preferences", "KivoTestRecord", raw, &type));
    EXPECT_EQ(type, DWORD(REG_BINARY));
    EXPECT_EQ(raw, (std::vector<uint8_t>{0x03, 0x05, 0x00, 0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF}));

    TestRecord loaded("KivoTestRecord");
    LoadPreferences(loaded);
    EXPECT_EQ(loaded.a, 0x01020304);
    EXPECT_EQ(loaded.b, -2);
    EXPECT_EQ(loaded.serializedVersion, 0x305E0);
    EXPECT_EQ(loaded.readProfileCalls, 0);
    EXPECT_EQ(loaded.defaultsCalls, 0);
}

TEST_F(PreferenceRecordTest, WithNothingStoredTheIndividualKeysAreReadAndTheBinaryFormWritten)
{
    TestRecord record("KivoTestRecord");
    WriteProfileInt("KivoTestRecord", "B", 44);
    LoadPreferences(record);
    EXPECT_EQ(record.readProfileCalls, 1);
    EXPECT_EQ(record.a, 7);
    EXPECT_EQ(record.b, 44);
    EXPECT_EQ(StoredValue(), (std::vector<uint8_t>{0x03, 0x05, 0x00, 7, 0, 0, 0, 44, 0, 0, 0}));
}

TEST_F(PreferenceRecordTest, TheOlderTextFormIsReadWithItsVersion)
{
    WriteProfileString("Preferences", "KivoTestRecord", "5,6", false);
    WriteProfileString("Preferences", "KivoTestRecordVers", "2.5.3", false);
    TestRecord record("KivoTestRecord");
    LoadPreferences(record);
    EXPECT_EQ(record.fromTextCalls, 1);
    EXPECT_EQ(record.textFlag, 1);
    EXPECT_EQ(record.textVersion, 0x20503);
    EXPECT_EQ(record.readProfileCalls, 0);
    EXPECT_EQ(record.a, 5);
    EXPECT_EQ(record.b, 6);
    // Saved again in the binary form (over the older string value of the same name).
    EXPECT_EQ(StoredValue(), (std::vector<uint8_t>{0x03, 0x05, 0x00, 5, 0, 0, 0, 6, 0, 0, 0}));
}

TEST_F(PreferenceRecordTest, TextWithoutItsVersionFallsBackToTheIndividualKeys)
{
    WriteProfileString("Preferences", "KivoTestRecord", "5,6", false);
    TestRecord record("KivoTestRecord");
    LoadPreferences(record);
    EXPECT_EQ(record.fromTextCalls, 0);
    EXPECT_EQ(record.readProfileCalls, 1);
    EXPECT_EQ(record.a, 7);
}

TEST_F(PreferenceRecordTest, ADamagedBinaryValueGivesTheDefaults)
{
    const std::vector<uint8_t> damaged[] = {
        {0x03, 0x05, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 9, 0, 0, 0}, // the record's own check
        {0x01, 0x00, 0x00, 5, 0, 0, 0, 9, 0, 0, 0},             // version record out of range
        {0x03, 0x05, 0x00, 5, 0},                               // truncated
    };
    for (const auto& bytes : damaged) {
        StoreValue(bytes);
        TestRecord record("KivoTestRecord");
        record.a = 50;
        LoadPreferences(record);
        EXPECT_EQ(record.defaultsCalls, 1);
        EXPECT_EQ(record.a, 1);
        EXPECT_EQ(record.b, 2);
        EXPECT_EQ(StoredValue(), (std::vector<uint8_t>{0x03, 0x05, 0x00, 1, 0, 0, 0, 2, 0, 0, 0}));
    }
}

// Other test processes rewrite the INI file when they find a "Preferences" section in it, so the two INI
// checks run apart: the record's own section is written only while the file has no "Preferences" section.
TEST_F(PreferenceRecordTest, LoadingRemovesTheOlderIniKeys)
{
    WriteProfileString("Preferences", "KivoTestRecord", "1,2", true);
    WriteProfileString("Preferences", "KivoTestRecordVers", "2.5.3", true);
    TestRecord record("KivoTestRecord");
    LoadPreferences(record);
    EXPECT_EQ(IniValue("Preferences", "KivoTestRecord"), "");
    EXPECT_EQ(IniValue("Preferences", "KivoTestRecordVers"), "");
}

TEST_F(PreferenceRecordTest, LoadingTheBinaryFormRemovesTheOlderIniSection)
{
    WriteProfileString("KivoTestRecord", "A", "3", true);
    TestRecord record("KivoTestRecord");
    SavePreferences(record);
    LoadPreferences(record);
    EXPECT_EQ(IniValue("KivoTestRecord", "A"), "");
}

TEST(PreferenceRecordInDocument, StoredWithTheCurrentVersion)
{
    TestRecord record("KivoTestRecord");
    record.a = 3;
    record.b = 4;
    Bytes bytes = WrittenBytes([&](Archive& archive) { SerializeWithVersion(record, archive); });
    EXPECT_EQ(bytes, (Bytes{0x03, 0x05, 0x00, 3, 0, 0, 0, 4, 0, 0, 0}));
    TestRecord back("KivoTestRecord");
    ReadStream in(bytes);
    SerializeWithVersion(back, in);
    EXPECT_EQ(back.a, 3);
    EXPECT_EQ(back.b, 4);
}

TEST(PreferenceRecordInDocument, OlderDocumentsHoldTheTextForm)
{
    ReadStream in({0x02, 0x05, 0x03, 0x02, 0x05, 0x03, 0x03, 0x00, 0x00, 0x00, '5', ',', '6', 0x00});
    TestRecord record("KivoTestRecord");
    SerializeWithVersion(record, in);
    EXPECT_EQ(in->FormatError(), 0u);
    EXPECT_EQ(record.fromTextCalls, 1);
    EXPECT_EQ(record.textFlag, 0);
    EXPECT_EQ(record.textVersion, 0x20503);
    EXPECT_EQ(record.a, 5);
    EXPECT_EQ(record.b, 6);
}

TEST(PreferenceRecordInDocument, NothingHappensWhileAFormatErrorIsSet)
{
    TestRecord record("KivoTestRecord");
    MemoryStream out(100);
    out.SetFormatError(30);
    SerializeWithVersion(record, out);
    EXPECT_EQ(out.Position(), 0u);
}

TEST(NumericFormatPreferences, WithNothingStoredTheDefaultsAreSavedInBinaryForm)
{
    StoreTestLock lock;
    SavedRegistryValue savedBinary("Preferences", "NumericFormat");
    bool sectionExisted = SectionExists("NumericFormat");
    // Version, then the defaults: not an axis format, currency, commas, 0, 3 and 0 places, no chop-off. An axis
    // format made first saves the same: the saved format is the user's default.
    const std::vector<uint8_t> expected = {0x03, 0x05, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x03, 0x00, 0x00,
                                           0x03, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    for (bool axis : {false, true}) {
        RegistryDeleteValue("Preferences", "NumericFormat");
        NumericFormat format(axis);
        std::vector<uint8_t> raw;
        ASSERT_TRUE(RawRegistryValue("Preferences", "NumericFormat", raw));
        EXPECT_EQ(raw, expected) << (axis ? "axis format" : "format");
    }
    if (!sectionExisted)
        DeleteProfileSection("NumericFormat", false);
}

TEST(NumericFormatPreferences, IndividualKeysRoundTrip)
{
    StoreTestLock lock;
    LocaleChars::Create(true);
    bool sectionExisted = SectionExists("NumericFormat");
    NumericFormat format;
    format.unitsKind = NumericFormat::UnitsTextAfter;
    format.commas = 0;
    format.chopOff = 6;
    format.expValDigits = 2;
    format.probDigits = 5;
    format.axisDigits = 1;
    format.unitsText = "kg";
    format.WriteProfile();

    NumericFormat read;
    read.spare = 1;
    read.changed = 1;
    read.ReadProfile();
    EXPECT_EQ(read.unitsKind, NumericFormat::UnitsTextAfter);
    EXPECT_EQ(read.commas, 0);
    EXPECT_EQ(read.chopOff, 6);
    EXPECT_EQ(read.expValDigits, 2);
    EXPECT_EQ(read.probDigits, 5);
    EXPECT_EQ(read.axisDigits, 1);
    EXPECT_STREQ(read.unitsText.Text(), "kg");
    EXPECT_EQ(read.spare, 0);
    EXPECT_EQ(read.changed, 0);

    // Values out of range read as their defaults.
    WriteProfileInt("NumericFormat", "NumFormProbDigits", 99);
    read.ReadProfile();
    EXPECT_EQ(read.probDigits, 3);
    if (!sectionExisted)
        DeleteProfileSection("NumericFormat", false);
}

TEST(NumericFormatPreferences, AnAxisFormatStaysOneWhateverTheSavedFormat)
{
    NumericFormat axis(true);
    EXPECT_EQ(axis.axisFormat, 1);
    NumericFormat plain(false);
    EXPECT_EQ(plain.axisFormat, 0);
}

class FontPreferenceTest : public testing::Test {
protected:
    StoreTestLock lock;
    void TearDown() override
    {
        RegistryDeleteValue("Fonts", "KivoTest");
        RegistryDeleteValue("Preferences", "KivoTestFont");
    }
};

FontRecord Courier()
{
    FontRecord font;
    font.pointSize = 10;
    font.bold = 1;
    font.face = "Courier New";
    return font;
}

TEST_F(FontPreferenceTest, SavedFontsLoadBackEqual)
{
    FontRecord font = Courier();
    WriteProfileString("Preferences", "KivoTestFont", "stale", true);
    ASSERT_TRUE(SaveFontPreference(font, "KivoTest"));
    EXPECT_EQ(IniValue("Preferences", "KivoTestFont"), "");
    std::vector<uint8_t> raw;
    ASSERT_TRUE(RawRegistryValue("Fonts", "KivoTest", raw));
    EXPECT_EQ(raw.size(), 3u + 10u + 3u + 4u + 11u + 1u);

    FontRecord loaded;
    EXPECT_TRUE(LoadFontPreference(loaded, "KivoTest"));
    EXPECT_EQ(loaded, font);
}

TEST_F(FontPreferenceTest, ADamagedValueLeavesTheFont)
{
    FontRecord font = Courier();
    font.pointSize = 201;
    SaveFontPreference(font, "KivoTest");
    FontRecord loaded;
    EXPECT_TRUE(LoadFontPreference(loaded, "KivoTest"));
    EXPECT_EQ(loaded, FontRecord());
}

TEST_F(FontPreferenceTest, TheOlderTextFormIsReadAndSavedInBinaryForm)
{
    WriteProfileString("Preferences", "KivoTestFont", "10,0,1,0,Courier^New", false);
    FontRecord loaded;
    EXPECT_TRUE(LoadFontPreference(loaded, "KivoTest"));
    EXPECT_EQ(loaded, Courier());
    std::vector<uint8_t> raw;
    EXPECT_TRUE(RawRegistryValue("Fonts", "KivoTest", raw));
}

TEST_F(FontPreferenceTest, NothingUsableLeavesTheFont)
{
    WriteProfileString("Preferences", "KivoTestFont", "10,0,1,Arial", false);
    FontRecord loaded;
    EXPECT_FALSE(LoadFontPreference(loaded, "KivoTest"));
    EXPECT_EQ(loaded, FontRecord());
    std::vector<uint8_t> raw;
    EXPECT_FALSE(RawRegistryValue("Fonts", "KivoTest", raw));
}

} // namespace
