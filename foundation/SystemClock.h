#pragma once
// Milliseconds from the steady high-resolution clock, wrapping as the system tick count does. The system tick
// count moves in steps of 10 to 16 ms (under Wine only when the server wakes), too coarse to tell apart two
// presses 15 ms apart or to time a short wait.

#include <cstdint>

uint32_t MillisecondTicks();
