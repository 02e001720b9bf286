#include "foundation/PtrArray.h"

#include "foundation/Archive.h"
#include "foundation/NameList.h"
#include "foundation/StoredNameList.h"
#include "tests/foundation/StreamBytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Items are ints held by pointer; the array counts the items it deletes.
class CountingArray : public PtrArray {
public:
    explicit CountingArray(int16_t growBy = 4, bool owns = true) : PtrArray(growBy, owns) {}
    ~CountingArray() override { Clear(); }
    void DeleteItem(void* item) override
    {
        ++deleted;
        delete static_cast<int*>(item);
    }
    void* CloneItem(void* item) override { return new int(*static_cast<int*>(item)); }
    int deleted = 0;
};

std::vector<std::string> Texts(const NameList& list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.Count(); ++i)
        texts.push_back(list.At(i) ? list.At(i)->Text() : "<null>");
    return texts;
}

void Fill(NameList& list, std::initializer_list<const char*> texts)
{
    for (const char* text : texts)
        list.AddText(text);
}

int CompareSlots(const void* a, const void* b)
{
    return std::strcmp(static_cast<zString* const*>(a)[0]->Text(), static_cast<zString* const*>(b)[0]->Text());
}

int CompareKey(const void* key, const void* slot)
{
    return std::strcmp(static_cast<const char*>(key), static_cast<zString* const*>(slot)[0]->Text());
}

TEST(PtrArrayInsert, IndexesOutsideTheArrayAppend)
{
    int a = 1, b = 2, c = 3, x = 4, y = 5, z = 6;
    PtrArray array;
    array.InsertAt(-1, &a);
    array.InsertAt(array.Count(), &b);
    array.InsertAt(99, &c);
    array.InsertAt(0, &x);
    array.InsertAt(2, &y);
    array.InsertItemAt(&z, 1);
    std::vector<void*> expected = {&x, &z, &a, &y, &b, &c};
    ASSERT_EQ(array.Count(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(array.At(i), expected[i]) << i;
    EXPECT_EQ(array.At(6), nullptr);
    EXPECT_EQ(array.At(-1), nullptr);
    EXPECT_EQ(array.IndexOf(&y), 3);
    EXPECT_EQ(array.IndexOf(&array), -1);
    EXPECT_TRUE(array.Contains(&c));
}

TEST(PtrArrayInsert, GrowsByItsStep)
{
    int items[5];
    PtrArray array(4);
    std::vector<int16_t> capacities;
    for (int& item : items) {
        array.Add(&item);
        capacities.push_back(array.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int16_t>{4, 4, 4, 4, 8}));
    EXPECT_EQ(array.Count(), 5);
}

TEST(PtrArrayInsert, FullArrayRefusesInsertionsWithoutWrapping)
{
    static int item;
    PtrArray array(1000);
    for (int i = 0; i < PtrArray::kMaxItems; ++i)
        ASSERT_TRUE(array.Add(&item)) << i;
    EXPECT_EQ(array.Count(), 32767);
    EXPECT_EQ(array.Capacity(), 32767);
    int extra = 0;
    EXPECT_FALSE(array.Add(&extra));
    EXPECT_FALSE(array.InsertAt(0, &extra));
    EXPECT_EQ(array.Count(), 32767);
    EXPECT_EQ(array.At(0), &item);
    EXPECT_EQ(array.IndexOf(&extra), -1);
}

TEST(PtrArrayRemove, RemoveDeleteAndClear)
{
    CountingArray array;
    for (int i = 0; i < 5; ++i)
        array.Add(new int(i));
    int* second = static_cast<int*>(array.At(1));
    array.RemoveAt(1);
    EXPECT_EQ(array.Count(), 4);
    EXPECT_EQ(array.deleted, 0);
    array.DeleteAt(0);
    EXPECT_EQ(array.deleted, 1);
    EXPECT_EQ(*static_cast<int*>(array.At(0)), 2);
    array.RemoveAt(10);
    array.DeleteAt(-1);
    EXPECT_EQ(array.Count(), 3);
    void* last = array.At(2);
    array.DeletePtr(last);
    EXPECT_EQ(array.deleted, 2);
    array.RemovePtr(second);  // not in the array: nothing happens
    EXPECT_EQ(array.Count(), 2);
    array.Clear();
    EXPECT_EQ(array.deleted, 4);
    EXPECT_EQ(array.Count(), 0);
    EXPECT_EQ(array.Capacity(), 0);
    delete second;

    CountingArray borrowed(4, false);
    int kept = 1;
    borrowed.Add(&kept);
    borrowed.Clear();
    EXPECT_EQ(borrowed.deleted, 0);
}

TEST(PtrArrayCopy, CopyAndCloneTakeTheSourceShape)
{
    CountingArray source(3);
    for (int i = 0; i < 4; ++i)
        source.Add(new int(i * 10));
    CountingArray shallow(9, false);
    shallow.Copy(source, false);
    EXPECT_EQ(shallow.Count(), 4);
    EXPECT_EQ(shallow.Capacity(), source.Capacity());
    EXPECT_EQ(shallow.GrowBy(), 3);
    EXPECT_FALSE(shallow.OwnsItems());
    EXPECT_EQ(shallow.At(2), source.At(2));

    CountingArray deep;
    deep.Copy(source, true);
    EXPECT_NE(deep.At(2), source.At(2));
    EXPECT_EQ(*static_cast<int*>(deep.At(3)), 30);

    CountingArray empty;
    deep.Clear();
    deep.Copy(empty, true);
    EXPECT_EQ(deep.Capacity(), 0);
    shallow.RemoveAll();
}

TEST(PtrArraySearch, SortAndBinarySearch)
{
    NameList list;
    Fill(list, {"pear", "apple", "fig", "kiwi", "banana"});
    list.Sort(CompareSlots);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"apple", "banana", "fig", "kiwi", "pear"}));
    for (const char* key : {"apple", "banana", "fig", "kiwi", "pear"}) {
        void** slot = list.BinarySearch(key, CompareKey);
        ASSERT_NE(slot, nullptr) << key;
        EXPECT_STREQ(static_cast<zString*>(*slot)->Text(), key);
    }
    for (const char* key : {"aaa", "cherry", "zzz"})
        EXPECT_EQ(list.BinarySearch(key, CompareKey), nullptr) << key;
    NameList empty;
    EXPECT_EQ(empty.BinarySearch("x", CompareKey), nullptr);
}

TEST(PtrArrayIter, WalksInOrderThenYieldsNull)
{
    NameList list;
    Fill(list, {"a", "b"});
    PtrArrayIter walk(list);
    EXPECT_STREQ(static_cast<zString*>(walk.Next())->Text(), "a");
    EXPECT_STREQ(static_cast<zString*>(walk.Next())->Text(), "b");
    EXPECT_EQ(walk.Next(), nullptr);
    EXPECT_EQ(walk.Next(), nullptr);
}

TEST(NameListOps, JoinWithinMaximumLength)
{
    struct Row { uint32_t maxLength; bool all; const char* out; };
    const Row rows[] = {{6, true, "ab--cd"}, {5, false, "ab--"}, {3, false, "ab"}, {1, false, ""}, {100, true, "ab--cd"}};
    NameList list;
    Fill(list, {"ab", "cd"});
    for (const Row& row : rows) {
        zString out;
        EXPECT_EQ(list.Join(out, "--", row.maxLength), row.all) << row.maxLength;
        EXPECT_STREQ(out.Text(), row.out) << row.maxLength;
    }
    zString out("x:");
    NameList three;
    Fill(three, {"a", "b", "c"});
    EXPECT_TRUE(three.Join(out, ", ", 7));
    EXPECT_STREQ(out.Text(), "x:a, b, c");
}

TEST(NameListOps, InsertSortedContainsAndCopies)
{
    NameList list;
    for (const char* text : {"m", "c", "x", "c", "A"})
        list.InsertSorted(new zString(text));
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"A", "c", "c", "m", "x"}));
    EXPECT_TRUE(list.Contains("m"));
    EXPECT_FALSE(list.Contains("M"));

    zString source("moved");
    list.AddCopy(source, true);
    EXPECT_TRUE(source.IsEmpty());
    EXPECT_TRUE(list.Contains("moved"));

    NameList copy(2, true);
    copy.Assign(list, true);
    EXPECT_EQ(Texts(copy), Texts(list));
    EXPECT_NE(copy.At(0), list.At(0));
}

TEST(NameListStored, ExactBytesAndRoundTrip)
{
    NameList list;
    Fill(list, {"a", "bc"});
    Bytes bytes = WrittenBytes([&](Archive& a) { list.Serialize(a); });
    EXPECT_EQ(bytes, (Bytes{3, 5, 0, 4, 0, 1, 2, 0, 213, 0, 1, 0, 0, 0, 'a', 2, 0, 0, 0, 'b', 'c'}));
    // A list keeps its own owns flag: one stored as "not owning" still deletes the items it loads.
    bytes[5] = 0;
    ReadStream in(bytes);
    NameList read(9, true);
    read.Serialize(in);
    EXPECT_EQ(in->FormatError(), 0u);
    EXPECT_EQ(Texts(read), (std::vector<std::string>{"a", "bc"}));
    EXPECT_EQ(read.GrowBy(), 4);
    EXPECT_TRUE(read.OwnsItems());
}

TEST(NameListStored, StoredNameListUsesStoredStrings)
{
    StoredNameList list(2, true);
    list.AddText("hi");
    Bytes bytes = WrittenBytes([&](Archive& a) { list.Serialize(a); });
    EXPECT_EQ(bytes, (Bytes{3, 5, 0, 2, 0, 1, 1, 0, 213, 0, 3, 5, 0, 2, 0, 0, 0, 'h', 'i', 0}));
    ReadStream in(bytes);
    StoredNameList read;
    read.Serialize(in);
    EXPECT_EQ(Texts(read), (std::vector<std::string>{"hi"}));
}

TEST(NameListStored, OlderStreamsHaveNoMarker)
{
    ReadStream in({2, 5, 4, 4, 0, 1, 1, 0, 1, 0, 0, 0, 'x'});
    NameList read;
    read.Serialize(in);
    EXPECT_EQ(in->FormatError(), 0u);
    EXPECT_EQ(Texts(read), (std::vector<std::string>{"x"}));
}

TEST(NameListStored, DamagedListsSetFormatErrorThirty)
{
    struct Row { const char* what; Bytes bytes; uint32_t formatError; int16_t count; };
    const Row rows[] = {
        {"stream fails in the second of three items",
         {3, 5, 0, 4, 0, 1, 3, 0, 213, 0, 1, 0, 0, 0, 'a', 5, 0, 0, 0, 'b'}, 30, 1},
        {"wrong marker", {3, 5, 0, 4, 0, 1, 1, 0, 214, 0, 1, 0, 0, 0, 'a'}, 30, 1},
        {"negative count", {3, 5, 0, 4, 0, 1, 0xFF, 0xFF, 213, 0}, 30, 1},
        {"count beyond the stream", {3, 5, 0, 4, 0, 1, 0xFF, 0x7F, 213, 0, 1, 0, 0, 0, 'a'}, 30, 1},
        {"truncated header", {3, 5, 0, 4, 0}, 30, 1},
        {"bad version record", {1, 5, 0, 4, 0, 1, 1, 0, 213, 0, 1, 0, 0, 0, 'a'}, 32, 1},
    };
    for (const Row& row : rows) {
        ReadStream in(row.bytes);
        NameList read;
        read.AddText("old");
        read.Serialize(in);
        EXPECT_EQ(in->FormatError(), row.formatError) << row.what;
        EXPECT_EQ(read.Count(), row.count) << row.what;
    }
}

TEST(NameListStored, NothingHappensWhileAFormatErrorIsSet)
{
    NameList list;
    Fill(list, {"a"});
    EXPECT_EQ(WrittenBytes([&](Archive& a) {
                  a.SetFormatError(31);
                  list.Serialize(a);
              }),
              Bytes());
    ReadStream in({3, 5, 0, 4, 0, 1, 0, 0, 213, 0});
    in->SetFormatError(31);
    list.Serialize(in);
    EXPECT_EQ(in->Position(), 0u);
    EXPECT_EQ(list.Count(), 1);
}

}  // namespace
