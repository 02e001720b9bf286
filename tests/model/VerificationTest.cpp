// Probability verification, risk-preference checks, and trees too deep for recursion.

#include "analysis/ProbabilityVerification.h"
#include "model/RollBack.h"
#include "model/TreeWalks.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

namespace {

TEST(ProbabilityVerification, MessagesWordForWord)
{
    struct Row {
        const char* first;
        const char* second;
        const char* message;  // null: valid
        const char* selected;
    } rows[] = {
        {"0.3333333", "0.6666667", nullptr, nullptr},
        {"0.3", "0.6", "The probabilities on the branches emanating from node \"Parent\" do not add up to 1.0.",
         "Parent"},
        {"-0.0000005", "#", nullptr, nullptr},
        {"-0.00001", "#", "The probability of node \"first\" is not between zero and one.", "first"},
    };
    for (const Row& row : rows) {
        MessageBoxRecorder boxes;
        TreeBuilder tree;
        TreeNode* parent = tree.Add(tree.Root(), ChanceNode, "Parent");
        tree.Terminal(parent, "first", row.first, "1");
        tree.Terminal(parent, "second", row.second, "1");
        const int valid = VerifyProbabilities(&tree.Window(), 1, nullptr, nullptr, 0);
        EXPECT_EQ(valid, row.message == nullptr ? 1 : 0) << row.first;
        ASSERT_EQ(boxes.Count(), 1u);
        if (row.message == nullptr) {
            EXPECT_EQ(boxes.Last().text, "All probabilities sum to 1.0.");
            continue;
        }
        EXPECT_EQ(boxes.Last().text, row.message);
        ASSERT_EQ(tree.Window().Selection.Count(), 1);
        EXPECT_EQ(tree.Window().Selection.At(0)->text, row.selected);
    }
}

TEST(ProbabilityVerification, LabelNodesAndExtraText)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    TreeNode* label = tree.Add(tree.Root(), LabelNode, "Tag");
    tree.Terminal(label, "one", "", "1");
    EXPECT_EQ(VerifyProbabilities(&tree.Window(), 0, nullptr, nullptr, 0), 1);
    tree.Terminal(label, "two", "", "1");
    EXPECT_EQ(VerifyProbabilities(&tree.Window(), 0, nullptr, "_stage = 3", 0), 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The label node \"Tag\" may not have more than one branch.\r\n\r\n_stage = 3");
}

TEST(ProbabilityVerification, CurrentValuesPassSilently)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    TreeNode* parent = tree.Add(tree.Root(), ChanceNode, "Parent");
    tree.Terminal(parent, "bad", "0.2", "1");
    tree.Window().RolledBack = 1;
    EXPECT_EQ(VerifyProbabilities(&tree.Window(), 1, nullptr, nullptr, 0), 1);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST(RiskPreference, UtilitiesOffOrUsableFunctionLetsTheAnalysisRun)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    EXPECT_EQ(CheckRiskPreference(&tree.Window(), nullptr), 1);
    tree.Window().CalcPrefs.UseUtility = 1;
    EXPECT_EQ(CheckRiskPreference(&tree.Window(), nullptr), 1);
    EXPECT_EQ(boxes.Count(), 0u);
    // Utilities are the identity for now: a rolled-back value is its own certainty equivalent.
    TreeNode* chance = tree.Add(tree.Root(), ChanceNode, "c");
    tree.Terminal(chance, "a", "0.5", "10");
    tree.Terminal(chance, "b", "0.5", "30");
    int error = 0;
    EXPECT_NEAR(RollBackTree(chance, &error, RollBackSilent), 20.0, 1e-12);
    EXPECT_NEAR(chance->value, 20.0, 1e-12);
}

// A chain of 10,000 chance nodes, each with one branch of probability 1, ending in a payoff.
TEST(DeepTrees, TenThousandLevelChain)
{
    TreeBuilder tree;
    tree.Bind(tree.Root(), "v", "2.5");
    TreeNode* node = tree.Add(tree.Root(), ChanceNode, "level 0");
    TreeNode* top = node;
    for (int level = 1; level < 10000; ++level)
        node = tree.Add(node, ChanceNode, "level", "1");
    tree.Terminal(node, "end", "1", "v*2");
    EXPECT_EQ(CountSubtreeNodes(tree.Root(), true), 10002);
    int error = 0;
    EXPECT_NEAR(RollBackTree(tree.Root(), &error, RollBackWithProgress), 5.0, 1e-12);
    EXPECT_EQ(error, 0);
    EXPECT_NEAR(top->ExpectedValue(), 5.0, 1e-12);
    EXPECT_EQ(VerifyProbabilities(&tree.Window(), 0, nullptr, nullptr, 0), 1);
    TreeNode copy(*top, true);
    EXPECT_EQ(CountSubtreeNodes(&copy, true), 10001);
}

}  // namespace
