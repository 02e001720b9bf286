#include "tests/support/PressClock.h"

#include "widgets/EscapeKey.h"

#include <windows.h>

PressClock::PressClock() : PressClock(GetTickCount()) {}

PressClock::PressClock(uint32_t start) : lastPress_(start), systemAtLastPress_(GetTickCount())
{
    previous_ = SetTickSource([this] { return Now(); });
}

PressClock::~PressClock()
{
    SetTickSource(previous_);
}

uint32_t PressClock::Now() const
{
    return pressing_ ? lastPress_ : lastPress_ + (GetTickCount() - systemAtLastPress_);
}

void PressClock::Press(uint32_t after, const std::function<void()>& send)
{
    const uint32_t now = Now();
    // A press of its own may come later than asked; the second of a double click comes exactly then.
    lastPress_ = after >= Apart() && now - lastPress_ > after ? now : lastPress_ + after;
    pressing_ = true;
    send();
    pressing_ = false;
    systemAtLastPress_ = GetTickCount();
}

uint32_t PressClock::Apart()
{
    return GetDoubleClickTime() + 1;
}
