// Draws per second of the distribution samplers and lookups per second of an interpolated table.

#include "bench/Bench.h"

#include "treewin/DistributeChildrenDialog.h"
#include "foundation/RandomGenerator.h"
#include "foundation/UniformRandom.h"
#include "formula/Distribution.h"
#include "formula/DistributionSamplers.h"
#include "formula/LookupTable.h"
#include "formula/RunOutcome.h"

#include <memory>

namespace {

// values: type, variant, parameters.
void BenchDraws(const char* label, std::initializer_list<double> values, long count = 2000000)
{
    RunFault fault;
    std::unique_ptr<Distribution> d(MakeDistributionFromValues(static_cast<int>(values.size()), values.begin(), &fault));
    SeedRandom(1);
    BenchReport(label, count, [&] { BenchKeep(d->Sample(&fault)); });
}

}  // namespace

KIVO_BENCH(DistributionDraws)
{
    BenchDraws("Uniform(0, 1) draw", {2, 1, 0, 1});
    BenchDraws("Exponential(1) draw", {7, 1, 1});
    BenchDraws("Normal(0, 1) draw", {1, 1, 0, 1});
    BenchDraws("Gamma(2.5, 1) draw", {8, 1, 2.5, 1});
    BenchDraws("Beta(2, 3) draw", {3, 2, 2, 3});
    BenchDraws("Chi(4, 1) draw", {4, 1, 4, 1});
    BenchDraws("Chi-Square(4, 1) draw", {5, 1, 4, 1});
    BenchDraws("Hyper-Exponential(2, 0.4) draw", {9, 1, 2, 0.4});
    BenchDraws("Laplace(1, 1) draw", {10, 1, 1, 1});
    BenchDraws("Weibull(1, 2) draw", {15, 1, 1, 2});
    BenchDraws("Logistic(1, 1) draw (by inversion)", {11, 1, 1, 1}, 20000);
}

// Densities of the discrete types at large parameters.
KIVO_BENCH(DistributionDensities)
{
    RunFault fault;
    std::unique_ptr<Distribution> poisson(MakeDistribution(18));
    BenchReport("Poisson(10) density at 8", 2000000, [&] { BenchKeep(poisson->Density(8, &fault)); });
    std::unique_ptr<Distribution> binomial(MakeDistribution(19));
    BenchReport("Binomial(0.1, 20) density at 3", 2000000, [&] { BenchKeep(binomial->Density(3, &fault)); });
}

// The kernels alone, without a distribution's parameter check around them.
KIVO_BENCH(DistributionKernels)
{
    SeedRandom(1);
    BenchReport("UniformRandom(0, 1)", 2000000, [] { BenchKeep(UniformRandom(0.0, 1.0)); });
    PolarNormalSource normal;
    BenchReport("polar normal deviate", 2000000, [&] { BenchKeep(normal.Next()); });
    GammaVariateSource gamma;
    BenchReport("gamma variate, shape 2.5", 2000000, [&] { BenchKeep(gamma.Next(2.5, 1.0)); });
}

KIVO_BENCH(TableLookup)
{
    LookupTable table;
    for (int i = 0; i < 100; ++i)
        table.SetEntry(i, i * 0.5);
    RunFault fault;
    double x = 0.0;
    BenchReport("100-entry interpolated lookup", 10000000, [&] {
        x += 0.37;
        if (x > 99)
            x -= 99;
        BenchKeep(table.Lookup(x, &fault));
    });
}

// Distribute Children's Equal Probs into 50 ranges of a gamma, then the ranges' probabilities by
// integration (what OK does after a drag).
KIVO_BENCH(DistributeChildrenRanges)
{
    const double values[] = {8, 1, 2.5, 1};
    RunFault fault;
    std::unique_ptr<Distribution> gamma(MakeDistributionFromValues(4, values, &fault));
    DistributeChildrenRangesDialog ranges(*gamma, 50);
    gamma->Range(ranges.low, ranges.high, &fault);
    BenchReport("Equal Probs into 50 ranges, then their probabilities", 20, [&] {
        ranges.EqualProbabilities();
        ranges.ComputeProbabilities();
        BenchKeep(ranges.probabilities[10]);
    });
}
