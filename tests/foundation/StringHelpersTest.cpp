#include "foundation/StringHelpers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

TEST(FindInText, WholeWordCaseAndStart)
{
    struct Row { const char* text; const char* pattern; bool wholeWord, matchCase; uint32_t start; int expected; };
    const Row rows[] = {
        {"ab cab", "ab", true, true, 1, 0},   // the second match follows the letter c
        {"ab cab", "ab", true, true, 0, 1},
        {"ab cab", "ab", false, true, 1, 5},
        {"cab ab", "ab", true, true, 1, 2},   // a match beginning exactly at the start counts
        {"cab ab", "ab", true, true, 0, 5},
        {"x_ab ab", "ab", true, true, 0, 6},  // '_' is part of a word
        {"abc ab", "ab", true, true, 0, 5},   // the character after the first match is a letter
        {"ab.", "ab", true, true, 0, 1},
        {"Hello world", "WORLD", false, false, 0, 7},
        {"Hello world", "WORLD", false, true, 0, 0},
        {"Hello World", "world", true, false, 0, 7},
        {"abc", "abc", false, true, 3, 0},    // start not below the length
        {"abc", "", false, true, 0, 0},       // an empty pattern matches nothing
        {"", "a", false, true, 0, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FindInText(zString(row.text), row.pattern, row.wholeWord, row.matchCase, row.start), row.expected)
            << row.text << " / " << row.pattern << " from " << row.start;
}

TEST(ReplaceAll, ResultsAndTexts)
{
    struct Row {
        const char* text; const char* pattern; const char* replacement; bool wholeWord, matchCase;
        uint32_t start; bool all; int result; const char* after;
    };
    const Row rows[] = {
        {"abc", "x", "y", false, true, 0, false, -1, "abc"},
        {"abc", "x", "y", false, true, 0, true, 0, "abc"},
        {"a-b-c", "-", "+", false, true, 0, true, 1, "a+b+c"},
        {"one two one", "one", "1", false, true, 0, false, 2, "1 two one"},
        {"one two one", "one", "111", false, true, 1, false, 12, "one two 111"},
        {"cat catalog cat", "cat", "dog", true, true, 0, true, 1, "dog catalog dog"},
        {"Abc abc", "ABC", "x", false, false, 0, true, 1, "x x"},
        {"aa", "a", "aa", false, true, 0, true, 1, "aaaa"},  // a replacement holding the pattern ends
        {"abc", "", "z", false, true, 0, true, 0, "abc"},
    };
    for (const Row& row : rows) {
        zString text(row.text);
        EXPECT_EQ(ReplaceAll(text, row.pattern, row.replacement, row.wholeWord, row.matchCase, row.start, row.all),
                  row.result)
            << row.text;
        EXPECT_STREQ(text.Text(), row.after);
    }
}

TEST(ReplaceRange, CutsInsertsAndKeepsTheRest)
{
    struct Row { const char* text; uint32_t position; const char* replacement; uint32_t count; const char* after; };
    const Row rows[] = {
        {"hello", 1, "EY", 2, "hEYlo"},
        {"abc", 5, "X", 1, "abcX"},
        {"abc", 1, "", 10, "a"},
        {"abc", 0, "Z", 0, "Zabc"},
        {"abc", 3, "!", 0, "abc!"},
    };
    for (const Row& row : rows) {
        zString text(row.text);
        ReplaceRange(text, row.position, row.replacement, row.count);
        EXPECT_STREQ(text.Text(), row.after) << row.text;
    }
}

TEST(SubstituteArgs, ReplacesOnlyTheFirstOfEachPlaceholder)
{
    struct Row { const char* message; const char* a1; const char* a2; const char* a3; const char* a4; const char* after; };
    const Row rows[] = {
        {"$1 and $1", "x", nullptr, nullptr, nullptr, "x and $1"},
        {"$2 before $1", "A", "B", nullptr, nullptr, "B before A"},
        {"[$1]", "$2", "z", nullptr, nullptr, "[z]"},          // a later placeholder inside an argument
        {"$1 $2 $3 $4", "a", "b", "c", "d", "a b c d"},
        {"$1$3", "a", nullptr, "c", nullptr, "a$3"},          // stops at the first absent argument
        {"$1", nullptr, "b", nullptr, nullptr, "$1"},
        {"no placeholders", "a", "b", nullptr, nullptr, "no placeholders"},
        {"$10", "x", nullptr, nullptr, nullptr, "x0"},
    };
    for (const Row& row : rows) {
        zString message(row.message);
        SubstituteArgs(message, row.a1, row.a2, row.a3, row.a4);
        EXPECT_STREQ(message.Text(), row.after) << row.message;
    }
}

TEST(NormalizeLineEnds, DropsCarriageReturnsAndRewritesLineFeeds)
{
    struct Row { const char* text; const char* lineEnd; const char* after; };
    const Row rows[] = {
        {"a\r\nb\n", "\n", "a\nb\n"},
        {"a\r\nb\n", "\r\n", "a\r\nb\r\n"},
        {"x\ry", "\n", "xy"},
        {"", "\r\n", ""},
    };
    for (const Row& row : rows) {
        zString text(row.text);
        NormalizeLineEnds(text, row.lineEnd);
        EXPECT_STREQ(text.Text(), row.after);
    }
}

TEST(Blanks, TrimTrailingBlanksAndIsBlankText)
{
    struct TrimRow { const char* text; const char* after; };
    for (TrimRow row : {TrimRow{" a \t", " a"}, TrimRow{"   ", ""}, TrimRow{"a", "a"}, TrimRow{"\t x\t \t", "\t x"}}) {
        zString text(row.text);
        TrimTrailingBlanks(text);
        EXPECT_STREQ(text.Text(), row.after);
        EXPECT_EQ(text.Length(), std::strlen(row.after));
    }
    struct BlankRow { const char* text; bool blank; };
    for (BlankRow row : {BlankRow{"", true}, BlankRow{"   ", true}, BlankRow{" \t", false}, BlankRow{" a", false}})
        EXPECT_EQ(IsBlankText(row.text), row.blank) << '"' << row.text << '"';
}

TEST(IntToText, WritesEveryDigit)
{
    struct Row { long n; const char* text; };
    const Row rows[] = {
        {0, "0"}, {7, "7"}, {-42, "-42"}, {1000, "1000"}, {9999, "9999"}, {10000, "10000"},
        {-12345, "-12345"}, {2147483647L, "2147483647"}, {LONG_MIN, "-2147483648"},
    };
    for (const Row& row : rows) {
        char buffer[kIntTextSize];
        EXPECT_EQ(IntToText(buffer, row.n), static_cast<int>(std::strlen(row.text)));
        EXPECT_STREQ(buffer, row.text);
        EXPECT_EQ(std::to_string(row.n), row.text);  // independent formatting
        zString appended("n=");
        AppendInt(appended, row.n);
        EXPECT_EQ(std::string(appended.Text()), "n=" + std::to_string(row.n));
    }
}

TEST(WordHelpers, WordBreaksAndWordEnds)
{
    const char* text = "abc_1 def";
    EXPECT_EQ(FindWordEnd(text, true, text), text + 5);
    EXPECT_EQ(FindWordEnd(text + 8, false, text), text + 5);
    EXPECT_EQ(FindWordEnd(text + 3, false, text), text);  // stops at the limit
    EXPECT_EQ(FindWordEnd(text + 6, true, text), text + 9);
    EXPECT_EQ(StringEnd(text), text + 9);
}

TEST(CharClasses, OnlyCodesFromOneUpCount)
{
    struct Row { char c; bool digit, space, alpha, wordBreak; };
    const Row rows[] = {
        {'5', true, false, false, false},  {'a', false, false, true, false}, {'_', false, false, false, false},
        {' ', false, true, false, true},   {'\t', false, true, false, true}, {'\0', false, false, false, true},
        {'\xA0', false, false, false, true}, {'\xE9', false, false, false, true}, {'-', false, false, false, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(IsDigitChar(row.c), row.digit) << int(row.c);
        EXPECT_EQ(IsSpaceChar(row.c), row.space) << int(row.c);
        EXPECT_EQ(IsAlphaChar(row.c), row.alpha) << int(row.c);
        EXPECT_EQ(IsWordBreak(row.c), row.wordBreak) << int(row.c);
    }
}

TEST(TextHelpers, ParenthesizeAndEqualsNoCase)
{
    zString text("a+b");
    Parenthesize(text);
    EXPECT_STREQ(text.Text(), "(a+b)");
    EXPECT_TRUE(EqualsNoCase(zString("C:\\Dir\\File.tre"), zString("c:\\DIR\\file.TRE")));
    EXPECT_FALSE(EqualsNoCase(zString("abc"), zString("abd")));
    EXPECT_FALSE(EqualsNoCase(zString("abc"), zString("ab")));
}

}  // namespace
