#include "tests/support/PressClock.h"

#include "app/EscapeKey.h"

#include <windows.h>

PressClock::PressClock() : lastPress_(GetTickCount()), systemAtLastPress_(lastPress_)
{
    previous_ = SetTickSource([this] { return Now(); });
}

uint32_t PressClock::Now() const
{
    return lastPress_ + (GetTickCount() - systemAtLastPress_);
}

PressClock::~PressClock()
{
    SetTickSource(previous_);
}

void PressClock::NextPressAfter(uint32_t milliseconds)
{
    const uint32_t now = Now();
    // A press of its own may come later than asked; the second of a double click comes exactly then.
    lastPress_ = milliseconds >= Apart() && now - lastPress_ > milliseconds ? now : lastPress_ + milliseconds;
    systemAtLastPress_ = GetTickCount();
}

uint32_t PressClock::Apart()
{
    return GetDoubleClickTime() + 1;
}
