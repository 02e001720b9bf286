// The Roll Back command end to end on a tree window.

#include "analysis/MarkovAnalysis.h"
#include "analysis/RollBackAnalysis.h"
#include "analysis/StoredAnalysisKinds.h"
#include "model/StoredAnalysis.h"
#include "app/ProgressWindow.h"
#include "script/ScriptManager.h"
#include "tests/analysis/MarkovTestTrees.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Root decision: "Treat" (chance: 0.4 of 100, 0.6 of 50 = 70) and "Wait" (terminal 70 or 60).
struct TwoStrategies {
    explicit TwoStrategies(const char* waitPayoff)
    {
        treat = tree.Add(tree.Root(), ChanceNode, "Treat");
        cured = tree.Terminal(treat, "cured", "0.4", "100");
        notCured = tree.Terminal(treat, "not cured", "#", "50");
        wait = tree.Terminal(tree.Root(), "Wait", "", waitPayoff);
    }
    TreeBuilder tree;
    TreeNode* treat;
    TreeNode* cured;
    TreeNode* notCured;
    TreeNode* wait;
};

TEST(RollBackAnalysisRun, UniqueOptimumSelectsPathWithoutWarning)
{
    MessageBoxRecorder boxes;
    TwoStrategies model("60");
    TreeDocument& document = model.tree.Document();
    RunAnalysis(std::make_unique<RollBackAnalysis>(&document));
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(document.RolledBack, RolledBackValues::Computed);
    EXPECT_NEAR(document.Root->ExpectedValue(), 70.0, 1e-12);
    EXPECT_EQ(model.tree.Selection.Count(), 4);
    EXPECT_TRUE(model.tree.IsNodeSelected(document.Root));
    EXPECT_TRUE(model.tree.IsNodeSelected(model.treat));
    EXPECT_TRUE(model.tree.IsNodeSelected(model.cured));
    EXPECT_TRUE(model.tree.IsNodeSelected(model.notCured));
    EXPECT_FALSE(model.tree.IsNodeSelected(model.wait));
    EXPECT_EQ(document.CurrentAnalysis, nullptr);
    EXPECT_EQ(document.LastAnalysis, nullptr) << "a roll back is not stored as the last analysis";
    EXPECT_EQ(document.SuspendChildRefresh, 1) << "the pause lasts while the tree stays rolled back";
    EXPECT_EQ(document.RelayoutCount, 1);
    EXPECT_EQ(document.NodeRedrawCount, 5);
    // Rolled back again while rolled back, the tree still holds one pause, which its end gives back.
    RunAnalysis(std::make_unique<RollBackAnalysis>(&document));
    EXPECT_EQ(document.SuspendChildRefresh, 1);
    document.EndRolledBack();
    EXPECT_EQ(document.SuspendChildRefresh, 0);
}

TEST(RollBackAnalysisRun, TwoOptimalTerminalsWarnWordForWord)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    TreeNode* a = tree.Terminal(tree.Root(), "A", "", "10");
    TreeNode* b = tree.Terminal(tree.Root(), "B", "", "10");
    tree.Terminal(tree.Root(), "C", "", "5");
    RunAnalysis(std::make_unique<RollBackAnalysis>(&tree.Document()));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().caption, "KIVO");
    EXPECT_EQ(boxes.Last().text,
              "From the standpoint of expected value, this tree has two or more \"optimal\" solutions. In order to "
              "identify your best strategy, you might use some of the analytical tools, including standard "
              "deviation, available under the Analysis menu.");
    EXPECT_TRUE(tree.IsNodeSelected(a));
    EXPECT_TRUE(tree.IsNodeSelected(b));
    EXPECT_EQ(tree.Selection.Count(), 3);
}

TEST(RollBackAnalysisRun, PreferencesDecideProgressAndValueBoxes)
{
    struct Case {
        uint8_t fastRollBack;
        int32_t calculates;
        long progressPushes;
        long redraws;
    };
    const Case cases[] = {
        {0, RollBackExpectedValues, 1, 5},
        {1, RollBackExpectedValues, 0, 5},
        {1, RollBackMaximin, 0, 0},
    };
    for (const Case& row : cases) {
        MessageBoxRecorder boxes;
        TwoStrategies model("60");
        TreeDocument& document = model.tree.Document();
        document.CalcPrefs.FastRollBack = row.fastRollBack;
        document.CalcPrefs.RollBackCalculatesKey = row.calculates;
        const long pushed = ProgressWindow::PushedCount();
        const int depth = ProgressWindow::Depth();
        RunAnalysis(std::make_unique<RollBackAnalysis>(&document));
        EXPECT_EQ(ProgressWindow::PushedCount() - pushed, row.progressPushes);
        EXPECT_EQ(ProgressWindow::Depth(), depth);
        EXPECT_EQ(document.NodeRedrawCount, row.redraws);
    }
}

TEST(RollBackAnalysisRun, FailureLeavesTreeUnmarkedAndLetsScriptGoOn)
{
    for (int fail = 0; fail <= 1; ++fail) {
        MessageBoxRecorder boxes;
        TwoStrategies model(fail ? "1/0" : "60");
        TreeDocument& document = model.tree.Document();
        ScriptManager script;
        script.waitingForAnalysis = 1;
        RunAnalysis(std::make_unique<RollBackAnalysis>(&document, &script));
        EXPECT_EQ(script.waitingForAnalysis, 0);
        EXPECT_EQ(document.IsRolledBack(), !fail);
        EXPECT_EQ(model.tree.Selection.Count(), fail ? 1 : 4) << "a failed formula selects its node only";
        EXPECT_EQ(document.SuspendChildRefresh, fail ? 0 : 1);
        EXPECT_EQ(document.CurrentAnalysis, nullptr);
    }
}

TEST(RollBackAnalysisRun, StoredRecordRunsRollBack)
{
    MessageBoxRecorder boxes;
    TwoStrategies model("60");
    StoredAnalysis* record = StoredAnalysis::New();
    record->kind = RollBackKind;
    RunStoredAnalysis(record, &model.tree.Document());
    EXPECT_EQ(model.tree.Document().RolledBack, RolledBackValues::Computed);
    EXPECT_NEAR(model.tree.Document().Root->ExpectedValue(), 70.0, 1e-12);
    StoredAnalysis::Delete(record);
}

// A chain through a stored roll back: the next record starts once the roll back has ended, and not after a
// failed one. The successor is a Markov record whose re-run shows one graph.
TEST(RollBackAnalysisRun, StoredRollBackContinuesItsChain)
{
    for (int fail = 0; fail <= 1; ++fail) {
        MessageBoxRecorder boxes;
        MarkovTestTree model("_stage >= 4");
        model.WellDead(fail ? "1/0" : "0.5");
        int graphs = 0;
        auto previous = SetLineGraphPresenter([&graphs](const LineGraphData&) { ++graphs; });
        StoredAnalysis* rollBack = StoredAnalysis::New();
        rollBack->kind = RollBackKind;
        StoredAnalysis* markov = MakeMarkovRecord(model.markov, MarkovGraphRequest());
        rollBack->next = markov;
        RunStoredAnalysis(rollBack, &model.Document());
        SetLineGraphPresenter(previous);
        EXPECT_EQ(model.Document().IsRolledBack(), !fail);
        EXPECT_EQ(graphs, fail ? 0 : 1);
        EXPECT_EQ(rollBack->next, fail ? markov : nullptr);
        EXPECT_EQ(model.Document().CurrentAnalysis, nullptr);
        StoredAnalysis::Delete(markov);
        StoredAnalysis::Delete(rollBack);
    }
}

// A payoff of 100,000 terms rolls back from its text, then from its cached tree, and goes with the tree; none
// of it may take a native stack frame per term.
TEST(RollBackAnalysisRun, PayoffOfAHundredThousandTerms)
{
    MessageBoxRecorder boxes;
    std::string payoff = "1";
    for (int i = 1; i < 100000; ++i)
        payoff += "+1";
    auto tree = std::make_unique<TreeBuilder>();
    tree->Terminal(tree->Root(), "Long", "", payoff.c_str());
    tree->Terminal(tree->Root(), "Short", "", "1");
    for (int pass = 0; pass < 2; ++pass) {
        tree->Document().RolledBack = RolledBackValues::None;
        RunAnalysis(std::make_unique<RollBackAnalysis>(&tree->Document()));
        EXPECT_EQ(boxes.Count(), 0u);
        EXPECT_DOUBLE_EQ(tree->Document().Root->ExpectedValue(), 100000.0);
    }
    tree.reset();
}

}  // namespace

namespace {

void RollBack(TreeDocument& document)
{
    RunAnalysis(std::make_unique<RollBackAnalysis>(&document));
}

// The command checks probabilities on a tree made as the program makes one, with nothing switched on.
TEST(RollBackAnalysisRun, ProbabilitiesAreCheckedByDefault)
{
    struct Case {
        const char* first;
        const char* second;
        const char* message;  // null: rolls back
    };
    const Case cases[] = {
        {"0.3", "0.3", "The probabilities on the branches emanating from node \"Treat\" do not add up to 1.0."},
        {"1.2", "#", "The probability of node \"cured\" is not between zero and one."},
        {"0.3", "0.7", nullptr},
    };
    for (const Case& row : cases) {
        MessageBoxRecorder boxes;
        TwoStrategies model("60");
        model.cured->SetProbabilityText(row.first, false);
        model.notCured->SetProbabilityText(row.second, false);
        RollBack(model.tree.Document());
        EXPECT_EQ(model.tree.Document().IsRolledBack(), row.message == nullptr) << row.first;
        ASSERT_EQ(boxes.Count(), row.message == nullptr ? 0u : 1u) << row.first;
        if (row.message != nullptr) {
            EXPECT_EQ(boxes.Last().text, row.message);
        }
    }
}

// After Roll Back, a change through the model's setters ends the rolled-back state (and its refresh
// pause), so the next Roll Back computes with the change. Treat is 0.2 of cost = 100 (20) against Wait 10.
TEST(RollBackAnalysisRun, ModelChangesEndTheRolledBackState)
{
    struct Case {
        const char* change;
        void (*apply)(TwoStrategies&);
        double value;
    };
    const Case cases[] = {
        {"probability", [](TwoStrategies& m) { m.cured->SetProbabilityText("0.7", false); }, 70.0},
        {"payoff", [](TwoStrategies& m) { m.cured->SetPayoffText("150", 0, false); }, 30.0},
        {"binding", [](TwoStrategies& m) { m.tree.Document().Root->SetBinding("cost", "200", false); }, 40.0},
        {"shape", [](TwoStrategies& m) { m.tree.Terminal(m.tree.Root(), "Refer", "", "35"); }, 35.0},
        {"removal", [](TwoStrategies& m) { m.treat->RemoveChild(m.cured); delete m.cured; }, 10.0},
        {"kind", [](TwoStrategies& m) { m.treat->SetKind(DecisionNode, false); }, 100.0},
        {"Markov formula", [](TwoStrategies& m) { m.cured->SetMarkovTransitionReward("1", 0); }, 20.0},
    };
    for (const Case& row : cases) {
        MessageBoxRecorder boxes;
        TwoStrategies model("10");
        TreeDocument& document = model.tree.Document();
        model.tree.Bind(document.Root, "cost", "100");
        model.cured->SetProbabilityText("0.2", false);
        model.cured->SetPayoffText("cost", 0, false);
        model.notCured->SetPayoffText("0", 0, false);
        RollBack(document);
        ASSERT_NEAR(document.Root->ExpectedValue(), 20.0, 1e-12);
        // A detached copy is not the tree: making one leaves the values current.
        delete new TreeNode(*model.treat, true);
        ASSERT_EQ(document.RolledBack, RolledBackValues::Computed) << row.change;
        row.apply(model);
        EXPECT_EQ(document.RolledBack, RolledBackValues::None) << row.change;
        EXPECT_EQ(document.SuspendChildRefresh, 0) << row.change;
        RollBack(document);
        EXPECT_NEAR(document.Root->ExpectedValue(), row.value, 1e-12) << row.change;
    }
}

}  // namespace

namespace {

// Every kind of tie on an optimal path gives the "two or more optimal" box.
TEST(RollBackAnalysisRun, EveryTieOnTheOptimalPathWarns)
{
    struct Case {
        const char* tie;
        void (*build)(TreeBuilder&);
    };
    const Case cases[] = {
        {"two chance branches",
         [](TreeBuilder& t) {
             TreeNode* a = t.Add(t.Root(), ChanceNode, "A");
             t.Terminal(a, "a1", "0.5", "100");
             t.Terminal(a, "a2", "#", "40");
             TreeNode* b = t.Add(t.Root(), ChanceNode, "B");
             t.Terminal(b, "b1", "0.5", "80");
             t.Terminal(b, "b2", "#", "60");
         }},
        {"chance branch and terminal",
         [](TreeBuilder& t) {
             TreeNode* a = t.Add(t.Root(), ChanceNode, "A");
             t.Terminal(a, "a1", "0.4", "100");
             t.Terminal(a, "a2", "#", "50");
             t.Terminal(t.Root(), "B", "", "70");
         }},
        {"decision below a chance node",
         [](TreeBuilder& t) {
             TreeNode* a = t.Add(t.Root(), ChanceNode, "A");
             TreeNode* inner = t.Add(a, DecisionNode, "inner", "0.5");
             t.Terminal(inner, "x", "", "5");
             t.Terminal(inner, "y", "", "5");
             t.Terminal(a, "a2", "#", "1");
         }},
    };
    for (const Case& row : cases) {
        MessageBoxRecorder boxes;
        TreeBuilder tree;
        row.build(tree);
        RollBack(tree.Document());
        EXPECT_EQ(tree.Document().RolledBack, RolledBackValues::Computed) << row.tie;
        ASSERT_EQ(boxes.Count(), 1u) << row.tie;
        EXPECT_EQ(boxes.Last().text, RollBackAnalysis::kMultipleOptimaText) << row.tie;
    }
}

}  // namespace

namespace {

// Cost-effectiveness at a decision node (cost, effectiveness): A (10, 2), its exact twin B (10, 2) and
// C (40, 3); the most effective strategy within the cost ceiling is optimal. Of twins the later one is
// sorted first and chosen. With no strategy under the ceiling the node gets no optimal child and the roll
// back stops with a message, so no made-up value reaches the root.
TEST(RollBackAnalysisRun, CostEffectiveDecisionChoosesWithinTheCeiling)
{
    struct Case {
        const char* ceiling;
        int optimal;  // child index, -1 for none
    };
    const Case cases[] = {{"100", 2}, {"20", 1}, {"5", -1}};
    for (const Case& row : cases) {
        MessageBoxRecorder boxes;
        TreeBuilder tree;
        TreeDocument& document = tree.Document();
        document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
        document.CalcPrefs.CECostPayoff = 0;
        document.CalcPrefs.CEEffPayoff = 1;
        document.CESettings.willingnessToPay.SetText("0");
        document.CESettings.useCostCeiling = 1;
        document.CESettings.costCeiling.SetText(row.ceiling);
        document.Root->SetText("Choice", false);
        tree.Terminal(tree.Root(), "A", "", "10", "2");
        tree.Terminal(tree.Root(), "B", "", "10", "2");
        tree.Terminal(tree.Root(), "C", "", "40", "3");
        RollBack(document);
        ASSERT_NE(document.Root->optimal, nullptr) << row.ceiling;
        if (row.optimal < 0) {
            EXPECT_EQ(document.RolledBack, RolledBackValues::None);
            EXPECT_EQ(document.Root->optimal->Count(), 0);
            ASSERT_EQ(boxes.Count(), 1u);
            EXPECT_EQ(boxes.Last().text, "No strategy of the decision node \"Choice\" is within the cost-effectiveness "
                                         "limits. Unable to choose its optimal strategy.");
            continue;
        }
        EXPECT_EQ(boxes.Count(), 0u) << row.ceiling;
        ASSERT_EQ(document.Root->optimal->Count(), 1) << row.ceiling;
        EXPECT_EQ(document.Root->optimal->At(0), document.Root->GetChild(row.optimal)) << row.ceiling;
    }
}

}  // namespace
