// Region maps filled by hand and the boundaries, contours and stored forms built from them.

#include "analysis/StrategyBoundaryTable.h"
#include "analysis/StrategyRegionMap.h"
#include "foundation/Archive.h"
#include "foundation/MemoryStream.h"
#include "foundation/NumericFormat.h"
#include "foundation/StoredString.h"
#include "foundation/TextReport.h"
#include "foundation/VersionRecord.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

// A two-strategy map over x, y in [0, X - 1] x [0, Y - 1]; strategy 0 takes a(x, y), strategy 1 the constant b.
void Fill(StrategyRegionMap& map, const std::function<double(int, int)>& a, double b)
{
    for (int y = 0; y < map.yCount; ++y) {
        for (int x = 0; x < map.xCount; ++x) {
            map.Cell(0, y, x).value = a(x, y);
            map.Cell(1, y, x).value = b;
        }
    }
}

struct Expected {
    int tag1, tag2;
    double x, y;
};

void ExpectPoints(const BoundaryPointList* list, const std::vector<Expected>& expected)
{
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), static_cast<int>(expected.size()));
    for (int k = 0; k < list->Count(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(list->Point(k)->tag1, expected[k].tag1);
        EXPECT_EQ(list->Point(k)->tag2, expected[k].tag2);
        EXPECT_DOUBLE_EQ(list->Point(k)->x, expected[k].x);
        EXPECT_DOUBLE_EQ(list->Point(k)->y, expected[k].y);
    }
}

}  // namespace

TEST(StrategyBoundaryTest, VerticalBoundaryIsOrderedFromTheBorderAndClosed)
{
    StrategyRegionMap map(nullptr, 3, 3, 2, 0.0, 2.0, 0.0, 2.0);
    Fill(map, [](int x, int) { return x; }, 1.5);
    StrategyBoundaryTable table(map);
    // Crossings at t = (1.5 - 1) / (1 - 0) between x steps 1 and 2, from the top edge down, then the left
    // corners that close the polygon back to the top.
    ExpectPoints(table.Entry(0, 1), {{0, 1, 1.5, 2}, {0, 1, 1.5, 1}, {0, 1, 1.5, 0}, {0, 0, 0, 0}, {0, 0, 0, 2}});
    EXPECT_EQ(table.Entry(1, 0), table.Entry(0, 1));
    // Strategy 0 loses at the interior test cell (1, 1), which lies inside the polygon.
    EXPECT_EQ(table.Orientation(0, 1), 1);
    EXPECT_EQ(table.Orientation(1, 0), 0);

    BoundaryPointList contour;
    ContourPoints(map, contour, 0, 1, 0.0);
    ExpectPoints(&contour, {{0, 1, 1.5, 2}, {0, 1, 1.5, 1}, {0, 1, 1.5, 0}});
}

TEST(StrategyBoundaryTest, IslandTiesAndSmallMaps)
{
    // A single better cell in the middle: a closed diamond from the first point found, without corners.
    StrategyRegionMap island(nullptr, 5, 5, 2, 0.0, 4.0, 0.0, 4.0);
    Fill(island, [](int x, int y) { return x == 2 && y == 2 ? 1.0 : 0.0; }, 0.5);
    StrategyBoundaryTable islandTable(island);
    ExpectPoints(islandTable.Entry(0, 1), {{0, 1, 1.5, 2}, {0, 1, 2, 1.5}, {0, 1, 2.5, 2}, {0, 1, 2, 2.5}});
    EXPECT_EQ(islandTable.Orientation(0, 1), 0);

    // Tied everywhere: every grid point stays.
    StrategyRegionMap tied(nullptr, 3, 3, 2, 0.0, 2.0, 0.0, 2.0);
    Fill(tied, [](int, int) { return 1.0; }, 1.0);
    StrategyBoundaryTable tiedTable(tied);
    const BoundaryPointList* points = tiedTable.Entry(0, 1);
    for (int x = 0; x < 3; ++x) {
        for (int y = 0; y < 3; ++y) {
            bool present = false;
            for (int k = 0; k < points->Count(); ++k)
                present = present || (points->Point(k)->x == x && points->Point(k)->y == y);
            EXPECT_TRUE(present) << x << "," << y;
        }
    }

    // One interval per axis: corners inserted while ordering, and the corner cell (0, 0) moved inwards
    // decides the orientation.
    StrategyRegionMap small(nullptr, 2, 2, 2, 0.0, 1.0, 0.0, 1.0);
    Fill(small, [](int x, int) { return x; }, 0.5);
    StrategyBoundaryTable smallTable(small);
    ExpectPoints(smallTable.Entry(0, 1),
                 {{0, 1, 0.5, 1}, {0, 0, 0, 1}, {0, 0, 0, 0}, {0, 1, 0.5, 0}});
    EXPECT_EQ(smallTable.Orientation(0, 1), 1);
}

// Without a line between them the whole map is the pair's polygon, owned by the strategy that is better
// where the two differ: lone ties leave no points, and cost decides under cost-effectiveness.
TEST(StrategyBoundaryTest, PairsWithoutABoundaryOwnTheWholeMap)
{
    struct Row {
        const char* name;
        bool costEffectiveness;
        std::vector<std::pair<int, int>> ties;  // (x, y) cells where both strategies are worth 1
    };
    for (const Row& row : {Row{"cheaper, lower ratio", true, {}}, Row{"one tie", false, {{0, 0}}},
                           Row{"two far ties", false, {{0, 0}, {2, 2}}}}) {
        SCOPED_TRACE(row.name);
        StrategyRegionMap map(nullptr, 3, 3, 2, 0.0, 2.0, 0.0, 2.0);
        map.maximizing = false;
        map.costEffectiveness = row.costEffectiveness;
        // Strategy 0 costs less everywhere and is worth less (better, minimizing); under cost-effectiveness its
        // value, the ratio, is the higher.
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 3; ++x) {
                map.Cell(0, y, x) = {1.0, 1.0, row.costEffectiveness ? 9.0 : 0.5};
                map.Cell(1, y, x) = {2.0, 1.0, 2.0};
            }
        }
        for (const auto& [x, y] : row.ties)
            map.Cell(0, y, x).value = map.Cell(1, y, x).value = 1.0;
        StrategyBoundaryTable table(map);
        EXPECT_EQ(table.Entry(0, 1)->Count(), 0);
        EXPECT_EQ(table.Orientation(0, 1), 0);
    }
}

TEST(StrategyBoundaryTest, CostEffectivenessContourSkipsEqualEffectiveness)
{
    StrategyRegionMap map(nullptr, 3, 3, 2, 0.0, 2.0, 0.0, 2.0);
    map.costEffectiveness = true;
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            map.Cell(0, y, x) = {10.0 * x, x == 1 ? 1.0 : 2.0, 0.0};
            map.Cell(1, y, x) = {5.0, 1.0, 0.0};
        }
    }
    BoundaryPointList contour;
    ContourPoints(map, contour, 0, 1, 0.0);
    // Column x = 1 has no ratio (equal effectiveness), so no crossing is made next to it.
    EXPECT_EQ(contour.Count(), 0);
}

TEST(StrategyBoundaryTest, BestValueInterpolatesByDirection)
{
    StrategyRegionMap map(nullptr, 2, 2, 2, 0.0, 1.0, 0.0, 1.0);
    const double corners[2][2] = {{0.0, 4.0}, {2.0, 10.0}};  // [y][x]
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            map.Cell(0, y, x).cost = map.Cell(0, y, x).value = corners[y][x], map.Cell(1, y, x).value = 3.0;
    struct Row {
        double y, x;
        bool maximizing;
        double best;
    };
    for (const Row& row : {Row{0.5, 0.5, true, 4.0}, Row{0.5, 0.25, true, 3.0}, Row{0.5, 0.25, false, 2.5},
                           Row{1.0, 1.0, false, 3.0}}) {
        map.maximizing = row.maximizing;
        EXPECT_DOUBLE_EQ(map.BestValueAt(row.y, row.x, ComponentValue), row.best) << row.y << "," << row.x;
    }
    map.maximizing = true;
    EXPECT_DOUBLE_EQ(map.BestValueAt(0.5, 0.5, ComponentCost), 4.0);
    RunFault error;
    map.EvaluateCell(2, 0, 0, nullptr, &error);
    EXPECT_TRUE(error);
}

TEST(StrategyBoundaryTest, MapAndTableRoundTrip)
{
    StrategyRegionMap map(nullptr, 3, 3, 2, 0.0, 2.0, 0.0, 2.0);
    Fill(map, [](int x, int) { return x; }, 1.5);
    map.Cell(0, 2, 1).cost = 7.0;
    map.labels[1] = zString("Wait");
    StrategyBoundaryTable table(map);
    map.costEffectiveness = true;
    MemoryStream out(100);
    map.Serialize(out);
    table.Serialize(out, map.strategies);

    MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position(), false);
    StrategyRegionMap read(in);
    StrategyBoundaryTable readTable;
    readTable.Serialize(in, read.strategies);
    ASSERT_FALSE(in.Failed());
    EXPECT_EQ(read.CellCount(), 18);
    EXPECT_EQ(read.Cost(0, 2, 1), 7.0);
    EXPECT_EQ(read.Value(0, 1, 2), 2.0);
    EXPECT_TRUE(read.costEffectiveness);
    EXPECT_TRUE(read.labels[1] == "Wait");
    ASSERT_EQ(readTable.Entry(0, 1)->Count(), 5);
    EXPECT_DOUBLE_EQ(readTable.Entry(0, 1)->Point(2)->y, 0.0);
    EXPECT_EQ(readTable.Orientation(1, 0), 0);

    // An older map: one double per cell and no cost-effectiveness flag.
    MemoryStream old(100);
    VersionRecord(3, 0, 4).Serialize(old);
    for (double bound : {0.0, 0.0, 1.0, 1.0, 0.0})
        old.WriteDouble(bound);
    old.WriteShort(1).WriteShort(2).WriteShort(1).WriteShort(1);
    old.WriteDouble(4.0).WriteDouble(6.0);
    StoreString(old, "A");
    MemoryStream oldIn(const_cast<uint8_t*>(old.Data()), old.Position(), false);
    StrategyRegionMap oldMap(oldIn);
    ASSERT_FALSE(oldIn.Failed());
    EXPECT_EQ(oldMap.Value(0, 0, 1), 6.0);
    EXPECT_FALSE(oldMap.costEffectiveness);
}

namespace {

// The text table: headers once, rows from the last y down, six significant digits, an empty row after each y.
TEST(StrategyRegionMapText, ExportMatchesTheGoldenTable)
{
    StrategyRegionMap map(nullptr, 3, 2, 2, 0.0, 2.0, 0.0, 1.0);
    Fill(map, [](int x, int y) { return x / 3.0 + 1000 * y; }, 12.5);
    TextReport table;
    map.ExportText(table, "p", "v", DefaultNumericFormat, DefaultNumericFormat);
    map.ExportText(table, "p", "v", DefaultNumericFormat, DefaultNumericFormat);
    std::vector<std::string> headers;
    for (int i = 0; i < table.ColumnHeaders().Count(); ++i)
        headers.push_back(table.ColumnHeaders().At(i)->Text());
    EXPECT_EQ(headers, (std::vector<std::string>{"   p =>", "$0.0", "$1.0", "$2.0"}));
    EXPECT_EQ(table.ColumnWidths().At(0), 116);
    EXPECT_EQ(table.ColumnWidths().At(3), 80);
    const std::vector<std::string> rows = {"v",
                                           "$1.0\t1000\t1000.33\t1000.67",
                                           "\t12.5\t12.5\t12.5",
                                           "",
                                           "$0.0\t0\t0.333333\t0.666667",
                                           "\t12.5\t12.5\t12.5",
                                           ""};
    ASSERT_EQ(table.Lines().Count(), 14);
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(table.Lines().At(static_cast<int>(i))->Text(), rows[i]) << i;
        EXPECT_EQ(table.Lines().At(static_cast<int>(i + rows.size()))->Text(), rows[i]) << i;
    }
}

}  // namespace
