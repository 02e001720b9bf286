#include "widgets/ZoomPaneScroller.h"

#include "widgets/DocChildWindow.h"
#include "widgets/ZoomPane.h"
#include "framework/draw/Display.h"
#include "framework/window/ScrollBarState.h"

#include <algorithm>
#include <cstdint>

ZoomPaneScroller::ZoomPaneScroller(ZoomPane* pane) : PaneScroller(pane), zoomPane_(pane) {}

long ZoomPaneScroller::Update(WindowEvent*)
{
    DocChildWindow* owner = zoomPane_->Owner();
    const bool editPutAside = owner && owner->SuspendInPlaceEdit();
    SIZE extent{0, 0};
    zoomPane_->ExtentInPixels(extent);
    RECT client;
    ClientRectangle(client);
    Display* display = zoomPane_->CurrentDisplay();
    POINT origin = display->WindowOrigin();
    SIZE room{client.right - client.left, client.bottom - client.top};
    RoomBesideTheBars(extent, room);
    FitAxis(false, extent.cx, room.cx, origin);
    FitAxis(true, extent.cy, room.cy, origin);
    display->SetWindowOrigin(origin.x, origin.y);
    SetHorzScrollRect(client.left, client.top, client.right, client.bottom);
    SetVertScrollRect(client.left, client.top, client.right, client.bottom);
    display->InvalidateRect(nullptr, true);
    if (editPutAside)
        owner->ResumeInPlaceEdit();
    return 1;
}

void ZoomPaneScroller::RoomBesideTheBars(SIZE extent, SIZE& room) const
{
    const HWND pane = zoomPane_->Handle();
    if (!pane || !IsWindow(pane))
        return;
    // The room with neither bar: a drawing that shrank to fit it must not keep the bars it had while larger.
    const LONG style = GetWindowLongA(pane, GWL_STYLE);
    const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
    const int barHeight = GetSystemMetrics(SM_CYHSCROLL);
    const int across = room.cx + ((style & WS_VSCROLL) && VerticalState() ? barWidth : 0);
    const int down = room.cy + ((style & WS_HSCROLL) && HorizontalState() ? barHeight : 0);
    bool horizontal = HorizontalState() && extent.cx > across;
    bool vertical = VerticalState() && extent.cy > down;
    // Each bar takes room from the other direction.
    if (horizontal && !vertical)
        vertical = VerticalState() && extent.cy > down - barHeight;
    if (vertical && !horizontal)
        horizontal = HorizontalState() && extent.cx > across - barWidth;
    room.cx = across - (vertical ? barWidth : 0);
    room.cy = down - (horizontal ? barHeight : 0);
}

void ZoomPaneScroller::FitAxis(bool vertical, int extent, int clientSize, POINT& origin)
{
    ScrollBarState* state = vertical ? VerticalState() : HorizontalState();
    if (!state)
        return;
    LONG& coordinate = vertical ? origin.y : origin.x;
    const int step = vertical ? VertLineUnit() : HorzLineUnit();
    const int spare = extent - clientSize;
    if (spare < 1 || step <= 0) {
        state->SetRange(0, 0);
        state->SetPos(0);
        state->SetPrevious(0);
        coordinate = 0;
        return;
    }
    const int maximum = (spare + step - 1) / step;
    // The position keeps its relative place in the new range.
    const int position = state->maximum
                             ? static_cast<int>(static_cast<int64_t>(state->position) * maximum / state->maximum)
                             : state->position;
    coordinate = position * step / std::max(1, state->lineStep);
    state->SetRange(0, maximum);
    state->SetPos(position);
    state->SetPrevious(state->position);
    if (zoomPane_->Handle() && IsWindow(zoomPane_->Handle())) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_PAGE;
        info.nPage = static_cast<UINT>(extent / std::max(1, clientSize));
        SetScrollInfo(zoomPane_->Handle(), vertical ? SB_VERT : SB_HORZ, &info, TRUE);
    }
}

void ZoomPaneScroller::ScrollSteps(bool vertical, int steps)
{
    ScrollBarState* state = vertical ? VerticalState() : HorizontalState();
    if (!state || steps == 0)
        return;
    state->SetPos(state->position + steps * state->lineStep);
    // The thumb move scrolls by the whole difference and puts the display origin at the new position.
    if (vertical)
        VertThumb(nullptr);
    else
        HorzThumb(nullptr);
}
