#include "framework/window/ClientScroller.h"

#include "framework/draw/Display.h"
#include "framework/window/PaneWindowCL.h"
#include "framework/window/ScrollBarState.h"

ClientScroller::ClientScroller(PaneWindowCL* pane) : KeyboardScroller(pane), pane_(pane)
{
    ClientRectangle(horzRect_);
    vertRect_ = horzRect_;
}

void ClientScroller::ClientRectangle(RECT& rect) const
{
    rect = RECT{0, 0, 0, 0};
    if (pane_ && pane_->Handle() && IsWindow(pane_->Handle()))
        GetClientRect(pane_->Handle(), &rect);
}

ScrollBarState* ClientScroller::State(bool vertical) const
{
    return vertical ? VerticalState() : HorizontalState();
}

long ClientScroller::Update(WindowEvent*)
{
    ClientRectangle(horzRect_);
    vertRect_ = horzRect_;
    pane_->CurrentDisplay()->InvalidateRect(nullptr, true);
    return 1;
}

void ClientScroller::Moved(bool, int, Move) {}

long ClientScroller::ScrollAndCommit(ScrollBarState& state, bool vertical, int distance, Move move)
{
    const RECT& rect = vertical ? vertRect_ : horzRect_;
    pane_->Scroll(vertical ? 0 : distance, vertical ? distance : 0, &rect);
    Moved(vertical, distance, move);
    state.SetPrevious(state.position);
    return 1;
}

// Line: one line unit towards the new position, whatever the difference.
long ClientScroller::Line(WindowEvent* event, bool vertical)
{
    ScrollBarState* state = State(vertical);
    if (!state || state->position == state->previous)
        return 0;
    const int unit = vertical ? vertLineUnit_ : horzLineUnit_;
    if (state->position > state->previous) {
        if (state->position <= state->maximum && state->previous < state->maximum)
            return ScrollAndCommit(*state, vertical, -unit, Move::ByDistance);
        return vertical ? VertBottom(event) : HorzRight(event);
    }
    if (state->position >= state->minimum && state->previous > state->minimum)
        return ScrollAndCommit(*state, vertical, unit, Move::ByDistance);
    return vertical ? VertTop(event) : HorzLeft(event);
}

// Page: one page unit when the position moved by exactly one page step, else to the end it went towards.
long ClientScroller::Page(WindowEvent* event, bool vertical)
{
    ScrollBarState* state = State(vertical);
    if (!state || state->position == state->previous)
        return 0;
    const int unit = vertical ? vertPageUnit_ : horzPageUnit_;
    if (state->position < state->previous) {
        if (state->previous - state->position == state->pageStep && state->previous > state->minimum)
            return ScrollAndCommit(*state, vertical, unit, Move::ByDistance);
        return vertical ? VertTop(event) : HorzLeft(event);
    }
    if (state->position - state->previous == state->pageStep && state->previous < state->maximum)
        return ScrollAndCommit(*state, vertical, -unit, Move::ByDistance);
    return vertical ? VertBottom(event) : HorzRight(event);
}

long ClientScroller::ToStart(WindowEvent*, bool vertical)
{
    ScrollBarState* state = State(vertical);
    if (!state)
        return 0;
    const int before = state->previous;
    state->SetPos(state->minimum);
    const int unit = vertical ? vertLineUnit_ : horzLineUnit_;
    return ScrollAndCommit(*state, vertical, (before - state->position) * unit, Move::ToStart);
}

long ClientScroller::ToEnd(WindowEvent*, bool vertical)
{
    ScrollBarState* state = State(vertical);
    if (!state)
        return 0;
    const int before = state->previous;
    state->SetPos(state->maximum);
    const int unit = vertical ? vertLineUnit_ : horzLineUnit_;
    return ScrollAndCommit(*state, vertical, -(state->position - before) * unit, Move::ToPosition);
}

long ClientScroller::Thumb(WindowEvent*, bool vertical)
{
    ScrollBarState* state = State(vertical);
    if (!state || state->position == state->previous)
        return 0;
    const int unit = vertical ? vertLineUnit_ : horzLineUnit_;
    return ScrollAndCommit(*state, vertical, (state->previous - state->position) * unit, Move::ToPosition);
}

long ClientScroller::VertLine(WindowEvent* event) { return Line(event, true); }
long ClientScroller::VertPage(WindowEvent* event) { return Page(event, true); }
long ClientScroller::VertTop(WindowEvent* event) { return ToStart(event, true); }
long ClientScroller::VertBottom(WindowEvent* event) { return ToEnd(event, true); }
long ClientScroller::VertThumb(WindowEvent* event) { return Thumb(event, true); }
long ClientScroller::HorzLine(WindowEvent* event) { return Line(event, false); }
long ClientScroller::HorzPage(WindowEvent* event) { return Page(event, false); }
long ClientScroller::HorzLeft(WindowEvent* event) { return ToStart(event, false); }
long ClientScroller::HorzRight(WindowEvent* event) { return ToEnd(event, false); }
long ClientScroller::HorzThumb(WindowEvent* event) { return Thumb(event, false); }
