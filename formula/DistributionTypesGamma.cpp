// Chi, Chi-Square, Erlang, Exponential, Gamma and Hyper-Exponential distributions. G is Stirling's
// factorial formula, which these types use where a textbook formula has the gamma function.

#include "formula/DistributionTypes.h"

#include "foundation/NumericHelpers.h"
#include "foundation/UniformRandom.h"
#include "formula/FormulaMath.h"

#include <cmath>
#include <limits>

namespace {

const DistributionTypeInfo kChi = {
    DistChi, "Chi", 2, {"&n:", "&sigma:"}, {3, 1}, {CheckPositiveInteger, CheckGreaterThanZero}, {0, 0}, 3.0};
const DistributionTypeInfo kChiSquare = {
    DistChiSquare, "Chi-Square", 2, {"&n:", "&sigma:"}, {3, 1}, {CheckPositiveInteger, CheckGreaterThanZero},
    {0, 0}, 3.0};
const DistributionTypeInfo kErlang = {
    DistErlang, "Erlang", 2, {"&k:", "&lambda:"}, {4, 0.5}, {CheckPositiveInteger, CheckGreaterThanZero},
    {0, 0}, 3.0};
const DistributionTypeInfo kExponential = {
    DistExponential, "Exponential", 1, {"&lambda:"}, {0.5}, {CheckGreaterThanZero}, {0}, 3.0};
const DistributionTypeInfo kGamma = {
    DistGamma, "Gamma", 2, {"&alpha:", "&beta:"}, {2, 1}, {CheckGreaterThanZero, CheckGreaterThanZero},
    {0, 0}, 3.0};
const DistributionTypeInfo kHyperExponential = {
    DistHyperExponential, "Hyper-Exponential", 2, {"&lambda:", "&p:"}, {2, 0.4},
    {CheckGreaterThanZero, CheckZeroToOne}, {0, 0}, 3.0};

double G(double x) { return StirlingFactorial(x); }
double U() { return UniformRandom(0.0, 1.0); }

}  // namespace

// Chi (n, sigma).

ChiDistribution::ChiDistribution() : Distribution(kChi) {}

double ChiDistribution::Density(double x, int32_t* err)
{
    return Checked(err, [&] {
        const double n = C(0);
        const double s = C(1);
        return 2.0 * std::pow(n / 2.0, n / 2.0) / (G(n / 2.0) * std::pow(s, n)) * std::pow(x, n - 1.0) *
               std::exp(-n * x * x / (2.0 * s * s));
    });
}

double ChiDistribution::Mean(int32_t* err)
{
    return Checked(err, [&] {
        const double n = C(0);
        return C(1) * 1.414213562 * G((n + 1.0) / 2.0) / (std::sqrt(n) * G(n / 2.0));
    });
}

double ChiDistribution::StdDev(int32_t* err)
{
    return Checked(err, [&] {
        const double n = C(0);
        const double ratio = G((n + 1.0) / 2.0) / G(n / 2.0);
        return std::sqrt(std::fabs((1.0 - (2.0 / n) * ratio * ratio) * C(1) * C(1)));
    });
}

void ChiDistribution::Range(double& lo, double& hi, int32_t* err)
{
    RangeAroundMean(lo, hi, err, 3.5, 3.5);
    lo = 0.0;
}

// Chi-Square (n, sigma).

ChiSquareDistribution::ChiSquareDistribution() : Distribution(kChiSquare) {}

double ChiSquareDistribution::Density(double x, int32_t* err)
{
    return Checked(err, [&] {
        const double n = C(0);
        const double twoVariance = 2.0 * C(1) * C(1);
        return std::pow(1.0 / twoVariance, n / 2.0) / G(n / 2.0) * std::pow(x, n / 2.0 - 1.0) *
               std::exp(-x / twoVariance);
    });
}

double ChiSquareDistribution::Mean(int32_t* err)
{
    const double n = P(0, err);
    const double s = P(1, err);
    return n * s * s;
}

double ChiSquareDistribution::StdDev(int32_t* err)
{
    return Checked(err, [&] { return std::sqrt(2.0 * C(0) * std::pow(C(1), 4.0)); });
}

void ChiSquareDistribution::Range(double& lo, double& hi, int32_t* err)
{
    RangeAroundMean(lo, hi, err, 3.5, 3.5);
    lo = 0.0;
}

// Erlang (k, lambda).

ErlangDistribution::ErlangDistribution() : Distribution(kErlang) {}

double ErlangDistribution::Density(double x, int32_t* err)
{
    return Checked(err, [&] {
        const double rate = C(0) * C(1);
        return rate * std::pow(rate * x, C(0) - 1.0) * std::exp(-rate * x) /
               FallingFactorial(TruncateToInt32(C(0)) - 1, 0);
    });
}

double ErlangDistribution::Mean(int32_t* err)
{
    return Checked(err, [&] { return 1.0 / C(1); });
}

double ErlangDistribution::StdDev(int32_t* err)
{
    return Checked(err, [&] { return std::sqrt(1.0 / (C(0) * C(1) * C(1))); });
}

void ErlangDistribution::Range(double& lo, double& hi, int32_t* err)
{
    RangeAroundMean(lo, hi, err, 3.0, 6.5);
    if (lo < 0.01)
        lo = 0.01;
}

// The product of k uniform draws; before it would leave the normal numbers (large k) its logarithm is
// set aside, so the result stays finite.
double ErlangDistribution::Sample(int32_t* err)
{
    return Checked(err, [&] {
        const int32_t k = TruncateToInt32(C(0));
        double product = 1.0;
        double logSetAside = 0.0;
        for (int32_t taken = 0; taken < k;) {
            const double u = U();
            if (u > 0.0) {
                if (product * u < std::numeric_limits<double>::min()) {
                    logSetAside += std::log(product);
                    product = 1.0;
                }
                product *= u;
                ++taken;
            }
        }
        return -(logSetAside + std::log(product)) / (C(0) * C(1));
    });
}

// Exponential (lambda).

ExponentialDistribution::ExponentialDistribution() : Distribution(kExponential) {}

double ExponentialDistribution::Density(double x, int32_t* err)
{
    return Checked(err, [&] { return C(0) * std::exp(-C(0) * x); });
}

double ExponentialDistribution::Mean(int32_t* err)
{
    return Checked(err, [&] { return 1.0 / C(0); });
}

double ExponentialDistribution::StdDev(int32_t* err)
{
    return Checked(err, [&] { return 1.0 / C(0); });
}

void ExponentialDistribution::Range(double& lo, double& hi, int32_t* err)
{
    if (!CheckDistributionParameter(err))
        return;
    lo = 0.0;
    hi = 11.5 / CachedValue(0);
}

double ExponentialDistribution::Sample(int32_t* err)
{
    return Checked(err, [&] {
        double u;
        do {
            u = U();
        } while (u == 0.0);
        return -std::log(u) / C(0);
    });
}

// Gamma (alpha, beta).

GammaDistribution::GammaDistribution() : Distribution(kGamma) {}

double GammaDistribution::Density(double x, int32_t* err)
{
    return Checked(err, [&] {
        const double a = C(0);
        const double b = C(1);
        return std::pow(b, a) / G(a) * std::pow(x, a - 1.0) * std::exp(-b * x);
    });
}

double GammaDistribution::Mean(int32_t* err)
{
    return Checked(err, [&] { return C(0) / C(1); });
}

// The spread is the square root of the variance alpha / beta^2.
double GammaDistribution::StdDev(int32_t* err)
{
    return Checked(err, [&] { return std::sqrt(C(0)) / C(1); });
}

void GammaDistribution::Range(double& lo, double& hi, int32_t*)
{
    lo = 0.0;
    hi = 100.0;
}

double GammaDistribution::Sample(int32_t* err)
{
    return Checked(err, [&] { return gamma.Next(C(0), C(1)); });
}

// Hyper-Exponential (lambda, p).

HyperExponentialDistribution::HyperExponentialDistribution() : Distribution(kHyperExponential) {}

double HyperExponentialDistribution::Density(double x, int32_t* err)
{
    return Checked(err, [&] {
        const double l = C(0);
        const double p = C(1);
        return 2.0 * l * (1.0 - p) * (1.0 - p) * std::exp(-2.0 * l * (1.0 - p) * x) +
               2.0 * l * p * p * std::exp(-2.0 * l * p * x);
    });
}

double HyperExponentialDistribution::Mean(int32_t* err)
{
    return Checked(err, [&] { return 1.0 / C(0); });
}

double HyperExponentialDistribution::StdDev(int32_t* err)
{
    return Checked(err, [&] { return std::sqrt((1.0 - C(1)) / (2.0 * C(1))) / C(0); });
}

void HyperExponentialDistribution::Range(double& lo, double& hi, int32_t* err)
{
    if (!CheckDistributionParameter(err))
        return;
    lo = 0.01;
    hi = 5.0 / CachedValue(0);
}
