#include "foundation/NumericFormat.h"

#include "foundation/LocaleChars.h"
#include "foundation/Archive.h"
#include "tests/foundation/StreamBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// Every case runs with the fixed number characters '.', '$' and ','.
class NumberTest : public testing::Test {
protected:
    void SetUp() override { LocaleChars::Create(true); }
    void TearDown() override { LocaleChars::Create(true); }

    static LocaleChars& Locale() { return const_cast<LocaleChars&>(*LocaleChars::Current()); }
};

struct FormatSettings {
    int unitsKind = NumericFormat::UnitsCurrency;
    int commas = 1;
    int chopOff = 0;
    const char* unitsText = "";
};

void Apply(NumericFormat& format, const FormatSettings& settings)
{
    format.SetDefaults();
    format.axisFormat = 0;
    format.unitsKind = settings.unitsKind;
    format.commas = static_cast<uint8_t>(settings.commas);
    format.chopOff = static_cast<uint8_t>(settings.chopOff);
    format.unitsText = settings.unitsText;
}

std::string Formatted(const NumericFormat& format, double value, bool display, int digits, bool expected = false)
{
    zString out("previous text");
    FormatNumber(format, value, out, expected, display, static_cast<int16_t>(digits));
    return out.Text();
}

using FormatNumberTest = NumberTest;

TEST_F(FormatNumberTest, DisplayedNumbersTakeGroupingChopOffAndUnits)
{
    struct Row { double value; int digits; FormatSettings settings; const char* expected; };
    const Row rows[] = {
        {1234567.891, 2, {}, "$1,234,567.89"},
        {-5, 0, {}, "($5)"},
        {-5, 0, {NumericFormat::UnitsNone}, "-5"},
        {2500000, 1, {NumericFormat::UnitsNone, 1, 6}, "2.5M"},
        {2500000, 1, {NumericFormat::UnitsCurrency, 1, 6}, "$2.5M"},
        {1500, 1, {NumericFormat::UnitsNone, 1, 3}, "1.5K"},
        {2e9, 0, {NumericFormat::UnitsNone, 1, 9}, "2B"},
        {250, 1, {NumericFormat::UnitsNone, 1, 2}, "2.5"},
        {1234, 0, {NumericFormat::UnitsNone}, "1,234"},
        {123, 0, {NumericFormat::UnitsNone}, "123"},
        {123456, 0, {NumericFormat::UnitsNone}, "123,456"},
        {1234567, 0, {NumericFormat::UnitsNone, 0}, "1234567"},
        {-1234.5, 1, {NumericFormat::UnitsNone}, "-1,234.5"},
        {5, 0, {NumericFormat::UnitsTextBefore, 1, 0, "kg"}, "kg 5"},
        {5, 0, {NumericFormat::UnitsTextAfter, 1, 0, "kg"}, "5 kg"},
        {-5, 0, {NumericFormat::UnitsTextAfter, 1, 0, "kg"}, "(5 kg)"},
        {5, 0, {7}, "5"},
        {0.004, 2, {}, "$0.00"},
        {-1e-12, 2, {}, "$0.00"},
        {0.25, 2, {NumericFormat::UnitsNone}, "0.25"},
    };
    NumericFormat format;
    for (const Row& row : rows) {
        Apply(format, row.settings);
        EXPECT_EQ(Formatted(format, row.value, true, row.digits), row.expected) << row.value;
    }
}

TEST_F(FormatNumberTest, PlainNumbersTakeTheRequestedPlaces)
{
    struct Row { double value; int digits; const char* expected; };
    const Row rows[] = {
        {0.5, -4, "0.5"},
        {0.5, 4, "0.5000"},
        {0.5, 2, "0.50"},
        {0.5, 4, "0.5000"},
        {1e-12, 4, "0"},
        {1.0 / 3.0, 12, "0.333333333"},
        {0.25, -20, "0.25"},
        {1.0 / 3.0, -20, "0.333333333"},
        {2.0, -3, "2"},
        {1234567.5, 1, "1234567.5"},
        {-2.5, -2, "-2.5"},
        {100.0, -2, "100"},
    };
    NumericFormat format;
    Apply(format, {});
    for (const Row& row : rows)
        EXPECT_EQ(Formatted(format, row.value, false, row.digits), row.expected) << row.value << " " << row.digits;
}

TEST_F(FormatNumberTest, TinyPlainNumbersUseTheExponentForm)
{
    NumericFormat format;
    Apply(format, {});
    std::string text = Formatted(format, 3.5e-6, false, -4);
    EXPECT_EQ(text.substr(0, 5), "3.5e-") << text;
    EXPECT_DOUBLE_EQ(std::stod(text), 3.5e-6);
}

TEST_F(FormatNumberTest, FormatDigitRequestsFollowTheKindOfNumber)
{
    NumericFormat format;
    Apply(format, {NumericFormat::UnitsNone});
    format.expValDigits = 0;
    format.probDigits = 3;
    format.axisDigits = 1;
    EXPECT_EQ(Formatted(format, 0.5, false, DigitsOfFormat), "0.500");
    EXPECT_EQ(Formatted(format, 0.5, false, DigitsOfFormatTrimmed), "0.5");
    EXPECT_EQ(Formatted(format, 2.75, false, DigitsOfFormat, true), "3");
    format.axisFormat = 1;
    EXPECT_EQ(Formatted(format, 2.26, false, DigitsOfFormat, true), "2.3");
    EXPECT_EQ(format.DigitsFor(false), 1);
}

TEST_F(FormatNumberTest, LocaleCharactersReplaceTheDefaults)
{
    NumericFormat format;
    Apply(format, {});
    Locale().SetFromSettings(",", ".", "EUR");
    EXPECT_EQ(Formatted(format, 1234.5, true, 1), "EU1.234,5");
    EXPECT_EQ(Formatted(format, 0.5, false, 1), "0,5");
    Locale().currencyFirst = 0;
    EXPECT_EQ(Formatted(format, 5, true, 0), "5EU");
    EXPECT_EQ(Formatted(format, -5, true, 0), "(5EU)");
    Locale().negativeInParentheses = 0;
    EXPECT_EQ(Formatted(format, -5, true, 0), "-5EU");
}

TEST_F(FormatNumberTest, AppendKeepsTheText)
{
    zString text("p = ");
    AppendFormattedNumber(text, 0.125, -9);
    EXPECT_STREQ(text.Text(), "p = 0.125");
}

TEST(NumericFormatDigits, ExtendedProbDigitsIsTwiceAtMostNine)
{
    NumericFormat format;
    const int rows[][2] = {{0, 0}, {3, 6}, {4, 8}, {5, 9}, {20, 9}};
    for (const auto& row : rows) {
        format.probDigits = static_cast<uint8_t>(row[0]);
        EXPECT_EQ(format.ExtendedProbDigits(), row[1]) << row[0];
    }
}

using ParseNumberTest = NumberTest;

TEST_F(ParseNumberTest, AcceptsDisplayedDecorations)
{
    struct Row { const char* text; double value; };
    const Row rows[] = {
        {"1,234.5", 1234.5}, {"(12)", -12},    {"-12", -12},       {"50%", 0.5},     {"2.5K", 2500},
        {"1e3", 1000},       {"1.5e-2", 0.015}, {"5e", 5},         {"$1,234.50", 1234.5},
        {"($5)", -5},        {"-$5", -5},      {"2.5k", 2500},     {"3M", 3e6},      {"1b", 1e9},
        {"50% ", 0.5},       {".5", 0.5},      {"5.", 5},          {"1,2,3", 123},   {"2E+2", 200},
        {"12.5%", 0.125},
    };
    for (const Row& row : rows) {
        double value = -99;
        int error = 7;
        ParseNumber(row.text, value, error);
        EXPECT_EQ(error, 0) << row.text;
        EXPECT_DOUBLE_EQ(value, row.value) << row.text;
    }
}

TEST_F(ParseNumberTest, RejectsWhatIsNoNumber)
{
    const char* const rows[] = {"1.2,3", "", ".", "5 K", "12 ", "50%x", "2Kx", "(", "$", "-", "1e999", "1..2", "+5"};
    for (const char* text : rows) {
        double value = -99;
        int error = 0;
        ParseNumber(text, value, error);
        EXPECT_NE(error, 0) << text;
        EXPECT_EQ(value, 0.0) << text;
    }
}

TEST_F(ParseNumberTest, RejectsLettersAndHighBytesWithoutTouchingTheValue)
{
    const char* const rows[] = {"abc", "\xC0" "12", "x1"};
    for (const char* text : rows) {
        double value = -99;
        int error = 0;
        ParseNumber(text, value, error);
        EXPECT_NE(error, 0) << text;
        EXPECT_EQ(value, -99) << text;
    }
}

TEST_F(ParseNumberTest, LetterCurrencyIsANumberOnlyAtTheFront)
{
    Locale().SetFromSettings(".", ",", "kr");
    double value = 0;
    int error = 0;
    ParseNumber("kr12", value, error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(value, 12);
    ParseNumber("k12", value, error);
    EXPECT_NE(error, 0);
}

TEST_F(ParseNumberTest, DisplayedNumbersReadBack)
{
    NumericFormat format;
    Apply(format, {});
    const double values[] = {1234567.89, -5, 0.25, -1234.5, 0};
    for (double value : values) {
        zString text;
        FormatNumber(format, value, text, false, true, 2);
        double back = -99;
        int error = 0;
        ParseNumber(text.Text(), back, error);
        EXPECT_EQ(error, 0) << text.Text();
        EXPECT_DOUBLE_EQ(back, value) << text.Text();
    }
}

using ParseIntegerTest = NumberTest;

TEST_F(ParseIntegerTest, ReadsDigitsSeparatorsExponentsAndLetters)
{
    struct Row { const char* text; int value; };
    const Row rows[] = {
        {"1,000", 1000}, {"2M", 2000000}, {"-42", -42}, {"$15", 15}, {"2e3", 2000},
        {"25e-1", 2},    {"2K", 2000},    {"1b", 1000000000}, {"0", 0}, {"2147483647", 2147483647},
    };
    for (const Row& row : rows) {
        int value = -99;
        int error = 0;
        ParseInteger(row.text, value, error);
        EXPECT_EQ(error, 0) << row.text;
        EXPECT_EQ(value, row.value) << row.text;
    }
}

TEST_F(ParseIntegerTest, RejectsBadTextsAndValuesBeyondThirtyTwoBits)
{
    const char* const rows[] = {"12x", "", "-", "3000000000", "5K x", "1e99999999", "3B", "$", "1.5"};
    for (const char* text : rows) {
        int value = -99;
        int error = 0;
        ParseInteger(text, value, error);
        EXPECT_NE(error, 0) << text;
    }
}

TEST_F(ParseIntegerTest, DoesNothingWhileTheErrorIsSet)
{
    int value = -99;
    int error = 1;
    ParseInteger("12", value, error);
    EXPECT_EQ(value, -99);
    EXPECT_EQ(error, 1);
}

// Before the settings are read the fixed characters apply: a trailing word is an error, never dropped.
TEST_F(ParseIntegerTest, WithoutSettingsReadsWithTheFixedCharacters)
{
    LocaleChars::Destroy();
    int value = 0;
    int error = 0;
    ParseInteger("1,234", value, error);
    EXPECT_EQ(value, 1234);
    EXPECT_EQ(error, 0);
    ParseInteger("12x", value, error);
    EXPECT_EQ(error, 1);
}

TEST(ParseDigits, SeparatorsOnlyWhereAllowed)
{
    LocaleChars::Create(true);
    int error = 0;
    int count = 0;
    EXPECT_EQ(ParseDigits("1,234", error, true, &count), 1234.0);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(count, 4);
    ParseDigits("1,234", error, false);
    EXPECT_NE(error, 0);
}

// Stored form of the format: axisFormat, unitsKind (2), commas, spare, expValDigits, probDigits, axisDigits,
// chopOff, then the units text as a stored string.
TEST(NumericFormatStored, WritesTheCurrentForm)
{
    NumericFormat format;
    Apply(format, {NumericFormat::UnitsTextAfter, 1, 3, "kg"});
    format.expValDigits = 2;
    format.probDigits = 4;
    format.axisDigits = 1;
    Bytes bytes = WrittenBytes([&](Archive& archive) { format.Serialize(archive, VersionRecord::Current()); });
    const Bytes expected = {0x00, 0x03, 0x00, 0x01, 0x00, 0x02, 0x04, 0x01, 0x03,
                            0x03, 0x05, 0x00, 0x02, 0x00, 0x00, 0x00, 'k', 'g', 0x00};
    EXPECT_EQ(bytes, expected);

    NumericFormat back;
    ReadStream in(bytes);
    back.Serialize(in, VersionRecord::Current());
    EXPECT_EQ(in->FormatError(), 0u);
    EXPECT_EQ(back.unitsKind, NumericFormat::UnitsTextAfter);
    EXPECT_EQ(back.chopOff, 3);
    EXPECT_EQ(back.expValDigits, 2);
    EXPECT_EQ(back.probDigits, 4);
    EXPECT_EQ(back.axisDigits, 1);
    EXPECT_STREQ(back.unitsText.Text(), "kg");
}

TEST(NumericFormatStored, ReadsTheFormBeforeVersionTwoSix)
{
    struct Row { uint8_t unitsByte; int unitsKind; };
    const Row rows[] = {{5, NumericFormat::UnitsCurrency}, {0, NumericFormat::UnitsNone}};
    for (const Row& row : rows) {
        ReadStream in({0x01, row.unitsByte, 0x00, 0x00, 0x04, 0x05, 0x01, 0x03});
        NumericFormat format;
        format.unitsText = "kept";
        format.Serialize(in, VersionRecord(2, 5, 0));
        EXPECT_EQ(in->FormatError(), 0u);
        EXPECT_EQ(in->Position(), 8u);
        EXPECT_EQ(format.axisFormat, 1);
        EXPECT_EQ(format.unitsKind, row.unitsKind);
        EXPECT_EQ(format.commas, 0);
        EXPECT_EQ(format.expValDigits, 4);
        EXPECT_EQ(format.probDigits, 5);
        EXPECT_EQ(format.axisDigits, 1);
        EXPECT_EQ(format.chopOff, 3);
        EXPECT_STREQ(format.unitsText.Text(), "kept");
    }
}

TEST(NumericFormatStored, FieldsOutOfRangeSetError22)
{
    // {axisFormat, commas, spare, expValDigits, probDigits, chopOff} and the error they give.
    struct Row { uint8_t fields[6]; uint32_t error; };
    const Row rows[] = {
        {{1, 1, 1, 20, 20, 10}, 0},  {{2, 0, 0, 0, 0, 0}, 22}, {{0, 2, 0, 0, 0, 0}, 22},
        {{0, 0, 2, 0, 0, 0}, 22},    {{0, 0, 0, 21, 0, 0}, 22}, {{0, 0, 0, 0, 21, 0}, 22},
        {{0, 0, 0, 0, 0, 11}, 22},
    };
    for (const Row& row : rows) {
        const uint8_t* f = row.fields;
        ReadStream in({f[0], 0x01, 0x00, f[1], f[2], f[3], f[4], 0x00, f[5], 0x03, 0x05, 0x00, 0, 0, 0, 0, 0});
        NumericFormat format;
        format.Serialize(in, VersionRecord::Current());
        EXPECT_EQ(in->FormatError(), row.error) << int(f[0]) << int(f[1]) << int(f[2]) << int(f[3]);
    }
}

TEST(NumericFormatStored, NothingMovesWhileAFormatErrorIsSet)
{
    NumericFormat format;
    MemoryStream out(100);
    out.SetFormatError(30);
    format.Serialize(out, VersionRecord::Current());
    EXPECT_EQ(out.Position(), 0u);
}

TEST(NumericFormatText, ReadsAllEightValues)
{
    NumericFormat format;
    format.changed = 1;
    ASSERT_TRUE(format.FromText("1,3,0,4,5,2,6,1", 1, VersionRecord()));
    EXPECT_EQ(format.axisFormat, 1);
    EXPECT_EQ(format.unitsKind, 3);
    EXPECT_EQ(format.commas, 0);
    EXPECT_EQ(format.expValDigits, 4);
    EXPECT_EQ(format.probDigits, 5);
    EXPECT_EQ(format.axisDigits, 2);
    EXPECT_EQ(format.chopOff, 6);
    EXPECT_EQ(format.spare, 1);
    EXPECT_EQ(format.changed, 0);
}

TEST(NumericFormatText, IncompleteOrOutOfRangeTextChangesNothing)
{
    const char* const rows[] = {"1,3,0,4,5,2,6", "", "a,b", "0,1,1,99,3,0,0,0", "0,1,1,0,3,0,11,0"};
    for (const char* text : rows) {
        NumericFormat format;
        format.SetDefaults();
        format.changed = 1;
        EXPECT_FALSE(format.FromText(text, 1, VersionRecord())) << text;
        EXPECT_EQ(format.probDigits, 3) << text;
        EXPECT_EQ(format.changed, 1) << text;
    }
}

} // namespace
