#include "framework/window/ScrollBarState.h"

#include "framework/window/WindowCL.h"

namespace {

bool IsLive(HWND handle)
{
    return handle && IsWindow(handle);
}

} // namespace

ScrollBarState::ScrollBarState(WindowCL* owner_, int bar_)
    : minimum(0), maximum(100), pageStep(10), lineStep(1), position(0), previous(0), owner(owner_), bar(bar_)
{
}

int ScrollBarState::Clamp(int value) const
{
    if (value > maximum)
        value = maximum;
    if (value < minimum)
        value = minimum;
    return value;
}

HWND ScrollBarState::LiveOwnerWindow() const
{
    if (!owner || !owner->Handle() || !IsWindow(owner->Handle()))
        return nullptr;
    return owner->Handle();
}

void ScrollBarState::SetRange(int minimum_, int maximum_)
{
    minimum = minimum_;
    maximum = maximum_;
    if (HWND window = LiveOwnerWindow())
        SetScrollRange(window, bar, minimum, maximum, TRUE);
}

void ScrollBarState::SetPos(int position_)
{
    const int clamped = Clamp(position_);
    previous = position;
    position = clamped;
    if (HWND window = LiveOwnerWindow())
        SetScrollPos(window, bar, clamped, TRUE);
}

void ScrollBarState::SetPosClamped(int position_)
{
    position = Clamp(position_);
    if (HWND window = LiveOwnerWindow())
        SetScrollPos(window, bar, position, TRUE);
}

bool MoveScrollStateByCode(WindowCL& window, const WindowEvent& event)
{
    ScrollBarState* state = nullptr;
    HWND control = reinterpret_cast<HWND>(event.lParam);
    if (IsLive(control)) {
        WindowCL* bar = WindowCL::FromHandle(control);
        if (!bar)
            return false;
        state = bar->VerticalState() ? bar->VerticalState() : bar->HorizontalState();
    } else {
        state = event.message == WM_VSCROLL ? window.VerticalState() : window.HorizontalState();
    }
    if (!state)
        return true;
    switch (LOWORD(event.wParam)) {
    case SB_LINEUP:
        state->SetPos(state->position - state->lineStep);
        break;
    case SB_LINEDOWN:
        state->SetPos(state->position + state->lineStep);
        break;
    case SB_PAGEUP:
        state->SetPos(state->position - state->pageStep);
        break;
    case SB_PAGEDOWN:
        state->SetPos(state->position + state->pageStep);
        break;
    case SB_TOP:
        state->SetPos(state->minimum);
        break;
    case SB_BOTTOM:
        state->SetPos(state->maximum);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        state->SetPosClamped(static_cast<short>(HIWORD(event.wParam)));
        break;
    default:
        break;
    }
    return true;
}
