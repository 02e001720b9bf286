// Monte Carlo trials: a generated tree of about a thousand nodes whose payoffs read ten sampled
// distributions, with and without the optimal path re-evaluated per trial; a Markov model of 10 states
// walked one individual per trial; and the treatment model's probabilistic run against the same
// computation written by hand.

#include "bench/Bench.h"
#include "bench/BenchCohort.h"
#include "bench/BenchProgramTrees.h"

#include "analysis/MonteCarloSimulation.h"
#include "widgets/MessageBoxes.h"
#include "formula/Distribution.h"
#include "formula/DistributionRecord.h"
#include "foundation/StringHelpers.h"
#include "model/MarkovInfo.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace {

double SecondsOf(const std::function<void()>& body)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    body();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Runs every trial; the seconds taken.
double RunSimulation(MonteCarloSimulation& simulation, const MonteCarloSettings& settings)
{
    if (!simulation.Setup(settings))
        return 0.0;
    return SecondsOf([&] {
        simulation.Begin();
        while (!simulation.RunTrial()) {
        }
        simulation.End();
    });
}

}  // namespace

KIVO_BENCH(MonteCarloTrials)
{
    HostSilence quiet(Silence::Notices);
    constexpr int kTrials = 10000;
    TreeDocument document;
    const int nodes = GrowMonteCarloBenchTree(document);
    for (int reevaluate = 0; reevaluate < 2; ++reevaluate) {
        MonteCarloSimulation simulation(document.Root);
        MonteCarloSettings settings;
        settings.trials = kTrials;
        settings.seed = 1000;
        settings.reevaluatePath = static_cast<int16_t>(reevaluate);
        const double seconds = RunSimulation(simulation, settings);
        // A re-evaluated trial rolls back every node; otherwise a trial walks one path from the root.
        const double perTrialNodes = reevaluate ? nodes : 6.0;
        std::printf("%d trials on %d nodes, %s: error %d, %.2f us per trial, %.2f million trial-nodes per second, "
                    "mean %.6g\n",
                    kTrials, nodes, reevaluate ? "path re-evaluated per trial" : "optimal path fixed",
                    static_cast<int>(simulation.error.Code()), seconds * 1e6 / kTrials, kTrials * perTrialNodes / seconds / 1e6,
                    simulation.Statistics(ComponentValue).mean);
    }
}

KIVO_BENCH(MonteCarloMarkovIndividuals)
{
    HostSilence quiet(Silence::Notices);
    constexpr int kTrials = 10000;
    constexpr int kStates = kBenchCohortStates;
    TreeDocument document;
    TreeNode* markov = BuildBenchCohort(document);
    MonteCarloSimulation simulation(markov);
    MonteCarloSettings settings;
    settings.trials = kTrials;
    settings.seed = 1000;
    settings.samplingMode = SampleNone;
    const double seconds = RunSimulation(simulation, settings);
    std::printf("%d individuals through %d states over up to 100 cycles: error %d, %.2f us per individual, "
                "mean %.6g\n",
                kTrials, kStates, static_cast<int>(simulation.error.Code()), seconds * 1e6 / kTrials,
                simulation.Statistics(ComponentValue).mean);
}
