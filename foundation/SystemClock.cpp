#include "foundation/SystemClock.h"

#include <windows.h>

uint32_t MillisecondTicks()
{
    static const int64_t frequency = [] {
        LARGE_INTEGER value;
        return QueryPerformanceFrequency(&value) && value.QuadPart > 0 ? value.QuadPart : 0;
    }();
    LARGE_INTEGER counter;
    if (frequency == 0 || !QueryPerformanceCounter(&counter))
        return GetTickCount();
    // Whole seconds and the rest apart, so that a long-running counter never overflows the product.
    const int64_t ticks = counter.QuadPart;
    return static_cast<uint32_t>(ticks / frequency * 1000 + ticks % frequency * 1000 / frequency);
}
