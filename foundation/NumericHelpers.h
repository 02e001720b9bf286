#pragma once
// Small rules on doubles shared by the simulation, the distributions, the built-in functions, the sensitivity
// grid, the threshold analysis and the graph axes.

#include <cstdint>

class NumericFormat;

// |x| <= limit (false for NaN), compared on both sides: this compiler computes std::fabs on the x87 stack,
// a store and a reload that hot loops notice.
inline bool MagnitudeAtMost(double x, double limit)
{
    return x <= limit && x >= -limit;
}

// 10 to a whole power as the nearest double: powers up to 1e22 are exact, and a negative power is one divided by
// the positive one (std::pow's result for those is a unit off on some runtimes, and 4 / 0.01 is then 399.99...).
// Any other exponent (a fraction, infinite, NaN) is std::pow's.
double PowerOfTen(double exponent);
// In place: below low becomes low, else above high becomes high; NaN stays.
void ClampValue(double* v, double low, double high);
// n = integer part (toward zero), f = fractional part: n + 1 when n > 0 and f >= 0.5, n - 1 when n <= 0 and
// f < -0.5, else n. So 2.5 gives 3, -2.5 gives -2 and every x in [0.5, 1) gives 0. Values beyond the 32-bit
// range give its nearest end; NaN gives 0.
int32_t RoundToNearestInt(double x);
// n x (n-1) x ... x (k+1) for n > 0 (1.0 when k >= n); 1.0 for n <= 0.
double FallingFactorial(int32_t n, int32_t k);
// sqrt(2 pi x) x^x e^-x with pi as 3.1415926535.
double StirlingFactorial(double x);
// r = fmod(v - origin, step); when r > tolerance, v moves up to the next multiple of step from origin.
void RoundUpToStep(double origin, double* v, double step, double tolerance);
// Characters after the first decimal character of the value formatted with up to 9 places (the default
// format when none is given); 0 when the text has none.
int16_t DisplayedDecimals(double value, const NumericFormat* format);
