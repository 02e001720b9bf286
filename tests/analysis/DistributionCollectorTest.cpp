#include "analysis/DistributionCollector.h"

#include "analysis/OutcomeDistribution.h"
#include "analysis/TreeQueries.h"
#include "foundation/NumericFormat.h"
#include "model/TreeNode.h"
#include "tests/support/MessageBoxRecorder.h"
#include "model/TreeDocument.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TreeNode* Add(TreeNode* parent, int kind, const char* text, const char* probability = "")
{
    TreeNode* node = new TreeNode(parent->document);
    node->SetKind(kind, false);
    node->SetText(text, false);
    node->SetProbabilityText(probability, false);
    parent->InsertChildOrThrow(node, -1);
    return node;
}

TreeNode* AddTerminal(TreeNode* parent, const char* text, const char* probability, const char* payoff,
                      const char* effectiveness = nullptr)
{
    TreeNode* node = Add(parent, TerminalNode, text, probability);
    node->SetPayoffText(payoff, 0, false);
    if (effectiveness)
        node->SetPayoffText(effectiveness, 1, false);
    return node;
}

struct Expected {
    const char* label;
    double value;
    double probability;
};

void ExpectOutcomes(const OutcomeDistribution& outcomes, std::vector<Expected> expected)
{
    ASSERT_EQ(outcomes.Count(), static_cast<int>(expected.size()));
    std::vector<Expected> got;
    for (int i = 0; i < outcomes.Count(); ++i) {
        const Outcome* o = outcomes.OutcomeAt(i);
        got.push_back({o->label.Text(), o->triple.value, o->probability});
    }
    auto byLabel = [](const Expected& a, const Expected& b) { return std::string(a.label) < b.label; };
    std::sort(got.begin(), got.end(), byLabel);
    std::sort(expected.begin(), expected.end(), byLabel);
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_STREQ(got[i].label, expected[i].label);
        EXPECT_NEAR(got[i].value, expected[i].value, 1e-9) << expected[i].label;
        EXPECT_NEAR(got[i].probability, expected[i].probability, 1e-9) << expected[i].label;
    }
}

// Surgery: 0.9 survive (100), 0.1 die (0), expected 90; medicine: 0.5 of 80 or 60, expected 70.
// The optimal path takes surgery, so its two outcomes make the distribution: variance 0.9*100 + 0.1*8100.
TEST(DistributionCollector, MedicalTreeFollowsTheOptimalStrategy)
{
    TreeDocument tree;
    TreeNode* surgery = Add(tree.Root, ChanceNode, "Surgery");
    AddTerminal(surgery, "Survive", "0.9", "100");
    AddTerminal(surgery, "Die", "#", "0");
    TreeNode* medicine = Add(tree.Root, ChanceNode, "Medicine");
    AddTerminal(medicine, "Good", "0.5", "80");
    AddTerminal(medicine, "Poor", "0.5", "60");

    MessageBoxRecorder boxes;
    OutcomeDistribution outcomes;
    DistributionCollector collector;
    ASSERT_EQ(collector.Collect(tree.Root, outcomes), 0);
    EXPECT_EQ(boxes.Count(), 0u);
    ExpectOutcomes(outcomes, {{"Survive", 100, 0.9}, {"Die", 0, 0.1}});
    EXPECT_NEAR(tree.Root->ExpectedValue(), 90, 1e-9);
    EXPECT_NEAR(outcomes.StandardDeviation(90, 1.0), 30, 1e-9);
}

// A chance node (0.4 / 0.6) over a decision between 50 for sure and a 0.5 chance of 120 (expected 60),
// and 10: outcomes 120 and 0 at 0.2 each and 10 at 0.6; expected value 24 + 6 = 30.
TEST(DistributionCollector, NestedDecisionMultipliesBranchProbabilities)
{
    TreeDocument tree;
    tree.Root->SetKind(ChanceNode, false);
    TreeNode* decide = Add(tree.Root, DecisionNode, "Decide", "0.4");
    AddTerminal(decide, "Safe", "", "50");
    TreeNode* gamble = Add(decide, ChanceNode, "Gamble");
    AddTerminal(gamble, "Win", "0.5", "120");
    AddTerminal(gamble, "Lose", "0.5", "0");
    AddTerminal(tree.Root, "Other", "0.6", "10");

    MessageBoxRecorder boxes;
    OutcomeDistribution outcomes;
    outcomes.Add(-1, 0, "kept", false);
    DistributionCollector collector;
    ASSERT_EQ(collector.Collect(tree.Root, outcomes), 0);
    ASSERT_EQ(outcomes.Count(), 4);
    EXPECT_STREQ(outcomes.OutcomeAt(0)->label.Text(), "kept");
    outcomes.DeleteAt(0);
    ExpectOutcomes(outcomes, {{"Win", 120, 0.2}, {"Lose", 0, 0.2}, {"Other", 10, 0.6}});
    EXPECT_NEAR(tree.Root->ExpectedValue(), 30, 1e-9);

    // Collecting below the decision alone: probabilities count from that node down.
    OutcomeDistribution below;
    ASSERT_EQ(collector.Collect(decide, below), 0);
    ExpectOutcomes(below, {{"Win", 120, 0.5}, {"Lose", 0, 0.5}});
}

struct RefusalCase {
    const char* title;
    const char* caption;
    std::string text;
};

void ExpectRefusal(TreeNode* node, const RefusalCase& c, unsigned iconStyle)
{
    MessageBoxRecorder boxes;
    OutcomeDistribution outcomes;
    DistributionCollector collector;
    EXPECT_NE(collector.Collect(node, outcomes), 0) << c.title;
    EXPECT_EQ(outcomes.Count(), 0) << c.title;
    ASSERT_EQ(boxes.Count(), 1u) << c.title;
    EXPECT_EQ(boxes.Last().caption, c.caption) << c.title;
    EXPECT_EQ(boxes.Last().text, c.text) << c.title;
    EXPECT_EQ(boxes.Last().style & MB_ICONMASK, iconStyle) << c.title;
}

TEST(DistributionCollector, RefusesWhatCannotBeDrawn)
{
    {
        TreeDocument tree;
        AddTerminal(tree.Root, "Only", "", "42");
        ExpectRefusal(tree.Root,
                      {"single end node", "KIVO",
                       "The optimal path of this decision node leads to a single terminal node which, because it "
                       "is the only outcome, has a probability of 1.0."},
                      MB_ICONINFORMATION);
    }
    {
        TreeDocument tree;
        TreeNode* chance = Add(tree.Root, ChanceNode, "Chance");
        AddTerminal(chance, "A", "0.5", "5");
        AddTerminal(chance, "B", "0.5", "5");
        tree.NumberFormat().expValDigits = 2;
        tree.NumberFormat().unitsKind = NumericFormat::UnitsNone;
        zString value;
        FormatNumber(tree.NumberFormat(), 5, value, true, true, DigitsOfFormat);
        EXPECT_STREQ(value.Text(), "5.00");
        ExpectRefusal(tree.Root,
                      {"equal end values", "KIVO",
                       std::string("The optimal path of this decision node leads to one or more terminal nodes "
                                   "which have the same payoff value. Its value is ") +
                           value.Text() + " and its probability is 1.0."},
                      MB_ICONHAND);
    }
    {
        TreeDocument tree;
        TreeNode* chance = Add(tree.Root, ChanceNode, "Chance");
        AddTerminal(chance, "A", "0.5", "5");
        // A chance node without branches fails the probability check of roll back before the walk.
        Add(chance, DecisionNode, "Empty", "0.5");
        ExpectRefusal(tree.Root, {"empty decision node", "Tree Structure Error", "All end-nodes must be terminal."},
                      MB_ICONHAND);
    }
    {
        TreeDocument tree;
        tree.CalcPrefs.CalcMethod = CostEffectivenessMethod;
        TreeNode* chance = Add(tree.Root, ChanceNode, "Chance");
        AddTerminal(chance, "Ineffective", "0.5", "10", "0");
        AddTerminal(chance, "Effective", "0.5", "5", "2");
        ExpectRefusal(tree.Root,
                      {"zero effectiveness", "KIVO",
                       "One or more of the optimal endnodes has zero effectiveness, so the distribution may not be "
                       "shown. Try performing a distribution on cost alone or effectiveness alone."},
                      MB_ICONHAND);
    }
}

// Without the graph checks a single outcome or equal outcomes are a distribution like any other.
TEST(DistributionCollector, WithoutGraphChecksEveryDistributionIsCollected)
{
    TreeDocument tree;
    TreeNode* chance = Add(tree.Root, ChanceNode, "Chance");
    AddTerminal(chance, "A", "0.25", "5");
    AddTerminal(chance, "B", "0.75", "5");
    MessageBoxRecorder boxes;
    DistributionCollector collector(false);
    OutcomeDistribution outcomes;
    ASSERT_EQ(collector.Collect(tree.Root, outcomes), 0);
    ExpectOutcomes(outcomes, {{"A", 5, 0.25}, {"B", 5, 0.75}});
    OutcomeDistribution single;
    ASSERT_EQ(collector.Collect(chance->GetChild(1), single), 0);
    ExpectOutcomes(single, {{"B", 5, 1.0}});
    EXPECT_EQ(boxes.Count(), 0u);
}

// A chain 10,000 chance nodes deep, each with one sure branch, ends in a fair gamble.
TEST(DistributionCollector, DeepChain)
{
    TreeDocument tree;
    tree.Root->SetKind(ChanceNode, false);
    TreeNode* node = tree.Root;
    for (int level = 0; level < 10000; ++level)
        node = Add(node, ChanceNode, "Step", "1");
    AddTerminal(node, "Heads", "0.5", "1");
    AddTerminal(node, "Tails", "0.5", "-1");
    MessageBoxRecorder boxes;
    DistributionCollector collector;
    OutcomeDistribution outcomes;
    ASSERT_EQ(collector.Collect(tree.Root, outcomes), 0);
    ExpectOutcomes(outcomes, {{"Heads", 1, 0.5}, {"Tails", -1, 0.5}});
}

// Under cost-effectiveness the outcomes carry cost, effectiveness and their ratio.
TEST(DistributionCollector, CostEffectivenessOutcomesCarryTheTriple)
{
    TreeDocument tree;
    tree.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    TreeNode* chance = Add(tree.Root, ChanceNode, "Chance");
    AddTerminal(chance, "Cheap", "0.5", "10", "2");
    AddTerminal(chance, "Dear", "0.5", "30", "3");
    MessageBoxRecorder boxes;
    DistributionCollector collector;
    OutcomeDistribution outcomes;
    ASSERT_EQ(collector.Collect(chance, outcomes), 0);
    ASSERT_EQ(outcomes.Count(), 2);
    for (int i = 0; i < 2; ++i) {
        const Outcome* o = outcomes.OutcomeAt(i);
        const bool cheap = std::string(o->label.Text()) == "Cheap";
        EXPECT_EQ(o->triple.cost, cheap ? 10 : 30);
        EXPECT_EQ(o->triple.effectiveness, cheap ? 2 : 3);
        EXPECT_NEAR(o->triple.value, cheap ? 5 : 10, 1e-12);
    }
}

}  // namespace

namespace {

// Far more outcomes than a record list holds: 200 x 200 end values, half 0 and half 10, give 5 exactly.
TEST(DistributionCollector, StandardDeviationCountsEveryOutcome)
{
    TreeDocument document;
    TreeNode* root = document.Root;
    root->SetKind(ChanceNode, false);
    for (int i = 0; i < 200; ++i) {
        TreeNode* middle = Add(root, ChanceNode, "m", "1/200");
        for (int j = 0; j < 200; ++j)
            AddTerminal(middle, "t", "1/200", j % 2 == 0 ? "0" : "10");
    }
    RunFault error;
    EXPECT_NEAR(NodeStandardDeviation(root, &error), 5.0, 1e-9);
    EXPECT_FALSE(error);
}

}  // namespace
