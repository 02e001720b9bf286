// Threshold analysis end to end: refinement levels, interpolation, several crossings and the report text.

#include "analysis/ThresholdAnalysis.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

namespace {

// A decision between A (a payoff of X) and B (a constant), X swept from 0 to 10 in 4 intervals per level.
struct Sweep {
    Sweep(const char* payoffA, const char* payoffB)
    {
        tree.Bind(tree.Root(), "X", "1");
        a = tree.Terminal(tree.Root(), "A", "", payoffA);
        b = tree.Terminal(tree.Root(), "B", "", payoffB);
    }
    ThresholdResults Run(std::set<double>* widths = nullptr)
    {
        ThresholdSettings settings;
        settings.variable = "X";
        settings.low = FormattedValue{"0", 0.0};
        settings.high = FormattedValue{"10", 10.0};
        settings.intervals = 4;
        settings.tolerance = 0.01;
        ThresholdResults results;
        auto previous = SetThresholdResultsPresenter([&results](const ThresholdResults& r) { results = r; });
        RunAnalysis(std::make_unique<ThresholdAnalysis>(tree.Root(), settings));
        while (AnalysisRun* run = tree.Document().CurrentAnalysis) {
            auto* threshold = static_cast<ThresholdAnalysis*>(run);
            if (widths != nullptr && threshold->grid != nullptr)
                widths->insert(threshold->grid->High() - threshold->grid->Low());
            run->OnIdle();
        }
        SetThresholdResultsPresenter(previous);
        EXPECT_STREQ(tree.Root()->FindBinding("X", true)->definition.Text().Text(), "1");
        return results;
    }
    TreeBuilder tree;
    TreeNode* a;
    TreeNode* b;
};

TEST(ThresholdAnalysis, RefinesEachCrossingDownToTheTolerance)
{
    Sweep sweep("X * X", "10");
    std::set<double> widths;
    ThresholdResults results = sweep.Run(&widths);
    EXPECT_EQ(widths, (std::set<double>{10, 2.5, 0.625, 0.15625, 0.0390625}));
    ASSERT_EQ(results.Count(), 1);
    EXPECT_NEAR(results.thresholds[0].x, std::sqrt(10.0), 0.01);
    EXPECT_EQ(results.thresholds[0].node, sweep.b);
    EXPECT_EQ(results.lastChoice, sweep.a);
    EXPECT_EQ(results.decimals, 3);
}

TEST(ThresholdAnalysis, FindsTwoCrossingsAndReportsEveryInterval)
{
    Sweep sweep("(X - 5) * (X - 5)", "4");
    ThresholdResults results = sweep.Run();
    ASSERT_EQ(results.Count(), 2);
    EXPECT_NEAR(results.thresholds[0].x, 3.0, 0.01);
    EXPECT_NEAR(results.thresholds[1].x, 7.0, 0.01);
    EXPECT_EQ(results.thresholds[0].node, sweep.a);
    EXPECT_EQ(results.thresholds[1].node, sweep.b);
    zString text;
    results.IntervalText(1, true, text);
    std::string middle = text.Text();
    EXPECT_EQ(middle.substr(0, 18), "For \"X\" between 3.");
    EXPECT_NE(middle.find("\n and 7."), std::string::npos) << middle;
    EXPECT_NE(middle.find(", the optimal\n choice is \"B\"."), std::string::npos) << middle;
    results.ReportText(text);
    std::string report = text.Text();
    EXPECT_EQ(report.rfind("KIVO(tm) Threshold Analysis:\r\nTolerance of +/- 0.01\r\nFor \"X\" between 0 and 3.", 0),
              0u)
        << report;
    EXPECT_NE(report.find("the optimal choice is \"A\".\r\nEV at threshold: $4\r\n"), std::string::npos) << report;
    EXPECT_NE(report.find(" and 10.000, the optimal choice is \"A\".\r\n"), std::string::npos) << report;
}

TEST(ThresholdAnalysis, NoChangeGivesOneInterval)
{
    Sweep sweep("X + 20", "4");
    ThresholdResults results = sweep.Run();
    EXPECT_EQ(results.Count(), 0);
    zString text;
    results.IntervalText(0, false, text);
    EXPECT_STREQ(text.Text(), "For \"X\" between 0 and 10.000, the optimal choice is \"A\".");
    results.ThresholdText(0, text);
    EXPECT_TRUE(text.IsEmpty());
}

}  // namespace
