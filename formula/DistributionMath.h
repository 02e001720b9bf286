#pragma once
// Logarithmic building blocks of the densities: normalising constants through the log-gamma function, so
// large parameters give numbers instead of overflowing factorials and powers.

#include <cmath>

// a * ln(x), with 0 when a is 0 (so that x^0 is 1 even at x = 0).
inline double XLogY(double a, double x) { return a == 0.0 ? 0.0 : a * std::log(x); }

// ln of the beta function B(a, b) = gamma(a) gamma(b) / gamma(a + b).
inline double LogBeta(double a, double b) { return std::lgamma(a) + std::lgamma(b) - std::lgamma(a + b); }
