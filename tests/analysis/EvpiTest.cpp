// Expected value of perfect information: the value, the scratch tree, the checks and the stored record.

#include "analysis/EvpiCalculation.h"
#include "analysis/StoredAnalysisKinds.h"
#include "model/StoredAnalysis.h"
#include "model/TreeWalks.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Root decision between A = chance E (0.4 -> 100, 0.6 -> 0) and B = 50.
struct EventTree {
    TreeBuilder tree;
    TreeNode* event;
    TreeNode* sure;

    EventTree()
    {
        tree.Root()->kind = DecisionNode;
        event = tree.Add(tree.Root(), ChanceNode, "A");
        tree.Terminal(event, "Good", "0.4", "100");
        tree.Terminal(event, "Bad", "0.6", "0");
        sure = tree.Terminal(tree.Root(), "B", "", "50");
    }

    double Evpi(TreeNode* node, RunFault* error)
    {
        NodeChildList selected(4, Ownership::Borrows);
        selected.Add(node);
        return CalculateEvpi(selected, error);
    }
};

TEST(Evpi, ValueOfKnowingTheEventFirst)
{
    for (const int direction : {1, 0}) {
        EventTree setup;
        setup.tree.Document().CalcPrefs.OptPath[0] = direction;
        const long nodes = CountSubtreeNodes(setup.tree.Root(), true);
        RunFault error;
        EXPECT_NEAR(setup.Evpi(setup.event, &error), 20.0, 1e-9) << "direction " << direction;
        EXPECT_FALSE(error);
        // The real tree is as it was: the scratch tree hung below the root without being its branch.
        EXPECT_EQ(CountSubtreeNodes(setup.tree.Root(), true), nodes);
        EXPECT_EQ(setup.tree.Root()->childCount, 2);

        StoredAnalysis* record = setup.tree.Document().LastAnalysis;
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->kind, EvpiKind);
        ASSERT_EQ(record->parameters->Count(), 3);
        EXPECT_STREQ(record->parameters->At(0)->Text(), "1");
        EXPECT_STREQ(record->parameters->At(2)->Text(), "1");
        zString text;
        DescribeStoredAnalysis(&setup.tree.Document(), record, text);
        EXPECT_STREQ(text.Text(), "EVPI at A");
    }
}

TEST(Evpi, ScratchTreeAtLevelOne)
{
    EventTree setup;
    EvpiCalculation calculation(&setup.tree.Document());
    calculation.selection.Add(setup.event);
    calculation.eventNode = setup.event;
    calculation.ChooseDecisionNode();
    calculation.ComputeWithout();
    calculation.BuildScratchTree();
    calculation.GraftPaths();
    ASSERT_FALSE(calculation.error);
    EXPECT_EQ(calculation.level, 1);
    EXPECT_DOUBLE_EQ(calculation.evWithout, 50.0);
    TreeNode* scratch = calculation.scratchRoot;
    EXPECT_EQ(scratch->kind, ChanceNode);
    EXPECT_EQ(scratch->parent, setup.tree.Root()->parent);
    ASSERT_EQ(scratch->childCount, 2);
    const char* expected[2][2] = {{"100", "50"}, {"0", "50"}};
    for (int k = 0; k < 2; ++k) {
        TreeNode* outcome = scratch->GetChild(k);
        EXPECT_EQ(outcome->kind, DecisionNode);
        ASSERT_EQ(outcome->childCount, 2);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(outcome->GetChild(i)->kind, TerminalNode);
            EXPECT_STREQ(outcome->GetChild(i)->Payoff(0).Text().Text(), expected[k][i]) << k << "," << i;
        }
    }
    calculation.ComputeWith();
    EXPECT_NEAR(calculation.evpi, 20.0, 1e-9);
}

TEST(Evpi, SiblingsWithinATenthAreOffered)
{
    struct Case {
        const char* first;
        const char* second;
        bool offered;
    };
    const Case cases[] = {{"0.45", "0.55", true}, {"0.5", "0.5", false}, {"0.3", "0.7", false}};
    for (const Case& c : cases) {
        EventTree setup;
        // A chance level between the decision and the event, holding a second chance node.
        TreeNode* middle = setup.tree.Add(setup.tree.Root(), ChanceNode, "Middle");
        TreeNode* event = setup.tree.Add(middle, ChanceNode, "E", "0.5");
        setup.tree.Terminal(event, "Up", "0.4", "80");
        setup.tree.Terminal(event, "Down", "0.6", "10");
        TreeNode* sibling = setup.tree.Add(middle, ChanceNode, "S", "0.5");
        setup.tree.Terminal(sibling, "Up", c.first, "70");
        setup.tree.Terminal(sibling, "Down", c.second, "20");
        std::vector<TreeNode*> offered;
        const EvpiChooser saved = SetEvpiChooser({[&offered](const std::vector<TreeNode*>& candidates,
                                                             std::vector<bool>& chosen) {
                                                      offered = candidates;
                                                      chosen.assign(candidates.size(), true);
                                                      return true;
                                                  },
                                                  nullptr});
        RunFault error;
        setup.Evpi(event, &error);
        SetEvpiChooser(saved);
        EXPECT_FALSE(error);
        EXPECT_EQ(offered.size(), c.offered ? 1u : 0u) << c.first;
        const StoredAnalysis* record = setup.tree.Document().LastAnalysis;
        ASSERT_NE(record, nullptr);
        EXPECT_STREQ(record->parameters->At(0)->Text(), c.offered ? "2" : "1");
        EXPECT_STREQ(record->parameters->At(record->parameters->Count() - 1)->Text(), "2");
    }
}

TEST(Evpi, ChecksShowTheirMessage)
{
    const std::string noDecision =
        "There are no decision nodes to the left of the selected chance node(s). The EVPI cannot be calculated.";
    struct Case {
        const char* name;
        std::string message;
    };
    const Case cases[] = {
        {"method", "EVPI may only be calculated when the calculation method for your tree is \"simple.\""},
        {"terminal", "To calculate EVPI, select the chance node(s) which represent the outcome which you would "
                     "like to know with perfect certainty."},
        {"root", noDecision},
        {"chance root", noDecision},
    };
    for (const Case& c : cases) {
        EventTree setup;
        TreeNode* selected = setup.event;
        const std::string name = c.name;
        if (name == "method")
            setup.tree.Document().CalcPrefs.CalcMethod = CostEffectivenessMethod;
        if (name == "terminal")
            selected = setup.sure;
        if (name == "root")
            setup.tree.Root()->kind = ChanceNode, selected = setup.tree.Root();
        if (name == "chance root")
            setup.tree.Root()->kind = ChanceNode;
        MessageBoxRecorder boxes;
        RunFault error;
        setup.Evpi(selected, &error);
        EXPECT_TRUE(error) << c.name;
        ASSERT_EQ(boxes.Count(), 1u) << c.name;
        EXPECT_EQ(boxes.Last().text, c.message);
        EXPECT_EQ(setup.tree.Document().LastAnalysis, nullptr);
    }
}

TEST(Evpi, StoredRecordRunsOnlyWhenItFitsTheTree)
{
    EventTree setup;
    TreeDocument& document = setup.tree.Document();
    RunFault error;
    setup.Evpi(setup.event, &error);
    StoredAnalysis* record = document.LastAnalysis;
    ASSERT_NE(record, nullptr);
    std::vector<double> shown;
    const EvpiPresenter saved = SetEvpiPresenter([&shown](TreeDocument*, double evpi) { shown.push_back(evpi); });
    RunStoredAnalysis(record, &document);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NEAR(shown[0], 20.0, 1e-9);

    // Count, paths or level that do not fit: nothing runs.
    const std::string path = record->parameters->At(1)->Text();
    const std::vector<std::vector<std::string>> unfit = {
        {"1", path, "33"}, {"0", "1"}, {"2", path, "1"}, {"1", path + "5,", "1"}, {"1", path, "2"}, {"1", path}};
    for (const auto& items : unfit) {
        StoredAnalysis* edited = StoredAnalysis::New();
        edited->kind = EvpiKind;
        for (const std::string& item : items)
            edited->parameters->AddText(item.c_str());
        RunStoredAnalysis(edited, &document);
        StoredAnalysis::Delete(edited);
    }
    EXPECT_EQ(shown.size(), 1u);
    SetEvpiPresenter(saved);
}

}  // namespace
