// The one-way sensitivity analysis end to end on A = chance(p -> 100, 1 - p -> 0) against B = 50.

#include "analysis/OneWaySensitivityAnalysis.h"
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
        (new Recorded(tree.Root(), settings, found))->Run();
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
    (new OneWaySensitivityAnalysis(choice.tree.Root(), settings))->Run();
    AnalysisRun* run = choice.tree.Document().CurrentAnalysis;
    for (int i = 0; i < 4; ++i)
        run->OnIdle();
    EXPECT_STREQ(choice.tree.Root()->FindBinding("P", true)->definition.Text().Text(), "0.25");
    delete run;  // what a stopped run comes to, without presenting anything
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
