// The probability distribution histogram of a node: its bars by the number of outcomes, the edges of the bars,
// the axis moving mass below it, cumulative bars, Bar Details and Distribution Statistics, the value shown
// while a bar is held, and its graph file.

#include "widgets/ZoomPane.h"
#include "graph/DistributionDialogs.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/window/Clipboard.h"
#include "graph/ProbDistributionGraph.h"
#include "tests/graph/BarGraphFixture.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScreenCheck.h"

#include <numeric>

namespace {

class Histograms : public BarGraphFixture {
protected:
    // The histogram of a chance node whose equally likely branches pay the values.
    ProbDistributionGraph* HistogramOf(const std::vector<int>& payoffs)
    {
        Distribution({Chance("A", payoffs)});
        return Newest<ProbDistributionGraph>();
    }
    static std::vector<double> Heights(const ProbDistributionGraph& graph)
    {
        std::vector<double> heights;
        for (int i = 0; i < graph.bars.Count(); ++i)
            heights.push_back(graph.bars.Bar(i)->value);
        return heights;
    }
    // The centre of bar i in the canvas's client pixels.
    static POINT BarCentre(ProbDistributionGraph& graph, int index)
    {
        graph.LayoutBars();
        const LogicalRect& bar = graph.bars.Bar(index)->rect;
        ZoomPane& pane = *graph.Pane();
        const RECT pixels = pane.DrawingToClient(LogicalRectToPixels(bar, *pane.CurrentDisplay()));
        return POINT{(pixels.left + pixels.right) / 2, (pixels.top + pixels.bottom) / 2};
    }
    std::string ClipboardText()
    {
        Clipboard clipboard(frame);
        std::unique_ptr<char[]> text(clipboard.GetText());
        return text ? text.get() : "";
    }
};

std::vector<int> OneTo(int count)
{
    std::vector<int> values(static_cast<size_t>(count));
    std::iota(values.begin(), values.end(), 1);
    return values;
}

TEST_F(Histograms, BarsByNumberOfOutcomesHoldEveryOutcome)
{
    const struct {
        int outcomes;
        int bars;
    } cases[] = {{5, 6}, {6, 12}, {7, 9}, {20, 16}};
    for (const auto& row : cases) {
        ProbDistributionGraph* graph = HistogramOf(OneTo(row.outcomes));
        ASSERT_NE(graph, nullptr);
        const std::vector<double> heights = Heights(*graph);
        EXPECT_EQ(heights.size(), static_cast<size_t>(row.bars)) << row.outcomes;
        EXPECT_NEAR(std::accumulate(heights.begin(), heights.end(), 0.0), 1.0, 1e-12) << row.outcomes;
        delete graph;
    }
}

// Bars of 10 from 0: a value on a lower edge, and one a rounding error below it, count in the upper bar; a
// raised bottom moves mass below, a lowered top leaves it out; 150 bars at most.
TEST_F(Histograms, EdgesAxisChangesAndTheBarLimit)
{
    ProbDistributionGraph* graph = HistogramOf({0, 10, 20, 30});
    ASSERT_NE(graph, nullptr);
    AxisElement& axis = graph->horizontalAxis;
    const struct {
        double bottom, top, interval;
        std::vector<double> heights;
        double below;
    } cases[] = {{0, 30, 10, {0.25, 0.25, 0.25, 0.25}, 0.0},
                 {10, 30, 10, {0.25, 0.25, 0.25}, 0.25},
                 {0, 10, 10, {0.25, 0.25}, 0.0},
                 {0.0005, 30.0005, 10, {0.25, 0.25, 0.25, 0.25}, 0.0}};
    for (const auto& row : cases) {
        axis.valueBottom = row.bottom;
        axis.valueTop = row.top;
        axis.interval = row.interval;
        ASSERT_EQ(graph->AxisChanged(0), 1);
        EXPECT_EQ(Heights(*graph), row.heights) << row.bottom << " " << row.interval;
        EXPECT_DOUBLE_EQ(graph->belowProbability, row.below);
    }
    axis.valueBottom = 0;
    axis.valueTop = 30;
    axis.interval = 0.2005;
    EXPECT_EQ(graph->AxisChanged(0), 1);
    EXPECT_EQ(graph->bars.Count(), 150);
    axis.interval = 0.2;
    EXPECT_EQ(graph->AxisChanged(0), 0);
    EXPECT_EQ(graph->bars.Count(), 150);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().caption, "Probability Distribution Error");
    EXPECT_EQ(boxes.Last().text, "The data cannot be graphed using that interval. Try a larger interval.");
}

// Cumulative bars start from the mass below the axis and end at exactly 1; turned off they are the plain bars
// again, to the last bit.
TEST_F(Histograms, CumulativeOnAndOffRestoresThePlainBars)
{
    tree.Root()->kind = ChanceNode;
    ProbDistributionGraph* graph = HistogramOf({1, 2, 3, 4, 5, 6, 7});
    ASSERT_NE(graph, nullptr);
    graph->horizontalAxis.valueBottom += graph->horizontalAxis.interval;
    graph->AxisChanged(0);
    const std::vector<double> plain = Heights(*graph);
    SendMessageA(graph->Handle(), WM_COMMAND, Cmd::GraphCumulative, 0);
    const std::vector<double> cumulative = Heights(*graph);
    EXPECT_DOUBLE_EQ(cumulative.front(), graph->belowProbability + plain.front());
    EXPECT_EQ(cumulative.back(), 1.0);
    SendMessageA(graph->Handle(), WM_COMMAND, Cmd::GraphCumulative, 0);
    EXPECT_EQ(Heights(*graph), plain);
}

// A double click on a cumulative bar lists the outcomes up to it, whose probabilities make its height; its
// clipboard text, then the statistics of those outcomes in their order.
TEST_F(Histograms, BarDetailsAndStatisticsToTheClipboard)
{
    ProbDistributionGraph* graph = HistogramOf({10, 20, 30, 40});
    ASSERT_NE(graph, nullptr);
    graph->isCumulative = 1;
    graph->BuildHistogram(0.0);
    int bar = 0;
    while (bar < graph->bars.Count() && graph->bars.Bar(bar)->value < 0.5)
        ++bar;
    ASSERT_LT(bar, graph->bars.Count());
    std::string details;
    std::string statistics;
    ModalDialogDriver driver;
    driver.Press(Ctl::BarDetails::ToClipboard)
        .Then([&](DialogFrameCL&) { details = ClipboardText(); })
        .Press(Ctl::BarDetails::Statistics)
        .Press(Ctl::DistributionStatistics::ToClipboard)
        .Then([&](DialogFrameCL& dialog) {
            statistics = ClipboardText();
            SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
        })
        .Press(IDCANCEL);
    {
        ScreenOnTop onTop(graph->Handle());
        RealInput::DoubleClick(RealInput::OnScreen(graph->Pane()->Handle(), BarCentre(*graph, bar)));
        EXPECT_TRUE(PumpMessagesUntil([&driver] { return driver.Finished(); }));
    }
    // Values in the places of the axis, whose bars of 10 need none.
    EXPECT_EQ(details, "KIVO(tm) Bar Detail\r\nOutcome\tValue\tProbability\r\nt0\t$10\t0.250\r\nt1\t$20\t0.250");
    // The variance is not divided by the bar's probability of 0.5: sqrt(2 x 25 x 0.25) = 3.54.
    EXPECT_EQ(statistics, "KIVO(tm) Distribution Statistics\r\nMean:\t$15\r\nMode:\t$10\r\nStd Dev:\t$4\r\n"
                          "Minimum:\t$10\r\n5%:\t$10\r\nMedian:\t$10\r\n95%:\t$20\r\nMaximum:\t$20\r\n");
}

// Holding the button on a bar shows its value until the release; a bar of no height selects as usual.
TEST_F(Histograms, HeldBarShowsItsValueUntilRelease)
{
    ProbDistributionGraph* graph = HistogramOf({1, 2, 3, 4, 5});
    ASSERT_NE(graph, nullptr);
    graph->OnCanvasMouseDown(BarCentre(*graph, 0));
    EXPECT_EQ(graph->pressedBar, 0);
    EXPECT_STREQ(graph->heldTipText.Text(), "0.200");
    graph->OnCanvasMouseUp();
    EXPECT_EQ(graph->pressedBar, -1);
    graph->OnCanvasMouseDown(BarCentre(*graph, graph->bars.Count() - 1));
    EXPECT_EQ(graph->pressedBar, -1);
}

TEST_F(Histograms, SavedAndReopenedSavesTheSameBytes)
{
    ProbDistributionGraph* graph = HistogramOf({1, 2, 2, 5});
    ASSERT_NE(graph, nullptr);
    SendMessageA(graph->Handle(), WM_COMMAND, Cmd::GraphCumulative, 0);
    EXPECT_TRUE(SavesAfterReopeningTheSame(graph, "histogram"));
    EXPECT_EQ(boxes.Count(), 0u);
}

}  // namespace
