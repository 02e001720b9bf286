#include "widgets/PageGrid.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

const LogicalRect kPage{0.0f, 0.0f, 7.5f, 10.0f};

std::vector<std::pair<int, int>> PrintingOrder(PageGrid& grid, int limit, int skipped, int copies)
{
    grid.Start(limit);
    std::vector<std::pair<int, int>> order;
    bool more = true;
    for (int i = 0; i < skipped && more; ++i)
        more = grid.Next(1);
    while (more) {
        order.emplace_back(grid.Column(), grid.Row());
        more = grid.Next(copies);
    }
    return order;
}

TEST(PageGrid, CountsColumnsAndRowsAndCentresOnePage)
{
    const struct {
        LogicalRect drawing;
        bool centre;
        bool stored;
        int columns;
        int rows;
        float offsetX;
        float offsetY;
    } rows[] = {
        {{0, 0, 8, 10}, true, false, 2, 1, 0, 0},
        {{1, 1, 5, 4}, true, false, 1, 1, 1.75f, 7.0f / 3.0f},
        {{1, 1, 5, 4}, false, false, 1, 1, 0, 0},
        // A stored offset pushes the drawing onto a second column.
        {{0, 0, 5, 4}, false, true, 2, 1, 3.0f, 0.5f},
        {{0, 0, 0, 0}, false, false, 0, 0, 0, 0},
    };
    for (const auto& row : rows) {
        PageGrid grid;
        const PrintOffset stored{3.0f, 0.5f};
        const int pages = grid.Count(kPage, row.drawing, row.centre, row.stored ? &stored : nullptr);
        EXPECT_EQ(pages, row.columns * row.rows);
        EXPECT_EQ(grid.Columns(), row.columns);
        EXPECT_EQ(grid.Rows(), row.rows);
        EXPECT_NEAR(grid.Offset().x, row.offsetX, 1e-5);
        EXPECT_NEAR(grid.Offset().y, row.offsetY, 1e-5);
    }
    PageGrid empty;
    EXPECT_EQ(empty.Count(LogicalRect{0, 0, 0, 10}, LogicalRect{0, 0, 8, 10}, false, nullptr), 0);
}

TEST(PageGrid, PrintsColumnByColumnWithCopiesAndRanges)
{
    PageGrid grid;
    ASSERT_EQ(grid.Count(kPage, LogicalRect{0, 0, 20, 15}, false, nullptr), 6);
    using Order = std::vector<std::pair<int, int>>;
    EXPECT_EQ(PrintingOrder(grid, 6, 0, 1), (Order{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}));
    EXPECT_EQ(PrintingOrder(grid, 6, 0, 2).size(), 12u);
    EXPECT_EQ(PrintingOrder(grid, 2, 0, 2), (Order{{0, 0}, {0, 0}, {0, 1}, {0, 1}}));
    // Pages 2 to 3 of the grid: one page skipped, two printed.
    EXPECT_EQ(PrintingOrder(grid, 3, 1, 1), (Order{{0, 1}, {1, 0}}));
    // The origin of the page at column 1, row 1 lies one page across and one down.
    grid.Start(6);
    grid.Next(1);
    grid.Next(1);
    grid.Next(1);
    EXPECT_FLOAT_EQ(grid.OriginX(), 7.5f);
    EXPECT_FLOAT_EQ(grid.OriginY(), 10.0f);
}

TEST(PageGrid, HeaderFieldsExpand)
{
    PageGrid grid;
    grid.Count(kPage, LogicalRect{0, 0, 7, 25}, false, nullptr);
    grid.Start(3);
    grid.Next(1);
    const PageHeaderFields fields{"T", "C:\\trees\\T.tre"};
    const struct {
        const char* format;
        int column;
        int row;
        const char* expected;
    } rows[] = {
        {"Page ^p of 3 - ^F", -1, -1, "Page 2 of 3 - T"},
        {"^c/^R ^P", 0, 2, "1/3 3"},
        {"^l", 0, 0, "C:\\trees\\T.tre"},
        {"^x and ^", 0, 0, "^x and ^"},
        {"", 0, 0, ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(std::string(ExpandPageHeader(row.format, row.column, row.row, grid, fields).Text()), row.expected);
    EXPECT_EQ(ExpandPageHeader("^d ^t", 0, 0, grid, fields).Length() > 6, true);
}

} // namespace
