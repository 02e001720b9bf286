// Two-way sensitivity and tornado runs handing their maps and bars to graph windows inside the main frame.

#include "analysis/ThreeWaySensitivityAnalysis.h"
#include "analysis/TornadoDiagram.h"
#include "analysis/TwoWaySensitivityAnalysis.h"
#include "analysis/VariableRange.h"
#include "app/MainFrame.h"
#include "foundation/NumericFormat.h"
#include "foundation/TextReport.h"
#include "graph/SensitivityRegionGraphs.h"
#include "graph/TornadoGraph.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class SensitivityGraphs : public ::testing::Test {
protected:
    SensitivityGraphs()
    {
        frame = new MainFrame;
        frame->EndStartup();
        frame->Show(SW_SHOWNOACTIVATE);
        tree.Bind(tree.Root(), "p", "0.3");
        tree.Bind(tree.Root(), "v", "50");
        TreeNode* a = tree.Add(tree.Root(), ChanceNode, "A");
        tree.Terminal(a, "win", "p", "100");
        tree.Terminal(a, "lose", "#", "0");
        tree.Terminal(tree.Root(), "B", "", "v");
        InstallSensitivityRegionGraphs();
        InstallTornadoGraphs();
    }
    ~SensitivityGraphs() override
    {
        SetTwoWaySensitivityPresenter(nullptr);
        SetThreeWaySensitivityPresenter(nullptr);
        SetTornadoPresenter(nullptr);
        delete frame;
    }
    template <class Graph>
    Graph* OnlyGraph()
    {
        std::vector<WindowCL*> windows;
        frame->CollectWindows(windows);
        return windows.size() == 1 ? dynamic_cast<Graph*>(windows[0]) : nullptr;
    }
    void RunToEnd()
    {
        while (tree.Document().CurrentAnalysis != nullptr)
            tree.Document().CurrentAnalysis->OnIdle();
    }

    FocusTestLock focus;
    ScopedApplication app;
    MainFrame* frame;
    MessageBoxRecorder boxes;
    TreeBuilder tree;
};

// The graph keeps the map, its boundary between A and B, and exports the map as text in its axes' formats.
TEST_F(SensitivityGraphs, TwoWayGraphOwnsItsMapAndBoundaries)
{
    TwoWaySettings settings;
    settings.x = {"p", FormattedValue{"0", 0.0}, FormattedValue{"1", 1.0}, 4};
    settings.y = {"v", FormattedValue{"0", 0.0}, FormattedValue{"100", 100.0}, 4};
    RunAnalysis(std::make_unique<TwoWaySensitivityAnalysis>(tree.Root(), settings));
    RunToEnd();
    auto* graph = OnlyGraph<TwoWaySensGraph>();
    ASSERT_NE(graph, nullptr);
    ASSERT_TRUE(graph->valueMap);
    EXPECT_EQ(graph->valueMap->CellCount(), 2 * 5 * 5);
    ASSERT_NE(graph->boundaries->Entry(0, 1), nullptr);
    EXPECT_GT(graph->boundaries->Entry(0, 1)->Count(), 0);
    // The x values follow the horizontal axis's format and the y values the vertical axis's, each with one
    // place more than the axis shows.
    graph->horizontalAxis.numberFormat.unitsKind = NumericFormat::UnitsNone;
    graph->horizontalAxis.numberFormat.axisDigits = 2;
    graph->verticalAxis.numberFormat.unitsKind = NumericFormat::UnitsTextAfter;
    graph->verticalAxis.numberFormat.unitsText = "pts";
    graph->verticalAxis.numberFormat.axisDigits = 0;
    TextReport report;
    EXPECT_TRUE(graph->WriteTextExport(report));
    ASSERT_EQ(report.ColumnHeaders().Count(), 6);
    EXPECT_STREQ(report.ColumnHeaders().At(2)->Text(), "0.250");
    const std::string top = report.Lines().At(1)->Text();
    EXPECT_EQ(top.substr(0, top.find('\t')), "100.0 pts");
}

// A swept variable's axis runs exactly over its range in its intervals when they fall on round values, else on
// round ticks, in the tree's format with the places the range needs but no currency (a swept variable is no
// money), and names the variables that move with it; the three-way step label likewise.
TEST_F(SensitivityGraphs, SweptAxesShowTheRangeInItsIntervals)
{
    auto ticks = [](const AxisElement& axis) {
        std::vector<std::string> texts;
        for (int i = 0; i <= axis.IntervalCount(); ++i)
            texts.push_back(axis.ValueText(axis.valueBottom + i * axis.interval).Text());
        return texts;
    };
    // Runs the sweep to its end with `moving` bound at the root to `value` and correlated to the axis.
    auto sweep = [&](auto run, int axis, const char* moving, const char* value, FormattedValue low,
                     FormattedValue high) {
        tree.Bind(tree.Root(), moving, value);
        run->AxisRanges(axis).Add(new VariableRange(zString(moving), low, high));
        RunAnalysis(std::move(run));
        RunToEnd();
    };
    const std::vector<std::string> probabilities{"0.3", "0.4", "0.5", "0.6", "0.7"};
    TwoWaySettings two;
    two.x = {"p", FormattedValue{"0.3", 0.3}, FormattedValue{"0.7", 0.7}, 4};
    two.y = {"v", FormattedValue{"0", 0.0}, FormattedValue{"2000", 2000.0}, 5};
    // w moves with p: the horizontal axis names it with its range.
    sweep(std::make_unique<TwoWaySensitivityAnalysis>(tree.Root(), two), 0, "w", "1", FormattedValue{"1", 1.0},
          FormattedValue{"0", 0.0});
    auto* twoWay = OnlyGraph<TwoWaySensGraph>();
    ASSERT_NE(twoWay, nullptr);
    EXPECT_EQ(ticks(twoWay->horizontalAxis), probabilities);
    EXPECT_EQ(ticks(twoWay->verticalAxis),
              (std::vector<std::string>{"0", "400", "800", "1,200", "1,600", "2,000"}));
    EXPECT_STREQ(twoWay->horizontalLabel.text.Text(), "p [w:  1 .. 0]");
    EXPECT_STREQ(twoWay->verticalLabel.text.Text(), "v");
    delete twoWay;

    // Steps of no round size (0.9 / 26) leave the ticks at round values: the nearest 1-2-5 step, 0.05.
    two.x = {"p", FormattedValue{"0", 0.0}, FormattedValue{"0.9", 0.9}, 26};
    RunAnalysis(std::make_unique<TwoWaySensitivityAnalysis>(tree.Root(), two));
    RunToEnd();
    twoWay = OnlyGraph<TwoWaySensGraph>();
    ASSERT_NE(twoWay, nullptr);
    const std::vector<std::string> rounded = ticks(twoWay->horizontalAxis);
    ASSERT_EQ(rounded.size(), 19u);
    EXPECT_EQ(rounded[0], "0.00");
    EXPECT_EQ(rounded[7], "0.35");
    EXPECT_EQ(rounded[18], "0.90");
    delete twoWay;

    ThreeWaySettings three;
    three.x = {"v", FormattedValue{"0", 0.0}, FormattedValue{"100", 100.0}, 2};
    three.y = {"w", FormattedValue{"0", 0.0}, FormattedValue{"1", 1.0}, 2};
    three.z = {"p", FormattedValue{"0.3", 0.3}, FormattedValue{"0.7", 0.7}, 4};
    sweep(std::make_unique<ThreeWaySensitivityAnalysis>(tree.Root(), three), 1, "q", "0", FormattedValue{"2", 2.0},
          FormattedValue{"4", 4.0});
    auto* threeWay = OnlyGraph<ThreeWaySensGraph>();
    ASSERT_NE(threeWay, nullptr);
    EXPECT_EQ(ticks(threeWay->verticalAxis), (std::vector<std::string>{"0.0", "0.5", "1.0"}));
    EXPECT_STREQ(threeWay->verticalLabel.text.Text(), "w [q:  2 .. 4]");
    EXPECT_STREQ(threeWay->subtitle.text.Text(), "v and w and p");
    std::vector<std::string> steps;
    for (int k = 0; k < 5; ++k) {
        threeWay->stepLabel.SetStep(k, nullptr);
        steps.push_back(threeWay->stepLabel.text.Text());
    }
    EXPECT_EQ(steps, (std::vector<std::string>{"p = 0.3", "p = 0.4", "p = 0.5", "p = 0.6", "p = 0.7"}));
}

TEST_F(SensitivityGraphs, TornadoGraphOwnsItsBars)
{
    auto previous = SetTornadoSetupDialog([](TornadoSetupRequest& request) {
        for (const char* name : {"p", "v"}) {
            auto* bar = new TornadoSetup;
            bar->barName = name;
            bar->ranges.Add(new VariableRange(zString(name), FormattedValue{"0", 0.0}, FormattedValue{"1", 1.0}));
            request.bars->Add(bar);
        }
        request.intervals = 2;
        request.thisNodeOnly = 1;
        return true;
    });
    RunAnalysis(std::make_unique<TornadoDiagram>(&tree.Document(), tree.Root()));
    RunToEnd();
    SetTornadoSetupDialog(previous);
    auto* graph = OnlyGraph<TornadoGraph>();
    ASSERT_NE(graph, nullptr);
    ASSERT_EQ(graph->allBars->Count(), 2);
    // p over 0..1 moves A from 0 to 100 against B = 50: 50 .. 100; v over 0..1 leaves A's 30 best: no span.
    EXPECT_STREQ(graph->allBars->At(0)->barName.Text(), "p");
    EXPECT_EQ(graph->allBars->At(0)->highResult, 100.0);
    EXPECT_EQ(graph->legendTexts.Count(), 2);
}

}  // namespace
