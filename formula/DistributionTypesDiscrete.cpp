// Poisson and Binomial distributions: integer-valued, so Density gives the probability of the integer
// part of its argument. The probabilities are computed in logarithms, so large parameters give numbers.

#include "formula/DistributionTypes.h"

#include "formula/DistributionMath.h"
#include "formula/FormulaMath.h"
#include "foundation/UniformRandom.h"

#include <cmath>
#include <limits>

namespace {

const DistributionTypeInfo kPoisson = {
    DistPoisson, "Poisson", 1, {"&lambda:"}, {10}, {CheckGreaterThanZero}, {0}, 10.0};
const DistributionTypeInfo kBinomial = {
    DistBinomial, "Binomial", 2, {"&Prob:", "&Trials:"}, {0.1, 20}, {CheckZeroToOne, CheckPositiveInteger},
    {0, 0}, 10.0};

double U() { return UniformRandom(0.0, 1.0); }

}  // namespace

// Poisson (lambda).

PoissonDistribution::PoissonDistribution() : Distribution(kPoisson) {}

double PoissonDistribution::Density(double x, RunFault* fault)
{
    return Checked(fault, [&] {
        const int32_t k = TruncateToInt32(x);
        if (k < 0)
            return 0.0;
        return std::exp(-C(0) + XLogY(k, C(0)) - std::lgamma(k + 1.0));
    });
}

double PoissonDistribution::Mean(RunFault* fault)
{
    return Checked(fault, [&] { return C(0); });
}

// The spread is the square root of the variance lambda.
double PoissonDistribution::StdDev(RunFault* fault)
{
    return Checked(fault, [&] { return std::sqrt(C(0)); });
}

void PoissonDistribution::Range(double& lo, double& hi, RunFault* fault)
{
    if (!CheckDistributionParameter(fault))
        return;
    const double l = CachedValue(0);
    const double f = l < 2.0 ? 5.0 : l <= 5.0 ? 3.0 : l < 10.0 ? 2.5 : l < 20.0 ? 2.0 : 1.5;
    lo = 0.0;
    hi = l * f;
}

namespace {

// Counts uniform draws until their product falls below e^-lambda; one less is a Poisson(lambda) draw.
// skipZero leaves out draws of 0, which would end the count early.
double PoissonByProducts(double lambda, bool skipZero)
{
    const double limit = std::exp(-lambda);
    double p = 1.0;
    int n = 0;
    while (p >= limit) {
        const double u = U();
        if (skipZero && u == 0.0)
            continue;
        p *= u;
        ++n;
    }
    return static_cast<double>(n - 1);
}

}  // namespace

// When e^-lambda is no longer a normal number the products could never fall below it; the sum of Poisson
// draws of parts of lambda, which has the same distribution, is drawn instead. Over that many draws a
// draw of 0 is likely, so the parts leave such draws out.
double PoissonDistribution::Sample(RunFault* fault)
{
    return Checked(fault, [&] {
        double lambda = C(0);
        if (std::exp(-lambda) >= std::numeric_limits<double>::min())
            return PoissonByProducts(lambda, false);
        constexpr double kPart = 500.0;
        double count = 0.0;
        while (lambda > kPart) {
            count += PoissonByProducts(kPart, true);
            lambda -= kPart;
        }
        return count + PoissonByProducts(lambda, true);
    });
}

// Binomial (probability, trials).

BinomialDistribution::BinomialDistribution() : Distribution(kBinomial) {}

double BinomialDistribution::Density(double x, RunFault* fault)
{
    return Checked(fault, [&] {
        const int32_t k = TruncateToInt32(x);
        const int32_t trials = TruncateToInt32(C(1));
        if (k < 0 || k > trials)
            return 0.0;
        const double logCoefficient =
            std::lgamma(trials + 1.0) - std::lgamma(k + 1.0) - std::lgamma(trials - k + 1.0);
        return std::exp(logCoefficient + XLogY(k, C(0)) + XLogY(trials - k, 1.0 - C(0)));
    });
}

double BinomialDistribution::Mean(RunFault* fault)
{
    return Checked(fault, [&] { return C(1) * C(0); });
}

double BinomialDistribution::StdDev(RunFault* fault)
{
    return Checked(fault, [&] { return std::sqrt((1.0 - C(0)) * C(1) * C(0)); });
}

void BinomialDistribution::Range(double& lo, double& hi, RunFault* fault)
{
    if (!CheckDistributionParameter(fault))
        return;
    lo = 0.0;
    hi = CachedValue(1);
}

double BinomialDistribution::Sample(RunFault* fault)
{
    return Checked(fault, [&] {
        int successes = 0;
        for (int taken = 0; taken < C(1); ++taken) {
            if (U() < C(0))
                ++successes;
        }
        return static_cast<double>(successes);
    });
}
