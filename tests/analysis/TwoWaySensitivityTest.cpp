// The two-way sensitivity analysis end to end on A = chance(p -> 100, 1 - p -> 0) against B = v.

#include "analysis/StoredAnalysisKinds.h"
#include "analysis/TwoWaySensitivityAnalysis.h"
#include "analysis/VariableSubstitution.h"
#include "widgets/EscapeKey.h"
#include "model/StoredAnalysis.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

namespace {

FormattedValue Value(const char* text, double value)
{
    FormattedValue formatted;
    formatted.text = text;
    formatted.value = value;
    return formatted;
}

struct Choice {
    Choice()
    {
        tree.Bind(tree.Root(), "p", "0.2 + 0.1");
        tree.Bind(tree.Root(), "v", "50");
        TreeNode* a = tree.Add(tree.Root(), ChanceNode, "A");
        tree.Terminal(a, "win", "p", "100");
        tree.Terminal(a, "lose", "#", "0");
        tree.Terminal(tree.Root(), "B", "", "v");
    }
    TwoWaySettings Settings(int intervals, bool check = true) const
    {
        TwoWaySettings settings;
        settings.x = {"p", Value("0", 0.0), Value("1", 1.0), intervals};
        settings.y = {"v", Value("0", 0.0), Value("100", 100.0), intervals};
        settings.checkCoherence = check;
        return settings;
    }
    void RunToEnd()
    {
        while (tree.Document().CurrentAnalysis != nullptr)
            tree.Document().CurrentAnalysis->OnIdle();
    }
    bool Restored()
    {
        return zString(tree.Root()->FindBinding("P", true)->definition.Text().Text()) == "0.2 + 0.1" &&
               zString(tree.Root()->FindBinding("V", true)->definition.Text().Text()) == "50";
    }
    TreeBuilder tree;
};

TEST(TwoWaySensitivity, FillsTheMapStrategyThenXThenYAndRestores)
{
    Choice choice;
    std::shared_ptr<StrategyRegionMap> shown;
    auto previous = SetTwoWaySensitivityPresenter([&](const TwoWaySensitivityResults& r) { shown = r.map; });
    RunAnalysis(std::make_unique<TwoWaySensitivityAnalysis>(choice.tree.Root(), choice.Settings(1, false)));
    auto* run = static_cast<TwoWaySensitivityAnalysis*>(choice.tree.Document().CurrentAnalysis);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->ProgressTotal(), 8.0);
    int steps = 0;
    while (choice.tree.Document().CurrentAnalysis != nullptr && ++steps)
        choice.tree.Document().CurrentAnalysis->OnIdle();
    SetTwoWaySensitivityPresenter(previous);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(choice.tree.Document().CheckingFlag, 1);
    EXPECT_TRUE(choice.Restored());
    // A = 100 p along x, B = v along y.
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x) {
            EXPECT_DOUBLE_EQ(shown->Value(0, y, x), 100.0 * x);
            EXPECT_DOUBLE_EQ(shown->Value(1, y, x), 100.0 * y);
        }
    }

    // Stopped halfway by Escape: the definitions come back as well.
    RunAnalysis(std::make_unique<TwoWaySensitivityAnalysis>(choice.tree.Root(), choice.Settings(2)));
    AnalysisRun* stopped = choice.tree.Document().CurrentAnalysis;
    for (int i = 0; i < 7; ++i)
        stopped->OnIdle();
    EXPECT_FALSE(choice.Restored());
    auto keys = SetEscapeKeySource([] { return true; });
    choice.RunToEnd();
    SetEscapeKeySource(keys);
    EXPECT_TRUE(choice.Restored());
}

TEST(TwoWaySensitivity, StoredRecordDescribesReRunsAndRefusesAnotherTree)
{
    MessageBoxRecorder boxes;
    Choice choice;
    TreeDocument& document = choice.tree.Document();
    RunAnalysis(std::make_unique<TwoWaySensitivityAnalysis>(choice.tree.Root(), choice.Settings(2, false)));
    choice.RunToEnd();
    ASSERT_NE(document.LastAnalysis, nullptr);
    StoredAnalysis* record = document.LastAnalysis->Clone();
    zString text;
    DescribeStoredAnalysis(&document, record, text);
    EXPECT_STREQ(text.Text(), "Sens(2) on P and V\r\nAt the unnamed root node\r\nP: 0 to 1; 2 Intervals\r\n"
                              "V: 0 to 100; 2 Intervals\r\n");

    RunStoredAnalysis(record, &document);
    auto* rerun = static_cast<TwoWaySensitivityAnalysis*>(document.CurrentAnalysis);
    ASSERT_NE(rerun, nullptr);
    EXPECT_NE(rerun->coherenceGuard, nullptr);
    EXPECT_EQ(rerun->ProgressTotal(), 18.0);
    choice.RunToEnd();
    EXPECT_EQ(boxes.Count(), 0u);

    choice.tree.Root()->ClearChildren();
    RunStoredAnalysis(record, &document);
    EXPECT_EQ(document.CurrentAnalysis, nullptr);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The analysis cannot be performed. The tree structure is too different.");
    StoredAnalysis::Delete(record);
}

TEST(TwoWaySensitivity, MapTooLargeForMemoryIsReported)
{
    MessageBoxRecorder boxes;
    Choice choice;
    RunAnalysis(std::make_unique<TwoWaySensitivityAnalysis>(choice.tree.Root(), choice.Settings(30000)));
    EXPECT_EQ(choice.tree.Document().CurrentAnalysis, nullptr);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_STREQ(boxes.Last().text.c_str(), kNotEnoughMemoryText);
    EXPECT_TRUE(choice.Restored());
}

}  // namespace
