#include "widgets/EscapeKey.h"

#include "foundation/SystemClock.h"

#include <windows.h>

namespace {

std::function<bool()>& KeySource()
{
    static std::function<bool()> source;
    return source;
}

std::function<uint32_t()>& ClockSource()
{
    static std::function<uint32_t()> source;
    return source;
}

}  // namespace

bool EscapePressed()
{
    if (KeySource())
        return KeySource()();
    return GetAsyncKeyState(VK_ESCAPE) != 0;
}

void EscapeKeyReset()
{
    // A query clears the key's pressed-since-last-query state; an installed source is asked the same way.
    EscapePressed();
}

uint32_t TickCount()
{
    if (ClockSource())
        return ClockSource()();
    return GetTickCount();
}

uint32_t FineTickCount()
{
    if (ClockSource())
        return ClockSource()();
    return MillisecondTicks();
}

std::function<bool()> SetEscapeKeySource(std::function<bool()> source)
{
    std::function<bool()> previous = KeySource();
    KeySource() = std::move(source);
    return previous;
}

std::function<uint32_t()> SetTickSource(std::function<uint32_t()> source)
{
    std::function<uint32_t()> previous = ClockSource();
    ClockSource() = std::move(source);
    return previous;
}
