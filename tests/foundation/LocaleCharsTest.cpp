#include "foundation/LocaleChars.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(LocaleChars, FixedCharactersWhateverTheSystemSays)
{
    LocaleChars::Create(true);
    const LocaleChars& chars = *LocaleChars::Current();
    EXPECT_EQ(chars.decimalChar, '.');
    EXPECT_EQ(chars.currency[0], '$');
    EXPECT_EQ(chars.currency[1], 0);
    EXPECT_EQ(chars.thousandsChar, ',');
    EXPECT_EQ(chars.percentChar, '%');
    EXPECT_EQ(chars.listSeparator, ';');
    EXPECT_EQ(chars.exponentChar, 'e');
    EXPECT_EQ(chars.groupSize, 3);
    EXPECT_EQ(std::string() + chars.thousandsLetter + chars.millionsLetter + chars.billionsLetter, "KMB");
    EXPECT_EQ(chars.currencyFirst, 1);
    EXPECT_EQ(chars.negativeInParentheses, 1);
    EXPECT_EQ(sizeof(LocaleChars), 16u);
}

TEST(LocaleChars, SettingsTextsGiveTheCharacters)
{
    struct Row { const char* decimal; const char* thousands; const char* currency; char d, t, c0, c1; int length; };
    const Row rows[] = {
        {",", ".", "EUR", ',', '.', 'E', 'U', 2}, {".", ",", "$", '.', ',', '$', 0, 1},
        {"", "", "", '.', ',', '$', 0, 1},        {"::", "  ", "kr", ':', ' ', 'k', 'r', 2},
    };
    for (const Row& row : rows) {
        LocaleChars chars;
        chars.SetFromSettings(row.decimal, row.thousands, row.currency);
        EXPECT_EQ(chars.decimalChar, row.d) << row.currency;
        EXPECT_EQ(chars.thousandsChar, row.t);
        EXPECT_EQ(chars.currency[0], row.c0);
        EXPECT_EQ(chars.currency[1], row.c1);
        EXPECT_EQ(chars.currency[2], 0);
        EXPECT_EQ(chars.CurrencyLength(), row.length);
    }
}

TEST(LocaleChars, CurrencyOnlyAtTheFrontOfCurrencyFirstLocales)
{
    LocaleChars chars;
    EXPECT_TRUE(chars.IsCurrencyAt("$5", 1));
    EXPECT_FALSE(chars.IsCurrencyAt("$5", 0));
    EXPECT_FALSE(chars.IsCurrencyAt("5$", 1));
    chars.SetFromSettings(".", ",", "kr");
    EXPECT_TRUE(chars.IsCurrencyAt("kr5", 1));
    EXPECT_FALSE(chars.IsCurrencyAt("k5", 1));
    chars.currencyFirst = 0;
    EXPECT_TRUE(chars.IsCurrencyAt("kr5", 0));
}

TEST(LocaleChars, LettersMatchInEitherCase)
{
    LocaleChars chars;
    const char* text1 = "1.5k";
    const char* text2 = "1.5K";
    const char* text3 = "2E3";
    EXPECT_EQ(chars.FindUnitLetter(text1), text1 + 3);
    EXPECT_EQ(chars.FindUnitLetter(text2), text2 + 3);
    EXPECT_EQ(chars.FindExponentChar(text3), text3 + 1);
    EXPECT_EQ(chars.FindExponentChar("12"), nullptr);
    EXPECT_EQ(chars.FindUnitLetter("12e3"), nullptr);
    EXPECT_TRUE(chars.IsThousandsLetter('k'));
    EXPECT_TRUE(chars.IsMillionsLetter('m'));
    EXPECT_TRUE(chars.IsBillionsLetter('B'));
    EXPECT_FALSE(chars.IsUnitLetter('x'));
    EXPECT_TRUE(chars.IsExponentChar('E'));
}

TEST(LocaleChars, ActiveFallsBackToTheFixedCharacters)
{
    LocaleChars::Destroy();
    EXPECT_EQ(LocaleChars::Current(), nullptr);
    EXPECT_EQ(LocaleChars::Active().decimalChar, '.');
    LocaleChars::Create(true);
    EXPECT_EQ(&LocaleChars::Active(), LocaleChars::Current());
}

} // namespace
