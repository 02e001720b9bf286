// A Markov cohort of 10 states over 100 cycles. Each of the first nine states moves on to the next with a
// probability that grows with the stage ("0.05 + 0.001*_stage") and stays otherwise ("#"); the tenth is
// absorbing. Every state earns a discounted incremental reward "1/1.03^_stage".

#include "bench/Bench.h"

#include "analysis/MarkovCohort.h"
#include "app/MessageBoxes.h"
#include "foundation/StringHelpers.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include <chrono>
#include <cstdio>

namespace {

constexpr int kStates = 10;
constexpr int kCycles = 100;

TreeNode* AddNode(TreeNode* parent, int kind, const char* text, const char* probability)
{
    auto* node = new TreeNode(parent->window);
    node->SetKind(kind, false);
    node->SetText(text, false);
    node->SetProbabilityText(probability, false);
    parent->InsertChild(node, -1);
    return node;
}

TreeNode* BuildCohort(TreeWindow& window)
{
    TreeNode* markov = AddNode(window.Root, MarkovNode, "Cohort", "");
    markov->SetMarkovTerminationText("_stage >= 100", 0);
    for (int i = 1; i <= kStates; ++i) {
        zString name("S");
        AppendInt(name, i);
        const char* initial = i == 1 ? "1" : "0";
        TreeNode* state = AddNode(markov, i < kStates ? ChanceNode : TerminalNode, name.Text(), initial);
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
    return markov;
}

}  // namespace

KIVO_BENCH(MarkovCohort)
{
    SuppressMessageBoxes = 1;
    TreeWindow window;
    TreeNode* markov = BuildCohort(window);
    int error = 0;
    const double value = EvaluateMarkovNode(markov, &error, 0, nullptr);
    std::printf("cohort of %d states over %d cycles: value %.9g, error %d\n", kStates, kCycles, value, error);
    const long runs = 200;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    for (long i = 0; i < runs; ++i) {
        error = 0;
        BenchKeep(EvaluateMarkovNode(markov, &error, 0, nullptr));
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double perRun = seconds / runs;
    std::printf("%.1f us per cohort run, %.1f ns per state-cycle\n", perRun * 1e6,
                perRun * 1e9 / (kStates * kCycles));
    SuppressMessageBoxes = 0;
}
