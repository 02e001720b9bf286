// The Markov cohort engine along longer paths: logic nodes choosing a branch per stage, transition rewards
// summed over every node of a path, the cost-effectiveness keywords, and the tunnel copies as they exist
// while a run is prepared.

#include "analysis/MarkovCohort.h"
#include "model/MarkovBinding.h"
#include "model/MarkovInfo.h"
#include "analysis/RollBack.h"
#include "tests/analysis/MarkovTestTrees.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Well is a logic node: "die" (condition "_stage >= 3") before "stay" (condition 1). The whole cohort stays
// through the cycles evaluated at stages 0, 1 and 2 and dies in the one evaluated at stage 3. Incremental
// reward 1 in Well after cycles 1-3, none after 4 and 5; the transition reward 10 of "die" is credited once
// to the whole cohort: 3 + 10.
TEST(MarkovCohortPaths, LogicStateChoosesItsBranchEachStage)
{
    MarkovTestTree model("_stage >= 6");
    TreeNode* well = model.State(LogicNode, "Well", "1", "0", "1", "0");
    TreeNode* die = model.Jump(well, "die", "_stage >= 3", "Dead");
    model.Jump(well, "stay", "1", "Well");
    model.State(TerminalNode, "Dead", "0");
    die->SetMarkovTransitionReward("10", 0);
    RunFault error;
    EXPECT_NEAR(EvaluateMarkovNode(model.markov, &error, 0, nullptr), 13.0, 1e-12);
    EXPECT_FALSE(error);
    EXPECT_NEAR(well->markovInfo->probability, 0.0, 1e-15);
}

// Below Well a chance node "event" (probability q, transition reward 4) leads to "relapse" (0.5, reward 6,
// back to Well) and "death" (0.5, reward 20, to Dead); "ok" (1 - q) stays without reward. Each cycle the
// Well share w earns q w (4 + 6) / 2 + q w (4 + 20) / 2 and loses q w / 2:
//   total = sum_{k=0}^{n-1} (1 - q/2)^k * 17 q
TEST(MarkovCohortPaths, TransitionRewardsSumOverThePath)
{
    struct Case {
        const char* q;
        int cycles;
    };
    const Case cases[] = {{"0.2", 1}, {"0.2", 6}, {"0.6", 12}};
    for (const Case& row : cases) {
        const std::string termination = "_stage >= " + std::to_string(row.cycles);
        MarkovTestTree model(termination.c_str());
        TreeNode* well = model.State(ChanceNode, "Well", "1");
        TreeNode* event = model.tree.Add(well, ChanceNode, "event", row.q);
        event->SetMarkovTransitionReward("4", 0);
        model.Jump(event, "relapse", "0.5", "Well")->SetMarkovTransitionReward("6", 0);
        model.Jump(event, "death", "#", "Dead")->SetMarkovTransitionReward("20", 0);
        model.Jump(well, "ok", "#", "Well");
        model.State(TerminalNode, "Dead", "0");
        const double q = std::atof(row.q);
        double expected = 0.0;
        for (int k = 0; k < row.cycles; ++k)
            expected += std::pow(1.0 - q / 2.0, k) * 17.0 * q;
        RunFault error;
        EXPECT_NEAR(EvaluateMarkovNode(model.markov, &error, 0, nullptr), expected, 1e-9) << row.q << " " << row.cycles;
        EXPECT_FALSE(error);
    }
}

// Cost-effectiveness keywords in the rewards of one absorbing state "Alive": initial cost 1 and effect 1;
// incremental cost "_stage_cost*2" (2, 4, 8) and effect "_stage_eff/2" (0.5, 0.25, 0.125); final cost
// "_total_cost" (1 + 14) and effect "_total_eff" (1 + 0.875). Totals: cost 30, effect 3.75, ratio 8.
TEST(MarkovCohortKeywords, CostEffectivenessKeywords)
{
    MarkovTestTree model;
    TreeDocument& document = model.Document();
    document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    document.CalcPrefs.CECostPayoff = 0;
    document.CalcPrefs.CEEffPayoff = 1;
    model.markov->SetMarkovSharedTermination("_stage >= 4");
    TreeNode* alive = model.tree.Add(model.markov, TerminalNode, "Alive", "1");
    MarkovTestTree::SetRewards(alive, "1", "_stage_cost*2", "_total_cost", 0);
    MarkovTestTree::SetRewards(alive, "1", "_stage_eff/2", "_total_eff", 1);
    RunFault error;
    const double ratio = RollBackTree(model.markov, &error, RollBackSilent);
    EXPECT_FALSE(error);
    EXPECT_NEAR(model.markov->triple.cost, 30.0, 1e-12);
    EXPECT_NEAR(model.markov->triple.effectiveness, 3.75, 1e-12);
    EXPECT_NEAR(ratio, 8.0, 1e-12);
}

// In cost-effectiveness mode a transition reward of the cost payoff alone is credited: dying costs 100,
// each cycle in Well is worth 1 effect.
//   cost = 100 (1 - (1-q)^n), effect = sum_{k=1}^{n-1} (1-q)^k
TEST(MarkovCohortPaths, CostOnlyTransitionReward)
{
    const int n = 8;
    const double q = 0.2;
    MarkovTestTree model;
    TreeDocument& document = model.Document();
    document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    document.CalcPrefs.CECostPayoff = 0;
    document.CalcPrefs.CEEffPayoff = 1;
    model.markov->SetMarkovSharedTermination("_stage >= 8");
    model.WellDead("0.2", "0", "0", "0");
    MarkovTestTree::SetRewards(model.well, "0", "1", "0", 1);
    model.die->SetMarkovTransitionReward("100", 0);
    RunFault error;
    RollBackTree(model.markov, &error, RollBackSilent);
    EXPECT_FALSE(error);
    double effect = 0.0;
    for (int k = 1; k < n; ++k)
        effect += std::pow(1.0 - q, k);
    EXPECT_NEAR(model.markov->triple.cost, 100.0 * (1.0 - std::pow(1.0 - q, n)), 1e-9);
    EXPECT_NEAR(model.markov->triple.effectiveness, effect, 1e-12);
}

std::vector<std::string> ChildTexts(TreeNode* node)
{
    std::vector<std::string> texts;
    for (int i = 0; i < node->childCount; ++i)
        texts.push_back(node->GetChild(i)->text.Text());
    return texts;
}

// Post has two tunnel cycles. Its own "stay" (written "post") and a binding aimed at "POST" lead into the
// first copy; the first copy's lead into the second; the second copy's loop on itself. Collapsing gives
// back every text as the user wrote it.
TEST(MarkovCohortTunnels, CopiesNamedAndRedirectedWhileExpanded)
{
    MarkovTestTree model;
    TreeNode* post = model.State(ChanceNode, "Post", "1");
    TreeNode* stay = model.Jump(post, "stay", "0.5", "post");
    TreeNode* back = model.Jump(post, "back", "#", "=again");
    post->MarkovBindings()->Add(new MarkovBinding("POST", "again"));
    model.State(TerminalNode, "Dead", "0");
    post->SetMarkovTunnelCount(2, false);

    ExpandTunnelStates(model.markov);
    ASSERT_EQ(ChildTexts(model.markov), (std::vector<std::string>{"Post", "Dead", "Post_Tun_2", "Post_Tun_3"}));
    struct Expected {
        int child;
        int tunnelCount;
        const char* target;
    };
    const Expected rows[] = {{0, 2, "Post_Tun_2"}, {2, -1, "Post_Tun_3"}, {3, -2, "Post_Tun_3"}};
    for (const Expected& row : rows) {
        TreeNode* state = model.markov->GetChild(row.child);
        EXPECT_EQ(state->markovInfo->tunnelCount, row.tunnelCount) << row.child;
        EXPECT_STREQ(state->GetChild(0)->markovInfo->jumpName.Text(), row.target) << row.child;
        EXPECT_STREQ(state->MarkovBindings()->At(0)->target.Text(), row.target) << row.child;
        EXPECT_STREQ(state->GetChild(1)->markovInfo->jumpName.Text(), "=again") << row.child;
        if (row.child != 0) {
            zString probability;
            state->GetProbabilityText(probability);
            EXPECT_STREQ(probability.Text(), "0") << "nobody starts in a copy";
            EXPECT_EQ(FindTunnelOrigin(state), post);
        }
    }

    CollapseTunnelStates(model.markov);
    EXPECT_EQ(ChildTexts(model.markov), (std::vector<std::string>{"Post", "Dead"}));
    EXPECT_STREQ(stay->markovInfo->jumpName.Text(), "post");
    EXPECT_STREQ(back->markovInfo->jumpName.Text(), "=again");
    EXPECT_STREQ(post->MarkovBindings()->At(0)->target.Text(), "POST");
}

// The same tunnel run through a binding: the cohort passes Post, then Post_Tun_2 and stays in Post_Tun_3.
// Incremental reward "_tunnel": 2, then 3 for ever; the binding leads into the copies as the jump name did.
TEST(MarkovCohortTunnels, BindingLeadsThroughTheCopies)
{
    MarkovTestTree model("_stage >= 5");
    TreeNode* post = model.State(ChanceNode, "Post", "1", "0", "_tunnel", "0");
    model.Jump(post, "stay", "1", "=again");
    model.Jump(post, "die", "0", "Dead");
    post->MarkovBindings()->Add(new MarkovBinding("post", "again"));
    model.State(TerminalNode, "Dead", "0");
    post->SetMarkovTunnelCount(2, false);
    RunFault error;
    EXPECT_NEAR(EvaluateMarkovNode(model.markov, &error, 0, nullptr), 2.0 + 3.0 + 3.0 + 3.0, 1e-12);
    EXPECT_FALSE(error);
    EXPECT_STREQ(post->MarkovBindings()->At(0)->target.Text(), "post");
}

}  // namespace
