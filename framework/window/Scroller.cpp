#include "framework/window/Scroller.h"

#include "framework/window/ScrollBarState.h"
#include "framework/window/WindowCL.h"

#include <windows.h>

long Scroller::Update(WindowEvent*) { return 0; }

ScrollBarState* Scroller::VerticalState() const { return window_ ? window_->VerticalState() : nullptr; }
ScrollBarState* Scroller::HorizontalState() const { return window_ ? window_->HorizontalState() : nullptr; }
bool Scroller::HasVertBar() const { return VerticalState() != nullptr; }
bool Scroller::HasHorzBar() const { return HorizontalState() != nullptr; }

long Scroller::OnScroll(WindowEvent* event) { return Dispatch(event, true); }
long PlainScroller::OnScroll(WindowEvent* event) { return Dispatch(event, false); }

long Scroller::Dispatch(WindowEvent* event, bool guarded)
{
    const unsigned code = LOWORD(event->wParam);
    if (code != SB_ENDSCROLL)
        BeforeScroll(event);
    if (event->message != WM_VSCROLL && event->message != WM_HSCROLL)
        return 0;
    const bool vertical = event->message == WM_VSCROLL;
    const ScrollBarState* state = vertical ? VerticalState() : HorizontalState();
    if (!state)
        return 0;
    if (guarded) {
        if (state->previous == state->position)
            return 1;
        if (!window_->AttachedScroller())
            return 0;
    }
    switch (code) {
    case SB_LINEUP:
    case SB_LINEDOWN:
        return vertical ? VertLine(event) : HorzLine(event);
    case SB_PAGEUP:
    case SB_PAGEDOWN:
        return vertical ? VertPage(event) : HorzPage(event);
    case SB_THUMBPOSITION:
        return vertical ? VertThumb(event) : HorzThumb(event);
    case SB_THUMBTRACK:
        return vertical ? VertTrack(event) : HorzTrack(event);
    case SB_TOP:
        return vertical ? VertTop(event) : HorzLeft(event);
    case SB_BOTTOM:
        return vertical ? VertBottom(event) : HorzRight(event);
    default:
        return 1;
    }
}

long Scroller::VertLine(WindowEvent* event) { return VertThumb(event); }
long Scroller::VertPage(WindowEvent* event) { return VertThumb(event); }
long Scroller::VertTop(WindowEvent* event) { return VertThumb(event); }
long Scroller::VertBottom(WindowEvent* event) { return VertThumb(event); }
long Scroller::VertThumb(WindowEvent*) { return 0; }
long Scroller::VertTrack(WindowEvent*) { return 0; }
long Scroller::HorzLine(WindowEvent* event) { return HorzThumb(event); }
long Scroller::HorzPage(WindowEvent* event) { return HorzThumb(event); }
long Scroller::HorzLeft(WindowEvent* event) { return HorzThumb(event); }
long Scroller::HorzRight(WindowEvent* event) { return HorzThumb(event); }
long Scroller::HorzThumb(WindowEvent*) { return 0; }
long Scroller::HorzTrack(WindowEvent*) { return 0; }
long Scroller::BeforeScroll(WindowEvent*) { return 0; }
long Scroller::OnKeyDown(WindowEvent*) { return 0; }

KeyboardScroller::KeyboardScroller(WindowCL* window) : Scroller(window)
{
    Attach();
}

KeyboardScroller::~KeyboardScroller()
{
    Detach();
}

void KeyboardScroller::Attach()
{
    if (registered_ || !window_)
        return;
    registered_ = 1;
    window_->AddHandler(this, &KeyboardScroller::KeyHandler, WM_KEYDOWN);
}

void KeyboardScroller::Detach()
{
    if (!registered_)
        return;
    registered_ = 0;
    window_->RemoveHandler(this, &KeyboardScroller::KeyHandler, WM_KEYDOWN);
}

long KeyboardScroller::OnKeyDown(WindowEvent* event)
{
    if (!window_->AttachedScroller())
        return 0;
    const WPARAM key = event->wParam;
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (ScrollBarState* state = VerticalState()) {
        if (state->minimum == state->maximum)
            return 0;
        if (key == VK_PRIOR && !control) {
            if (state->position == state->minimum)
                return 0;
            BeforeScroll(event);
            if (state->position < state->minimum + state->pageStep) {
                state->SetPos(state->minimum);
                return VertTop(event);
            }
            state->SetPos(state->position - state->pageStep);
            return VertPage(event);
        }
        if (key == VK_NEXT && !control) {
            if (state->position == state->maximum)
                return 0;
            BeforeScroll(event);
            if (state->position > state->maximum - state->pageStep) {
                state->SetPos(state->maximum);
                return VertBottom(event);
            }
            state->SetPos(state->position + state->pageStep);
            return VertPage(event);
        }
        if (key == VK_END && control) {
            if (state->position == state->maximum)
                return 0;
            BeforeScroll(event);
            state->SetPos(state->maximum);
            return VertBottom(event);
        }
        if (key == VK_HOME && control) {
            if (state->position == state->minimum)
                return 0;
            BeforeScroll(event);
            state->SetPos(state->minimum);
            return VertTop(event);
        }
    }
    ScrollBarState* state = HorizontalState();
    if (!state || state->minimum == state->maximum || !control)
        return 0;
    if (key == VK_PRIOR) {
        BeforeScroll(event);
        if (state->position < state->minimum + state->pageStep) {
            state->SetPos(state->minimum);
            return HorzLeft(event);
        }
        state->SetPos(state->position - state->pageStep);
        return HorzPage(event);
    }
    if (key == VK_NEXT) {
        BeforeScroll(event);
        if (state->position > state->maximum - state->pageStep) {
            state->SetPos(state->maximum);
            return HorzRight(event);
        }
        state->SetPos(state->position + state->pageStep);
        return HorzPage(event);
    }
    return 0;
}
