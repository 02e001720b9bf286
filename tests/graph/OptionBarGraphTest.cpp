// "Percent Optimal": the share of trials in which each option was optimal, one bar per option between hidden
// spacers, as Monte Carlo simulation hands it over.

#include "analysis/BarGraphData.h"
#include "foundation/TextReport.h"
#include "graph/OptionBarGraph.h"
#include "tests/graph/BarGraphFixture.h"

namespace {

class OptionBars : public BarGraphFixture {
protected:
    OptionBarGraph* Show(const std::vector<double>& shares)
    {
        auto data = std::make_unique<OptionBarData>();
        data->texts[0] = "Monte Carlo Simulation";
        data->texts[2] = "Option";
        data->texts[3] = "Percent Optimal";
        data->optionNames = {"Surgery", "Medicine", "Wait"};
        data->shares = shares;
        ShowOptionBarGraph(std::move(data));
        return Newest<OptionBarGraph>();
    }
    // The pixel of the bitmap drawing of the graph at a point in inches.
    static COLORREF PixelAt(GraphWindow& graph, float x, float y)
    {
        BitmapDisplay screen(1, 1);
        LogicalRect bounds;
        graph.Bounds(bounds);
        const RECT pixels = LogicalRectToPixels(bounds, screen);
        BitmapDisplay bitmap(pixels.right, pixels.bottom);
        graph.Draw(&bitmap);
        return GetPixel(bitmap.DeviceContext(), LogicalXToPixel(x, bitmap), LogicalYToPixel(y, bitmap));
    }
};

TEST_F(OptionBars, EachOptionHasAVisibleBarBetweenSpacers)
{
    OptionBarGraph* graph = Show({0.5, 0.3, 0.2});
    ASSERT_NE(graph, nullptr);
    ASSERT_EQ(graph->bars.Count(), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(graph->bars.Bar(i)->isHidden, i % 2 == 0 ? 1 : 0) << i;
    EXPECT_EQ(graph->hasSubtitle, 0);
    graph->LayoutBars();
    const GraphBar& second = *graph->bars.Bar(3);
    const float x = (second.rect.left + second.rect.right) / 2;
    const float y = second.rect.bottom - 0.01f;
    EXPECT_STREQ(graph->CoordinateText(x, y).Text(), "Option (Medicine); P = 0.300");
    // The bar's hatching leaves gaps: some pixel across its middle is coloured.
    bool coloured = false;
    const float step = (second.rect.right - second.rect.left) / 20;
    for (int i = -5; i <= 5; ++i)
        coloured = coloured || PixelAt(*graph, x + i * step, y) != RGB(255, 255, 255);
    EXPECT_TRUE(coloured);
    const GraphBar& spacer = *graph->bars.Bar(2);
    EXPECT_EQ(PixelAt(*graph, (spacer.rect.left + spacer.rect.right) / 2, y), RGB(255, 255, 255));
    TextReport report;
    ASSERT_TRUE(graph->WriteTextExport(report));
    EXPECT_EQ(report.Title(), "KIVO(tm) Bar Graph");
    ASSERT_EQ(report.Lines().Count(), 3);
    EXPECT_STREQ(report.Lines().At(2)->Text(), "Wait\t0.200");
}

// A vertical top below a share cuts its bar at the plot's top, with the arrow drawn in black inside it.
TEST_F(OptionBars, ABarAboveTheAxisTopIsCutAndShowsTheArrow)
{
    OptionBarGraph* graph = Show({0.9, 0.1, 0.0});
    ASSERT_NE(graph, nullptr);
    graph->verticalAxis.valueTop = 0.5;
    ASSERT_EQ(graph->AxisChanged(1), 1);
    const GraphBar& first = *graph->bars.Bar(1);
    EXPECT_EQ(first.isOverflow, 1);
    EXPECT_FLOAT_EQ(first.rect.top, graph->graphRect.top);
    EXPECT_EQ(graph->bars.Bar(3)->isOverflow, 0);
    const float middle = (first.rect.left + first.rect.right) / 2;
    EXPECT_EQ(PixelAt(*graph, middle, first.rect.top + 0.05f), RGB(0, 0, 0));
}

TEST_F(OptionBars, SavedAndReopenedSavesTheSameBytes)
{
    EXPECT_TRUE(SavesAfterReopeningTheSame(Show({0.25, 0.25, 0.5}), "options"));
    EXPECT_EQ(boxes.Count(), 0u);
}

}  // namespace
