#include "framework/window/ScrollBarState.h"

#include "framework/window/WindowCL.h"

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
