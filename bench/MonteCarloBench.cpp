// Monte Carlo trials: a generated tree of about a thousand nodes whose payoffs read ten sampled
// distributions, with and without the optimal path re-evaluated per trial; a Markov model of 10 states
// walked one individual per trial; and the treatment model's probabilistic run against the same
// computation written by hand.

#include "bench/Bench.h"

#include "analysis/MonteCarloSimulation.h"
#include "app/MessageBoxes.h"
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

TreeNode* AddNode(TreeNode* parent, int kind, const char* text, const char* probability)
{
    auto* node = new TreeNode(parent->document);
    node->SetKind(kind, false);
    node->SetText(text, false);
    node->SetProbabilityText(probability, false);
    parent->InsertChild(node, -1);
    return node;
}

void AddUniform(TreeDocument& document, int index, double low, double high)
{
    auto* record = new DistributionRecord;
    record->index = index;
    Distribution* uniform = MakeDistribution(2);
    uniform->Parameter(0)->SetText(std::to_string(low).c_str());
    uniform->Parameter(1)->SetText(std::to_string(high).c_str());
    record->SetDistribution(uniform);
    record->SetOwner(&document);
    document.Distributions.InsertSorted(record);
}

// Three levels of chance nodes of three branches below each option, five levels deep; terminal payoffs read
// one of the ten distributions each.
void GrowChance(TreeNode* node, int levels, int& counter)
{
    static const char* const kProbabilities[] = {"0.3", "0.3", "#"};
    for (const char* probability : kProbabilities) {
        ++counter;
        if (levels == 0) {
            std::string payoff = "DistSamp(" + std::to_string(counter % 10 + 1) + ") * 2 + " +
                                 std::to_string(counter % 7);
            AddNode(node, TerminalNode, "end", probability)->SetPayoffText(payoff.c_str(), 0, false);
        } else {
            GrowChance(AddNode(node, ChanceNode, "event", probability), levels - 1, counter);
        }
    }
}

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
    for (int k = 1; k <= 10; ++k)
        AddUniform(document, k, 0.0, 10.0 * k);
    int nodes = 1;
    for (int option = 0; option < 3; ++option) {
        TreeNode* chance = AddNode(document.Root, ChanceNode, "option", "");
        ++nodes;
        GrowChance(chance, 4, nodes);
    }
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
    constexpr int kStates = 10;
    TreeDocument document;
    TreeNode* markov = AddNode(document.Root, MarkovNode, "Cohort", "");
    markov->SetMarkovTerminationText("_stage >= 100", 0);
    for (int i = 1; i <= kStates; ++i) {
        zString name("S");
        AppendInt(name, i);
        TreeNode* state = AddNode(markov, i < kStates ? ChanceNode : TerminalNode, name.Text(), i == 1 ? "1" : "0");
        state->SetMarkovRewardText(InitialReward, "0.5", 0);
        state->SetMarkovRewardText(IncrementalReward, "1/1.03^_stage", 0);
        state->SetMarkovRewardText(FinalReward, "0", 0);
        if (i == kStates)
            continue;
        zString next("S");
        AppendInt(next, i + 1);
        AddNode(state, TerminalNode, "progress", "0.05 + 0.001*_stage")->SetMarkovJumpState(next.Text(), false);
        AddNode(state, TerminalNode, "stay", "#")->SetMarkovJumpState(name.Text(), false);
    }
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
