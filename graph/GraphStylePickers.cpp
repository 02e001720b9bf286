#include "graph/GraphStylePickers.h"

#include "widgets/ProgramDialog.h"
#include "framework/dialog/ColorDialog.h"
#include "framework/dialog/ListBoxCtrl.h"

#include "CommandIds.h"

#include <windows.h>

namespace {

namespace Picker = Ctl::ModifyLineMarker;

// Sample mark size in pixels, and the inset of its three points.
constexpr int kSampleMark = 8;
constexpr int kSampleInset = 9;

void FillFace(HDC dc, const RECT& area)
{
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
}

int FillEntry(int32_t style)
{
    return style == kSolidFill ? 0 : style + 1;
}

int32_t FillStyle(int entry)
{
    return entry <= 0 ? kSolidFill : entry - 1;
}

}  // namespace

bool RunLineMarkerDialog(int& markKind, const char* lineName)
{
    ProgramDialog dialog(DialogRes::ModifyLineMarker);
    if (dialog.Handle() == nullptr)
        return false;
    int chosen = markKind >= 0 && markKind < kMarkKindCount ? markKind : 0;
    SetDlgItemTextA(dialog.Handle(), Picker::LineText2498, lineName);
    dialog.ShowItem(Picker::Color, false);
    ListBoxCtrl* list = ListBoxCtrl::FromTemplate(&dialog, Picker::List3497);
    for (int kind = 0; kind < kMarkKindCount; ++kind)
        list->AddChars(MarkKindName(kind));
    list->SetIndexBuffer(&chosen, 0);
    list->SetCurSel(chosen);
    PaintedArea* sample = dialog.PaintArea(Picker::Area2497, [&chosen](HDC dc, const RECT& area) {
        FillFace(dc, area);
        const POINT points[3] = {{area.left + kSampleInset, area.bottom - kSampleInset},
                                 {(area.left + area.right) / 2, area.top + kSampleInset},
                                 {area.right - kSampleInset, area.bottom - kSampleInset}};
        HGDIOBJ old = SelectObject(dc, GetStockObject(BLACK_PEN));
        Polyline(dc, points, 3);
        SelectObject(dc, old);
        for (const POINT& point : points)
            DrawPointMarkAt(dc, chosen, point, kSampleMark, true, 1);
    });
    dialog.OnNotification(Picker::List3497, LBN_SELCHANGE, [&] {
        chosen = list->GetCurSel();
        if (HWND area = dialog.Control(Picker::Area2497))
            InvalidateRect(area, nullptr, TRUE);
    });
    (void)sample;
    if (dialog.Run() != IDOK)
        return false;
    markKind = chosen;
    return true;
}

bool RunRegionFillDialog(GraphFill& fill, const char* regionName)
{
    ProgramDialog dialog(DialogRes::ModifyLineMarker);
    if (dialog.Handle() == nullptr)
        return false;
    GraphFill shown = fill;
    int entry = FillEntry(fill.style);
    dialog.SetText("Modify Region Fill");
    SetDlgItemTextA(dialog.Handle(), Picker::LineText, "Region:");
    SetDlgItemTextA(dialog.Handle(), Picker::LineText2498, regionName);
    ListBoxCtrl* list = ListBoxCtrl::FromTemplate(&dialog, Picker::List3497);
    for (int i = 0; i < 7; ++i)
        list->AddChars(FillEntryName(i));
    list->SetIndexBuffer(&entry, 0);
    list->SetCurSel(entry);
    dialog.PaintArea(Picker::Area2497, [&shown](HDC dc, const RECT& area) {
        FillFace(dc, area);
        const COLORREF colour = RGB(shown.colour.red, shown.colour.green, shown.colour.blue);
        HBRUSH brush = shown.style == kSolidFill ? CreateSolidBrush(colour) : CreateHatchBrush(shown.style, colour);
        HPEN pen = CreatePen(PS_SOLID, 1, colour);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        Rectangle(dc, area.left, area.top, area.right, area.bottom);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(pen);
        DeleteObject(brush);
    });
    auto redraw = [&dialog] {
        if (HWND area = dialog.Control(Picker::Area2497))
            InvalidateRect(area, nullptr, TRUE);
    };
    dialog.OnNotification(Picker::List3497, LBN_SELCHANGE, [&] {
        shown.style = FillStyle(list->GetCurSel());
        redraw();
    });
    dialog.OnButton(Picker::Color, [&] {
        ColorDialogResult result;
        ShowColorDialog(result, dialog.Handle(), shown.colour);
        if (result.chosen) {
            shown.colour = result.colour;
            redraw();
        }
    });
    if (dialog.Run() != IDOK)
        return false;
    fill.colour = shown.colour;
    fill.style = FillStyle(entry);
    return true;
}
