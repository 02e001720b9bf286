// Normal, Uniform, Beta, Triangular and Table distributions, and the factory.

#include "formula/DistributionTypes.h"

#include "formula/DistributionMath.h"
#include "formula/FormulaMath.h"
#include "foundation/UniformRandom.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kNoDefault = std::numeric_limits<double>::quiet_NaN();
constexpr double kInvSqrt2Pi = 0.3989422804;

const DistributionTypeInfo kNormal = {
    DistNormal, "Normal", 2, {"&Mean:", "&Std Dev:"}, {0, 1}, {CheckNone, CheckGreaterThanZero}, {0, 0}, 2.0};
const DistributionTypeInfo kUniform = {
    DistUniform, "Uniform", 2, {"&Low Value:", "&High Value:"}, {0, 1}, {CheckNone, CheckNone},
    {OrderAny, OrderGreater}, 1.0};
// Beta's labels, checks and orders depend on its variant; these are variant 1's.
const DistributionTypeInfo kBeta = {
    DistBeta, "Beta", 2, {"&n:", "&r:"}, {8, 4}, {CheckPositiveInteger, CheckPositiveInteger},
    {OrderSmaller, OrderSmaller}, 10.0};
const DistributionTypeInfo kTable = {DistTable, "Table", 1, {""}, {kNoDefault}, {CheckNone}, {0}, 3.0};
const DistributionTypeInfo kTriangular = {
    DistTriangular, "Triangular", 3, {"Mi&n:", "&Likeliest:", "Ma&x:"}, {0, 0.5, 1},
    {CheckNone, CheckNone, CheckNone}, {OrderGreater, OrderGreater, OrderGreater}, 3.0};

double U() { return UniformRandom(0.0, 1.0); }

}  // namespace

// Normal (mean, sd).

NormalDistribution::NormalDistribution() : Distribution(kNormal) {}

double NormalDistribution::Density(double x, RunFault* fault)
{
    return Checked(fault, [&] {
        const double d = x - C(0);
        return kInvSqrt2Pi / C(1) * std::exp(-d * d / (2.0 * C(1) * C(1)));
    });
}

double NormalDistribution::Mean(RunFault* fault)
{
    return Checked(fault, [&] { return C(0); });
}

double NormalDistribution::StdDev(RunFault* fault)
{
    return Checked(fault, [&] { return C(1); });
}

void NormalDistribution::Range(double& lo, double& hi, RunFault* fault) { RangeAroundMean(lo, hi, fault, 3.5, 3.5); }

double NormalDistribution::Sample(RunFault* fault)
{
    return Checked(fault, [&] { return C(0) + C(1) * normal.Next(); });
}

void NormalDistribution::SetParameters(const Expression* values)
{
    Distribution::SetParameters(values);
    variant = 1;
}

// Uniform (low, high).

UniformDistribution::UniformDistribution() : Distribution(kUniform) {}

double UniformDistribution::Density(double x, RunFault* fault)
{
    return Checked(fault, [&] { return x >= C(0) && x <= C(1) ? 1.0 / (C(1) - C(0)) : 0.0; });
}

double UniformDistribution::Mean(RunFault* fault)
{
    return Checked(fault, [&] { return (C(0) + C(1)) / 2.0; });
}

// The spread of a uniform distribution is its width over the square root of 12.
double UniformDistribution::StdDev(RunFault* fault)
{
    return Checked(fault, [&] { return (C(1) - C(0)) / std::sqrt(12.0); });
}

void UniformDistribution::Range(double& lo, double& hi, RunFault* fault)
{
    if (!CheckDistributionParameter(fault))
        return;
    lo = CachedValue(0);
    hi = CachedValue(1);
}

double UniformDistribution::Sample(RunFault* fault)
{
    return Checked(fault, [&] { return UniformRandom(C(0), C(1)); });
}

double UniformDistribution::IntervalProbability(int, double a, double b, RunFault* fault)
{
    return Checked(fault, [&] {
        const double lo = C(0);
        const double hi = C(1);
        if (b < lo || hi < a)
            return 0.0;
        return (std::min(b, hi) - std::max(a, lo)) / (hi - lo);
    });
}

// Beta: variant 1 (n, r) with integer parameters is Beta (r, n - r); variant 2 (alpha, beta).

BetaDistribution::BetaDistribution() : Distribution(kBeta) {}

const char* BetaDistribution::ParameterLabel(int i) const
{
    if (variant == 1)
        return Distribution::ParameterLabel(i);
    static const char* const labels[] = {"&alpha:", "&beta:"};
    return i >= 0 && i < 2 ? labels[i] : "";
}

int32_t BetaDistribution::ParameterCheck(int i) const
{
    if (variant == 1)
        return Distribution::ParameterCheck(i);
    return i >= 0 && i < 2 ? CheckGreaterThanZero : CheckNone;
}

int32_t BetaDistribution::ParameterOrder(int i) const { return variant == 1 ? Distribution::ParameterOrder(i) : OrderEnd; }

const char* BetaDistribution::VariantName(int32_t v) const
{
    return v == 1 ? "Integer parameters only" : "Real-numbered parameters";
}

void BetaDistribution::SetParameters(const Expression* values)
{
    Distribution::SetParameters(values);
    Expression first(values[0]);
    double value = 0.0;
    variant = first.GetConstant(&value) ? TruncateToInt32(value) : 1;
}

double BetaDistribution::Density(double x, RunFault* fault)
{
    return Checked(fault, [&] {
        if (x < 0.0 || x > 1.0)
            return 0.0;
        const double a = variant == 1 ? C(1) : C(0);
        const double b = variant == 1 ? C(0) - C(1) : C(1);
        return std::exp(XLogY(a - 1.0, x) + XLogY(b - 1.0, 1.0 - x) - LogBeta(a, b));
    });
}

double BetaDistribution::Mean(RunFault* fault)
{
    return Checked(fault, [&] { return variant == 1 ? C(1) / C(0) : C(0) / (C(0) + C(1)); });
}

double BetaDistribution::StdDev(RunFault* fault)
{
    return Checked(fault, [&] {
        if (variant == 1) {
            const double n = C(0);
            const double r = C(1);
            return std::sqrt((n - r) * r / (n * n * (n + 1.0)));
        }
        const double a = C(0);
        const double b = C(1);
        return std::sqrt(a * b / ((a + b + 1.0) * (a + b) * (a + b)));
    });
}

void BetaDistribution::Range(double& lo, double& hi, RunFault* fault)
{
    if (!CheckDistributionParameter(fault))
        return;
    lo = 0.0;
    hi = 1.0;
}

double BetaDistribution::Sample(RunFault* fault)
{
    return Checked(fault, [&] {
        const double a = variant == 1 ? C(1) : C(0);
        const double b = variant == 1 ? C(0) - C(1) : C(1);
        if (a >= 1.0 || b >= 1.0) {
            const double x = gammaA.Next(a, 1.0);
            const double y = gammaB.Next(b, 1.0);
            return x / (x + y);
        }
        // A pair that vanished (draws of 0, or powers too small for a double) has no ratio; it is drawn again.
        double x;
        double y;
        do {
            x = std::pow(U(), 1.0 / a);
            y = std::pow(U(), 1.0 / b);
        } while (x + y > 1.0 || x + y == 0.0);
        return x / (x + y);
    });
}

// Table: the name of a lookup table; its record draws from the table.

TableDistribution::TableDistribution() : Distribution(kTable) {}

// Triangular (min, likeliest, max).

TriangularDistribution::TriangularDistribution() : Distribution(kTriangular) {}

namespace {
double TriangularDensity(double lo, double m, double hi, double x)
{
    if (x <= lo || x >= hi)
        return 0.0;
    const double h = 2.0 / (hi - lo);
    if (x < m)
        return h * (x - lo) / (m - lo);
    return (1.0 - (x - m) / (hi - m)) * h;
}
}  // namespace

double TriangularDistribution::Density(double x, RunFault* fault)
{
    return Checked(fault, [&] { return TriangularDensity(C(0), C(1), C(2), x); });
}

// The true mean and spread of the triangle.
double TriangularDistribution::Mean(RunFault* fault)
{
    return Checked(fault, [&] { return (C(0) + C(1) + C(2)) / 3.0; });
}

double TriangularDistribution::StdDev(RunFault* fault)
{
    return Checked(fault, [&] {
        const double a = C(0);
        const double m = C(1);
        const double b = C(2);
        return std::sqrt((a * a + m * m + b * b - a * m - a * b - m * b) / 18.0);
    });
}

void TriangularDistribution::Range(double& lo, double& hi, RunFault* fault)
{
    if (!CheckDistributionParameter(fault))
        return;
    lo = CachedValue(0);
    hi = CachedValue(2);
}

double TriangularDistribution::Sample(RunFault* fault)
{
    return Checked(fault, [&] { return TriangularPoint(C(0), C(1), C(2), U()); });
}

// Exact: the density is linear on either side of the likeliest value.
double TriangularDistribution::IntervalProbability(int, double a, double b, RunFault* fault)
{
    return Checked(fault, [&] {
        const double lo = C(0);
        const double m = C(1);
        const double hi = C(2);
        const double start = std::max(a, lo);
        const double end = std::min(b, hi);
        if (start >= end)
            return 0.0;
        auto f = [&](double x) { return x == m ? 2.0 / (hi - lo) : TriangularDensity(lo, m, hi, x); };
        if (end <= m || start >= m)
            return (end - start) * f((start + end) / 2.0);
        return (m - start) * (f(start) + f(m)) / 2.0 + (end - m) * (f(m) + f(end)) / 2.0;
    });
}

Distribution* MakeDistribution(int type)
{
    switch (type) {
    case DistNormal: return new NormalDistribution;
    case DistUniform: return new UniformDistribution;
    case DistBeta: return new BetaDistribution;
    case DistChi: return new ChiDistribution;
    case DistChiSquare: return new ChiSquareDistribution;
    case DistErlang: return new ErlangDistribution;
    case DistExponential: return new ExponentialDistribution;
    case DistGamma: return new GammaDistribution;
    case DistHyperExponential: return new HyperExponentialDistribution;
    case DistLaplace: return new LaplaceDistribution;
    case DistLogistic: return new LogisticDistribution;
    case DistLogNormal: return new LogNormalDistribution;
    case DistMaxwell: return new MaxwellDistribution;
    case DistRayleigh: return new RayleighDistribution;
    case DistWeibull: return new WeibullDistribution;
    case DistTable: return new TableDistribution;
    case DistTriangular: return new TriangularDistribution;
    case DistPoisson: return new PoissonDistribution;
    case DistBinomial: return new BinomialDistribution;
    default: return nullptr;
    }
}
