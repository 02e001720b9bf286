// The one-way sensitivity analysis end to end on A = chance(p -> 100, 1 - p -> 0) against B = 50.

#include "analysis/OneWaySensitivityAnalysis.h"
#include "analysis/StoredAnalysisKinds.h"
#include "model/StoredAnalysis.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

FormattedValue Value(const char* text, double value)
{
    FormattedValue formatted;
    formatted.text = text;
    formatted.value = value;
    return formatted;
}

struct Found {
    std::vector<ThresholdPoint> thresholds;
    int evaluations = 0;
    bool shown = false;
};

// Keeps what the result window would be given.
class Recorded : public OneWaySensitivityAnalysis {
public:
    Recorded(TreeNode* node, const OneWaySettings& settings, Found& found)
        : OneWaySensitivityAnalysis(node, settings), found(found) {}
    int Step() override
    {
        ++found.evaluations;
        return OneWaySensitivityAnalysis::Step();
    }
    void ShowResults() override
    {
        found.shown = true;
        for (int i = 0; i < thresholds.Count(); ++i)
            found.thresholds.push_back(*thresholds.At(i));
    }
    Found& found;
};

struct Choice {
    Choice()
    {
        tree.Bind(tree.Root(), "p", "0.2 + 0.1");
        a = tree.Add(tree.Root(), ChanceNode, "A");
        tree.Terminal(a, "win", "p", "100");
        tree.Terminal(a, "lose", "#", "0");
        b = tree.Terminal(tree.Root(), "B", "", "50");
    }
    Found Sweep(const char* variable, int intervals, bool nodeOnly = false)
    {
        OneWaySettings settings;
        settings.variable = variable;
        settings.low = Value("0", 0.0);
        settings.high = Value("1", 1.0);
        settings.intervals = intervals;
        settings.nodeOnly = nodeOnly;
        Found found;
        RunAnalysis(std::make_unique<Recorded>(tree.Root(), settings, found));
        while (tree.Document().CurrentAnalysis != nullptr)
            tree.Document().CurrentAnalysis->OnIdle();
        return found;
    }
    TreeBuilder tree;
    TreeNode* a;
    TreeNode* b;
};

TEST(OneWaySensitivity, FindsTheSwitchAtOneHalfAndRestoresTheTree)
{
    const struct {
        int intervals;
        double tolerance;
    } cases[] = {{4, 0.0}, {3, 1e-8}};
    for (const auto& c : cases) {
        Choice choice;
        Found found = choice.Sweep("P", c.intervals);
        ASSERT_EQ(found.thresholds.size(), 1u) << c.intervals;
        EXPECT_NEAR(found.thresholds[0].x, 0.5, c.tolerance);
        EXPECT_NEAR(found.thresholds[0].value, 50.0, 1e-6);
        EXPECT_EQ(found.thresholds[0].node, choice.b);
        EXPECT_STREQ(choice.tree.Root()->FindBinding("P", true)->definition.Text().Text(), "0.2 + 0.1");
    }
}

TEST(OneWaySensitivity, StoppedRunPutsTheDefinitionBack)
{
    Choice choice;
    OneWaySettings settings;
    settings.variable = "p";
    settings.low = Value("0", 0.0);
    settings.high = Value("1", 1.0);
    settings.intervals = 4;
    RunAnalysis(std::make_unique<OneWaySensitivityAnalysis>(choice.tree.Root(), settings));
    AnalysisRun* run = choice.tree.Document().CurrentAnalysis;
    for (int i = 0; i < 4; ++i)
        run->OnIdle();
    EXPECT_STREQ(choice.tree.Root()->FindBinding("P", true)->definition.Text().Text(), "0.25");
    run->End(nullptr);  // what a stopped run comes to, without presenting anything
    EXPECT_STREQ(choice.tree.Root()->FindBinding("P", true)->definition.Text().Text(), "0.2 + 0.1");
}

// Later steps check only the probabilities that can change; one that leaves its range at the fourth step is
// still reported, with the step's value, and stops the run.
TEST(OneWaySensitivity, AProbabilityLeavingItsRangeMidSweepStopsTheRun)
{
    MessageBoxRecorder boxes;
    Choice choice;
    TreeNode* fixed = choice.tree.Add(choice.tree.Root(), ChanceNode, "C");
    choice.tree.Terminal(fixed, "c1", "1/4", "10");
    choice.tree.Terminal(fixed, "c2", "#", "20");
    OneWaySettings settings;
    settings.variable = "p";
    settings.low = Value("0", 0.0);
    settings.high = Value("2", 2.0);
    settings.intervals = 4;
    Found found;
    RunAnalysis(std::make_unique<Recorded>(choice.tree.Root(), settings, found));
    while (choice.tree.Document().CurrentAnalysis != nullptr)
        choice.tree.Document().CurrentAnalysis->OnIdle();
    EXPECT_EQ(found.evaluations, 3 * 3 + 1);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The probability of node \"win\" is not between zero and one.\r\n\r\nWhen:\np = 1.5");
    EXPECT_STREQ(choice.tree.Root()->FindBinding("P", true)->definition.Text().Text(), "0.2 + 0.1");
}

TEST(OneWaySensitivity, EvaluatesEveryBranchAtEveryStep)
{
    Choice choice;
    choice.tree.Terminal(choice.tree.Root(), "C", "", "10");
    EXPECT_EQ(choice.Sweep("p", 4).evaluations, 15);
    Found nodeOnly = choice.Sweep("p", 4, true);
    EXPECT_EQ(nodeOnly.evaluations, 5);
    EXPECT_TRUE(nodeOnly.shown);
    EXPECT_TRUE(nodeOnly.thresholds.empty());
}

TEST(OneWaySensitivity, FlatSweepAndMissingVariableShowTheirErrors)
{
    MessageBoxRecorder boxes;
    Choice choice;
    choice.tree.Bind(choice.tree.Root(), "q", "1");
    Found flat = choice.Sweep("q", 4, true);
    EXPECT_FALSE(flat.shown);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "All outcomes are equal. The analysis had no effect on the optimal path (or "
                                 "expected value) at the selected node.");
    Found missing = choice.Sweep("r", 4);
    EXPECT_EQ(missing.evaluations, 0);
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Last().text, "The variable \"r\" has no definitions.");
}

}  // namespace

namespace {

// The record of a finished run describes it, runs it again with its checking setting and refuses a tree
// under another calculation method.
TEST(OneWaySensitivity, StoredRecordRunsAgainOnlyOnATreeItFits)
{
    MessageBoxRecorder boxes;
    Choice choice;
    TreeDocument& document = choice.tree.Document();
    OneWaySettings settings;
    settings.variable = "p";
    settings.low = Value("0", 0.0);
    settings.high = Value("1", 1.0);
    settings.intervals = 4;
    settings.checkCoherence = false;
    RunAnalysis(std::make_unique<OneWaySensitivityAnalysis>(choice.tree.Root(), settings));
    EXPECT_EQ(document.CheckingFlag, 0);
    while (document.CurrentAnalysis != nullptr)
        document.CurrentAnalysis->OnIdle();
    EXPECT_EQ(document.CheckingFlag, 1);
    ASSERT_NE(document.LastAnalysis, nullptr);
    StoredAnalysis* record = document.LastAnalysis->Clone();
    zString text;
    DescribeStoredAnalysis(&document, record, text);
    EXPECT_STREQ(text.Text(), "Sensitivity Analysis on p\r\nAt the unnamed root node\r\nLow = 0\r\nHigh = 1\r\n4 Intervals");

    RunStoredAnalysis(record, &document);
    auto* rerun = static_cast<OneWaySensitivityAnalysis*>(document.CurrentAnalysis);
    ASSERT_NE(rerun, nullptr);
    EXPECT_NE(rerun->coherenceGuard, nullptr);
    EXPECT_EQ(rerun->ranges.RangeAt(0)->bindings.Count(), 1);
    while (document.CurrentAnalysis != nullptr)
        document.CurrentAnalysis->OnIdle();
    EXPECT_EQ(boxes.Count(), 0u);

    document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    RunStoredAnalysis(record, &document);
    EXPECT_EQ(document.CurrentAnalysis, nullptr);
    EXPECT_EQ(boxes.Last().text, "The analysis cannot be performed. The tree structure is too different.");
    StoredAnalysis::Delete(record);
}

TEST(OneWaySensitivity, PlainSweepDrawsOneLinePerBranchWithItsThreshold)
{
    Choice choice;
    std::vector<LineGraphData> graphs;
    auto previous = SetLineGraphPresenter([&graphs](const LineGraphData& graph) { graphs.push_back(graph); });
    OneWaySettings settings;
    settings.variable = "p";
    settings.low = Value("0", 0.0);
    settings.high = Value("1", 1.0);
    settings.intervals = 4;
    RunAnalysis(std::make_unique<OneWaySensitivityAnalysis>(choice.tree.Root(), settings));
    while (choice.tree.Document().CurrentAnalysis != nullptr)
        choice.tree.Document().CurrentAnalysis->OnIdle();
    SetLineGraphPresenter(previous);
    ASSERT_EQ(graphs.size(), 1u);
    const LineGraphData& graph = graphs[0];
    EXPECT_EQ(graph.title, "Sensitivity Analysis on p");
    ASSERT_EQ(graph.lines.size(), 2u);
    EXPECT_EQ(graph.lines[0].name, "A");
    EXPECT_EQ(graph.lines[0].values, (std::vector<double>{0, 25, 50, 75, 100}));
    EXPECT_EQ(graph.vertical.bottom, 0);
    EXPECT_EQ(graph.vertical.top, 100);
    ASSERT_EQ(graph.thresholds.size(), 1u);
    // Steps of 0.25 need two places.
    EXPECT_EQ(graph.horizontal.digits, 2);
}

// Sweeping the risk preference coefficient changes the tree's function at each step and puts it back.
TEST(OneWaySensitivity, RiskCoefficientSweepRestoresTheCoefficient)
{
    MessageBoxRecorder boxes;
    Choice choice;
    TreeDocument& document = choice.tree.Document();
    document.RiskAssessment.type = 1;
    document.RiskAssessment.coefficient = 250;
    document.CalcPrefs.UseUtility = 1;
    OneWaySettings settings;
    settings.variable = "risk preference coeff.";
    settings.low = Value("10", 10.0);
    settings.high = Value("1000", 1000.0);
    settings.intervals = 3;
    Found found;
    RunAnalysis(std::make_unique<Recorded>(choice.tree.Root(), settings, found));
    AnalysisRun* run = document.CurrentAnalysis;
    run->OnIdle();
    run->OnIdle();
    EXPECT_EQ(document.RiskAssessment.coefficient, 10);
    while (document.CurrentAnalysis != nullptr)
        document.CurrentAnalysis->OnIdle();
    EXPECT_EQ(document.RiskAssessment.coefficient, 250);
    EXPECT_TRUE(found.shown);
    EXPECT_EQ(boxes.Count(), 0u);
}

}  // namespace
