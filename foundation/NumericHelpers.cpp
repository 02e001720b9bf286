#include "foundation/NumericHelpers.h"

#include "foundation/LocaleChars.h"
#include "foundation/NumericFormat.h"

#include <climits>
#include <cmath>
#include <cstring>

void ClampValue(double* v, double low, double high)
{
    if (*v < low)
        *v = low;
    else if (*v > high)
        *v = high;
}

double PowerOfTen(double exponent)
{
    if (!(exponent < 0.0) || exponent != std::floor(exponent))
        return std::pow(10.0, exponent);
    const double positive = std::pow(10.0, -exponent);
    return std::isfinite(positive) ? 1.0 / positive : std::pow(10.0, exponent);
}

int32_t RoundToNearestInt(double x)
{
    if (std::isnan(x))
        return 0;
    if (x >= static_cast<double>(INT32_MAX))
        return INT32_MAX;
    if (x <= static_cast<double>(INT32_MIN))
        return INT32_MIN;
    auto n = static_cast<int32_t>(x);
    double fraction = x - n;
    if (n > 0 && fraction >= 0.5)
        return n + 1;
    if (n <= 0 && fraction < -0.5)
        return n - 1;
    return n;
}

double FallingFactorial(int32_t n, int32_t k)
{
    double product = 1.0;
    if (n <= 0)
        return product;
    // Past zero every further factor leaves the product 0.
    for (int32_t factor = n; factor > k && factor >= 0; --factor)
        product *= factor;
    return product;
}

double StirlingFactorial(double x)
{
    return std::sqrt(2.0 * 3.1415926535 * x) * std::pow(x, x) * std::exp(-x);
}

void RoundUpToStep(double origin, double* v, double step, double tolerance)
{
    double remainder = std::fmod(*v - origin, step);
    if (remainder > tolerance)
        *v = *v + (step - remainder);
}

int16_t DisplayedDecimals(double value, const NumericFormat* format)
{
    zString text;
    FormatNumber(format ? *format : DefaultNumericFormat, value, text, false, false, -9);
    const char* separator = std::strchr(text.Text(), LocaleChars::Active().decimalChar);
    if (!separator)
        return 0;
    return static_cast<int16_t>(std::strlen(separator + 1));
}
