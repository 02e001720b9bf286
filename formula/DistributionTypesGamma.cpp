// Chi, Chi-Square, Erlang, Exponential, Gamma and Hyper-Exponential distributions. Densities are computed in
// logarithms with the true gamma function, so each holds all of its mass and large parameters stay finite.

#include "formula/DistributionTypes.h"

#include "formula/DistributionMath.h"
#include "formula/FormulaMath.h"
#include "foundation/UniformRandom.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const DistributionTypeInfo kChi = {
    DistChi, "Chi", 2, {"&n:", "&sigma:"}, {4, 1}, {CheckPositiveInteger, CheckGreaterThanZero}, {0, 0}, 3.0};
const DistributionTypeInfo kChiSquare = {
    DistChiSquare, "Chi-Square", 2, {"&n:", "&sigma:"}, {4, 1}, {CheckPositiveInteger, CheckGreaterThanZero},
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

double U() { return UniformRandom(0.0, 1.0); }

// gamma((n + 1) / 2) / gamma(n / 2), the ratio in the chi distribution's moments.
double ChiGammaRatio(double n) { return std::exp(std::lgamma((n + 1.0) / 2.0) - std::lgamma(n / 2.0)); }

}  // namespace

// Chi (n, sigma): its square is Gamma(n / 2) with rate n / (2 sigma^2).

ChiDistribution::ChiDistribution() : Distribution(kChi) {}

double ChiDistribution::Density(double x, RunFault* fault)
{
    return Checked(fault, [&] {
        if (x < 0.0)
            return 0.0;
        const double n = C(0);
        const double s = C(1);
        return std::exp(std::log(2.0) + XLogY(n / 2.0, n / 2.0) - std::lgamma(n / 2.0) - n * std::log(s) +
                        XLogY(n - 1.0, x) - n * x * x / (2.0 * s * s));
    });
}

double ChiDistribution::Mean(RunFault* fault)
{
    return Checked(fault, [&] {
        const double n = C(0);
        return C(1) * std::sqrt(2.0 / n) * ChiGammaRatio(n);
    });
}

double ChiDistribution::StdDev(RunFault* fault)
{
    return Checked(fault, [&] {
        const double n = C(0);
        const double ratio = ChiGammaRatio(n);
        return std::sqrt(std::fabs((1.0 - (2.0 / n) * ratio * ratio) * C(1) * C(1)));
    });
}

void ChiDistribution::Range(double& lo, double& hi, RunFault* fault)
{
    RangeAroundMean(lo, hi, fault, 3.5, 3.5);
    lo = 0.0;
}

double ChiDistribution::Sample(RunFault* fault)
{
    return Checked(fault, [&] {
        const double n = C(0);
        return std::sqrt(gamma.Next(n / 2.0, n / (2.0 * C(1) * C(1))));
    });
}

// Chi-Square (n, sigma): Gamma(n / 2) with rate 1 / (2 sigma^2).

ChiSquareDistribution::ChiSquareDistribution() : Distribution(kChiSquare) {}

double ChiSquareDistribution::Density(double x, RunFault* fault)
{
    return Checked(fault, [&] {
        if (x < 0.0)
            return 0.0;
        const double n = C(0);
        const double twoVariance = 2.0 * C(1) * C(1);
        return std::exp(-(n / 2.0) * std::log(twoVariance) - std::lgamma(n / 2.0) + XLogY(n / 2.0 - 1.0, x) -
                        x / twoVariance);
    });
}

double ChiSquareDistribution::Mean(RunFault* fault)
{
    return Checked(fault, [&] { return C(0) * C(1) * C(1); });
}

double ChiSquareDistribution::StdDev(RunFault* fault)
{
    return Checked(fault, [&] { return std::sqrt(2.0 * C(0) * std::pow(C(1), 4.0)); });
}

void ChiSquareDistribution::Range(double& lo, double& hi, RunFault* fault)
{
    RangeAroundMean(lo, hi, fault, 3.5, 3.5);
    lo = 0.0;
}

double ChiSquareDistribution::Sample(RunFault* fault)
{
    return Checked(fault, [&] { return gamma.Next(C(0) / 2.0, 1.0 / (2.0 * C(1) * C(1))); });
}

// Erlang (k, lambda).

ErlangDistribution::ErlangDistribution() : Distribution(kErlang) {}

double ErlangDistribution::Density(double x, RunFault* fault)
{
    return Checked(fault, [&] {
        if (x < 0.0)
            return 0.0;
        const double rate = C(0) * C(1);
        return std::exp(std::log(rate) + XLogY(C(0) - 1.0, rate * x) - rate * x -
                        std::lgamma(TruncateToInt32(C(0))));
    });
}

double ErlangDistribution::Mean(RunFault* fault)
{
    return Checked(fault, [&] { return 1.0 / C(1); });
}

double ErlangDistribution::StdDev(RunFault* fault)
{
    return Checked(fault, [&] { return std::sqrt(1.0 / (C(0) * C(1) * C(1))); });
}

void ErlangDistribution::Range(double& lo, double& hi, RunFault* fault)
{
    RangeAroundMean(lo, hi, fault, 3.0, 6.5);
    if (lo < 0.01)
        lo = 0.01;
}

// The product of k uniform draws; before it would leave the normal numbers (large k) its logarithm is
// set aside, so the result stays finite.
double ErlangDistribution::Sample(RunFault* fault)
{
    return Checked(fault, [&] {
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

double ExponentialDistribution::Density(double x, RunFault* fault)
{
    return Checked(fault, [&] { return x < 0.0 ? 0.0 : C(0) * std::exp(-C(0) * x); });
}

double ExponentialDistribution::Mean(RunFault* fault)
{
    return Checked(fault, [&] { return 1.0 / C(0); });
}

double ExponentialDistribution::StdDev(RunFault* fault)
{
    return Checked(fault, [&] { return 1.0 / C(0); });
}

void ExponentialDistribution::Range(double& lo, double& hi, RunFault* fault)
{
    if (!CheckDistributionParameter(fault))
        return;
    lo = 0.0;
    hi = 11.5 / CachedValue(0);
}

double ExponentialDistribution::Sample(RunFault* fault)
{
    return Checked(fault, [&] { return ExponentialVariate(C(0)); });
}

// Gamma (alpha, beta).

GammaDistribution::GammaDistribution() : Distribution(kGamma) {}

double GammaDistribution::Density(double x, RunFault* fault)
{
    return Checked(fault, [&] {
        if (x < 0.0)
            return 0.0;
        const double a = C(0);
        const double b = C(1);
        return std::exp(a * std::log(b) - std::lgamma(a) + XLogY(a - 1.0, x) - b * x);
    });
}

double GammaDistribution::Mean(RunFault* fault)
{
    return Checked(fault, [&] { return C(0) / C(1); });
}

// The spread is the square root of the variance alpha / beta^2.
double GammaDistribution::StdDev(RunFault* fault)
{
    return Checked(fault, [&] { return std::sqrt(C(0)) / C(1); });
}

// [0, 100], reaching further for a distribution whose mass lies beyond 100.
void GammaDistribution::Range(double& lo, double& hi, RunFault* fault)
{
    if (!CheckDistributionParameter(fault))
        return;
    const double a = CachedValue(0);
    const double b = CachedValue(1);
    lo = 0.0;
    hi = std::max(100.0, (a + 10.0 * std::sqrt(a)) / b);
}

double GammaDistribution::Sample(RunFault* fault)
{
    return Checked(fault, [&] { return gamma.Next(C(0), C(1)); });
}

// Hyper-Exponential (lambda, p): with probability 1 - p an exponential of rate 2 lambda (1 - p), else one of
// rate 2 lambda p. At p = 0 or 1 only one of them is left.

namespace {

struct ExponentialMixture {
    double weight[2];
    double rate[2];
    ExponentialMixture(double lambda, double p)
        : weight{1.0 - p, p}, rate{2.0 * lambda * (1.0 - p), 2.0 * lambda * p}
    {
    }
    // The i-th moment about 0 (i = 1, 2): the sum of weight * i! / rate^i over the parts present.
    double Moment(int i) const
    {
        double sum = 0.0;
        for (int k = 0; k < 2; ++k) {
            if (weight[k] > 0.0)
                sum += weight[k] * (i == 1 ? 1.0 / rate[k] : 2.0 / (rate[k] * rate[k]));
        }
        return sum;
    }
    double SlowestRate() const
    {
        return weight[0] <= 0.0 ? rate[1] : weight[1] <= 0.0 ? rate[0] : std::min(rate[0], rate[1]);
    }
};

}  // namespace

HyperExponentialDistribution::HyperExponentialDistribution() : Distribution(kHyperExponential) {}

double HyperExponentialDistribution::Density(double x, RunFault* fault)
{
    return Checked(fault, [&] {
        if (x < 0.0)
            return 0.0;
        const double l = C(0);
        const double p = C(1);
        return 2.0 * l * (1.0 - p) * (1.0 - p) * std::exp(-2.0 * l * (1.0 - p) * x) +
               2.0 * l * p * p * std::exp(-2.0 * l * p * x);
    });
}

double HyperExponentialDistribution::Mean(RunFault* fault)
{
    return Checked(fault, [&] { return ExponentialMixture(C(0), C(1)).Moment(1); });
}

double HyperExponentialDistribution::StdDev(RunFault* fault)
{
    return Checked(fault, [&] {
        const ExponentialMixture mixture(C(0), C(1));
        const double mean = mixture.Moment(1);
        return std::sqrt(mixture.Moment(2) - mean * mean);
    });
}

// Up to where the slower part keeps e^-11.5 of its mass, as the exponential's range.
void HyperExponentialDistribution::Range(double& lo, double& hi, RunFault* fault)
{
    if (!CheckDistributionParameter(fault))
        return;
    lo = 0.0;
    hi = 11.5 / ExponentialMixture(CachedValue(0), CachedValue(1)).SlowestRate();
}

double HyperExponentialDistribution::Sample(RunFault* fault)
{
    return Checked(fault, [&] {
        const ExponentialMixture mixture(C(0), C(1));
        const int part = mixture.weight[0] <= 0.0 ? 1 : mixture.weight[1] <= 0.0 ? 0 : U() < C(1) ? 1 : 0;
        return ExponentialVariate(mixture.rate[part]);
    });
}
