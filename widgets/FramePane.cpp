#include "widgets/FramePane.h"

#include "framework/draw/Colour.h"
#include "framework/draw/Display.h"
#include "framework/draw/DrawingPrimitives.h"

FramePane::FramePane(WindowCL* parent, LayoutManager* layout, DWORD style) : PaneWindowCL(parent, layout, style)
{
    SetBackgroundColour(SplitColour(GetSysColor(COLOR_BTNFACE)));
}

long FramePane::Paint(WindowEvent*)
{
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF grey = RGB(128, 128, 128);
    RECT edge{};
    GetClientRect(handle_, &edge);
    --edge.right;
    --edge.bottom;
    Display& display = *CurrentDisplay();
    DrawBevel(display, edge, 2, white, grey);
    InflateRect(&edge, -4, -4);
    DrawBevel(display, edge, 2, grey, white);
    return 1;
}
