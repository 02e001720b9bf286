#include "foundation/Archive.h"
#include "foundation/DoubleStack.h"
#include "foundation/IntArray.h"
#include "foundation/LinkedList.h"
#include "foundation/PairArray.h"
#include "foundation/PointerIndexMap.h"
#include "foundation/PointerRing.h"
#include "foundation/zString.h"
#include "tests/foundation/StreamBytes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Values(const IntArray& array)
{
    std::vector<int> values;
    for (int i = 0; i < array.Count(); ++i)
        values.push_back(array.At(i));
    return values;
}

// Nodes still linked into the list, removed ones included.
int LinkedNodes(LinkedList& list)
{
    int nodes = 0;
    for (ListNode* node = list.Head()->next; node != list.Head(); node = node->next)
        ++nodes;
    return nodes;
}

TEST(IntArray, InsertRemoveAndDefaults)
{
    IntArray array(2, -1);
    array.Add(10);
    array.Add(20);
    array.InsertAt(5, 0);
    array.InsertAt(7, 99);  // outside 0..count: the end
    array.InsertAt(6, 2);
    EXPECT_EQ(Values(array), (std::vector<int>{5, 10, 6, 20, 7}));
    EXPECT_EQ(array.Capacity(), 6);
    EXPECT_EQ(array.IndexOf(20), 3);
    EXPECT_EQ(array.IndexOf(42), -1);
    array.RemoveAt(0);
    EXPECT_EQ(Values(array), (std::vector<int>{10, 6, 20, 7}));
    EXPECT_EQ(array.At(4), -1);
    array.SetCapacity(3);  // never shrinks
    EXPECT_EQ(array.Capacity(), 6);
    array.RemoveAll();
    EXPECT_EQ(array.Count(), 0);
    EXPECT_EQ(array.Capacity(), 0);
}

TEST(IntArray, FullArrayRefusesInsertions)
{
    IntArray array(4000);
    for (int i = 0; i < IntArray::kMaxItems; ++i)
        ASSERT_TRUE(array.Add(i));
    EXPECT_FALSE(array.Add(1));
    EXPECT_FALSE(array.InsertAt(1, 0));
    EXPECT_EQ(array.Count(), 32767);
    EXPECT_EQ(array.At(0), 0);
    EXPECT_EQ(array.At(32766), 32766);
}

TEST(PairArrayAndDoubleStack, AddPopAndDefaults)
{
    PairArray pairs(1, {-1, -2});
    pairs.Add(1, 2);
    pairs.Add(3, 4);
    EXPECT_EQ(pairs.Count(), 2);
    EXPECT_EQ(pairs.At(1).first, 3);
    EXPECT_EQ(pairs.At(1).second, 4);
    EXPECT_EQ(pairs.At(2).first, -1);
    EXPECT_EQ(pairs.At(2).second, -2);

    DoubleStack stack(-9.5);
    EXPECT_EQ(stack.Pop(), -9.5);
    stack.Push(1.25);
    stack.Push(2.5);
    EXPECT_EQ(stack.Pop(), 2.5);
    EXPECT_EQ(stack.Pop(), 1.25);
    EXPECT_EQ(stack.Pop(), -9.5);
    EXPECT_EQ(stack.Count(), 0);
}

TEST(LinkedListIteration, WalksThenStartsAgain)
{
    int a = 1, b = 2;
    LinkedList list;
    list.Append(&a);
    list.Append(&b);
    ListIterator walk(list);
    EXPECT_EQ(walk.Next(), &a);
    EXPECT_EQ(walk.Next(), &b);
    EXPECT_EQ(walk.Next(), nullptr);
    EXPECT_EQ(walk.Next(), &a);
    LinkedList empty;
    ListIterator none(empty);
    EXPECT_EQ(none.Next(), nullptr);
    EXPECT_EQ(none.Next(), nullptr);
}

TEST(LinkedListIteration, RemovingTheCurrentItemContinuesWithTheNext)
{
    int a = 1, b = 2, c = 3;
    LinkedList list;
    list.Append(&a);
    list.Append(&b);
    list.Append(&c);
    ListIterator walk(list);
    EXPECT_EQ(walk.Next(), &a);
    EXPECT_EQ(walk.Next(), &b);
    walk.RemoveCurrent();
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(LinkedNodes(list), 3);  // still pinned by the iterator
    EXPECT_EQ(walk.Next(), &c);
    EXPECT_EQ(LinkedNodes(list), 2);  // freed when the iterator left it
    EXPECT_EQ(walk.Next(), nullptr);
    EXPECT_EQ(walk.Next(), &a);
}

TEST(LinkedListIteration, TwoIteratorsOnOneNode)
{
    int a = 1, b = 2;
    LinkedList list;
    list.Append(&a);
    list.Append(&b);
    ListIterator first(list);
    ListIterator second(list);
    first.Next();
    second.Next();
    first.RemoveCurrent();
    EXPECT_EQ(first.Next(), &b);
    EXPECT_EQ(LinkedNodes(list), 2);  // the second iterator still stands on it
    EXPECT_EQ(second.Current(), nullptr);
    EXPECT_EQ(second.Next(), &b);
    EXPECT_EQ(LinkedNodes(list), 1);
}

TEST(LinkedListIteration, RemovingEveryItemDuringAWalk)
{
    int items[4] = {};
    LinkedList list;
    for (int& item : items)
        list.Append(&item);
    ListIterator walk(list);
    int visited = 0;
    while (walk.Next()) {
        walk.RemoveCurrent();
        ++visited;
    }
    EXPECT_EQ(visited, 4);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(LinkedNodes(list), 0);
    walk.Release();

    list.Append(&items[0]);
    list.Prepend(&items[1]);
    EXPECT_EQ(list.First(), &items[1]);
    ListIterator other(list);
    other.Next();
    list.Remove(&items[1]);  // pinned: marked, freed when the iterator leaves
    EXPECT_EQ(LinkedNodes(list), 2);
    other.Reset();
    EXPECT_EQ(LinkedNodes(list), 1);
    EXPECT_FALSE(list.Contains(&items[1]));
    EXPECT_TRUE(list.Contains(&items[0]));
}

TEST(LinkedListStored, RoundTripOfStorableItems)
{
    zString one("one"), two("two");
    LinkedList list;
    list.Append(&one);
    list.Append(&two);
    list.Append(&one);
    Bytes bytes = WrittenBytes([&](Archive& a) { list.Serialize(a); });
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{3, 0, 0, 0}));
    ReadStream in(bytes);
    LinkedList read;
    read.Serialize(in);
    EXPECT_EQ(in->State(), 0u);
    ListIterator walk(read);
    auto* first = static_cast<zString*>(walk.Next());
    auto* second = static_cast<zString*>(walk.Next());
    auto* third = static_cast<zString*>(walk.Next());
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(*first == "one");
    EXPECT_TRUE(*second == "two");
    EXPECT_EQ(third, first);
    walk.Release();
    delete first;
    delete second;

    ReadStream damaged({0xFF, 0xFF, 0xFF, 0x7F, 2, 0xFF, 0xFF, 0xFF, 0xFF});  // huge count, one reference
    LinkedList partial;
    partial.Serialize(damaged);
    EXPECT_EQ(damaged->State(), 2u);
    EXPECT_EQ(partial.Count(), 1u);
}

TEST(PointerRing, PushPopAndWalk)
{
    int a = 1, b = 2, c = 3;
    PointerRing ring;
    EXPECT_EQ(ring.First(), nullptr);
    EXPECT_EQ(ring.PopFront(), nullptr);
    ring.PushBack(&a);
    EXPECT_EQ(ring.PopFront(), &a);
    EXPECT_TRUE(ring.IsEmpty());
    EXPECT_EQ(ring.First(), nullptr);

    ring.PushBack(&b);
    ring.PushFront(&a);
    ring.PushBack(&c);
    EXPECT_EQ(ring.Count(), 3u);
    PointerRingIterator walk(ring);
    EXPECT_EQ(walk.Next(), &a);
    EXPECT_EQ(walk.Next(), &b);
    EXPECT_EQ(walk.Next(), &c);
    EXPECT_EQ(walk.Next(), nullptr);
    EXPECT_EQ(walk.Next(), nullptr);
    EXPECT_EQ(ring.PopFront(), &a);
    EXPECT_EQ(ring.First(), &b);

    PointerRing empty;
    PointerRingIterator none(empty);
    EXPECT_EQ(none.Next(), nullptr);
}

TEST(PointerRing, StoredFormRoundTrip)
{
    zString one("1"), two("2");
    PointerRing ring;
    ring.PushBack(&one);
    ring.PushBack(&two);
    Bytes bytes = WrittenBytes([&](Archive& a) { ring.Serialize(a); });
    ReadStream in(bytes);
    PointerRing read;
    read.Serialize(in);
    ASSERT_EQ(read.Count(), 2u);
    auto* first = static_cast<zString*>(read.PopFront());
    auto* second = static_cast<zString*>(read.PopFront());
    EXPECT_TRUE(*first == "1");
    EXPECT_TRUE(*second == "2");
    delete first;
    delete second;
}

TEST(PointerIndexMap, NumbersPointersFromOne)
{
    int a, b, c;
    PointerIndexMap map(77);
    bool isNew = false;
    EXPECT_EQ(map.IndexFor(&a, isNew), 1);
    EXPECT_TRUE(isNew);
    EXPECT_EQ(map.IndexFor(&b, isNew), 2);
    EXPECT_EQ(map.IndexFor(&a, isNew), 1);
    EXPECT_FALSE(isNew);
    EXPECT_EQ(map.IndexFor(nullptr, isNew), 0);
    map.AddSkipped(&c);
    map.AddSkipped(&c);
    map.AddSkipped(nullptr);
    EXPECT_TRUE(map.IsSkipped(&c));
    EXPECT_EQ(map.IndexFor(&c, isNew), 0);
    EXPECT_FALSE(isNew);
    EXPECT_EQ(map.PointerAt(2), &b);
    EXPECT_EQ(map.PointerAt(0), nullptr);
    EXPECT_EQ(map.PointerAt(9), nullptr);
    map.AddPair(&c, 9);
    EXPECT_EQ(map.PointerAt(9), &c);
    EXPECT_EQ(map.Value(), 77);
}

}  // namespace
