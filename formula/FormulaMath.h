#pragma once
// Checked arithmetic of the formula language. Range and domain failures are found by testing the
// arguments and the result, never through errno.

#include <cstdint>

// base raised to exponent into `result` (always computed). False on a domain failure (a NaN result from
// numbers, such as a negative base with a fractional exponent), a pole (zero to a negative power) or a range
// failure (an infinite result from finite numbers, or a nonzero true result too small to represent).
bool CheckedPow(double base, double exponent, double& result);

// e to the power x into `result`; false when the result overflows.
bool CheckedExp(double x, double& result);

// x truncated toward zero to a 32-bit integer; NaN and values outside the 32-bit range give INT32_MIN,
// as the processor's own conversion does.
int32_t TruncateToInt32(double x);
