// Laplace, Logistic, Log-Normal, Maxwell, Rayleigh and Weibull distributions.

#include "formula/DistributionTypes.h"

#include "foundation/UniformRandom.h"
#include "formula/RunOutcome.h"

#include <algorithm>
#include <cmath>

namespace {

const DistributionTypeInfo kLaplace = {
    DistLaplace, "Laplace", 2, {"&a:", "&b:"}, {1, 1}, {CheckNone, CheckGreaterThanZero}, {0, 0}, 3.0};
const DistributionTypeInfo kLogistic = {
    DistLogistic, "Logistic", 2, {"&a:", "&b:"}, {1, 1}, {CheckGreaterThanZero, CheckNone}, {0, 0}, 3.0};
const DistributionTypeInfo kLogNormal = {
    DistLogNormal, "Log-Normal", 2, {"&u:", "&sigma:"}, {5, 1}, {CheckNone, CheckGreaterThanZero}, {0, 0}, 3.0};
const DistributionTypeInfo kMaxwell = {
    DistMaxwell, "Maxwell", 1, {"&alpha:"}, {5}, {CheckGreaterThanZero}, {0}, 3.0};
const DistributionTypeInfo kRayleigh = {
    DistRayleigh, "Rayleigh", 1, {"&alpha:"}, {1}, {CheckGreaterThanZero}, {0}, 3.0};
const DistributionTypeInfo kWeibull = {
    DistWeibull, "Weibull", 2, {"&lambda:", "&k:"}, {1, 2}, {CheckGreaterThanZero, CheckGreaterThanZero},
    {0, 0}, 3.0};

constexpr double kInvSqrt2Pi = 0.3989422804;
constexpr double kSqrtPi = 1.772453851;
constexpr double kSqrt2 = 1.414213562;

double U() { return UniformRandom(0.0, 1.0); }

// The exponential of the log-normal type: above 709 it overflows, which is reported.
double GuardedExp(double y, RunFault* fault)
{
    if (y > 709.0) {
        ReportFailure(OutcomeCode::DistributionOverflow, nullptr, nullptr, "Overflow in lognormal distribution.", -1);
        if (fault)
            fault->Set(OutcomeCode::DistributionOverflow);
        return 0.0;
    }
    return std::exp(y);
}

}  // namespace

// Laplace (a, b).

LaplaceDistribution::LaplaceDistribution() : Distribution(kLaplace) {}

double LaplaceDistribution::Density(double x, RunFault* fault)
{
    return Checked(fault, [&] { return std::exp(-std::fabs(x - C(0)) / C(1)) * 0.5 / C(1); });
}

double LaplaceDistribution::Mean(RunFault* fault)
{
    return Checked(fault, [&] { return C(0); });
}

double LaplaceDistribution::StdDev(RunFault* fault)
{
    return Checked(fault, [&] { return std::sqrt(2.0 * C(1) * C(1)); });
}

void LaplaceDistribution::Range(double& lo, double& hi, RunFault* fault) { RangeAroundMean(lo, hi, fault, 4.0, 4.0); }

// The inverse of the distribution function: a - b sign(u) ln(1 - 2|u|) for u uniform on (-1/2, 1/2).
double LaplaceDistribution::Sample(RunFault* fault)
{
    return Checked(fault, [&] {
        double u;
        do {
            u = U() - 0.5;
        } while (std::fabs(u) >= 0.5);
        const double tail = std::log(1.0 - 2.0 * std::fabs(u));
        return u < 0.0 ? C(0) + C(1) * tail : C(0) - C(1) * tail;
    });
}

// Logistic (a, b).

LogisticDistribution::LogisticDistribution() : Distribution(kLogistic) {}

// The density is symmetric in a x + b, so the exponential is taken of its negative absolute value and
// cannot overflow in either tail.
double LogisticDistribution::Density(double x, RunFault* fault)
{
    return Checked(fault, [&] {
        const double e = std::exp(-std::fabs(C(0) * x + C(1)));
        return C(0) * e / ((e + 1.0) * (e + 1.0));
    });
}

double LogisticDistribution::Mean(RunFault* fault)
{
    return Checked(fault, [&] { return -C(1) / C(0); });
}

double LogisticDistribution::StdDev(RunFault* fault)
{
    return Checked(fault, [&] { return std::sqrt(9.869604400525171 / (3.0 * C(0) * C(0))); });
}

void LogisticDistribution::Range(double& lo, double& hi, RunFault* fault) { RangeAroundMean(lo, hi, fault, 5.0, 5.0); }

// Log-Normal (u, sigma).

LogNormalDistribution::LogNormalDistribution() : Distribution(kLogNormal) {}

double LogNormalDistribution::Density(double x, RunFault* fault)
{
    return Checked(fault, [&] {
        if (x <= 0.0)
            return 0.0;
        const double d = std::log(x) - C(0);
        return kInvSqrt2Pi / (C(1) * x) * std::exp(-d * d / (2.0 * C(1) * C(1)));
    });
}

double LogNormalDistribution::Mean(RunFault* fault)
{
    return Checked(fault, [&] { return GuardedExp(C(0) + C(1) * C(1) / 2.0, fault); });
}

double LogNormalDistribution::StdDev(RunFault* fault)
{
    return Checked(fault, [&] {
        RunFault failed;
        const double variance = C(1) * C(1);
        const double m = GuardedExp(2.0 * C(0) + variance, &failed);
        const double spread = failed ? 0.0 : GuardedExp(variance, &failed) - 1.0;
        if (failed) {
            if (fault)
                fault->Set(failed.Code());
            return 0.0;
        }
        return std::sqrt(spread * m);
    });
}

void LogNormalDistribution::Range(double& lo, double& hi, RunFault* fault)
{
    if (!CheckDistributionParameter(fault))
        return;
    lo = 5e-06;
    hi = std::exp(CachedValue(0) + 3.5 * CachedValue(1));
}

double LogNormalDistribution::Sample(RunFault* fault)
{
    return Checked(fault, [&] { return GuardedExp(C(0) + C(1) * normal.Next(), fault); });
}

// Maxwell (alpha).

MaxwellDistribution::MaxwellDistribution() : Distribution(kMaxwell) {}

double MaxwellDistribution::Density(double x, RunFault* fault)
{
    return Checked(fault, [&] {
        if (x < 0.0)
            return 0.0;
        const double a = C(0);
        return 4.0 / (a * a * kSqrtPi * a) * x * x * std::exp(-x * x / (a * a));
    });
}

double MaxwellDistribution::Mean(RunFault* fault)
{
    return Checked(fault, [&] { return 2.0 * C(0) / kSqrtPi; });
}

double MaxwellDistribution::StdDev(RunFault* fault)
{
    return Checked(fault, [&] { return std::sqrt(0.2267604552648 * C(0) * C(0)); });
}

void MaxwellDistribution::Range(double& lo, double& hi, RunFault* fault)
{
    RangeAroundMean(lo, hi, fault, 5.0, 5.0);
    lo = 0.01;
}

// Rayleigh (alpha).

RayleighDistribution::RayleighDistribution() : Distribution(kRayleigh) {}

double RayleighDistribution::Density(double x, RunFault* fault)
{
    return Checked(fault, [&] {
        if (x < 0.0)
            return 0.0;
        const double a2 = C(0) * C(0);
        return x / a2 * std::exp(-x * x / (2.0 * a2));
    });
}

double RayleighDistribution::Mean(RunFault* fault)
{
    return Checked(fault, [&] { return C(0) * kSqrtPi / kSqrt2; });
}

double RayleighDistribution::StdDev(RunFault* fault)
{
    return Checked(fault, [&] { return std::sqrt(0.4292036732051 * C(0) * C(0)); });
}

void RayleighDistribution::Range(double& lo, double& hi, RunFault* fault)
{
    RangeAroundMean(lo, hi, fault, 5.0, 5.0);
    lo = 0.01;
}

// Weibull (lambda, k), whose probability beyond x is e^(-lambda x^k).

WeibullDistribution::WeibullDistribution() : Distribution(kWeibull) {}

double WeibullDistribution::Density(double x, RunFault* fault)
{
    return Checked(fault, [&] {
        const double l = C(0);
        const double k = C(1);
        if (x < 0.0)
            return 0.0;
        return l * k * std::pow(x, k - 1.0) * std::exp(-l * std::pow(x, k));
    });
}

double WeibullDistribution::Mean(RunFault* fault)
{
    return Checked(fault, [&] { return std::pow(1.0 / C(0), 1.0 / C(1)) * std::exp(std::lgamma(1.0 + 1.0 / C(1))); });
}

double WeibullDistribution::StdDev(RunFault* fault)
{
    return Checked(fault, [&] {
        const double l = C(0);
        const double k = C(1);
        const double g1 = std::exp(std::lgamma(1.0 + 1.0 / k));
        const double g2 = std::exp(std::lgamma(1.0 + 2.0 / k));
        return std::sqrt((g2 - g1 * g1) * std::pow(1.0 / l, 2.0 / k));
    });
}

// [0, 11.5 / lambda], reaching further when the probability beyond it, e^(-lambda x^k), is not yet
// negligible there (k below 1).
void WeibullDistribution::Range(double& lo, double& hi, RunFault* fault)
{
    if (!CheckDistributionParameter(fault))
        return;
    const double l = CachedValue(0);
    const double k = CachedValue(1);
    lo = 0.0;
    hi = std::max(11.5 / l, std::pow(11.5 / l, 1.0 / k));
}

// The inverse of the distribution function: (-ln(U) / lambda)^(1/k).
double WeibullDistribution::Sample(RunFault* fault)
{
    return Checked(fault, [&] { return std::pow(ExponentialVariate(C(0)), 1.0 / C(1)); });
}
