// Probability verification, risk-preference checks, and trees too deep for recursion.

#include "analysis/ProbabilityVerification.h"
#include "model/MarkovInfo.h"
#include "analysis/RollBack.h"
#include "model/TreeWalks.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A node without a name is told by its kind and place.
TEST(ProbabilityVerification, MessagesWordForWord)
{
    struct Row {
        const char* parentName;
        const char* firstName;
        const char* first;
        const char* second;
        const char* message;  // null: valid
    } rows[] = {
        {"Parent", "first", "0.3333333", "0.6666667", nullptr},
        {"Parent", "first", "0.3", "0.6",
         "The probabilities on the branches emanating from node \"Parent\" do not add up to 1.0."},
        {"Parent", "first", "-0.0000005", "#", nullptr},
        {"Parent", "first", "-0.00001", "#", "The probability of node \"first\" is not between zero and one."},
        {"Parent", "", "-0.00001", "#",
         "The probability of the unnamed terminal node on branch 1 under \"Parent\" is not between zero and one."},
        {" ", "first", "0.3", "0.6",
         "The probabilities on the branches emanating from the unnamed chance node under the unnamed root node do "
         "not add up to 1.0."},
    };
    for (const Row& row : rows) {
        MessageBoxRecorder boxes;
        TreeBuilder tree;
        TreeNode* parent = tree.Add(tree.Root(), ChanceNode, row.parentName);
        TreeNode* first = tree.Terminal(parent, row.firstName, row.first, "1");
        tree.Terminal(parent, "second", row.second, "1");
        const int valid = VerifyProbabilities(&tree.Document(), 1, nullptr, nullptr, 0);
        EXPECT_EQ(valid, row.message == nullptr ? 1 : 0) << row.first;
        ASSERT_EQ(boxes.Count(), 1u);
        if (row.message == nullptr) {
            EXPECT_EQ(boxes.Last().text, "All probabilities sum to 1.0.");
            continue;
        }
        EXPECT_EQ(boxes.Last().text, row.message);
        ASSERT_EQ(tree.Selection.Count(), 1);
        EXPECT_EQ(tree.Selection.At(0), std::string(row.message).find("emanating") != std::string::npos ? parent : first);
    }
}

TEST(ProbabilityVerification, LabelNodesAndExtraText)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    TreeNode* label = tree.Add(tree.Root(), LabelNode, "Tag");
    tree.Terminal(label, "one", "", "1");
    EXPECT_EQ(VerifyProbabilities(&tree.Document(), 0, nullptr, nullptr, 0), 1);
    tree.Terminal(label, "two", "", "1");
    EXPECT_EQ(VerifyProbabilities(&tree.Document(), 0, nullptr, "_stage = 3", 0), 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The label node \"Tag\" may not have more than one branch.\r\n\r\n_stage = 3");
    label->text = "";
    EXPECT_EQ(VerifyProbabilities(&tree.Document(), 0, nullptr, nullptr, 0), 0);
    EXPECT_EQ(boxes.Last().text,
              "The unnamed label node under the unnamed root node may not have more than one branch.");
}

// Markov node M with states S1 and S2 (0.5 each); S2 holds a chance node with two terminal branches.
TEST(ProbabilityVerification, MarkovStatesUnderARunningCohortAndTunnels)
{
    struct Row {
        const char* title;
        int runFlag;
        double share;        // S2's share of the cohort
        int tunnelCount;     // S2's tunnel field: -k for the k-th tunnel copy
        const char* first;   // the chance node's branches
        const char* second;
        int valid;
    } rows[] = {
        {"state left by the running cohort is skipped", 1, 1e-13, 0, "0.3", "0.6", 1},
        {"state holding a share is checked", 1, 0.5, 0, "0.3", "0.6", 0},
        {"without a running cohort every state is checked", 0, 1e-13, 0, "0.3", "0.6", 0},
        {"second tunnel copy reads _tunnel as 3", 0, 0.5, -2, "_tunnel/6", "0.5", 1},
        {"ordinary state reads _tunnel as 1", 0, 0.5, 0, "_tunnel/6", "0.5", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.title);
        MessageBoxRecorder boxes;
        TreeBuilder tree;
        TreeNode* markov = tree.Add(tree.Root(), MarkovNode, "M");
        markov->markovRunFlag = static_cast<uint8_t>(row.runFlag);
        tree.Terminal(markov, "S1", "0.5", "1")->EnsureMarkovInfo()->probability = 0.5;
        TreeNode* s2 = tree.Add(markov, ChanceNode, "S2", "0.5");
        s2->EnsureMarkovInfo()->probability = row.share;
        s2->markovInfo->tunnelCount = row.tunnelCount;
        tree.Terminal(s2, "a", row.first, "1");
        tree.Terminal(s2, "b", row.second, "1");
        tree.Document().CalcStateRecord.tunnelIndex = 7;
        EXPECT_EQ(VerifyProbabilities(&tree.Document(), 0, nullptr, nullptr, 0), row.valid);
        EXPECT_EQ(boxes.Count(), row.valid ? 0u : 1u);
        EXPECT_EQ(tree.Document().CalcStateRecord.tunnelIndex, 7);
    }
}

TEST(ProbabilityVerification, CurrentValuesPassSilently)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    TreeNode* parent = tree.Add(tree.Root(), ChanceNode, "Parent");
    tree.Terminal(parent, "bad", "0.2", "1");
    tree.Document().RolledBack = RolledBackValues::Computed;
    EXPECT_EQ(VerifyProbabilities(&tree.Document(), 1, nullptr, nullptr, 0), 1);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST(RiskPreference, UtilitiesOffOrUsableFunctionLetsTheAnalysisRun)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    EXPECT_EQ(CheckRiskPreference(&tree.Document(), nullptr), 1);
    tree.Document().CalcPrefs.UseUtility = 1;
    EXPECT_EQ(CheckRiskPreference(&tree.Document(), nullptr), 1);
    EXPECT_EQ(boxes.Count(), 0u);
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
    RunFault error;
    EXPECT_NEAR(RollBackTree(tree.Root(), &error, RollBackWithProgress), 5.0, 1e-12);
    EXPECT_FALSE(error);
    EXPECT_NEAR(top->ExpectedValue(), 5.0, 1e-12);
    EXPECT_EQ(VerifyProbabilities(&tree.Document(), 0, nullptr, nullptr, 0), 1);
    TreeNode copy(*top, true);
    EXPECT_EQ(CountSubtreeNodes(&copy, true), 10001);
}

}  // namespace
