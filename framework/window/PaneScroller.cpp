#include "framework/window/PaneScroller.h"

#include "framework/draw/Display.h"
#include "framework/window/PaneWindowCL.h"
#include "framework/window/ScrollBarState.h"

PaneScroller::PaneScroller(PaneWindowCL* pane) : ClientScroller(pane)
{
    pane->ExtentInPixels(content_);
    Update(nullptr);
}

PaneScroller::~PaneScroller()
{
    PaneWindowCL* pane = Pane();
    pane->CurrentDisplay()->SetWindowOrigin(0, 0);
    for (ScrollBarState* state : {VerticalState(), HorizontalState()}) {
        if (!state)
            continue;
        state->SetPos(0);
        state->SetPrevious(0);
        state->SetRange(0, 0);
    }
    if (pane->Handle() && IsWindow(pane->Handle()))
        pane->CurrentDisplay()->InvalidateRect(nullptr, true);
}

void PaneScroller::Moved(bool vertical, int distance, Move move)
{
    Display* display = Pane()->CurrentDisplay();
    if (originTracking_) {
        POINT origin = display->WindowOrigin();
        LONG& coordinate = vertical ? origin.y : origin.x;
        const ScrollBarState* state = vertical ? VerticalState() : HorizontalState();
        const int unit = vertical ? VertLineUnit() : HorzLineUnit();
        switch (move) {
        case Move::ByDistance:
            coordinate -= distance;
            break;
        case Move::ToStart:
            coordinate = 0;
            break;
        case Move::ToPosition:
            coordinate = state->lineStep ? unit * (state->position / state->lineStep) : 0;
            break;
        }
        display->SetWindowOrigin(origin.x, origin.y);
    }
    if (immediateUpdate_ && Pane()->Handle())
        UpdateWindow(Pane()->Handle());
}

bool PaneScroller::FitAxis(bool vertical, const RECT& client, POINT& origin)
{
    ScrollBarState* state = vertical ? VerticalState() : HorizontalState();
    if (!state)
        return false;
    const int clientSize = vertical ? client.bottom - client.top : client.right - client.left;
    const int contentSize = vertical ? content_.cy : content_.cx;
    const int unit = vertical ? VertLineUnit() : HorzLineUnit();
    int minimum = state->minimum;
    int maximum = state->maximum;
    bool repaint = false;
    if (clientSize >= contentSize) {
        minimum = maximum = 0;
        (vertical ? origin.y : origin.x) = 0;
        state->SetPos(0);
        Pane()->CurrentDisplay()->SetWindowOrigin(origin.x, origin.y);
        repaint = true;
    } else if (unit > 0) {
        const int overhang = contentSize - clientSize;
        const int oldPosition = state->position;
        const int oldMaximum = state->maximum;
        maximum = overhang / unit + (overhang % unit ? 1 : 0);
        if (oldPosition != 0 && oldMaximum != 0) {
            // The range grows before the move, so the proportional position is not cut to the old maximum.
            state->SetRange(minimum, maximum);
            state->SetPos(oldPosition * maximum / oldMaximum);
            if (vertical)
                VertThumb(nullptr);
            else
                HorzThumb(nullptr);
        }
    }
    state->SetRange(minimum, maximum);
    return repaint;
}

long PaneScroller::Update(WindowEvent*)
{
    PaneWindowCL* pane = Pane();
    POINT origin = pane->CurrentDisplay()->WindowOrigin();
    RECT client{};
    ClientRectangle(client);
    SIZE content{0, 0};
    if (pane->ExtentInPixels(content))
        content_ = content;
    bool repaint = FitAxis(false, client, origin);
    repaint = FitAxis(true, client, origin) || repaint;
    SetHorzScrollRect(client.left, client.top, client.right, client.bottom);
    SetVertScrollRect(client.left, client.top, client.right, client.bottom);
    if (repaint)
        pane->CurrentDisplay()->InvalidateRect(nullptr, true);
    return 1;
}
