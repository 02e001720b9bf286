// Lookup tables: the three lookup methods, the off-edge flag, range sums and the table as a distribution.

#include "foundation/RandomGenerator.h"
#include "formula/LookupTable.h"
#include "formula/RunOutcome.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace {

void Fill(LookupTable& table, std::initializer_list<std::pair<double, double>> pairs)
{
    for (const auto& pair : pairs)
        table.SetEntry(pair.first, pair.second);
}

struct LookupRow {
    int32_t method;
    bool offEdgeIsError;
    double x;
    double expected;
    bool error;
};

TEST(LookupTableTest, MethodsAndOffEdge)
{
    const LookupRow rows[] = {
        {LookupTable::Interpolation, false, 2, 20, false},
        {LookupTable::Interpolation, false, 0.5, 10, false},
        {LookupTable::Interpolation, false, 4, 30, false},
        {LookupTable::Interpolation, true, 0.5, 0, true},
        {LookupTable::Interpolation, true, 4, 0, true},
        {LookupTable::Interpolation, true, 3, 30, false},
        {0, false, 2.5, 25, false},  // method 0 counts as interpolation
        {LookupTable::Truncation, false, 2.9, 10, false},
        {LookupTable::Truncation, false, 0.5, 10, false},
        {LookupTable::Truncation, false, 3, 30, false},
        {LookupTable::Truncation, true, 3.1, 0, true},
        {LookupTable::IndexSpecific, false, 1.00000000001, 10, false},
        {LookupTable::IndexSpecific, false, 1.1, 0, true},
        {7, false, 1, 0, true},
    };
    for (const LookupRow& row : rows) {
        LookupTable table;
        Fill(table, {{3, 30}, {1, 10}});
        table.SetMethod(row.method);
        table.SetOffEdgeIsError(row.offEdgeIsError);
        RunFault fault;
        EXPECT_DOUBLE_EQ(table.Lookup(row.x, &fault), row.expected) << row.method << " at " << row.x;
        EXPECT_EQ(static_cast<bool>(fault), row.error) << row.method << " at " << row.x;
    }
}

TEST(LookupTableTest, EmptyTableIsAnErrorUnderEveryMethod)
{
    for (int32_t method : {1, 2, 3}) {
        LookupTable table;
        table.SetMethod(method);
        RunFault fault;
        EXPECT_EQ(table.Lookup(1, &fault), 0.0);
        EXPECT_EQ(fault.Code(), OutcomeCode::TableLookupFailed);
    }
}

TEST(LookupTableTest, CacheFollowsChanges)
{
    LookupTable table;
    Fill(table, {{1, 10}, {3, 30}});
    RunFault fault;
    EXPECT_DOUBLE_EQ(table.Lookup(2, &fault), 20);
    table.SetEntry(2, 99);
    EXPECT_DOUBLE_EQ(table.Lookup(2, &fault), 99);
    table.SetMethod(LookupTable::Truncation);
    EXPECT_DOUBLE_EQ(table.Lookup(2.5, &fault), 99);
    table.RemoveEntryAt(1);
    EXPECT_DOUBLE_EQ(table.Lookup(2.5, &fault), 10);
    EXPECT_FALSE(fault);
}

TEST(LookupTableTest, EntriesStaySortedAndUnique)
{
    LookupTable table;
    Fill(table, {{5, 1}, {1, 2}, {3, 3}, {3.00000000001, 4}});
    ASSERT_EQ(table.EntryCount(), 3);
    double index = 0;
    double value = 0;
    const double indexes[] = {1, 3, 5};
    const double values[] = {2, 4, 1};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(table.GetEntry(i, index, value));
        EXPECT_EQ(index, indexes[i]);
        EXPECT_EQ(value, values[i]);
    }
    EXPECT_FALSE(table.GetEntry(3, index, value));
    double first = -1;
    double last = -1;
    table.GetIndexRange(first, last);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 5);
    double low = -1;
    double high = -1;
    table.GetValueRange(low, high);
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 4);
    LookupTable empty;
    empty.GetIndexRange(first, last);
    EXPECT_EQ(first, 1);  // untouched
}

TEST(LookupTableTest, FindPosition)
{
    LookupTable table;
    Fill(table, {{1, 0}, {2, 0}, {4, 0}, {8, 0}, {16, 0}});
    const std::pair<double, int> rows[] = {{0.5, -1}, {1, 0}, {1.5, 0}, {4, 2}, {7.9, 2}, {8, 3}, {16, 4}, {99, 4}};
    for (const auto& row : rows)
        EXPECT_EQ(table.FindPosition(row.first), row.second) << row.first;
    EXPECT_EQ(table.FindExact(8.00000000001), 3);
    EXPECT_EQ(table.FindExact(8.1), -1);
}

TEST(LookupTableTest, SumRange)
{
    LookupTable table;
    Fill(table, {{1, 10}, {3, 30}});
    EXPECT_DOUBLE_EQ(table.SumRange(1, 3), 40);
    EXPECT_DOUBLE_EQ(table.SumRange(1.5, 3), 30);
    EXPECT_DOUBLE_EQ(table.SumRange(4, 9), 0);
}

TEST(LookupTableTest, TableAsADistribution)
{
    LookupTable table;
    Fill(table, {{1, 0.2}, {2, 0.5}, {3, 0.3}});
    RunFault fault;
    EXPECT_EQ(table.Median(&fault), 2);
    EXPECT_EQ(table.InverseCumulative(0.1, &fault), 1);
    EXPECT_EQ(table.InverseCumulative(0.75, &fault), 3);
    EXPECT_FALSE(fault);
    SeedRandom(5);
    int counts[4] = {};
    const int n = 100000;
    for (int i = 0; i < n; ++i) {
        const double x = table.SampleIndex(&fault);
        ASSERT_TRUE(x == 1 || x == 2 || x == 3);
        ++counts[static_cast<int>(x)];
    }
    EXPECT_NEAR(counts[1] / double(n), 0.2, 0.007);
    EXPECT_NEAR(counts[2] / double(n), 0.5, 0.008);
    EXPECT_NEAR(counts[3] / double(n), 0.3, 0.007);
    // Probabilities that fall short of 1 by more than 1e-6 cannot give the top quantile.
    LookupTable shortTable;
    Fill(shortTable, {{1, 0.2}, {2, 0.5}});
    EXPECT_EQ(shortTable.InverseCumulative(0.9, &fault), 0.0);
    EXPECT_EQ(fault.Code(), OutcomeCode::DistributionTableIncomplete);
}

TEST(LookupTableTest, CopyIsIndependent)
{
    LookupTable table;
    table.SetName("Rates");
    Fill(table, {{1, 10}});
    LookupTable copy(table);
    copy.SetEntry(1, 20);
    RunFault fault;
    EXPECT_DOUBLE_EQ(table.Lookup(1, &fault), 10);
    EXPECT_DOUBLE_EQ(copy.Lookup(1, &fault), 20);
    EXPECT_STREQ(copy.Key().Text(), "RATES");
}

}  // namespace
