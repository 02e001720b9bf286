#include "widgets/ReportListView.h"

#include <commctrl.h>

#include <cstring>

ReportListView::ReportListView(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id)
    : CtrlWindowCL(parent, rect, style, text, id)
{
    Create();
}

ReportListView::~ReportListView()
{
    if (listening_ && parent_)
        parent_->RemoveHandler(this, &ReportListView::OnNotify, WM_NOTIFY);
}

void ReportListView::Create()
{
    className_ = WC_LISTVIEWA;
    // Owner data: the control keeps no items at all, only their count, so tens of thousands of rows are
    // there at once instead of being inserted one by one.
    style_ = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_NOSORTHEADER | LVS_SINGLESEL | LVS_REPORT | LVS_OWNERDATA;
    title_ = "hoo";
    CtrlWindowCL::Create();
}

int ReportListView::AdjustedWidth(int width)
{
    return width >= 1 ? width + 8 : width;
}

void ReportListView::SetColumns(const char* const* titles, const int* widths, int count)
{
    for (int i = 0; i < count; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = AdjustedWidth(widths[i]);
        column.pszText = const_cast<char*>(titles[i]);
        column.iSubItem = i;
        Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
}

void ReportListView::SetColumnWidth(int column, int width)
{
    Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(AdjustedWidth(width), 0));
}

void ReportListView::SetRows(int count, CellText text)
{
    cellText_ = std::move(text);
    Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0);
    // The list view asks its parent for the texts: listen there for this control's requests.
    if (!listening_ && parent_) {
        parent_->AddHandler(this, &ReportListView::OnNotify, WM_NOTIFY);
        listening_ = true;
    }
}

long ReportListView::OnNotify(WindowEvent* event)
{
    NMHDR* header = event->Notification();
    if (!header || header->hwndFrom != handle_ || header->code != LVN_GETDISPINFOA)
        return 0;
    auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
    if (!(info->item.mask & LVIF_TEXT) || !info->item.pszText || info->item.cchTextMax <= 0)
        return 1;
    zString text("");
    if (cellText_)
        cellText_(info->item.iItem, info->item.iSubItem, text);
    std::strncpy(info->item.pszText, text.Text(), static_cast<size_t>(info->item.cchTextMax) - 1);
    info->item.pszText[info->item.cchTextMax - 1] = '\0';
    return 1;
}
