// Editing a graph with the mouse: the plot dragged and resized by its handles, the coordinates under the
// Ctrl key, labels and axes edited by a double click, legend keys through the marker picker; each change
// shows on the screen as a full repaint would.

#include "analysis/LineGraphData.h"
#include "app/MainFrame.h"
#include "widgets/StatusMessage.h"
#include "widgets/MainToolbar.h"
#include "widgets/ZoomPane.h"
#include "graph/GraphStylePickers.h"
#include "graph/ShowHideLinesDialog.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/Display.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/visual/VisualListPane.h"
#include "framework/visual/VisualToggleSet.h"
#include "graph/LineGraph.h"
#include "tests/graph/GraphPicture.h"
#include "tests/graph/GraphPointer.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

class GraphEditing : public ::testing::Test {
protected:
    GraphEditing()
    {
        frame = new MainFrame;
        frame->EndStartup();
        frame->Show(SW_SHOWNOACTIVATE);
        LineGraphData data;
        data.title = "Sensitivity Analysis on p";
        data.variableName = "p";
        data.horizontal.label = "p";
        data.horizontal.top = 1.0;
        data.horizontal.interval = 0.25;
        data.horizontal.format = TwoDecimalsFormat;
        data.horizontal.automaticFlag = true;
        data.vertical.label = "Value";
        data.vertical.top = 100.0;
        data.vertical.interval = 25.0;
        data.vertical.format = TwoDecimalsFormat;
        data.lines.push_back({"A", {0.0, 25.0, 50.0, 75.0, 100.0}});
        data.lines.push_back({"B", {50.0, 50.0, 50.0, 50.0, 50.0}});
        data.thresholds.push_back(ThresholdPoint{0, 1, 0.5, 50.0});
        graph = OpenLineGraph(data);
        graph->SetModified(0);
    }
    ~GraphEditing() override { delete frame; }

    // The point (inches) in the pane's client pixels.
    POINT ClientAt(float x, float y) { return CanvasClientPoint(*graph, x, y); }
    void Post(UINT message, POINT at, WPARAM keys)
    {
        PostMessageA(graph->Pane()->Handle(), message, keys, MAKELPARAM(at.x, at.y));
    }
    void Drag(POINT from, int dx, int dy)
    {
        Post(WM_LBUTTONDOWN, from, MK_LBUTTON);
        Post(WM_MOUSEMOVE, POINT{from.x + dx / 2, from.y + dy / 2}, MK_LBUTTON);
        Post(WM_MOUSEMOVE, POINT{from.x + dx, from.y + dy}, MK_LBUTTON);
        Post(WM_LBUTTONUP, POINT{from.x + dx, from.y + dy}, 0);
        PumpMessagesFor(100);
    }
    // A person's double click: the graph stays on top until the caller has handled it.
    void DoubleClick(const GraphElement& element) { DoubleClickOnGraph(*graph, element.rect); }
    float PixelInches(int pixels) { return PixelWidthToLogical(pixels, *graph->Pane()->CurrentDisplay()); }
    // The label of the crossing of A and B.
    GraphElement* CrossingLabel()
    {
        GraphElement* found = nullptr;
        graph->ForEachElement([&found](GraphElement& element) {
            if (dynamic_cast<ThresholdLabel*>(&element) != nullptr)
                found = &element;
        });
        return found;
    }
    // Inked pixels of the drawn graph on the crossing's column, from just above the plot's bottom to just
    // below the crossing and its mark, where only its drop line passes.
    int DropLinePixels()
    {
        const std::unique_ptr<BitmapDisplay> drawn = Drawn(*graph);
        BitmapDisplay& bitmap = *drawn;
        const LogicalRect& plot = graph->graphRect;
        const int x = LogicalXToPixel(graph->horizontalAxis.Position(0.5, plot), bitmap);
        const int top = LogicalYToPixel(graph->verticalAxis.Position(50.0, plot), bitmap) + 8;
        int inked = 0;
        for (int y = top; y < LogicalYToPixel(plot.bottom, bitmap) - 2; ++y)
            inked += GetPixel(bitmap.DeviceContext(), x, y) != RGB(255, 255, 255);
        return inked;
    }

    FocusTestLock focus;
    ScopedApplication app;
    MainFrame* frame;
    MessageBoxRecorder boxes;
    LineGraph* graph;
};

TEST_F(GraphEditing, TheBlocksStackFromTheMarginsWithTheirGaps)
{
    // Title block: the title and 0.2 below it (no subtitle); plot block 0.05 under it; bottom block 0.1 under
    // the horizontal axis.
    EXPECT_FLOAT_EQ(graph->title.rect.top, 0.2f);
    EXPECT_NEAR(graph->graphRect.top, 0.2f + graph->title.Height() + 0.2f + 0.05f, 1e-5);
    EXPECT_NEAR(graph->horizontalLabel.rect.top, graph->graphRect.bottom + graph->horizontalAxis.Height() + 0.1f, 1e-5);
    EXPECT_FLOAT_EQ(graph->verticalLabel.rect.left, 0.2f);
    // Turned text stands taller than it is wide.
    EXPECT_GT(graph->verticalLabel.Height(), graph->verticalLabel.Width());
    LogicalRect bounds;
    graph->Bounds(bounds);
    EXPECT_NEAR(bounds.bottom, graph->horizontalLabel.rect.bottom + 0.2f, 1e-5);
    // A legend narrower than the axis's overhang is widened to it.
    EXPECT_GE(bounds.right - 0.2f, graph->graphRect.right + graph->horizontalAxis.overhang);
}

TEST_F(GraphEditing, TheHandlesMoveAndResizeThePlotAndWhatIsTiedToIt)
{
    const LogicalRect plot = graph->graphRect;
    const LogicalRect title = graph->title.rect;
    const float legendLeft = graph->legendTexts.Label(0)->rect.left;
    ASSERT_NE(CrossingLabel(), nullptr);
    const LogicalRect crossing = CrossingLabel()->rect;
    Drag(ClientAt(plot.left, plot.top), 48, 24);
    EXPECT_NEAR(graph->graphRect.left, plot.left + PixelInches(48), 0.02f);
    EXPECT_NEAR(graph->graphRect.top, plot.top + PixelInches(24), 0.02f);
    EXPECT_NEAR(graph->graphRect.right - graph->graphRect.left, plot.right - plot.left, 0.001f);
    EXPECT_TRUE(graph->IsModified());

    const LogicalRect moved = graph->graphRect;
    Drag(ClientAt(moved.right, moved.bottom), 96, 48);
    EXPECT_NEAR(graph->graphRect.left, moved.left, 0.001f);
    EXPECT_NEAR(graph->graphRect.right, moved.right + PixelInches(96), 0.02f);
    EXPECT_NEAR(graph->graphRect.bottom, moved.bottom + PixelInches(48), 0.02f);
    // The legend follows the plot's right edge; the title stays; the drawing holds everything.
    EXPECT_NEAR(graph->legendTexts.Label(0)->rect.left - legendLeft, graph->graphRect.right - plot.right, 0.001f);
    EXPECT_NEAR(CrossingLabel()->rect.left - crossing.left, graph->graphRect.right - plot.right, 0.001f);
    EXPECT_NEAR(CrossingLabel()->rect.top - crossing.top, graph->graphRect.top - plot.top, 0.001f);
    EXPECT_EQ(graph->title.rect.left, title.left);
    LogicalRect bounds;
    graph->Bounds(bounds);
    EXPECT_GE(bounds.right, graph->legendTexts.Label(0)->rect.right);
    EXPECT_GE(bounds.bottom, graph->horizontalLabel.rect.bottom);
    frame->Show(SW_SHOWNOACTIVATE);
    ExpectScreenEqualsRepaint(graph->Handle());
}

// A graph fills its window as the window changes size, its handles inside the plot clear of the tick labels;
// a plot the person dragged to a size keeps it until the window's size changes, and then fills it again.
TEST_F(GraphEditing, AGraphFillsItsWindowAsTheWindowChangesSize)
{
    // Sizing runs synchronously: the layout has followed once the message returns.
    const auto filled = [this](const char* when) { ExpectFillsItsWindow(*graph, when); };
    SendMessageA(frame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(graph->Handle()), 0);
    filled("maximised");
    ExpectScreenEqualsRepaint(graph->Handle());
    SendMessageA(frame->ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(graph->Handle()), 0);
    filled("restored");
    // The top-left handle stands inside the plot, not over the axis's top tick label.
    const LogicalRect plot = graph->graphRect;
    const RECT handle = HandleRect(ClientAt(plot.left, plot.top), true, true);
    EXPECT_GE(handle.left, ClientAt(plot.left, plot.top).x);
    Drag(ClientAt(plot.right, plot.bottom), -48, -24);
    EXPECT_NEAR(graph->graphRect.right - graph->graphRect.left, plot.right - plot.left - PixelInches(48), 0.02f);
    SendMessageA(frame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(graph->Handle()), 0);
    filled("maximised after the drag");
    ExpectScreenEqualsRepaint(graph->Handle());
}

// The relayout command puts what the person moved back where the layout places it.
TEST_F(GraphEditing, RelayoutPutsAMovedTitleBackInTheMiddle)
{
    const LogicalRect title = graph->title.rect;
    Drag(ClientAt((title.left + title.right) / 2, (title.top + title.bottom) / 2), 60, 30);
    ASSERT_GT(graph->title.rect.left, title.left + PixelInches(30));
    SendMessageA(graph->Handle(), WM_COMMAND, Cmd::GraphRelayout, 0);
    EXPECT_NEAR(graph->title.rect.left, title.left, 1e-4);
    EXPECT_NEAR(graph->title.rect.top, title.top, 1e-4);
    frame->Show(SW_SHOWNOACTIVATE);
    ExpectScreenEqualsRepaint(graph->Handle());
}

// With B hidden (a click on its entry in Show/Hide) B leaves the legend and the crossing keeps its label but
// loses its drop line; Display Threshold Values then hides the block, which is no longer drawn or hit.
TEST_F(GraphEditing, AThresholdOfAHiddenLineIsListedButNotDrawn)
{
    EXPECT_GT(DropLinePixels(), 0);
    const float blockTop = CrossingLabel()->rect.top;
    const float legendRow = graph->legendTexts.Label(1)->rect.top - graph->legendTexts.Label(0)->rect.top;
    ModalDialogDriver person;
    person.Then([](DialogFrameCL& dialog) {
        // A click on B's entry toggles B alone, as the list's caption says.
        HWND list = GetDlgItem(dialog.Handle(), Ctl::ShowHide::ClickOnAnyItemToToggleItsStateList);
        RECT item{};
        SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
        const LPARAM at = MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2);
        SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(list, WM_LBUTTONUP, 0, at);
        SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
    });
    SendMessageA(graph->Handle(), WM_COMMAND, Cmd::GraphShowHide, 0);
    EXPECT_TRUE(graph->LineShown(0));
    EXPECT_FALSE(graph->LineShown(1));
    EXPECT_EQ(DropLinePixels(), 0);
    // The legend names A alone: B's entry is gone and the crossing's block rises into its place.
    for (GraphElement* entry : {static_cast<GraphElement*>(graph->legendTexts.Label(1)), graph->legendKeys.Key(1)})
        EXPECT_FALSE(graph->ElementShown(*entry));
    EXPECT_NEAR(CrossingLabel()->rect.top, blockTop - legendRow, 1e-4);
    GraphElement* label = CrossingLabel();
    ASSERT_NE(label, nullptr);
    const float x = (label->rect.left + label->rect.right) / 2;
    const float y = (label->rect.top + label->rect.bottom) / 2;
    EXPECT_TRUE(graph->ElementShown(*label));
    EXPECT_EQ(graph->FindElement(x, y), label);
    frame->Show(SW_SHOWNOACTIVATE);
    ExpectScreenEqualsRepaint(graph->Handle());

    SendMessageA(graph->Handle(), WM_COMMAND, Cmd::GraphDisplayThresholdValues, 0);
    EXPECT_FALSE(graph->ElementShown(*label));
    EXPECT_EQ(graph->FindElement(x, y), nullptr);
    ExpectScreenEqualsRepaint(graph->Handle());
}

TEST_F(GraphEditing, TheCtrlKeyShowsTheValuesUnderTheMouseInsideThePlotOnly)
{
    const LogicalRect plot = graph->graphRect;
    ShowStatusMessage("before");
    Post(WM_MOUSEMOVE, ClientAt(plot.left - 0.1f, plot.top), MK_CONTROL);
    PumpMessagesFor(50);
    EXPECT_STREQ(CurrentStatusMessage().Text(), "before");
    Post(WM_MOUSEMOVE, ClientAt(plot.left + 0.5f * (plot.right - plot.left), plot.bottom), MK_CONTROL);
    PumpMessagesFor(50);
    // Within a pixel of the middle of the bottom edge, with one place more than the axes' two.
    double x = 0.0;
    double y = 1.0;
    char xText[16] = {};
    const std::string shown = CurrentStatusMessage().Text();
    ASSERT_EQ(std::sscanf(shown.c_str(), "p = %15[0-9.]; Value = %lf", xText, &y), 2) << shown;
    x = std::atof(xText);
    EXPECT_NEAR(x, 0.5, 0.02);
    EXPECT_NEAR(y, 0.0, 1.0);
    EXPECT_EQ(std::string(xText).size(), 5u) << xText;
    PostMessageA(graph->Pane()->Handle(), WM_KEYUP, VK_CONTROL, 0);
    PumpMessagesFor(50);
    EXPECT_STREQ(CurrentStatusMessage().Text(), "");
}

TEST_F(GraphEditing, ADoubleClickEditsLabelsAxesAndLegendKeys)
{
    ModalDialogDriver person;
    person.Type(2001, "")
        .Press(IDOK)
        .Type(2001, "Renamed")
        .Press(IDOK)
        // The horizontal axis: its top below its bottom, no interval, more intervals than an axis may have,
        // then an interval that does not divide.
        .Type(Ctl::Axis::BottomEdit, "2")
        .Press(IDOK)
        .Type(Ctl::Axis::BottomEdit, "0")
        .Type(Ctl::Axis::IntervalEdit, "0")
        .Press(IDOK)
        .Type(Ctl::Axis::IntervalEdit, "0.00001")
        .Press(IDOK)
        .Type(Ctl::Axis::IntervalEdit, "0.3")
        .Press(IDOK)
        // The first line's key: the marker picker lists every mark in kind order.
        .Then([](DialogFrameCL& dialog) {
            const HWND list = dialog.Control(Ctl::ModifyLineMarker::List3497);
            EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), kMarkKindCount);
            char text[64] = {};
            SendMessageA(list, LB_GETTEXT, 14, reinterpret_cast<LPARAM>(text));
            EXPECT_STREQ(text, "asterisk");
            EXPECT_FALSE(IsWindowVisible(dialog.Control(Ctl::ModifyLineMarker::Color)));
            SendMessageA(list, LB_SETCURSEL, 2, 0);
        })
        .Press(IDOK);
    ScreenOnTop onTop(graph->Handle());
    DoubleClick(graph->title);
    ASSERT_TRUE(PumpMessagesUntil([&] { return graph->title.text == "Renamed"; }));
    EXPECT_EQ(graph->Selected(), &graph->title);
    DoubleClick(graph->horizontalAxis);
    ASSERT_TRUE(PumpMessagesUntil([&] { return graph->horizontalAxis.interval == 0.3; }));
    EXPECT_NEAR(graph->horizontalAxis.valueTop, 1.2, 1e-12);
    EXPECT_EQ(graph->horizontalAxis.IntervalCount(), 4);
    DoubleClick(*graph->legendKeys.Key(0));
    ASSERT_TRUE(PumpMessagesUntil([&] { return graph->Line(0).markKind == 2; }));
    EXPECT_EQ(static_cast<GraphMarkElement*>(graph->legendKeys.Key(0))->markKind, 2);
    ASSERT_EQ(boxes.Count(), 4u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Graph labels cannot be empty.");
    EXPECT_EQ(boxes.Boxes()[1].text, "The axis top must be higher than the axis bottom.");
    EXPECT_EQ(boxes.Boxes()[2].text, "The interval must be positive.");
    EXPECT_EQ(boxes.Boxes()[3].text,
              "An axis can have at most 10,000 intervals. Please enter a larger interval or a smaller range.");
    EXPECT_TRUE(graph->IsModified());
    frame->Show(SW_SHOWNOACTIVATE);
    ExpectScreenEqualsRepaint(graph->Handle());
}

// The tool bar's Font button follows the selection as the Font menu item does: a clicked label lights it,
// a click on empty canvas greys it again.
TEST_F(GraphEditing, TheFontButtonFollowsTheSelectedLabel)
{
    BuildMainToolbar(frame->ToolBar());
    const auto fontButton = [this] { return VisualCtrlKit::IsItemEnabled(frame->ToolBar(), Cmd::DisplayFont); };
    ScreenOnTop onTop(graph->Handle());
    const HWND pane = graph->Pane()->Handle();
    const LogicalRect& title = graph->title.rect;
    RealInput::Click(OnScreen(*graph, title));
    ASSERT_TRUE(PumpMessagesUntil([&] { return graph->Selected() == &graph->title; }));
    EXPECT_TRUE(fontButton());
    RealInput::Click(RealInput::OnScreen(pane, ClientAt(title.left - 0.1f, title.bottom + 0.05f)));
    ASSERT_TRUE(PumpMessagesUntil([&] { return graph->Selected() == nullptr; }));
    EXPECT_FALSE(fontButton());
    ExpectScreenEqualsRepaint(frame->Handle());
    DestroyMainToolbar();
}

TEST_F(GraphEditing, ALockedAxisShowsItsValuesGreyedAndCancelChangesNothing)
{
    graph->verticalAxis.isLocked = 1;
    ModalDialogDriver person;
    person
        .Then([](DialogFrameCL& dialog) {
            EXPECT_STREQ(dialog.Text(), "Vertical Axis");
            EXPECT_FALSE(IsWindowEnabled(dialog.Control(Ctl::Axis::TopEdit)));
        })
        .Press(IDOK)
        .Then([](DialogFrameCL& dialog) {
            const HWND list = dialog.Control(Ctl::ModifyLineMarker::List3497);
            EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
            char text[64] = {};
            SendMessageA(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
            EXPECT_STREQ(text, "horizontal");
            SendMessageA(list, LB_SETCURSEL, 1, 0);
        })
        .Press(IDOK)
        .Then([](DialogFrameCL& dialog) { SendMessageA(dialog.Control(Ctl::ModifyLineMarker::List3497), LB_SETCURSEL, 5, 0); })
        .Press(IDCANCEL);
    EXPECT_TRUE(graph->verticalAxis.Edit());
    EXPECT_EQ(graph->verticalAxis.valueTop, 100.0);
    GraphFill fill{{0, 0, 255, 0}, kSolidFill};
    EXPECT_TRUE(RunRegionFillDialog(fill, "Region"));
    EXPECT_EQ(fill.style, 0);
    EXPECT_FALSE(RunRegionFillDialog(fill, "Region"));
    EXPECT_EQ(fill.style, 0);
}

TEST(GraphMarks, FilledMarksTakeTheirShapesColours)
{
    const COLORREF colours[] = {RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 0, 0), RGB(0, 255, 255), RGB(255, 0, 255)};
    for (int kind = 6; kind <= 10; ++kind) {
        BitmapDisplay bitmap(40, 40);
        RECT all{0, 0, 40, 40};
        FillRect(bitmap.DeviceContext(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawPointMarkAt(bitmap.DeviceContext(), kind, POINT{20, 20}, 12, true, 1);
        // Below the centre, inside every shape (the inverted triangle is widest at its top).
        EXPECT_EQ(GetPixel(bitmap.DeviceContext(), 20, kind == 10 ? 17 : 22), colours[kind - 6]) << MarkKindName(kind);
        DrawPointMarkAt(bitmap.DeviceContext(), kind, POINT{20, 20}, 12, false, 1);
        EXPECT_EQ(GetPixel(bitmap.DeviceContext(), 20, kind == 10 ? 17 : 22), RGB(0, 0, 0)) << MarkKindName(kind);
    }
}

}  // namespace
