// Path probability, standard deviation, payoff range and random trial walks.

#include "analysis/RollBack.h"
#include "analysis/TreeQueries.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// root decision: "Left" chance (0.5 -> chance (0.2 -> leaf 10, 0.8 -> 0), 0.5 -> decision (30 | 5)); "Right" 1.
struct PathTree {
    TreeBuilder tree;
    TreeNode* left;
    TreeNode* grandchild;
    TreeNode* inner;
    TreeNode* belowDecision;
    TreeNode* right;

    PathTree()
    {
        left = tree.Add(tree.Root(), ChanceNode, "Left");
        TreeNode* middle = tree.Add(left, ChanceNode, "Middle", "0.5");
        grandchild = tree.Terminal(middle, "Grandchild", "0.2", "10");
        tree.Terminal(middle, "Other", "0.8", "0");
        inner = tree.Add(left, DecisionNode, "Inner", "0.5");
        belowDecision = tree.Terminal(inner, "Best", "", "30");
        tree.Terminal(inner, "Worse", "", "5");
        right = tree.Terminal(tree.Root(), "Right", "", "1");
    }
};

TEST(PathProbability, ProductOfChanceBranches)
{
    PathTree paths;
    RunFault error;
    EXPECT_NEAR(PathProbability(paths.grandchild, &error, nullptr, false), 0.5 * 0.2, 1e-12);
    EXPECT_NEAR(PathProbability(paths.belowDecision, &error, nullptr, false), 0.5, 1e-12);
    EXPECT_NEAR(PathProbability(paths.grandchild, &error, paths.left, false), 0.5 * 0.2, 1e-12);
    EXPECT_NEAR(PathProbability(paths.grandchild, &error, paths.grandchild->parent, false), 0.2, 1e-12);
    EXPECT_EQ(PathProbability(paths.tree.Root(), &error, nullptr, false), 1.0);
    EXPECT_FALSE(error);
}

TEST(PathProbability, OnlyOptimalWithCurrentValues)
{
    PathTree paths;
    RunFault error;
    RollBackTree(paths.tree.Root(), &error, RollBackSilent);
    paths.tree.Document().RolledBack = RolledBackValues::Computed;
    EXPECT_NEAR(PathProbability(paths.belowDecision, &error, nullptr, true), 0.5, 1e-12);
    EXPECT_EQ(PathProbability(paths.inner->GetChild(1), &error, nullptr, true), 0.0);
    EXPECT_EQ(PathProbability(paths.right, &error, nullptr, true), 0.0);
    EXPECT_NEAR(PathProbability(paths.right, &error, nullptr, false), 1.0, 1e-12);
}

TEST(StandardDeviation, OfAChanceNode)
{
    // Outcomes 10 (0.25), 20 (0.5), 40 (0.25): mean 22.5, variance 0.25*156.25 + 0.5*6.25 + 0.25*306.25 = 118.75.
    TreeBuilder tree;
    TreeNode* chance = tree.Add(tree.Root(), ChanceNode, "c");
    tree.Terminal(chance, "a", "0.25", "10");
    tree.Terminal(chance, "b", "0.5", "20");
    tree.Terminal(chance, "c", "0.25", "40");
    RunFault error;
    EXPECT_NEAR(RollBackTree(chance, &error, RollBackSilent), 22.5, 1e-12);
    EXPECT_NEAR(NodeStandardDeviation(chance, &error), std::sqrt(118.75), 1e-9);
    EXPECT_FALSE(error);
}

TEST(PayoffRange, LowAndHighOfEndValues)
{
    PathTree paths;
    double low = 1e300;
    double high = -1e300;
    RunFault error;
    RangeOfEndValues(paths.tree.Root(), &low, &high, &error);
    EXPECT_FALSE(error);
    EXPECT_EQ(low, 0.0);
    EXPECT_EQ(high, 30.0);
}

TEST(PayoffRange, EmptyInnerNodeIsReportedOnce)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    TreeNode* decision = tree.Add(tree.Root(), DecisionNode, "d");
    TreeNode* empty = tree.Add(decision, ChanceNode, "empty");
    tree.Add(decision, ChanceNode, "empty too");
    double low = 0;
    double high = 0;
    RunFault error;
    RangeOfEndValues(decision, &low, &high, &error);
    EXPECT_TRUE(error);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Unable to evaluate non-terminal nodes.");
    EXPECT_TRUE(tree.IsNodeSelected(empty));
}

TEST(TrialWalk, FollowsOptimalChoicesAndChanceDraws)
{
    PathTree paths;
    RunFault error;
    RollBackTree(paths.tree.Root(), &error, RollBackSilent);
    // Every trial from "Inner" goes to its optimal child.
    TreeNode* end = nullptr;
    EXPECT_EQ(TrialValue(paths.inner, &error, &end), 30.0);
    EXPECT_EQ(end, paths.belowDecision);
    // From "Left": 0.5 * 0.2 -> 10, 0.5 * 0.8 -> 0, 0.5 -> 30; the mean of many trials approaches 16.
    double sum = 0.0;
    const int trials = 4000;
    for (int i = 0; i < trials && !error; ++i)
        sum += TrialValue(paths.left, &error, &end);
    EXPECT_FALSE(error);
    EXPECT_NEAR(sum / trials, 16.0, 1.5);
}

TEST(TrialWalk, DecisionWithoutOptimalChildIsGuarded)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    TreeNode* decision = tree.Add(tree.Root(), DecisionNode, "Not rolled back");
    tree.Terminal(decision, "t", "", "1");
    RunFault error;
    TreeNode* end = nullptr;
    EXPECT_EQ(TrialValueChecked(decision, &error, &end), 0.0);
    EXPECT_TRUE(error);
    EXPECT_EQ(end, nullptr);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "Unable to follow a branch of node \"Not rolled back\". Roll the tree back before running trials.");
}

TEST(TrialWalk, RandomBranchIndexByKind)
{
    TreeBuilder tree;
    TreeNode* logic = tree.Add(tree.Root(), LogicNode, "l");
    tree.Terminal(logic, "a", "0", "1");
    tree.Terminal(logic, "b", "1", "2");
    TreeNode* label = tree.Add(tree.Root(), LabelNode, "label");
    tree.Terminal(label, "only", "", "3");
    TreeNode* chance = tree.Add(tree.Root(), ChanceNode, "certain");
    tree.Terminal(chance, "never", "0", "0");
    tree.Terminal(chance, "always", "1", "0");
    RunFault error;
    EXPECT_EQ(RandomBranchIndex(logic, &error), 1);
    EXPECT_EQ(RandomBranchIndex(label, &error), 0);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(RandomBranchIndex(chance, &error), 1);
    EXPECT_FALSE(error);
    RandomBranchIndex(label->GetChild(0), &error);
    EXPECT_TRUE(error);
}

}  // namespace
