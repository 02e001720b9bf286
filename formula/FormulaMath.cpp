#include "formula/FormulaMath.h"

#include <cfloat>
#include <cmath>

bool CheckedPow(double base, double exponent, double& result)
{
    result = std::pow(base, exponent);
    if (std::isnan(base) || std::isnan(exponent))
        return true;
    if (std::isnan(result))
        return false;
    if (std::isinf(result))
        return std::isinf(base) || std::isinf(exponent);
    if (std::fabs(result) < DBL_MIN) {
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
