#include "foundation/zString.h"

#include "foundation/Archive.h"
#include "tests/foundation/StreamBytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(zStringCapacity, RoundCapacityGivesTheNextMultipleOfEight)
{
    struct Row { uint32_t n, expected; };
    for (Row row : {Row{0, 0}, Row{1, 8}, Row{7, 8}, Row{8, 8}, Row{9, 16}, Row{16, 16}, Row{17, 24}, Row{65, 72}})
        EXPECT_EQ(zString::RoundCapacity(row.n), row.expected) << row.n;
}

TEST(zStringCapacity, ConstructorsSetLengthAndCapacity)
{
    struct Row { zString text; uint32_t length, capacity; const char* content; };
    const Row rows[] = {
        {zString(), 0, 0, ""},
        {zString(5u), 0, 8, ""},
        {zString(8u), 0, 16, ""},
        {zString("abc"), 3, 16, "abc"},            // 3 + 8 + 1 = 12 -> 16
        {zString("abc", 0), 3, 8, "abc"},
        {zString(static_cast<const char*>(nullptr)), 0, 16, ""},
        {zString(static_cast<const char*>(nullptr), 0), 0, 8, ""},
        {zString(zString("abcdefghij", 0), 8), 10, 24, "abcdefghij"},  // 10 + 8 + 1 = 19 -> 24
        {zString('x', 3, 0), 3, 8, "xxx"},
        {zString('-', 7), 7, 16, "-------"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.text.Length(), row.length) << row.content;
        EXPECT_EQ(row.text.Capacity(), row.capacity) << row.content;
        EXPECT_STREQ(row.text.Text(), row.content);
    }
}

TEST(zStringCapacity, AssignmentAndAppendGrowInMultiplesOfEight)
{
    zString s;  // capacity 16
    s = "0123456789012345678";  // 19 characters, not below 16 -> RoundCapacity(19 + 9) = 32
    EXPECT_EQ(s.Capacity(), 32u);
    EXPECT_EQ(s.Length(), 19u);

    zString t("abcd", 0);  // capacity 8
    t += "efgh";            // 8 >= 8 -> SetCapacity(8) -> RoundCapacity(9) = 16
    EXPECT_EQ(t.Capacity(), 16u);
    EXPECT_STREQ(t.Text(), "abcdefgh");
    t += 'i';
    EXPECT_EQ(t.Capacity(), 16u);
    EXPECT_EQ(t.Length(), 9u);

    zString u("abc");
    EXPECT_EQ(u.SetCapacity(40), 47u);
    EXPECT_EQ(u.SetCapacity(0), 7u);  // never below the length: RoundCapacity(3 + 1) = 8
    EXPECT_STREQ(u.Text(), "abc");
}

TEST(zStringLength, DirectBufferWriteIsMeasuredAgain)
{
    zString s("abc");
    std::strcpy(s.Buffer(), "hello!");
    EXPECT_EQ(s.Length(), 6u);
    EXPECT_TRUE(s == "hello!");
    std::strcpy(s.Buffer(), "hi");
    s += "x";
    EXPECT_STREQ(s.Text(), "hix");
    EXPECT_EQ(s.Length(), 3u);
}

TEST(zStringLength, LongTextsAreNeverTruncated)
{
    zString s;
    std::string expected;
    for (int i = 0; i < 7000; ++i) {
        s += "0123456789";
        expected += "0123456789";
    }
    EXPECT_EQ(s.Length(), 70000u);
    EXPECT_EQ(std::string(s.Text()), expected);
    // A length of exactly 0xFFFF is measured each time and stays right.
    s.Truncate(0xFFFF);
    EXPECT_EQ(s.Length(), 0xFFFFu);
    s += 'x';
    EXPECT_EQ(s.Length(), 0x10000u);
}

TEST(zStringAssign, NullSelfAndAliasedTexts)
{
    zString s("keep");
    s = s;
    EXPECT_STREQ(s.Text(), "keep");
    s += static_cast<const char*>(nullptr);
    EXPECT_STREQ(s.Text(), "keep");
    s += s;
    EXPECT_STREQ(s.Text(), "keepkeep");
    s = s.Text() + 4;  // a text inside the own buffer
    EXPECT_STREQ(s.Text(), "keep");
    s = static_cast<const char*>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(s.Length(), 0u);

    zString moved(std::move(s));
    EXPECT_TRUE(s.IsEmpty());
    s += "again";
    EXPECT_STREQ(s.Text(), "again");
}

TEST(zStringCompare, EqualityIsCaseSensitiveAndCaseChangesConvert)
{
    EXPECT_TRUE(zString("Abc") == zString("Abc"));
    EXPECT_FALSE(zString("Abc") == zString("abc"));
    EXPECT_FALSE(zString("ab") == zString("abc"));
    zString s("Mixed 1_x");
    s.MakeUpper();
    EXPECT_STREQ(s.Text(), "MIXED 1_X");
    s.MakeLower();
    EXPECT_STREQ(s.Text(), "mixed 1_x");
}

TEST(zStringStored, StoredFormIsLengthAndCharacters)
{
    EXPECT_EQ(WrittenBytes([](Archive& a) { zString("abc").Serialize(a); }), (Bytes{3, 0, 0, 0, 'a', 'b', 'c'}));
    EXPECT_EQ(WrittenBytes([](Archive& a) { zString().Serialize(a); }), (Bytes{0, 0, 0, 0}));
}

TEST(zStringStored, LoadingGrowsTheBufferAndTerminates)
{
    ReadStream in({8, 0, 0, 0, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'});
    zString s(7u);
    ASSERT_EQ(s.Capacity(), 8u);
    s.Serialize(in);
    EXPECT_EQ(in->State(), 0u);
    EXPECT_EQ(s.Capacity(), 24u);  // RoundCapacity(8 + 9)
    EXPECT_EQ(s.Length(), 8u);
    EXPECT_STREQ(s.Text(), "abcdefgh");
}

TEST(zStringStored, ZeroLengthLeavesTheStringAndBadLengthsFailCleanly)
{
    struct Row { Bytes bytes; uint32_t state; };
    const Row rows[] = {
        {{0, 0, 0, 0}, 0},                       // stored length 0: unchanged
        {{10, 0, 0, 0, 'a', 'b'}, 2},            // truncated characters
        {{0xF0, 0xFF, 0xFF, 0xFF, 'a'}, 2},      // huge length: refused before allocating
        {{1, 0}, 2},                             // truncated length
    };
    for (const Row& row : rows) {
        ReadStream in(row.bytes);
        zString s("old");
        s.Serialize(in);
        EXPECT_EQ(in->State(), row.state);
        EXPECT_STREQ(s.Text(), "old");
    }
}

TEST(zStringStored, RoundTripThroughTheRegistry)
{
    zString original("text with\ttab");
    Bytes bytes = WrittenBytes([&](Archive& a) { a.WriteObject(&original); });
    ReadStream in(bytes);
    zStorable* object = nullptr;
    in->ReadObject(object);
    ASSERT_NE(object, nullptr);
    auto* copy = dynamic_cast<zString*>(object);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(*copy == original);
    delete object;
}

}  // namespace
