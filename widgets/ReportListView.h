#pragma once
// A table of text in a system list view (report mode, owner data) that stores no rows: it knows only their
// count and asks for each cell's text when it draws it; the control answers from its owner's text method
// with (row, column). Large result tables so stay out of the control and show at once.

#include "framework/dialog/CtrlWindowCL.h"

#include <functional>

class ReportListView : public CtrlWindowCL {
public:
    // Fills the text of one cell.
    using CellText = std::function<void(int row, int column, zString& out)>;

    // Makes the list view at once.
    ReportListView(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id);
    ~ReportListView() override;

    void Create() override; // 18

    // Left-aligned columns with the titles and widths.
    void SetColumns(const char* const* titles, const int* widths, int count);
    void SetColumnWidth(int column, int width);
    // Sets the number of rows, whose cells the text method fills when they are drawn.
    void SetRows(int count, CellText text);

    // A width of 1 or more gets 8 pixels of margin; 0 and the negative automatic-sizing codes pass unchanged.
    static int AdjustedWidth(int width);

private:
    long OnNotify(WindowEvent* event);

    CellText cellText_;
    bool listening_ = false;
};
