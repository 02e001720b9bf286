// Whole example trees rolled back and checked against values worked out by hand.

#include "analysis/RollBack.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

namespace {

// Surgery: death 0.05 (payoff 0); survival 0.95 leads to cure pCure (uWell) or no cure "#" (uSick).
// Medical: cure pCure (rebound to 0.6 under the branch) or no cure "#".
// By hand: surgery 0.95 * (0.8 * 20 + 0.2 * 10) = 17.1; medical 0.6 * 20 + 0.4 * 10 = 16.
struct MedicalTree {
    TreeBuilder tree;
    TreeNode* surgery;
    TreeNode* medical;
    TreeNode* survive;

    MedicalTree()
    {
        TreeNode* root = tree.Root();
        tree.Bind(root, "pCure", "0.8");
        tree.Bind(root, "uWell", "20");
        tree.Bind(root, "uSick", "uWell/2");
        tree.Bind(root, "pDie", "0.05");
        surgery = tree.Add(root, ChanceNode, "Surgery");
        tree.Terminal(surgery, "Operative death", "pDie", "0");
        survive = tree.Add(surgery, ChanceNode, "Survive", "#");
        tree.Terminal(survive, "Cure", "pCure", "uWell");
        tree.Terminal(survive, "No cure", "#", "uSick");
        medical = tree.Add(root, ChanceNode, "Medical");
        tree.Bind(medical, "pCure", "0.6");
        tree.Terminal(medical, "Cure", "pCure", "uWell");
        tree.Terminal(medical, "No cure", "#", "uSick");
    }
};

TEST(ExampleTrees, MedicalTwoStrategyTree)
{
    MessageBoxRecorder boxes;
    MedicalTree medicalTree;
    RunFault error;
    const double value = RollBackTree(medicalTree.tree.Root(), &error, RollBackSilent);
    ASSERT_FALSE(error);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_NEAR(value, 17.1, 1e-9);
    EXPECT_NEAR(medicalTree.surgery->ExpectedValue(), 17.1, 1e-9);
    EXPECT_NEAR(medicalTree.survive->ExpectedValue(), 18.0, 1e-9);
    EXPECT_NEAR(medicalTree.survive->branchProbability, 0.95, 1e-12);
    EXPECT_NEAR(medicalTree.medical->ExpectedValue(), 16.0, 1e-9);
    ASSERT_EQ(medicalTree.tree.Root()->optimal->Count(), 1);
    EXPECT_EQ(medicalTree.tree.Root()->optimal->At(0), medicalTree.surgery);
}

TEST(ExampleTrees, MedicalTreeMinimisingChoosesTheOtherStrategy)
{
    MedicalTree medicalTree;
    medicalTree.tree.Document().CalcPrefs.OptPath[0] = 0;
    RunFault error;
    EXPECT_NEAR(RollBackTree(medicalTree.tree.Root(), &error, RollBackSilent), 16.0, 1e-9);
    EXPECT_EQ(medicalTree.tree.Root()->optimal->At(0), medicalTree.medical);
}

// A: 0.5 -> inner decision (10 or 14), 0.5 -> 2; B: 7. By hand: A = 0.5 * 14 + 0.5 * 2 = 8 > 7.
TEST(ExampleTrees, NestedDecision)
{
    TreeBuilder tree;
    TreeNode* a = tree.Add(tree.Root(), ChanceNode, "A");
    TreeNode* inner = tree.Add(a, DecisionNode, "Inner", "0.5");
    tree.Terminal(inner, "Low", "", "10");
    TreeNode* high = tree.Terminal(inner, "High", "", "14");
    tree.Terminal(a, "Bad", "0.5", "2");
    tree.Terminal(tree.Root(), "B", "", "7");
    RunFault error;
    EXPECT_NEAR(RollBackTree(tree.Root(), &error, RollBackSilent), 8.0, 1e-9);
    ASSERT_FALSE(error);
    EXPECT_EQ(tree.Root()->optimal->At(0), a);
    ASSERT_EQ(inner->optimal->Count(), 1);
    EXPECT_EQ(inner->optimal->At(0), high);
    EXPECT_NEAR(inner->ExpectedValue(), 14.0, 1e-9);
}

// Strategies (cost, effectiveness): none (0, 10); drug 0.7 -> (1000, 12), 0.3 -> (1000, 9) = (1000, 11.1);
// surgery (5000, 11.5). Incremental ratios along the frontier: drug vs none 1000 / 1.1 = 909.09,
// surgery vs drug 4000 / 0.4 = 10000. Willingness to pay 2000 recommends the drug.
TEST(ExampleTrees, CostEffectivenessTree)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    TreeDocument& document = tree.Document();
    document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    document.CalcPrefs.CECostPayoff = 0;
    document.CalcPrefs.CEEffPayoff = 1;
    document.CESettings.willingnessToPay.SetText("2000");
    TreeNode* none = tree.Terminal(tree.Root(), "None", "", "0", "10");
    TreeNode* drug = tree.Add(tree.Root(), ChanceNode, "Drug");
    tree.Terminal(drug, "Responds", "0.7", "1000", "12");
    tree.Terminal(drug, "Fails", "0.3", "1000", "9");
    TreeNode* surgery = tree.Terminal(tree.Root(), "Surgery", "", "5000", "11.5");
    RunFault error;
    const double value = RollBackTree(tree.Root(), &error, RollBackSilent);
    ASSERT_FALSE(error);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_NEAR(drug->triple.cost, 1000.0, 1e-9);
    EXPECT_NEAR(drug->triple.effectiveness, 11.1, 1e-9);
    EXPECT_NEAR(drug->ExpectedValue(), 1000.0 / 11.1, 1e-9);
    EXPECT_NEAR(none->ExpectedValue(), 0.0, 1e-12);
    EXPECT_NEAR(surgery->ExpectedValue(), 5000.0 / 11.5, 1e-9);
    ASSERT_EQ(tree.Root()->optimal->Count(), 1);
    EXPECT_EQ(tree.Root()->optimal->At(0), drug);
    EXPECT_NEAR(tree.Root()->triple.cost, 1000.0, 1e-9);
    EXPECT_NEAR(tree.Root()->triple.effectiveness, 11.1, 1e-9);
    EXPECT_NEAR(value, 1000.0 / 11.1, 1e-9);

    document.CESettings.willingnessToPay.SetText("20000");
    EXPECT_NEAR(RollBackTree(tree.Root(), &error, RollBackSilent), 5000.0 / 11.5, 1e-9);
    EXPECT_EQ(tree.Root()->optimal->At(0), surgery);
}

}  // namespace
