#pragma once
// Paces what a long loop shows through the host (progress, the status line) by the clock rather than by the
// item: Due() reads the host's clock only once every `stride` calls and answers true at most once an
// interval, so a loop over a million nodes reaches the window system a few times a second, not per node.

#include "foundation/Host.h"

#include <cstdint>

class HostPace {
public:
    static constexpr uint32_t kIntervalMilliseconds = 100;

    // stride: a power of two, the calls between two reads of the clock.
    explicit HostPace(uint32_t stride = 1024) : mask(stride - 1), last(TheHost().TickCount()) {}

    bool Due()
    {
        if ((++calls & mask) != 0)
            return false;
        const uint32_t now = TheHost().TickCount();
        if (now - last < kIntervalMilliseconds)
            return false;
        last = now;
        return true;
    }

private:
    uint32_t mask;
    uint32_t calls = 0;
    uint32_t last;
};
