// A variable's correlation list: the stored form of its items, copies and name lookup.

#include "formula/CorrelationList.h"
#include "foundation/MemoryStream.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CorrelationItem* Item(const char* name, int16_t negative, int16_t working = 0)
{
    auto* item = new CorrelationItem;
    item->name = name;
    item->negative = negative;
    item->workingFlag = working;
    return item;
}

TEST(CorrelationListTest, StoredItemIsNameThenSign)
{
    CorrelationList list(2, true);
    list.Add(Item("AB", 1, 7));
    MemoryStream out(100);
    list.StoreItem(out, list.At(0));
    ASSERT_FALSE(out.Failed());
    const std::vector<uint8_t> bytes(out.Data(), out.Data() + out.Position());
    // Stored string: version record (3), length 2 (4), "AB", flag byte 0; then the sign, 16 bits.
    ASSERT_EQ(bytes.size(), 3u + 4 + 2 + 1 + 2);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 3, bytes.end()),
              (std::vector<uint8_t>{2, 0, 0, 0, 'A', 'B', 0, 1, 0}));
}

TEST(CorrelationListTest, ListReadsBackWithoutItsWorkingFlags)
{
    CorrelationList list(2, true);
    list.Add(Item("RATE", 0, 1));
    list.Add(Item("COST", 1, 1));
    MemoryStream out(100);
    list.Serialize(out);
    ASSERT_FALSE(out.Failed());
    MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position(), false);
    CorrelationList back(2, true);
    back.Serialize(in);
    ASSERT_FALSE(in.Failed());
    ASSERT_EQ(back.Count(), 2);
    const struct {
        const char* name;
        int16_t negative;
    } expected[] = {{"RATE", 0}, {"COST", 1}};
    for (int i = 0; i < 2; ++i) {
        EXPECT_STREQ(back.At(i)->name.Text(), expected[i].name);
        EXPECT_EQ(back.At(i)->negative, expected[i].negative);
        EXPECT_EQ(back.At(i)->workingFlag, 0);
    }
    EXPECT_TRUE(back.ContainsName(zString("COST")));
    EXPECT_FALSE(back.ContainsName(zString("cost")));

    // A copy keeps both flags and owns its items.
    CorrelationList copy(2, true);
    copy.Copy(list, true);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_NE(copy.At(1), list.At(1));
    EXPECT_EQ(copy.At(1)->negative, 1);
    EXPECT_EQ(copy.At(1)->workingFlag, 1);
}

}  // namespace
