#include "formula/FormulaMath.h"

#include "foundation/NumericHelpers.h"

#include <cfloat>
#include <cmath>

namespace {

// Whole exponents up to this magnitude are computed by repeated squaring (a few roundings at most), which
// is many times faster than the library's pow for the usual discounting by a stage number.
const double kMaxSquaringExponent = 64.0;

double PowerBySquaring(double base, int exponent)
{
    unsigned n = static_cast<unsigned>(exponent < 0 ? -exponent : exponent);
    double result = 1.0;
    double factor = base;
    while (n) {
        if (n & 1u)
            result *= factor;
        n >>= 1;
        if (n)
            factor *= factor;
    }
    return exponent < 0 ? 1.0 / result : result;
}

}  // namespace

bool CheckedPow(double base, double exponent, double& result)
{
    if (MagnitudeAtMost(exponent, kMaxSquaringExponent) && exponent == std::trunc(exponent) && std::isfinite(base))
        result = PowerBySquaring(base, static_cast<int>(exponent));
    else
        result = std::pow(base, exponent);
    if (std::isnan(base) || std::isnan(exponent))
        return true;
    if (std::isnan(result))
        return false;
    if (std::isinf(result))
        return std::isinf(base) || std::isinf(exponent);
    if (result < DBL_MIN && result > -DBL_MIN) {
        // Zero or subnormal: exact only for a zero base (with a positive exponent) or an infinite exponent.
        return base == 0.0 || std::isinf(exponent);
    }
    return true;
}

bool CheckedExp(double x, double& result)
{
    result = std::exp(x);
    return !(std::isinf(result) && !std::isinf(x));
}

int32_t TruncateToInt32(double x)
{
    if (!(x > -2147483649.0 && x < 2147483648.0))
        return INT32_MIN;
    return static_cast<int32_t>(x);
}
