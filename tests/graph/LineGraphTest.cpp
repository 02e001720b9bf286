// Line graph windows: the axis scaling every analysis graph uses, and a one-way sensitivity run and a Markov
// analysis shown in line graphs inside the main frame.

#include "analysis/MarkovAnalysis.h"
#include "analysis/OneWaySensitivityAnalysis.h"
#include "app/MainFrame.h"
#include "widgets/ZoomPane.h"
#include "treewin/MarkovAnalysisWindow.h"
#include "foundation/NumericFormatting.h"
#include "framework/draw/MetafileDisplay.h"
#include "graph/LineGraph.h"
#include "graph/RegionGraph.h"
#include "model/GraphTemplate.h"
#include "model/StoredAnalysis.h"
#include "tests/analysis/MarkovTestTrees.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/NewestChild.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

class LineGraphs : public ::testing::Test {
protected:
    LineGraphs()
    {
        frame = new MainFrame;
        frame->EndStartup();
        frame->Show(SW_SHOWNOACTIVATE);
    }
    ~LineGraphs() override { delete frame; }

    // The Markov window of the model's cohort run, with the state probabilities graph it opened (graph).
    MarkovAnalysisWindow* OpenMarkovGraph(MarkovTestTree& model, LineGraph*& graph)
    {
        auto analysis = std::make_unique<MarkovAnalysis>(&model.Document(), model.markov, 1);
        EXPECT_TRUE(analysis->Run());
        LineGraphPresenter previous = SetLineGraphPresenter(nullptr);
        InstallLineGraphWindows();
        auto* window = new MarkovAnalysisWindow(nullptr, std::move(analysis));
        SendMessageA(window->Handle(), WM_COMMAND, 1580, 0);
        SetLineGraphPresenter(previous);
        graph = dynamic_cast<LineGraph*>(frame->ActiveChild());
        return window;
    }

    // A one-way sensitivity run on p from 0 to 1 in four intervals at the tree's root; the line graph it
    // opened, or null.
    LineGraph* RunOneWay(TreeBuilder& tree)
    {
        LineGraphPresenter previous = SetLineGraphPresenter(nullptr);
        InstallLineGraphWindows();
        OneWaySettings settings;
        settings.variable = "p";
        settings.low.text = "0";
        settings.low.value = 0.0;
        settings.high.text = "1";
        settings.high.value = 1.0;
        settings.intervals = 4;
        RunAnalysis(std::make_unique<OneWaySensitivityAnalysis>(tree.Root(), settings));
        while (tree.Document().CurrentAnalysis != nullptr)
            tree.Document().CurrentAnalysis->OnIdle();
        SetLineGraphPresenter(previous);
        return NewestChild<LineGraph>(*frame);
    }

    FocusTestLock focus;
    ScopedApplication app;
    MainFrame* frame;
    MessageBoxRecorder boxes;
};

TEST_F(LineGraphs, AutoScaleTakesWholeMultiplesOfAPowerOfTenAndEndsAboveTheHigh)
{
    struct Case {
        double low, high;
        int count;
        double bottom, top, interval;
    };
    const Case cases[] = {
        {-3, 7, 5, -3, 9, 2}, {0, 10, 4, 0, 12, 3}, {0, 10, 5, 0, 12, 2}, {4, 4, 0, 4, 4.1, 0.01},
        // A reversed range is taken the right way round; a value that is no number is left out.
        {7, -3, 5, -3, 9, 2}, {std::nan(""), 10, 0, 10, 10.1, 0.01},
    };
    auto* graph = new LineGraph(4, 1);
    for (const Case& c : cases) {
        graph->AutoScaleAxis(1, NumericFormat(), c.low, c.high, "Value", 1, c.count);
        EXPECT_NEAR(graph->verticalAxis.valueBottom, c.bottom, 1e-9) << c.low << ".." << c.high;
        EXPECT_NEAR(graph->verticalAxis.valueTop, c.top, 1e-9) << c.low << ".." << c.high;
        EXPECT_NEAR(graph->verticalAxis.interval, c.interval, 1e-9) << c.low << ".." << c.high;
    }
    EXPECT_STREQ(graph->verticalLabel.text.Text(), "Value");
    EXPECT_EQ(graph->verticalAxis.isLocked, 0);
}

TEST_F(LineGraphs, OneWaySensitivityOpensALineGraphWithItsThreshold)
{
    TreeBuilder tree;
    tree.Bind(tree.Root(), "p", "0.3");
    TreeNode* a = tree.Add(tree.Root(), ChanceNode, "A");
    tree.Terminal(a, "win", "p", "100");
    tree.Terminal(a, "lose", "#", "0");
    tree.Terminal(tree.Root(), "B", "", "50");
    LineGraph* graph = RunOneWay(tree);
    std::vector<WindowCL*> windows;
    frame->CollectWindows(windows);
    ASSERT_EQ(windows.size(), 1u);
    ASSERT_NE(graph, nullptr);
    EXPECT_STREQ(graph->title.text.Text(), "Sensitivity Analysis on p");
    ASSERT_EQ(graph->LineCount(), 2);
    ASSERT_EQ(graph->ThresholdCount(), 1);
    // The variable in plain numbers, the value in the tree's number format, each with the places of its axis.
    EXPECT_STREQ(graph->ThresholdText(0, 0).Text(), "p = 0.50");
    EXPECT_STREQ(graph->ThresholdText(0, 1).Text(), "EV = $50");
    // The graph's pane fills the window it opened in.
    RECT pane{};
    RECT client{};
    GetWindowRect(graph->Pane()->Handle(), &pane);
    GetClientRect(graph->Handle(), &client);
    EXPECT_EQ(pane.right - pane.left, client.right);
    EXPECT_EQ(pane.bottom - pane.top, client.bottom);

    // Values between grid points are interpolated, below the grid the first segment goes on; ties keep the
    // earlier line.
    EXPECT_DOUBLE_EQ(graph->ValueAt(0, 0.1), 10.0);
    EXPECT_DOUBLE_EQ(graph->ValueAt(0, -0.25), -25.0);
    EXPECT_DOUBLE_EQ(graph->ValueAt(0, 3.0), 100.0);
    EXPECT_EQ(graph->BestLineAt(0.25), 1);
    EXPECT_EQ(graph->BestLineAt(0.5), 0);
    EXPECT_EQ(graph->BestLineAt(0.75), 0);

    // The legend and the threshold block lie right of the plot, inside the drawing.
    LogicalRect bounds;
    graph->Bounds(bounds);
    EXPECT_GT(bounds.right, graph->graphRect.right + 0.5f);
    EXPECT_GT(graph->graphRect.left, 0.2f);
    EXPECT_TRUE(graph->DisplayThresholds());
    SendMessageA(graph->Handle(), WM_COMMAND, Cmd::GraphDisplayThresholdValues, 0);
    EXPECT_FALSE(graph->DisplayThresholds());

    // Run again from its stored record, whose template sets the title font.
    StoredAnalysis* stored = tree.Document().LastAnalysis;
    ASSERT_NE(stored, nullptr);
    stored->graphTemplate = new GraphTemplate;
    stored->graphTemplate->flags[GraphTemplate::ApplyFonts] = 1;
    stored->graphTemplate->fonts[GraphTemplate::TitleFont].pointSize = 30;
    stored->graphTemplate->width = 3.5f;
    stored->graphTemplate->height = 2.25f;
    delete graph;
    LineGraphPresenter previous = SetLineGraphPresenter(nullptr);
    InstallLineGraphWindows();
    RunAnalysis(std::make_unique<OneWaySensitivityAnalysis>(&tree.Document(), stored));
    while (tree.Document().CurrentAnalysis != nullptr)
        tree.Document().CurrentAnalysis->OnIdle();
    SetLineGraphPresenter(previous);
    windows.clear();
    frame->CollectWindows(windows);
    ASSERT_EQ(windows.size(), 1u);
    graph = dynamic_cast<LineGraph*>(windows[0]);
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->ThresholdCount(), 1);
    EXPECT_EQ(graph->title.font.pointSize, 30);
    EXPECT_FLOAT_EQ(graph->graphRect.right - graph->graphRect.left, 3.5f);
    EXPECT_FLOAT_EQ(graph->graphRect.bottom - graph->graphRect.top, 2.25f);
}

// C is best below 0.2, A up to 0.7, B above; the analysis finds A's crossings first (0.7 with B, then 0.2
// with C). The block lists them by x, and the strategy graph takes them as its intervals' bounds.
TEST_F(LineGraphs, ThresholdsStandInOrderOfXForTheBlockAndTheStrategyGraph)
{
    TreeBuilder tree;
    tree.Bind(tree.Root(), "p", "0.5");
    tree.Terminal(tree.Root(), "A", "", "40");
    tree.Terminal(tree.Root(), "B", "", "100*p-30");
    tree.Terminal(tree.Root(), "C", "", "60-100*p");
    LineGraph* graph = RunOneWay(tree);
    ASSERT_NE(graph, nullptr);
    ASSERT_EQ(graph->ThresholdCount(), 2);
    EXPECT_NEAR(graph->Threshold(0).x, 0.2, 1e-9);
    EXPECT_NEAR(graph->Threshold(1).x, 0.7, 1e-9);
    EXPECT_EQ(std::string(graph->ThresholdText(0, 0).Text()).rfind("p = 0.2", 0), 0u);
    SendMessageA(graph->Handle(), WM_COMMAND, Cmd::GraphStrategyGraph, 0);
    auto* regions = NewestChild<StrategyRegionGraph>(*frame);
    ASSERT_NE(regions, nullptr);
    ASSERT_EQ(regions->RegionCount(), 3);
    std::string best;
    for (int r = 0; r < 3; ++r)
        best += regions->legendTexts.Label(regions->FillIndex(r))->text.Text();
    EXPECT_EQ(best, "CAB");
}

// The Markov window's graph of state probabilities: probabilities in plain numbers with two places, stages in
// whole numbers of the tree's display format.
TEST_F(LineGraphs, MarkovProbabilitiesArePlainAndStagesWhole)
{
    MarkovTestTree model("_stage >= 4");
    model.WellDead("0.5");
    model.Document().NumberFormat().expValDigits = 2;
    LineGraph* graph = nullptr;
    MarkovAnalysisWindow* window = OpenMarkovGraph(model, graph);
    ASSERT_NE(graph, nullptr);
    zString text;
    FormatNumber(graph->verticalAxis.numberFormat, 0.5, text, false, true, DigitsOfFormat);
    EXPECT_STREQ(text.Text(), "0.50");
    FormatNumber(graph->horizontalAxis.numberFormat, 3, text, false, true, DigitsOfFormat);
    EXPECT_STREQ(text.Text(), "3");
    delete window;
}

int CALLBACK CountShape(HDC, HANDLETABLE*, METARECORD* record, int, LPARAM count)
{
    switch (record->rdFunction) {
    case META_POLYLINE:
    case META_POLYGON:
    case META_POLYPOLYGON:
    case META_ELLIPSE:
    case META_RECTANGLE:
    case META_ROUNDRECT:
    case META_LINETO:
        ++*reinterpret_cast<int*>(count);
        break;
    default:
        break;
    }
    return 1;
}

// The lines and shapes a picture of the graph draws.
int DrawnRecords(LineGraph& graph)
{
    MetafileDisplay picture(graph.Pane()->CurrentDisplay());
    graph.Draw(&picture);
    int count = 0;
    EnumMetaFile(nullptr, picture.Metafile(), CountShape, reinterpret_cast<LPARAM>(&count));
    return count;
}

// A state that holds the whole cohort at every stage has its line on the plot's top border, one that holds none
// on its bottom border: both lines are drawn.
TEST_F(LineGraphs, MarkovLinesOnThePlotsBordersAreDrawn)
{
    MarkovTestTree model("_stage >= 4");
    model.WellDead("0");
    LineGraph* graph = nullptr;
    MarkovAnalysisWindow* window = OpenMarkovGraph(model, graph);
    ASSERT_NE(graph, nullptr);
    ASSERT_EQ(graph->LineCount(), 2);
    const int all = DrawnRecords(*graph);
    for (int line = 0; line < 2; ++line) {
        auto& drawn = const_cast<GraphLineElement&>(graph->Line(line));
        drawn.isHidden = true;
        EXPECT_LT(DrawnRecords(*graph), all) << "line " << line << " draws nothing";
        drawn.isHidden = false;
    }
    delete window;
}

// A graph wider than its window can be scrolled across as soon as it opens.
TEST_F(LineGraphs, AGraphWiderThanItsWindowScrolls)
{
    LineGraphData data;
    data.title = std::string(300, 'W');
    data.horizontal.top = 1.0;
    data.vertical.top = 1.0;
    data.lines.push_back({"line", {0.0, 1.0}});
    LineGraph* graph = OpenLineGraph(data);
    int low = 0;
    int high = 0;
    GetScrollRange(graph->Pane()->Handle(), SB_HORZ, &low, &high);
    EXPECT_GT(high, low);
}

TEST_F(LineGraphs, OnlyThirtyLinesAreDrawn)
{
    auto* graph = new LineGraph(1, 1);
    const double values[] = {1, 2};
    for (int i = 0; i < 31; ++i)
        graph->AddLine(values, nullptr, "line");
    EXPECT_EQ(graph->LineCount(), 31);
    EXPECT_EQ(graph->ShownLineCount(), 30);
    // Mark kinds run 6..14, then 1 onward.
    EXPECT_EQ(graph->Line(8).markKind, 14);
    EXPECT_EQ(graph->Line(9).markKind, 1);
}

}  // namespace
