// The bench cohort (bench/BenchCohort.h) run by the engine, and the same cohort in plain arrays.

#include "bench/Bench.h"
#include "bench/BenchCohort.h"

#include "analysis/MarkovCohort.h"
#include "widgets/MessageBoxes.h"
#include "foundation/StringHelpers.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

#include <chrono>
#include <cstdio>
#include <functional>

TreeNode* BuildBenchCohort(TreeDocument& document)
{
    TreeNode* markov = AddBenchNode(document.Root, MarkovNode, "Cohort", "");
    markov->SetMarkovTerminationText("_stage >= 100", 0);
    for (int i = 1; i <= kBenchCohortStates; ++i) {
        zString name("S");
        AppendInt(name, i);
        const char* initial = i == 1 ? "1" : "0";
        TreeNode* state = AddBenchNode(markov, i < kBenchCohortStates ? ChanceNode : TerminalNode, name.Text(), initial);
        state->SetMarkovRewardText(InitialReward, "0.5", 0);
        state->SetMarkovRewardText(IncrementalReward, "1/1.03^_stage", 0);
        state->SetMarkovRewardText(FinalReward, "0", 0);
        if (i == kBenchCohortStates)
            continue;
        zString next("S");
        AppendInt(next, i + 1);
        AddBenchNode(state, TerminalNode, "progress", "0.05 + 0.001*_stage")->SetMarkovJumpState(next.Text(), false);
        AddBenchNode(state, TerminalNode, "stay", "#")->SetMarkovJumpState(name.Text(), false);
    }
    return markov;
}

namespace {

constexpr int kStates = kBenchCohortStates;
constexpr int kCycles = 100;

// The same cohort in plain arrays: starting reward 0.5, then per cycle the transitions at the current stage,
// the stage count advanced, and the discounted reward of the new stage until the termination stage, the
// discount carried from cycle to cycle. Shares of at most 1e-12 are skipped as the engine skips them.
double PlainCohort(int cycles)
{
    constexpr double kNegligible = 1e-12;
    double share[kStates] = {1.0};
    double next[kStates];
    double total = 0.5;
    double reward = 1.0;
    for (int stage = 0;;) {
        const double progress = 0.05 + 0.001 * stage;
        for (double& n : next)
            n = 0.0;
        for (int s = 0; s < kStates; ++s) {
            if (!(share[s] > kNegligible))
                continue;
            if (s + 1 == kStates) {
                next[s] += share[s];
                continue;
            }
            next[s + 1] += progress * share[s];
            next[s] += (1.0 - progress) * share[s];
        }
        for (int s = 0; s < kStates; ++s)
            share[s] = next[s];
        if (++stage >= cycles)
            return total;
        reward /= 1.03;
        double stageSum = 0.0;
        for (double p : share) {
            if (p > kNegligible)
                stageSum += reward * p;
        }
        total += stageSum;
    }
}

double SecondsPerRepetition(long repetitions, const std::function<void()>& body)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    for (long i = 0; i < repetitions; ++i)
        body();
    return std::chrono::duration<double>(Clock::now() - start).count() / repetitions;
}

}  // namespace

KIVO_BENCH(MarkovCohort)
{
    HostSilence quiet(Silence::Notices);
    TreeDocument document;
    TreeNode* markov = BuildBenchCohort(document);
    RunFault error;
    const double value = EvaluateMarkovNode(markov, &error, 0, nullptr);
    std::printf("cohort of %d states over %d cycles: value %.9g, error %d\n", kStates, kCycles, value, static_cast<int>(error.Code()));
    const double stateCycles = kStates * kCycles;
    const double perRun = SecondsPerRepetition(200, [&] {
        error.Clear();
        BenchKeep(EvaluateMarkovNode(markov, &error, 0, nullptr));
    });
    std::printf("%.1f us per cohort run, %.1f ns per state-cycle\n", perRun * 1e6, perRun * 1e9 / stateCycles);
    volatile int cycles = kCycles;  // kept opaque so the loop is not folded away
    double plainValue = 0.0;
    const double plainRun = SecondsPerRepetition(20000, [&] {
        plainValue = PlainCohort(cycles);
        BenchKeep(plainValue);
    });
    BenchCompare("cohort run", value, plainValue, perRun, plainRun);

    // Preparing and finishing a run: jump resolution, structure check, tunnel copies, status line.
    markov->SetMarkovTerminationText("_stage >= 1", 0);
    const double oneCycle = SecondsPerRepetition(2000, [&] {
        error.Clear();
        BenchKeep(EvaluateMarkovNode(markov, &error, 0, nullptr));
    });
    std::printf("a run of one cycle: %.1f us\n", oneCycle * 1e6);
}
