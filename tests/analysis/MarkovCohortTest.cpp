// The Markov cohort engine on models whose results are known in closed form.

#include "analysis/MarkovCohort.h"
#include "widgets/EscapeKey.h"
#include "widgets/StatusMessage.h"
#include "model/MarkovInfo.h"
#include "analysis/RollBack.h"
#include "tests/analysis/MarkovTestTrees.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

double Cohort(MarkovTestTree& model, RunFault& error)
{
    error.Clear();
    return EvaluateMarkovNode(model.markov, &error, 0, nullptr);
}

// One absorbing state: the initial reward once, the incremental reward once per cycle before the one that
// meets "_stage >= n" (n - 1 times), the final reward once.
struct ConstantRewardCase {
    const char* initial;
    const char* incremental;
    const char* final;
    const char* termination;
    double expected;
};

TEST(MarkovCohortClosedForm, OneStateConstantReward)
{
    const ConstantRewardCase cases[] = {
        {"0", "1", "0", "_stage >= 10", 9.0},
        {"0.5", "1", "0.5", "_stage >= 10", 10.0},  // half-cycle correction
        {"3", "2", "7", "_stage >= 1", 10.0},        // stops after the first cycle: no incremental reward
        {"0", "2.5", "0", "_stage >= 41", 100.0},
    };
    for (const ConstantRewardCase& row : cases) {
        MarkovTestTree model(row.termination);
        model.State(TerminalNode, "Alive", "1", row.initial, row.incremental, row.final);
        RunFault error;
        EXPECT_NEAR(Cohort(model, error), row.expected, 1e-9) << row.termination << " " << row.initial;
        EXPECT_FALSE(error);
    }
}

// Two states with a constant death probability q: the share in Well after k cycles is (1-q)^k.
//   total = initial + sum_{k=1}^{n-1} (1-q)^k * incremental + final * (1-q)^n
TEST(MarkovCohortClosedForm, TwoStatesConstantTransition)
{
    const double qs[] = {0.1, 0.25, 0.5};
    const int ns[] = {1, 5, 30};
    for (double q : qs) {
        for (int n : ns) {
            const std::string termination = "_stage >= " + std::to_string(n);
            MarkovTestTree model(termination.c_str());
            model.WellDead(std::to_string(q).c_str(), "0.5", "2");
            double expected = 0.5 + 2.0 * std::pow(1.0 - q, n);
            for (int k = 1; k <= n - 1; ++k)
                expected += std::pow(1.0 - q, k);
            RunFault error;
            EXPECT_NEAR(Cohort(model, error), expected, 1e-9) << "q=" << q << " n=" << n;
            EXPECT_FALSE(error);
            EXPECT_NEAR(model.well->markovInfo->probability, std::pow(1.0 - q, n), 1e-12);
        }
    }
}

// Discounting at 3% per stage with half-cycle correction:
//   total = 0.5 + sum_{k=1}^{n-1} r^k + 0.5 r^n with r = (1-q)/1.03
TEST(MarkovCohortClosedForm, DiscountedRewards)
{
    const int n = 20;
    const double q = 0.05;
    MarkovTestTree model("_stage >= 20");
    model.WellDead("0.05", "0.5", "0.5/1.03^_stage", "1/1.03^_stage");
    const double r = (1.0 - q) / 1.03;
    const double expected = 0.5 + (r - std::pow(r, n)) / (1.0 - r) + 0.5 * std::pow(r, n);
    RunFault error;
    EXPECT_NEAR(Cohort(model, error), expected, 1e-9);
}

// A transition reward of 100 on the death branch is credited with the share that dies in each cycle:
//   sum_{k=1}^{n} q (1-q)^(k-1) * 100 = 100 (1 - (1-q)^n)
TEST(MarkovCohortClosedForm, TransitionRewardsCreditedToTarget)
{
    const int n = 8;
    const double q = 0.2;
    MarkovTestTree model("_stage >= 8");
    model.WellDead("0.2", "0", "0", "0");
    model.die->SetMarkovTransitionReward("100", 0);
    RunFault error;
    EXPECT_NEAR(Cohort(model, error), 100.0 * (1.0 - std::pow(1.0 - q, n)), 1e-9);
}

TEST(MarkovCohortTermination, NeverTrueStopsAtCycleLimit)
{
    MarkovTestTree model("0");
    model.State(TerminalNode, "Alive", "1", "0", "1", "0");
    RunFault error;
    EXPECT_NEAR(Cohort(model, error), kMarkovCycleLimit - 1.0, 1e-9);
    EXPECT_FALSE(error);
}

// With the default condition and a reward 0.5^_stage the run stops at stage 11, the first stage above 10
// whose _stage_reward (0.5^10) is below .001: the credited rewards are 0.5^1 .. 0.5^10.
TEST(MarkovCohortTermination, DefaultConditionWithDecayingReward)
{
    zString condition;
    DefaultMarkovTermination(condition, 0);
    MarkovTestTree model(condition.Text());
    model.State(TerminalNode, "Alive", "1", "0", "0.5^_stage", "_stage");
    RunFault error;
    EXPECT_NEAR(Cohort(model, error), 1.0 - std::pow(0.5, 10) + 11.0, 1e-12);
}

TEST(MarkovCohortKeywords, StageAndTotalKeywordsInRewards)
{
    // _stage in the incremental reward: 1 + 2 + ... + 4; _total_reward in the final reward doubles it.
    MarkovTestTree model("_stage >= 5");
    model.State(TerminalNode, "Alive", "1", "0", "_stage", "_total_reward");
    RunFault error;
    EXPECT_NEAR(Cohort(model, error), 20.0, 1e-12);
    // _stage_reward at the termination test is the reward of the step just completed.
    MarkovTestTree second("_stage_reward >= 3");
    second.State(TerminalNode, "Alive", "1", "0", "_stage", "0");
    EXPECT_NEAR(Cohort(second, error), 1.0 + 2.0 + 3.0, 1e-12);
}

// A probability that depends on the stage is evaluated again in every cycle, also when the tree is
// already marked rolled back: die with 0.1 while _stage < 2, then 0.5. Shares 0.9, 0.81, 0.405.
TEST(MarkovCohortSoundness, StageDependentProbabilityAfterRollBack)
{
    const double expected = 0.9 + 0.81 + 0.405;
    for (int rolledBack = 0; rolledBack <= 1; ++rolledBack) {
        MarkovTestTree model("_stage >= 4");
        model.WellDead("If(_stage<2; 0.1; 0.5)");
        model.Document().RolledBack = rolledBack != 0 ? RolledBackValues::Computed : RolledBackValues::None;
        RunFault error;
        EXPECT_NEAR(Cohort(model, error), expected, 1e-12) << "rolled back " << rolledBack;
        EXPECT_EQ(model.Document().IsRolledBack(), rolledBack != 0);
    }
}

TEST(MarkovCohortTunnels, CopiesExpandMergeAndDisappear)
{
    // Post has two tunnel cycles; its incremental reward is _tunnel: 2 in the first copy, then 3 for ever.
    MarkovTestTree model("_stage >= 5");
    TreeNode* post = model.State(ChanceNode, "Post", "1", "0", "_tunnel", "0");
    TreeNode* stay = model.Jump(post, "stay", "1", "post");  // matched as resolution matches: any case
    model.Jump(post, "die", "0", "Dead");
    model.State(TerminalNode, "Dead", "0");
    post->SetMarkovTunnelCount(2, false);
    RunFault error;
    EXPECT_NEAR(Cohort(model, error), 2.0 + 3.0 + 3.0 + 3.0, 1e-12);
    EXPECT_EQ(model.markov->childCount, 2);
    EXPECT_STREQ(stay->markovInfo->jumpName.Text(), "post");
    EXPECT_NEAR(post->markovInfo->probability, 1.0, 1e-12) << "the copies' shares merged back";
    EXPECT_NEAR(post->ExpectedValue(), 11.0, 1e-12) << "the copies' rewards merged back";
}

TEST(MarkovCohortTunnels, OriginOfCopy)
{
    MarkovTestTree model;
    TreeNode* state = model.State(ChanceNode, "A_Tun_x", "1");
    state->SetMarkovTunnelCount(1, false);
    auto* copy = model.tree.Add(model.markov, ChanceNode, "A_Tun_x_Tun_2", "0");
    copy->EnsureMarkovInfo()->tunnelCount = -1;
    EXPECT_EQ(FindTunnelOrigin(copy), state);
    copy->SetText("B_Tun_2", false);
    EXPECT_EQ(FindTunnelOrigin(copy), nullptr);
}

TEST(MarkovCohortShares, NegligibleShareEarnsNothing)
{
    MarkovTestTree model("_stage >= 3");
    model.State(TerminalNode, "Main", "#", "0", "1", "0");
    model.State(TerminalNode, "Tiny", "1e-12", "1000", "1000", "1000");
    RunFault error;
    EXPECT_NEAR(Cohort(model, error), 2.0 * (1.0 - 1e-12), 1e-9);
}

TEST(MarkovCohortStop, EscapeStopsWithoutFinalRewards)
{
    MessageBoxRecorder boxes;
    MarkovTestTree model("_stage >= 5");
    TreeNode* post = model.State(ChanceNode, "Post", "1", "0", "1", "100");
    model.Jump(post, "stay", "1", "Post");
    post->SetMarkovTunnelCount(1, false);
    auto previous = SetEscapeKeySource([] { return true; });
    RunFault error;
    const double value = Cohort(model, error);
    SetEscapeKeySource(previous);
    EXPECT_TRUE(error);
    EXPECT_EQ(value, 0.0) << "stopped at the first status refresh, before any reward";
    EXPECT_EQ(model.markov->childCount, 1) << "tunnel copies removed after a stop";
    EXPECT_TRUE(CurrentStatusMessage().IsEmpty());
    EXPECT_EQ(model.markov->markovRunFlag, 0);
}

TEST(MarkovCohortErrors, StructureAndFormulaErrors)
{
    MessageBoxRecorder boxes;
    MarkovTestTree model;
    TreeNode* well = model.State(ChanceNode, "Well", "1");
    model.Jump(well, "stay", "1", "Nowhere");
    RunFault error;
    Cohort(model, error);
    EXPECT_TRUE(error);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().caption, "Markov Structure Error");
    EXPECT_EQ(boxes.Last().text, "Unresolved state transition. Bad node: \"stay\".");

    MarkovTestTree faulty("_stage >= 3");
    faulty.State(TerminalNode, "Alive", "1", "0", "1/(_stage-2)", "0");
    boxes.Clear();
    Cohort(faulty, error);
    EXPECT_TRUE(error);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Division by zero. Unable to evaluate incremental reward of node \"Alive\".");

    // Tunnel copies that would not fit beside the states stop the run before any copy is made.
    MarkovTestTree crowded("_stage >= 3");
    TreeNode* post = crowded.State(ChanceNode, "Post", "1", "0", "1", "0");
    crowded.Jump(post, "die", "1", "Dead");
    crowded.State(TerminalNode, "Dead", "0");
    post->SetMarkovTunnelCount(TreeNode::kMaxChildren - 1, false);
    boxes.Clear();
    Cohort(crowded, error);
    EXPECT_TRUE(error);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_NE(boxes.Last().text.find("cannot have more than 32767 branches."), std::string::npos)
        << boxes.Last().text;
    EXPECT_EQ(crowded.markov->childCount, 2);
}

TEST(MarkovCohortErrors, ProbabilityCheckOfAStageStopsTheRun)
{
    MessageBoxRecorder boxes;
    MarkovTestTree model("_stage >= 5");
    model.WellDead("If(_stage<2; 0.1; 1.5)", "0", "100");
    RunFault error;
    const double value = Cohort(model, error);
    EXPECT_TRUE(error);
    EXPECT_NEAR(value, 0.9 + 0.81, 1e-12) << "no final reward after a stop";
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The probability of node \"stay\" is not between zero and one.\r\n\r\n_stage = 2");
}

// The Markov node's own starting probabilities are checked before the first cycle, like a chance node's.
TEST(MarkovCohortErrors, StartingProbabilitiesAreChecked)
{
    struct Case {
        const char* well;
        const char* dead;
        const char* message;  // null: the run goes through
    };
    const Case cases[] = {
        {"0.5", "0.6", "The probabilities on the branches emanating from node \"Cohort\" do not add up to 1.0."},
        {"1.5", "-0.5", "The probability of node \"Well\" is not between zero and one."},
        {"0.4", "#", nullptr},
    };
    for (const Case& row : cases) {
        MessageBoxRecorder boxes;
        MarkovTestTree model("_stage >= 5");
        model.WellDead("0.1");
        model.well->SetProbabilityText(row.well, false);
        model.dead->SetProbabilityText(row.dead, false);
        RunFault error;
        RollBackTree(model.Document().Root, &error, RollBackSilent);
        EXPECT_EQ(static_cast<bool>(error), row.message != nullptr) << row.well;
        ASSERT_EQ(boxes.Count(), row.message != nullptr ? 1u : 0u) << row.well;
        if (row.message != nullptr) {
            EXPECT_EQ(boxes.Last().text, row.message);
        }
        EXPECT_EQ(model.markov->childCount, 2);
    }
}

TEST(MarkovCohortCostEffectiveness, RatioAndZeroEffectiveness)
{
    MarkovTestTree model;
    model.Document().CalcPrefs.CalcMethod = CostEffectivenessMethod;
    model.Document().CalcPrefs.CECostPayoff = 0;
    model.Document().CalcPrefs.CEEffPayoff = 1;
    model.markov->SetMarkovSharedTermination("_stage >= 4");
    TreeNode* alive = model.State(TerminalNode, "Alive", "1", "0", "10", "0");
    MarkovTestTree::SetRewards(alive, "0", "0.5", "0", 1);
    RunFault error;
    const double ratio = RollBackTree(model.markov, &error, RollBackSilent);
    EXPECT_FALSE(error);
    EXPECT_NEAR(model.markov->triple.cost, 30.0, 1e-12);
    EXPECT_NEAR(model.markov->triple.effectiveness, 1.5, 1e-12);
    EXPECT_NEAR(ratio, 20.0, 1e-12);
    MarkovTestTree::SetRewards(alive, "0", "0", "0", 1);
    RollBackTree(model.markov, &error, RollBackSilent);
    EXPECT_EQ(model.markov->triple.value, kNoRatio);
}

TEST(MarkovCohortStatus, StatusLineNamesNodeAndStage)
{
    MarkovTestTree model("_stage >= 2");
    model.State(TerminalNode, "Alive", "1", "0", "1", "0");
    // The escape source sees the status line at each refresh: at the start and at the first cycle (the
    // first refresh is always due); the fixed clock keeps every later one from being due.
    std::vector<std::string> seen;
    auto clock = SetTickSource([] { return 5000u; });
    auto escape = SetEscapeKeySource([&seen] {
        seen.push_back(CurrentStatusMessage().Text());
        return false;
    });
    RunFault error;
    Cohort(model, error);
    SetTickSource(clock);
    SetEscapeKeySource(escape);
    EXPECT_EQ(seen, (std::vector<std::string>{"Markov EV at \"Cohort\"; Stage 0", "Markov EV at \"Cohort\"; Stage 1"}));
    EXPECT_TRUE(CurrentStatusMessage().IsEmpty());
}

TEST(MarkovIndividual, WalksToTerminationOrAbsorption)
{
    // Nobody dies: the incremental reward 1 is credited at stages 1 .. 4.
    MarkovTestTree model("_stage >= 5");
    model.WellDead("0", "0.5", "0.5");
    RunFault error;
    EXPECT_NEAR(SimulateMarkovIndividual(model.markov, &error), 0.5 + 4.0 + 0.5, 1e-12);
    EXPECT_FALSE(error);
    // Everybody dies in the first cycle: fast termination ends the walk in the absorbing state.
    MarkovTestTree dying("_stage >= 5");
    dying.WellDead("1", "0.5", "0.5");
    EXPECT_NEAR(SimulateMarkovIndividual(dying.markov, &error), 0.5, 1e-12);
}

TEST(MarkovIndividual, CycleLimit)
{
    MarkovTestTree model("0");
    model.WellDead("0", "0", "0");
    RunFault error;
    EXPECT_NEAR(SimulateMarkovIndividual(model.markov, &error), kMarkovCycleLimit - 1.0, 1e-9);
    EXPECT_FALSE(error);
}

}  // namespace
