// Bayes' revision: the structure check, the prompts' proposals and the rewritten subtree.

#include "analysis/BayesRevision.h"
#include "model/VariableDefinition.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A test with results "Positive" and "Negative" over the conditions "Disease" and "No disease".
struct TestTree {
    TreeBuilder tree;
    TreeNode* bayes;
    explicit TestTree(std::vector<const char*> results = {"Positive", "Negative"})
    {
        bayes = tree.Add(tree.Root(), ChanceNode, "Test");
        for (const char* result : results) {
            TreeNode* test = tree.Add(bayes, ChanceNode, result);
            tree.Terminal(test, "Disease", "", "1");
            tree.Terminal(test, "No disease", "", "0");
        }
    }
    std::string Probability(int test, int condition = -1)
    {
        TreeNode* node = bayes->GetChild(test);
        if (condition >= 0)
            node = node->GetChild(condition);
        zString text;
        node->GetProbabilityText(text);
        return text.Text();
    }
    std::string Bound(const char* name)
    {
        const VariableDefinition* binding = bayes->FindBinding(name, false);
        return binding != nullptr ? std::string(binding->definition.Text().Text()) : "(none)";
    }
};

void Enter(std::vector<zString>& values, std::vector<zString>& expressions, std::vector<const char*> entries)
{
    for (const char* entry : entries) {
        values.emplace_back(entry);
        expressions.emplace_back(entry);
    }
}

TEST(BayesRevision, StructureFaultsAreShownAndSelectTheNode)
{
    struct Row {
        int shape;  // 0 no children, 1 an empty result, 2 a clone copy, 3 two and three conditions
        const char* text;
        int faultAt;  // -1 the Bayes node, else the result's index
    };
    const Row rows[] = {
        {0, "Bayes node has no children.", -1},
        {1, "At least one of the test-result subtrees is empty.", 1},
        {2, "At least one of the test-result subtrees is a clone-copy.", 1},
        {3, "All test-result subtrees must have the same number of conditions.", 1},
    };
    for (const Row& row : rows) {
        TreeBuilder tree;
        TreeNode* bayes = tree.Add(tree.Root(), ChanceNode, "Test");
        if (row.shape > 0) {
            TreeNode* first = tree.Add(bayes, ChanceNode, "A");
            tree.Terminal(first, "x", "", "1");
            tree.Terminal(first, "y", "", "0");
            TreeNode* second = tree.Add(bayes, ChanceNode, "B");
            if (row.shape >= 2)
                tree.Terminal(second, "x", "", "1");
            if (row.shape == 2)
                second->cloneStatus = CloneCopyNode;
            if (row.shape == 3) {
                tree.Terminal(second, "y", "", "1");
                tree.Terminal(second, "z", "", "1");
            }
        }
        MessageBoxRecorder boxes;
        BayesRevision record(bayes);
        EXPECT_TRUE(record.failed) << row.text;
        ASSERT_EQ(boxes.Count(), 1u) << row.text;
        EXPECT_EQ(boxes.Last().text, row.text);
        EXPECT_EQ(boxes.Last().caption, "Bayes Structure Error");
        EXPECT_EQ(boxes.Last().help, 30015);
        TreeNode* atFault = row.faultAt < 0 ? bayes : bayes->GetChild(row.faultAt);
        EXPECT_TRUE(tree.IsNodeSelected(atFault)) << row.text;
    }
}

// A worked case: priors 0.3/0.7, likelihoods 0.9/0.1 and 0.2/0.8, all typed as numbers.
TEST(BayesRevision, NumbersGiveJointsResultsAndPosteriorsBoundToNewNames)
{
    TestTree test;
    BayesRevision record(test.bayes);
    ASSERT_FALSE(record.failed);
    Enter(record.priorValues, record.priorExpressions, {"0.3", "0.7"});
    Enter(record.likelihoodValues, record.likelihoodExpressions, {"0.9", "0.1", "0.2", "0.8"});
    BuildBayesRevision(record);
    auto texts = [](const std::vector<zString>& list) {
        std::vector<std::string> out;
        for (const zString& text : list)
            out.push_back(text.Text());
        return out;
    };
    EXPECT_EQ(texts(record.joints), (std::vector<std::string>{"0.27", "0.03", "0.14", "0.56"}));
    EXPECT_EQ(texts(record.testProbabilities), (std::vector<std::string>{"0.41", "0.59"}));
    // Condition-major: (Disease | Positive), (Disease | Negative), (No disease | Positive), (No disease | Negative).
    EXPECT_EQ(texts(record.posteriors),
              (std::vector<std::string>{"0.658536585", "0.050847458", "0.341463415", "0.949152542"}));
    const char* expected[][2] = {{"_p1", "0.658536585"}, {"_p2", "0.341463415"}, {"_p3", "0.41"},
                                 {"_p4", "0.050847458"}, {"_p5", "0.949152542"}, {"_p6", "0.59"}};
    for (const auto& row : expected)
        EXPECT_EQ(test.Bound(row[0]), row[1]) << row[0];
    EXPECT_EQ(test.Probability(0, 0), "_p1");
    EXPECT_EQ(test.Probability(0, 1), "_p2");
    EXPECT_EQ(test.Probability(0), "_p3");
    EXPECT_EQ(test.Probability(1, 1), "_p5");
    EXPECT_EQ(test.Probability(1), "_p6");
}

// A prior entered as a variable keeps the posterior a formula on it, binds the variable at the Bayes node to the
// entered value, and makes the last prior's proposal a formula without a value; names already taken are skipped.
TEST(BayesRevision, VariableEntriesStayFormulas)
{
    TestTree test;
    test.tree.Document().EnsureVariable("p", nullptr);
    test.tree.Document().EnsureVariable("_P2", nullptr);
    BayesRevision record(test.bayes);
    record.priorValues.emplace_back("0.3");
    record.priorExpressions.emplace_back("p");
    const BayesPrompt last = MakeBayesPrompt(record, -1, 1, 0.3);
    EXPECT_EQ(std::string(last.text.Text()), "Enter the a priori probability that \"No disease\".");
    EXPECT_EQ(std::string(last.expression.Text()), "1-(p)");
    EXPECT_EQ(std::string(last.value.Text()), "");
    record.priorValues.emplace_back("");
    record.priorExpressions.push_back(last.expression);
    Enter(record.likelihoodValues, record.likelihoodExpressions, {"0.9", "0.1", "0.2", "0.8"});
    BuildBayesRevision(record);
    EXPECT_EQ(test.Bound("p"), "0.3");
    EXPECT_NE(std::string(record.posteriors[0].Text()).find('p'), std::string::npos);
    EXPECT_EQ(test.Probability(0, 0), "_p1");
    EXPECT_EQ(test.Probability(0, 1), "_p3");
    EXPECT_EQ(test.Probability(1), "_p7");
}

// The last likelihood of a condition proposes the complement of the condition's entries, bracketed with three
// results; earlier prompts propose 0.
TEST(BayesRevision, LastEntriesProposeTheComplement)
{
    TestTree test({"High", "Middle", "Low"});
    BayesRevision record(test.bayes);
    EXPECT_EQ(std::string(MakeBayesPrompt(record, 0, 0, 0.0).value.Text()), "0");
    Enter(record.priorValues, record.priorExpressions, {"0.4"});
    Enter(record.likelihoodValues, record.likelihoodExpressions, {"0.5", "0.2"});
    const BayesPrompt prompt = MakeBayesPrompt(record, 2, 0, 0.7);
    EXPECT_EQ(std::string(prompt.text.Text()),
              "Enter the probability of test result \"Low\" given the underlying condition \"Disease\".");
    EXPECT_EQ(std::string(prompt.expression.Text()), "0.3");
    EXPECT_EQ(std::string(prompt.value.Text()), "0.3");
}

// Sensitivity and specificity: entries and complements land in condition order whichever result is positive
// and whichever condition is present; the defaults read "NEG"/"POS" and "NO".
TEST(BayesRevision, SensitivityAndSpecificityFillTheListsInOrder)
{
    TestTree test({"Negative", "Positive"});
    BayesRevision record(test.bayes);
    int positive = -1;
    int presence = -1;
    ChooseBayesTestDefaults(record, positive, presence);
    EXPECT_EQ(positive, 1);
    EXPECT_EQ(presence, 0);
    // Present is the second condition here, so the specificity pair goes first.
    StoreSensSpecEntry(record, 0, 1, 1, 0.3, "0.3", "0.3");
    StoreSensSpecEntry(record, 1, 1, 1, 0.9, "0.9", "0.9");
    StoreSensSpecEntry(record, 2, 1, 1, 0.8, "0.8", "sp");
    auto texts = [](const std::vector<zString>& list) {
        std::string out;
        for (const zString& text : list)
            out += std::string(text.Text()) + ";";
        return out;
    };
    EXPECT_EQ(texts(record.priorValues), "0.7;0.3;");
    EXPECT_EQ(texts(record.priorExpressions), "1-0.3;0.3;");
    EXPECT_EQ(texts(record.likelihoodExpressions), "sp;1-(sp);1-0.9;0.9;");
    EXPECT_EQ(texts(record.likelihoodValues), "0.8;0.2;0.1;0.9;");
}

}  // namespace
