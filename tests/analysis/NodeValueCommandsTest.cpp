// Node value commands on the selection, their records, descriptions and re-runs.

#include "analysis/NodeValueRecord.h"
#include "analysis/StoredAnalysisKinds.h"
#include "model/StoredAnalysis.h"
#include "tests/model/TreeBuilder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Three chance nodes under the root with expected values 15, 7 and 2.
struct ThreeNodes {
    TreeBuilder tree;
    TreeNode* nodes[3];
    std::vector<double> shown;
    NodeValuePresenter saved;

    ThreeNodes()
    {
        const char* payoffs[3][2] = {{"10", "20"}, {"4", "10"}, {"0", "4"}};
        const char* names[3] = {"First", "Second", "Third"};
        tree.Root()->kind = ChanceNode;
        for (int i = 0; i < 3; ++i) {
            nodes[i] = tree.Add(tree.Root(), ChanceNode, names[i], i < 2 ? "0.25" : "#");
            tree.Terminal(nodes[i], "a", "0.5", payoffs[i][0]);
            tree.Terminal(nodes[i], "b", "0.5", payoffs[i][1]);
        }
        saved = SetNodeValuePresenter(
            [this](TreeDocument*, int, double value, const NodeChildList&, const NodeChildList*) {
                shown.push_back(value);
            });
    }
    ~ThreeNodes() { SetNodeValuePresenter(saved); }
};

TEST(NodeValues, ValueOfTheSelectionAndItsRecord)
{
    struct Case {
        int command;
        double value;
        const char* description;
    };
    const Case cases[] = {
        {ExpectedValueCommand, 15 + 7 + 2, "Expected Value\r\nAt \"First\""},
        {PathProbabilityCommand, 1.0, "Path Probability\r\nAt \"First\""},
    };
    for (const Case& c : cases) {
        ThreeNodes setup;
        TreeDocument& document = setup.tree.Document();
        NodeChildList selection(4, Ownership::Borrows);
        for (TreeNode* node : setup.nodes)
            selection.Add(node);
        DisplayAnyVal(&document, c.command, selection);
        ASSERT_EQ(setup.shown.size(), 1u);
        EXPECT_NEAR(setup.shown[0], c.value, 1e-12);
        StoredAnalysis* record = document.LastAnalysis;
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->kind, NodeValuesKind);
        EXPECT_STREQ(record->parameters->At(1)->Text(), "3");
        zString text;
        DescribeStoredAnalysis(&document, record, text);
        EXPECT_STREQ(text.Text(), c.description);
    }
}

TEST(NodeValues, ComparativeDistributionsHaveNoAtLine)
{
    ThreeNodes setup;
    NodeChildList two(4, Ownership::Borrows);
    two.Add(setup.nodes[0]);
    two.Add(setup.nodes[1]);
    StoredAnalysis* record = MakeNodeValueStoredRecord(two, ProbabilityDistributionCommand, 1);
    zString text;
    DescribeStoredAnalysis(&setup.tree.Document(), record, text);
    EXPECT_STREQ(text.Text(), "Comparative Distributions");
    StoredAnalysis::Delete(record);
}

TEST(NodeValues, RerunLeavesNoRecordAndContinuesTheChain)
{
    ThreeNodes setup;
    TreeDocument& document = setup.tree.Document();
    NodeChildList two(4, Ownership::Borrows);
    two.Add(setup.nodes[0]);
    two.Add(setup.nodes[2]);
    StoredAnalysis* first = MakeNodeValueStoredRecord(two, ExpectedValueCommand, 0);
    // The second record claims more nodes than it holds paths for: only the one it holds is used.
    StoredAnalysis* second = MakeNodeValueRecord(setup.nodes[1], ExpectedValueCommand, 0);
    *second->parameters->At(1) = zString("5");
    first->next = second;
    // Run again as the document's last record, the first one is let go by its own run; the chain goes on.
    document.SetStoredAnalysis(first);
    RunStoredAnalysis(first, &document);
    ASSERT_EQ(setup.shown.size(), 2u);
    EXPECT_NEAR(setup.shown[0], 17.0, 1e-12);
    EXPECT_NEAR(setup.shown[1], 7.0, 1e-12);
    EXPECT_EQ(document.LastAnalysis, nullptr);
    StoredAnalysis::Delete(second);
}

}  // namespace
