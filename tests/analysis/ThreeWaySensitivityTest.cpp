// The three-way sensitivity analysis on a cost-effectiveness choice: A costs c with effectiveness 2, B costs
// 10 with effectiveness w.

#include "analysis/StoredAnalysisKinds.h"
#include "analysis/StrategyBoundaryTable.h"
#include "analysis/ThreeWaySensitivityAnalysis.h"
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

TEST(ThreeWaySensitivity, CostEffectivenessMapsKeepWholeTriplesAndStoreTheRun)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    TreeDocument& document = tree.Document();
    document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    document.CalcPrefs.CECostPayoff = 0;
    document.CalcPrefs.CEEffPayoff = 1;
    tree.Bind(tree.Root(), "c", "5");
    tree.Bind(tree.Root(), "d", "1");
    tree.Bind(tree.Root(), "w", "3");
    tree.Terminal(tree.Root(), "A", "", "c + d", "2");
    tree.Terminal(tree.Root(), "B", "", "10", "w");
    ThreeWaySettings settings;
    settings.x = {"c", Value("0", 0.0), Value("20", 20.0), 1};
    settings.y = {"d", Value("0", 0.0), Value("1", 1.0), 1};
    settings.z = {"w", Value("1", 1.0), Value("4", 4.0), 1};
    std::vector<std::shared_ptr<StrategyRegionMap>> maps;
    auto previous = SetThreeWaySensitivityPresenter([&](const ThreeWaySensitivityResults& r) { maps = r.maps; });
    RunAnalysis(std::make_unique<ThreeWaySensitivityAnalysis>(tree.Root(), settings));
    ASSERT_NE(document.CurrentAnalysis, nullptr);
    EXPECT_EQ(document.CurrentAnalysis->ProgressTotal(), 16.0);
    while (document.CurrentAnalysis != nullptr)
        document.CurrentAnalysis->OnIdle();
    SetThreeWaySensitivityPresenter(previous);
    ASSERT_EQ(maps.size(), 2u);
    // Cost c + d and effectiveness 2 for A, cost 10 and effectiveness w for B, on every map.
    for (int z = 0; z < 2; ++z) {
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 2; ++x) {
                EXPECT_DOUBLE_EQ(maps[z]->Cost(0, y, x), 20.0 * x + y);
                EXPECT_DOUBLE_EQ(maps[z]->Effectiveness(0, y, x), 2.0);
                EXPECT_DOUBLE_EQ(maps[z]->Cost(1, y, x), 10.0);
                EXPECT_DOUBLE_EQ(maps[z]->Effectiveness(1, y, x), z == 0 ? 1.0 : 4.0);
            }
        }
    }
    // Compared by cost, the two strategies trade places between x = 0 and x = 20.
    StrategyBoundaryTable table(*maps[1]);
    EXPECT_GT(table.Entry(0, 1)->Count(), 1);
    EXPECT_STREQ(tree.Root()->FindBinding("W", true)->definition.Text().Text(), "3");

    ASSERT_NE(document.LastAnalysis, nullptr);
    StoredAnalysis* record = document.LastAnalysis->Clone();
    zString text;
    DescribeStoredAnalysis(&document, record, text);
    EXPECT_STREQ(text.Text(), "Sens(3) on C, D, W\r\nAt the unnamed root node\r\nC: 0 to 20; 1 Intervals\r\n"
                              "D: 0 to 1; 1 Intervals\r\nW: 1 to 4; 1 Intervals");
    RunStoredAnalysis(record, &document);
    ASSERT_NE(document.CurrentAnalysis, nullptr);
    while (document.CurrentAnalysis != nullptr)
        document.CurrentAnalysis->OnIdle();
    EXPECT_EQ(boxes.Count(), 0u);
    tree.Root()->ClearChildren();
    RunStoredAnalysis(record, &document);
    EXPECT_EQ(document.CurrentAnalysis, nullptr);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The analysis cannot be performed. The tree structure is too different.");
    StoredAnalysis::Delete(record);
}

}  // namespace
