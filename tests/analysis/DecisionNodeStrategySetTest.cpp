#include "analysis/DecisionNodeStrategySet.h"

#include "analysis/ChooseCostEffectiveStrategy.h"
#include "analysis/CEDominance.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

#include <gtest/gtest.h>

namespace {

TreeNode* AddBranch(TreeDocument& tree, const char* text, double cost, double effectiveness)
{
    TreeNode* child = new TreeNode(&tree);
    child->SetKind(TerminalNode, false);
    child->SetText(text, false);
    child->triple.cost = cost;
    child->triple.effectiveness = effectiveness;
    tree.Root->InsertChildOrThrow(child, -1);
    return child;
}

TEST(DecisionNodeStrategySet, ReadsRolledBackBranches)
{
    TreeDocument tree;
    AddBranch(tree, "Watch", 0, 0);
    AddBranch(tree, "Drug", 10, 2);
    AddBranch(tree, "Surgery\nwith a long stay in hospital", 20, 5);
    DecisionNodeStrategySet strategies(tree.Root, 10);
    ASSERT_EQ(strategies.Count(), 3);
    EXPECT_EQ(strategies.Cost(1), 10);
    EXPECT_EQ(strategies.Effectiveness(2), 5);
    zString name;
    strategies.Name(1, name);
    EXPECT_STREQ(name.Text(), "Drug");
    strategies.Name(2, name);
    EXPECT_STREQ(name.Text(), "Surgery wi...");
}

// Branches (0,0), (10,2), (15,1), (20,5): (15,1) dominated, (10,2) extended-dominated; ratio from (0,0) to
// (20,5) is 4 per unit of effectiveness.
TEST(DecisionNodeStrategySet, RecommendsBranchBySettingsEvaluatedInTree)
{
    TreeDocument tree;
    AddBranch(tree, "Watch", 0, 0);
    AddBranch(tree, "Drug", 10, 2);
    AddBranch(tree, "Stent", 15, 1);
    AddBranch(tree, "Surgery", 20, 5);
    tree.EnsureVariable("wtp", "3");
    tree.EnsureVariable("limit", "12");

    CEPointList points;
    BuildCEPoints(DecisionNodeStrategySet(tree.Root), points, 1);
    ASSERT_EQ(points.Count(), 4);
    EXPECT_STREQ(points.Point(2)->name.Text(), "Stent");
    EXPECT_EQ(points.Point(2)->state, CEPoint::Dominated);

    struct Row {
        const char* pay;
        int useCeiling;
        int excludeExtended;
        int expectedBranch;
    };
    const Row rows[] = {
        {"0", 0, 0, 3},       // most effective
        {"wtp", 0, 0, 0},     // 3 per unit buys nothing
        {"wtp+2", 0, 0, 3},   // 5: Drug at 5 is too dear, Surgery at 4 against Watch is not
        {"0", 1, 0, 1},       // ceiling 12 leaves Drug
        {"0", 1, 1, 0},       // ... unless extended-dominated strategies are excluded
    };
    for (const Row& row : rows) {
        tree.CESettings.willingnessToPay.SetText(row.pay);
        tree.CESettings.costCeiling.SetText("limit");
        tree.CESettings.useCostCeiling = row.useCeiling;
        tree.CESettings.excludeExtended = row.excludeExtended;
        RunFault error;
        const int position = ChooseCostEffectiveStrategy(tree.CESettings, points, &tree, &error);
        EXPECT_FALSE(error) << row.pay;
        ASSERT_GE(position, 0) << row.pay;
        EXPECT_EQ(points.Point(position)->strategyIndex, row.expectedBranch) << row.pay;
    }
}

}  // namespace
