// A person's double click on each kind of graph element (the system's own clicks on the screen): texts open
// Modify Graph Label, an axis its dialog, keys the marker or fill picker, a histogram's bar its details, a
// tornado's bar its one-way graph; an element that cannot be edited beeps.

#include "analysis/BarGraphData.h"
#include "graph/LineGraph.h"
#include "graph/OptionBarGraph.h"
#include "graph/ProbDistributionGraph.h"
#include "graph/SensitivityRegionGraphs.h"
#include "graph/TornadoGraph.h"
#include "tests/graph/BarGraphFixture.h"
#include "tests/graph/BeepCounter.h"
#include "tests/graph/GraphPointer.h"
#include "tests/graph/SampleGraphs.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/SampleTornado.h"
#include "tests/support/ScreenCheck.h"

#include <functional>
#include <memory>
#include <string>

namespace {

class GraphDoubleClicks : public BarGraphFixture {
public:
    // The graphs the rows double-click, each in its window.
    GraphDoubleClicks()
    {
        InstallLineGraphWindows();
        InstallTornadoGraphs();
        InstallSensitivityRegionGraphs();
    }

    GraphWindow* Line() { return OpenLineGraph(OneWayData()); }
    static GraphWindow* Opened(GraphWindow* graph)
    {
        graph->Open(nullptr);
        return graph;
    }
    GraphWindow* Tornado()
    {
        return Opened(new TornadoGraph(MakeTornadoResults({{"p", 10.0, 13.0}, {"v", 10.0, 14.0}}, 11.5, 10.0, 14.0, "EV")));
    }
    GraphWindow* TwoWay() { return Opened(new TwoWaySensGraph(LeftRightResults())); }
    // A one-way graph with a label of the person's own, made with New Label.
    GraphWindow* LineWithFreeLabel()
    {
        GraphWindow* graph = Line();
        ModalDialogDriver person;
        person.Type(2001, "Free").Press(IDOK);
        SendMessageA(graph->Handle(), WM_COMMAND, Cmd::GraphNewLabel, 0);
        return graph;
    }
    GraphWindow* OptionBars()
    {
        auto data = std::make_unique<OptionBarData>();
        data->texts[0] = "Monte Carlo Simulation";
        data->texts[2] = "Option";
        data->texts[3] = "Percent Optimal";
        data->optionNames = {"Surgery", "Medicine", "Wait"};
        data->shares = {0.5, 0.3, 0.2};
        ShowOptionBarGraph(std::move(data));
        return Newest<OptionBarGraph>();
    }
    GraphWindow* Histogram()
    {
        Distribution({Chance("A", {10, 20, 30, 40})});
        return Newest<ProbDistributionGraph>();
    }
};

// Where a row double-clicks: an element's rectangle (inches).
using Place = std::function<LogicalRect(GraphWindow&)>;

LogicalRect LegendKey(GraphWindow& graph)
{
    return graph.legendKeys.Key(0)->rect;
}

LogicalRect FirstShownBar(GraphWindow& graph)
{
    auto& bars = static_cast<LineListGraph&>(graph);
    bars.LayoutBars();
    for (int i = 0; i < bars.bars.Count(); ++i)
        if (!bars.bars.Bar(i)->isHidden && bars.bars.Bar(i)->value > 0.0)
            return bars.bars.Bar(i)->rect;
    return LogicalRect{};
}

LogicalRect Threshold(GraphWindow& graph)
{
    LogicalRect found{};
    graph.ForEachElement([&found](GraphElement& element) {
        if (dynamic_cast<ThresholdLabel*>(&element) != nullptr)
            found = element.rect;
    });
    return found;
}

// Every editable element opens its dialog, which the person cancels; the graph then shows what a full repaint
// shows. (GraphEditing checks what the dialogs change.)
TEST_F(GraphDoubleClicks, EachElementOpensItsDialog)
{
    const std::string labelCaption = "Modify Graph Label";
    const struct {
        const char* element;
        GraphWindow* (GraphDoubleClicks::*make)();
        Place place;
        std::string caption;
    } rows[] = {
        {"title", &GraphDoubleClicks::Line, [](GraphWindow& g) { return g.title.rect; }, labelCaption},
        {"horizontal axis label", &GraphDoubleClicks::Line, [](GraphWindow& g) { return g.horizontalLabel.rect; },
         labelCaption},
        {"vertical axis label", &GraphDoubleClicks::Line, [](GraphWindow& g) { return g.verticalLabel.rect; },
         labelCaption},
        {"legend text", &GraphDoubleClicks::Line, [](GraphWindow& g) { return g.legendTexts.Label(0)->rect; },
         labelCaption},
        {"free label", &GraphDoubleClicks::LineWithFreeLabel,
         [](GraphWindow& g) { return g.freeLabels.Label(0)->rect; }, labelCaption},
        {"subtitle", &GraphDoubleClicks::Line, [](GraphWindow& g) { return g.subtitle.rect; }, labelCaption},
        {"horizontal axis", &GraphDoubleClicks::Line, [](GraphWindow& g) { return g.horizontalAxis.rect; },
         "Horizontal Axis"},
        {"vertical axis", &GraphDoubleClicks::Line, [](GraphWindow& g) { return g.verticalAxis.rect; },
         "Vertical Axis"},
        {"line graph's legend mark", &GraphDoubleClicks::Line, LegendKey, "Modify Line Marker"},
        {"tornado's fill key", &GraphDoubleClicks::Tornado, LegendKey, "Modify Region Fill"},
        {"two-way graph's fill key", &GraphDoubleClicks::TwoWay, LegendKey, "Modify Region Fill"},
        {"option bar graph's swatch", &GraphDoubleClicks::OptionBars, LegendKey, "Modify Region Fill"},
        {"histogram's bar", &GraphDoubleClicks::Histogram, FirstShownBar, "Bar Details"},
    };
    for (const auto& row : rows) {
        GraphWindow* graph = (this->*row.make)();
        ASSERT_NE(graph, nullptr) << row.element;
        SendMessageA(frame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(graph->Handle()), 0);
        std::string caption;
        ModalDialogDriver person;
        person.Then([&caption](DialogFrameCL& dialog) { caption = dialog.Text(); }).Press(IDCANCEL);
        {
            ScreenOnTop onTop(graph->Handle());
            DoubleClickOnGraph(*graph, row.place(*graph));
            EXPECT_TRUE(PumpMessagesUntil([&person] { return person.Finished(); })) << row.element;
            EXPECT_EQ(caption, row.caption) << row.element;
            ExpectScreenEqualsRepaint(graph->Handle());
        }
        delete graph;
    }
}

// A tornado's bar opens that variable's one-way graph; a threshold's label, which the graph writes itself,
// only beeps; two single clicks apart are no double click.
TEST_F(GraphDoubleClicks, ATornadoBarOpensItsGraphAndAThresholdLabelBeeps)
{
    GraphWindow* tornado = Tornado();
    BeepCounter beeps;
    ASSERT_TRUE(beeps.Installed());
    {
        ScreenOnTop onTop(tornado->Handle());
        const LogicalRect bar = static_cast<TornadoGraph*>(tornado)->BarRect(0, 0, 2);
        DoubleClickOnGraph(*tornado, bar);
        ASSERT_TRUE(PumpMessagesUntil([&] { return Newest<LineGraph>() != nullptr; }));
        EXPECT_STREQ(Newest<LineGraph>()->subtitle.text.Text(), "p");
    }
    LineGraph* line = Newest<LineGraph>();
    SendMessageA(frame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(line->Handle()), 0);
    ScreenOnTop onTop(line->Handle());
    const LogicalRect threshold = Threshold(*line);
    DoubleClickOnGraph(*line, threshold);
    PumpMessagesFor(GetDoubleClickTime() + 100);
    EXPECT_EQ(BeepCounter::Count(), 1);
    const POINT at = OnScreen(*line, threshold);
    RealInput::Click(at);
    PumpMessagesFor(GetDoubleClickTime() + 100);
    RealInput::Click(at);
    PumpMessagesFor(300);
    EXPECT_EQ(BeepCounter::Count(), 1);
    EXPECT_EQ(boxes.Count(), 0u);
}

}  // namespace
