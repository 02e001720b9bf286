#include "graph/GraphWindow.h"

#include "analysis/SensitivityResultGrid.h"
#include "widgets/FrameCommands.h"
#include "widgets/InputHelpers.h"
#include "widgets/MouseTracker.h"
#include "widgets/Shell.h"
#include "widgets/StatusMessage.h"
#include "widgets/TipBox.h"
#include "widgets/ZoomPane.h"
#include "foundation/NumericFormatting.h"
#include "foundation/NumericHelpers.h"
#include "foundation/PreferencesStore.h"
#include "foundation/PrinterSetupRecord.h"
#include "foundation/TextReport.h"
#include "framework/draw/Display.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/zPen.h"
#include "framework/window/FillLayout.h"
#include "widgets/OutlineTracker.h"

#include "CommandIds.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

namespace {

int& GraphCounter()
{
    static int counter = 0;
    return counter;
}

std::string NewGraphTitle()
{
    return "Untitled Graph " + std::to_string(++GraphCounter());
}

// The canvas fills its window but for the strip the graph keeps at its bottom.
// A graph that follows its window is laid out again for the canvas's new size.
class CanvasLayout : public FillLayout {
public:
    CanvasLayout(GraphWindow& graph, const int& reserved) : graph_(graph), reserved_(reserved) {}
    void Resize(WindowCL* window, WindowEvent* parentSize) override
    {
        if (window == nullptr || window->Handle() == nullptr || parentSize == nullptr)
            return;
        const SIZE client = parentSize->ClientSize();
        MoveWindow(window->Handle(), 0, 0, client.cx, std::max(0L, client.cy - reserved_), TRUE);
        graph_.CanvasResized();
    }

private:
    GraphWindow& graph_;
    const int& reserved_;
};

// The canvas: hands the mouse and the keys to its graph inside the pane's drawing scale.
class GraphCanvasPane : public ZoomPane {
public:
    GraphCanvasPane(GraphWindow* owner, const int& reservedBottom)
        : ZoomPane(owner, new CanvasLayout(*owner, reservedBottom), WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL), graph_(*owner)
    {
    }
    // A pressed element may go with the graph and its address be reused: the next press starts afresh.
    ~GraphCanvasPane() override { SetClickTarget(nullptr); }

    // The system sends the canvas presses only, never double clicks: the click record tells them.
    long OnMouseDown(const MouseInput& mouse) override
    {
        if (mouse.right)
            return 0;
        RecordMouseClick(mouse.at);
        Scaled scale(*this);
        graph_.OnCanvasMouseDown(mouse.at);
        return 1;
    }
    long OnMouseMoved(const MouseInput& mouse) override
    {
        Scaled scale(*this);
        graph_.OnCanvasMouseMove(mouse.at, mouse.Control(), mouse.LeftHeld());
        return 0;
    }
    long OnMouseUp(const MouseInput& mouse) override
    {
        Scaled scale(*this);
        graph_.OnCanvasMouseUp();
        return 1;
    }
    long OnKeyDown(unsigned key, bool alt) override
    {
        Scaled scale(*this);
        graph_.OnCanvasKey(true);
        return ZoomPane::OnKeyDown(key, alt);
    }
    long OnKeyUp(unsigned key, bool alt) override
    {
        graph_.OnCanvasKey(false);
        return ZoomPane::OnKeyUp(key, alt);
    }

private:
    class Scaled {
    public:
        explicit Scaled(ZoomPane& pane) : pane_(pane) { pane_.PushDrawingScale(); }
        ~Scaled() { pane_.PopDrawingScale(); }

    private:
        ZoomPane& pane_;
    };

    GraphWindow& graph_;
};

class DottedPen {
public:
    explicit DottedPen(Display& display) : display_(display)
    {
        display_.PushPen(new zPen(Colour{0, 0, 0, 0}, PS_DOT, 1));
    }
    ~DottedPen() { display_.PopPen(); }

private:
    Display& display_;
};

bool IsScreen(const Display& display)
{
    return display.Kind() == Display::KindWindow;
}

// A line between two points in inches, with the display's pen.
void DrawLineBetween(Display& display, float x1, float y1, float x2, float y2)
{
    const HDC dc = display.DeviceContext();
    MoveToEx(dc, LogicalXToPixel(x1, display), LogicalYToPixel(y1, display), nullptr);
    LineTo(dc, LogicalXToPixel(x2, display), LogicalYToPixel(y2, display));
}

}  // namespace

GraphWindow::GraphWindow() : DocumentWindow(NewGraphTitle().c_str(), 0, MenuRes::GraphMenu)
{
    Initialise();
    verticalLabel.vertical = 1;
    verticalAxis.isVertical = 1;
    for (GraphLabel* label : {&title, &subtitle})
        if (const FontRecord* font = TheShell().DefaultFontNamed("GraphTitle"))
            label->font = *font;
    if (const FontRecord* font = TheShell().DefaultFontNamed("GraphHAxisLabel"))
        horizontalLabel.font = *font;
    if (const FontRecord* font = TheShell().DefaultFontNamed("GraphVAxisLabel"))
        verticalLabel.font = *font;
    if (const FontRecord* font = TheShell().DefaultFontNamed("GraphVAxis"))
        verticalAxis.font = *font;
    SetModified(1);
}

GraphWindow::GraphWindow(FromFile) : DocumentWindow("", 0, MenuRes::GraphMenu)
{
    Initialise();
}

GraphWindow::~GraphWindow() = default;

void GraphWindow::ReserveBottomStrip(int height)
{
    bottomStrip_ = height;
    if (handle_ == nullptr)
        return;
    PlaceCanvas();
    CanvasResized();
}

void GraphWindow::PlaceCanvas()
{
    if (handle_ == nullptr)
        return;
    RECT client{};
    GetClientRect(handle_, &client);
    if (ZoomPane* pane = Pane())
        MoveWindow(pane->Handle(), 0, 0, client.right, std::max(0L, client.bottom - bottomStrip_), TRUE);
}

void GraphWindow::Initialise()
{
    auto* pane = new GraphCanvasPane(this, bottomStrip_);
    SetPane(pane);
    pane->EnableZoom(true);
    pane->AttachScrollBars(40, 40, 160, 160);
    const int zoom = ReadProfileInt("GraphPrefs", "PrintZoomFact", 100);
    printZoom = static_cast<uint8_t>(zoom > 0 && zoom < 256 ? zoom : 100);
    centreOnPage = ReadProfileInt("GraphPrefs", "CenterGraphOnPage", 0) != 0 ? 1 : 0;
    ForEachElement([this](GraphElement& element) { element.owner = this; });
}

void GraphWindow::Show(int showCommand)
{
    const bool first = (State() & StateShown) == 0;
    DocumentWindow::Show(showCommand);
    if (first && (State() & StateShown) != 0)
        FirstShown();
}

bool GraphWindow::OpenGraphFile(const char* path)
{
    SetTitleFromPath(path);
    if (!ReadFromFile())
        return false;
    ForEachElement([this](GraphElement& element) { element.owner = this; });
    SetModified(0);
    if (auto* pane = Pane())
        pane->DrawingChanged();
    // Its elements were measured and placed when it was saved; it keeps the size it was saved with until its
    // window changes size, but fills a window that opens maximised at once.
    laidOut_ = true;
    WindowSizeChanged();
    if (IsZoomed(handle_))
        FitPlotInPlace();
    return true;
}

const char* const* GraphWindow::FileFilter()
{
    static const char* const filter[] = {"Graph Files (*.grf)", "*.grf", nullptr};
    return filter;
}

bool GraphWindow::WriteTextExport(TextReport&)
{
    return false;
}

void GraphWindow::BeginTextExport(TextReport& report, const char* reportTitle) const
{
    report.SetTitle(reportTitle);
    zString heading = title.text;
    if (hasSubtitle) {
        heading += " ";
        heading += subtitle.text;
    }
    report.AddHeaderLine(heading.Text());
    report.AddColumnHeader(horizontalLabel.text.Text());
}

bool GraphWindow::GetPrintOffset(float& x, float& y)
{
    x = printOffsetX;
    y = printOffsetY;
    return true;
}

void GraphWindow::SetPrintOffset(float x, float y)
{
    printOffsetX = x;
    printOffsetY = y;
}

void GraphWindow::SetPrintScale(double x, double)
{
    printZoom = static_cast<uint8_t>(std::min(255.0, std::max(1.0, x * 100.0)));
}

PrinterSetupRecord& GraphWindow::PrinterSettings()
{
    if (!printerSettings_)
        printerSettings_ = std::make_unique<PrinterSetupRecord>();
    return *printerSettings_;
}

namespace {

// The tick interval nearest (on a log scale) to the span over `count`: 1, 2 or 5 times a power of ten.
double RoundInterval(double span, int count)
{
    const double raw = span / count;
    const double power = PowerOfTen(std::floor(std::log10(raw)));
    const double share = raw / power;
    // The geometric midpoints between 1, 2, 5 and 10.
    const double factor = share < std::sqrt(2.0)    ? 1.0
                          : share < std::sqrt(10.0) ? 2.0
                          : share < std::sqrt(50.0) ? 5.0
                                                    : 10.0;
    return factor * power;
}

// Whether a step is one digit times a power of ten and the start a whole multiple of that power, so that
// every step from the start falls on a round value.
bool IsRoundStep(double start, double step)
{
    const double power = PowerOfTen(std::floor(std::log10(step) + 1e-9));
    const auto whole = [](double value) { return std::fabs(value - std::round(value)) < 1e-6; };
    return whole(step / power) && whole(start / power);
}

// The multiple of the interval at or below the value, allowing for rounding in the value.
double MultipleBelow(double value, double interval)
{
    return std::floor(value / interval + 1e-9) * interval;
}

}  // namespace

void GraphWindow::AutoScaleAxis(int which, const NumericFormat& format, double low, double high, const char* title,
                                int userMayEdit, int count)
{
    // Values that are no numbers scale nothing; a reversed range is taken the right way round.
    if (!std::isfinite(low))
        low = std::isfinite(high) ? high : 0.0;
    if (!std::isfinite(high))
        high = low;
    if (low > high)
        std::swap(low, high);
    if (std::fabs(high - low) < 1e-10)
        high += 0.1;
    const int n = count < 1 ? 8 : count;
    const double raw = (high - low) / n;
    const double p = PowerOfTen(std::floor(std::log10(raw)));
    double k = std::round(raw / p);
    if (k < 2)
        k = 1;
    const double interval = k * p;
    const double bottom = std::floor(low / p) * p;
    const double top = (std::floor((high - bottom) / interval) + 1) * interval + bottom;
    NumericFormat chosen = format;
    // The labels step by the interval chosen, not by the range over the count asked for.
    AutoFormatForRange(chosen, bottom, top, static_cast<int>(std::lround((top - bottom) / interval)));
    AxisElement& axis = which != 0 ? verticalAxis : horizontalAxis;
    axis.SetScale(chosen, bottom, top, interval, userMayEdit);
    (which != 0 ? verticalLabel : horizontalLabel).text = title;
}

void GraphWindow::ScaleSweptAxis(int which, const NumericFormat& format, double low, double high, int intervals,
                                 const char* title)
{
    if (intervals < 1 || !(high > low)) {
        AutoScaleAxis(which, format, low, high, title, 1, intervals);
        return;
    }
    AxisElement& axis = which != 0 ? verticalAxis : horizontalAxis;
    (which != 0 ? verticalLabel : horizontalLabel).text = title;
    NumericFormat fitted = format;
    const double swept = (high - low) / intervals;
    if (IsRoundStep(low, swept)) {
        // The swept steps are round values themselves: the axis runs exactly over them.
        AutoFormatForRange(fitted, low, high, intervals);
        axis.SetScale(fitted, low, high, swept, 1);
        return;
    }
    // Else round ticks from the multiple of a round interval at or below low to the one at or above high,
    // about as many as were swept, with no more places than the interval has.
    const double interval = RoundInterval(high - low, intervals);
    const double bottom = MultipleBelow(low, interval);
    double top = MultipleBelow(high, interval);
    if (top < high - 1e-9 * interval)
        top += interval;
    AutoFormatForRange(fitted, bottom, top, static_cast<int>(std::lround((top - bottom) / interval)));
    axis.SetScale(fitted, bottom, top, interval, 1);
}

GraphLabel* GraphWindow::AddLegendEntry(const char* text, GraphElement* key)
{
    GraphLabel* label = legendTexts.AddLabel(text);
    if (label != nullptr)
        label->owner = this;
    if (key != nullptr) {
        key->owner = this;
        if (!legendKeys.Add(key))
            delete key;
    }
    return label;
}

void GraphWindow::ForEachElement(const ElementVisit& visit)
{
    visit(title);
    if (hasSubtitle)
        visit(subtitle);
    visit(horizontalLabel);
    visit(verticalLabel);
    visit(horizontalAxis);
    visit(verticalAxis);
    for (int i = 0; i < legendTexts.Count(); ++i)
        visit(*legendTexts.Label(i));
    for (int i = 0; i < legendKeys.Count(); ++i)
        visit(*legendKeys.Key(i));
    for (GraphElementList* list : {&freeLabels, &bottomLabels, &sideLabels})
        for (int i = 0; i < list->Count(); ++i)
            visit(*list->Label(i));
    for (GraphElement* element : LegendColumnBlock())
        visit(*element);
}

GraphElement* GraphWindow::FindElement(float x, float y)
{
    GraphElement* found = nullptr;
    ForEachElement([&](GraphElement& element) {
        if (found == nullptr && ElementShown(element) && element.Contains(x, y) && element.Width() > 0 &&
            element.Height() > 0)
            found = &element;
    });
    return found;
}

zString GraphWindow::CoordinateText(float x, float y) const
{
    auto part = [](const GraphLabel& label, const AxisElement& axis, double value) {
        zString number;
        FormatNumber(axis.numberFormat, value, number, false, true, static_cast<int16_t>(axis.numberFormat.axisDigits + 1));
        zString text = label.text;
        text += " = ";
        text += number;
        return text;
    };
    zString text = part(horizontalLabel, horizontalAxis, horizontalAxis.ValueAt(x, graphRect));
    text += "; ";
    text += part(verticalLabel, verticalAxis, verticalAxis.ValueAt(y, graphRect));
    return text;
}

void GraphWindow::DrawSetLines(Display& display)
{
    DottedPen pen(display);
    if (verticalLineFlag == 1) {
        const float x = horizontalAxis.Position(verticalLineX, graphRect);
        DrawLineBetween(display, x, graphRect.bottom, x, graphRect.top);
    }
    if (horizontalLineFlag == 1) {
        const float y = verticalAxis.Position(horizontalLineY, graphRect);
        DrawLineBetween(display, graphRect.left, y, graphRect.right, y);
    }
}

void GraphWindow::Draw(Display* display)
{
    if (display == nullptr)
        return;
    DisplayLock lock(*display);
    const HDC dc = display->DeviceContext();
    RECT clip;
    if (GetClipBox(dc, &clip) == ERROR || IsRectEmpty(&clip))
        clip = LogicalRectToPixels(extent, *display);
    FillRect(dc, &clip, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    display->SetBackgroundMode(TRANSPARENT);
    const RECT plot = LogicalRectToPixels(graphRect, *display);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, plot.left, plot.top, plot.right + 1, plot.bottom + 1);
    if (SetLinesUnderSeries())
        DrawSetLines(*display);
    DrawSeries(*display);
    if (!SetLinesUnderSeries())
        DrawSetLines(*display);
    RestoreDC(dc, saved);
    display->FrameRect(plot);
    const bool screen = IsScreen(*display);
    if (screen) {
        DrawHandle(*display, POINT{plot.left, plot.top}, Colour{0, 0, 0, 0}, true, true);
        DrawHandle(*display, POINT{plot.right, plot.bottom}, Colour{0, 0, 0, 0}, false, true);
    }
    ForEachElement([this, display](GraphElement& element) {
        if (ElementShown(element))
            element.Draw(*display);
    });
    if (screen && selected_ != nullptr)
        DrawDashedRect(*display, selected_->rect, 0, RGB(0, 0, 0));
}

float LegendKeyWidth(const GraphWindow* graph)
{
    return graph != nullptr && graph->legendKeys.Count() > 0 ? graph->legendKeys.Key(0)->Width() : 0.0f;
}
