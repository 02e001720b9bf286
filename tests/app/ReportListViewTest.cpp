// The report list view: columns with their margins, rows whose cell texts come from the owner on demand.

#include "widgets/ReportListView.h"
#include "framework/window/TopWindow.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

std::string CellText(HWND list, int row, int column, int capacity)
{
    std::string buffer(static_cast<size_t>(capacity), '\0');
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = &buffer[0];
    item.cchTextMax = capacity;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer.c_str();
}

TEST(ReportListView, ColumnsGetTheirMarginAndCellsAskTheOwner)
{
    InitCommonControls();
    ScopedApplication app;
    TopWindow top(nullptr, WS_OVERLAPPEDWINDOW, "Report");
    top.Create();
    ReportListView list(&top, RECT{0, 0, 400, 200}, 0, "", 7);
    ASSERT_NE(list.Handle(), nullptr);

    const char* titles[] = {"Strategy", "Cost", "Effect"};
    const int widths[] = {60, 50, 40};
    list.SetColumns(titles, widths, 3);
    list.SetColumnWidth(2, 0);
    EXPECT_EQ(SendMessageA(list.Handle(), LVM_GETCOLUMNWIDTH, 0, 0), 68);
    EXPECT_EQ(SendMessageA(list.Handle(), LVM_GETCOLUMNWIDTH, 1, 0), 58);
    EXPECT_EQ(SendMessageA(list.Handle(), LVM_GETCOLUMNWIDTH, 2, 0), 0);
    EXPECT_EQ((std::vector<int>{ReportListView::AdjustedWidth(60), ReportListView::AdjustedWidth(0),
                                ReportListView::AdjustedWidth(-1)}),
              (std::vector<int>{68, 0, -1}));

    int asked = 0;
    list.SetRows(3, [&](int row, int column, zString& out) {
        ++asked;
        out = row == 2 && column == 0 ? std::string(300, 'x').c_str()
                                       : ("r" + std::to_string(row) + "c" + std::to_string(column)).c_str();
    });
    EXPECT_EQ(SendMessageA(list.Handle(), LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(CellText(list.Handle(), 1, 2, 64), "r1c2");
    EXPECT_EQ(CellText(list.Handle(), 0, 0, 64), "r0c0");
    // A text longer than the list view's buffer is cut to it.
    EXPECT_EQ(CellText(list.Handle(), 2, 0, 10), std::string(9, 'x'));
    EXPECT_GE(asked, 3);
}

} // namespace
