// The graph's layout: three blocks stacked from the top (title; plot with side labels, vertical label and
// axis, the plot, the horizontal axis and the legend; bottom with the horizontal label and bottom labels),
// each measured at the origin and then moved into place. A drag of the plot moves only what is tied to it.

#include "graph/GraphWindow.h"

#include "widgets/ZoomPane.h"
#include "framework/draw/Display.h"
#include "framework/draw/LogicalUnits.h"
#include "model/GraphTemplateFile.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kMargin = 0.2f;
constexpr float kBlockGap = 0.05f;
constexpr float kBottomGap = 0.1f;
constexpr float kSubtitleGap = 0.03f;
constexpr float kLegendGap = 0.05f;
// A graph filling a small window (one of many tiles) gives its plot the room its texts leave, down to this
// size (inches).
constexpr float kSmallestFittedPlot = 0.25f;
// A graph larger than its window even then is shown smaller to fit, down to this zoom; only a window too
// small even for that scrolls.
constexpr double kSmallestFittedZoom = 0.5;
// Rounding to pixels must not make a fitted drawing a pixel larger than the room (inches).
constexpr float kFitSlack = 0.03f;

LogicalRect Sized(float width, float height)
{
    return LogicalRect{0, 0, width, height};
}

void MoveRect(LogicalRect& rect, float left, float top)
{
    rect = LogicalRect{left, top, left + rect.right - rect.left, top + rect.bottom - rect.top};
}

}  // namespace

void GraphWindow::GraphSize(float& width, float& height) const
{
    width = graphRect.right - graphRect.left;
    height = graphRect.bottom - graphRect.top;
    if (width >= 0.01f)
        return;
    const DefaultGraphSize preferred = ReadDefaultGraphSize();
    width = preferred.width;
    height = preferred.height;
}

LogicalRect GraphWindow::TitleBlockSize()
{
    float width = title.Width();
    float height = title.Height() + 0.2f;
    if (hasSubtitle) {
        width = std::max(width, subtitle.Width());
        height += subtitle.Height() + kSubtitleGap;
    }
    return Sized(width, height);
}

LogicalRect GraphWindow::PlotBlockSize()
{
    float w = 0.0f;
    float h = 0.0f;
    GraphSize(w, h);
    h = std::max(h, LegendColumnHeight());
    float width = verticalAxis.Width() + verticalLabel.Width() + 0.1f + w + 0.1f;
    if (sideLabels.Count() > 0)
        width += sideLabels.Count() * sideLabels.Label(0)->Width() + 0.1f;
    if (legendTexts.Count() > 0) {
        float legend = 0.0f;
        for (int i = 0; i < legendTexts.Count(); ++i)
            if (ElementShown(*legendTexts.Label(i)))
                legend = std::max(legend, legendTexts.Label(i)->Width());
        legend += (legendKeys.Count() > 0 ? legendKeys.Key(0)->Width() : 0.0f) + 0.1f;
        width += std::max(legend, horizontalAxis.overhang);
    }
    const std::vector<GraphElement*> column = LegendColumnBlock();
    if (!column.empty()) {
        float widest = 0.0f;
        for (GraphElement* element : column)
            widest = std::max(widest, element->Width());
        const float beforeLegend = verticalAxis.Width() + verticalLabel.Width() + 0.1f + w + 0.1f;
        width = std::max(width, beforeLegend + widest);
    }
    return Sized(width, horizontalAxis.Height() + h);
}

float GraphWindow::LegendColumnHeight()
{
    float bottom = 0.0f;
    float y = 0.0f;
    for (int i = 0; i < legendTexts.Count(); ++i) {
        const GraphLabel& text = *legendTexts.Label(i);
        if (!ElementShown(text))
            continue;
        bottom = y + text.Height();
        y = bottom + kLegendGap;
    }
    const std::vector<GraphElement*> column = LegendColumnBlock();
    if (!column.empty()) {
        y = bottom + 2 * kLegendGap;
        for (GraphElement* element : column) {
            bottom = y + element->Height();
            y = bottom + kLegendGap;
        }
    }
    return bottom;
}

LogicalRect GraphWindow::BottomBlockSize()
{
    float height = horizontalLabel.Height();
    if (bottomLabels.Count() > 0)
        height += bottomLabels.Count() * bottomLabels.Label(0)->Height() + 0.1f;
    return Sized(horizontalLabel.Width(), height);
}

void GraphWindow::PlaceTitleBlock(const LogicalRect& block)
{
    const float middle = (block.left + block.right) / 2;
    title.MoveTo(middle - title.Width() / 2, block.top);
    if (hasSubtitle)
        subtitle.MoveTo(middle - subtitle.Width() / 2, title.rect.bottom + kSubtitleGap);
}

void GraphWindow::PlacePlotBlock(const LogicalRect& block)
{
    float w = 0.0f;
    float h = 0.0f;
    GraphSize(w, h);
    // The legend and the block under it stand beside the plot: a plot shorter than they are would leave them
    // over the horizontal axis's numbers and its label.
    h = std::max(h, LegendColumnHeight());
    float x = block.left;
    for (int i = 0; i < sideLabels.Count(); ++i) {
        GraphLabel& label = *sideLabels.Label(i);
        label.MoveTo(x, block.top + (h - label.Height()) / 2);
        x += label.Width();
    }
    if (sideLabels.Count() > 0)
        x += 0.1f;
    verticalLabel.MoveTo(x, block.top + (h - verticalLabel.Height()) / 2);
    x += verticalLabel.Width() + 0.1f;
    verticalAxis.MoveTo(x, block.top - verticalAxis.overhang);
    x += verticalAxis.Width();
    graphRect = LogicalRect{x, block.top, x + w, block.top + h};
    horizontalAxis.MoveTo(graphRect.left - horizontalAxis.overhang, graphRect.bottom);
    const float keyWidth = legendKeys.Count() > 0 ? legendKeys.Key(0)->Width() : 0.0f;
    const float legendLeft = graphRect.right + 0.1f;
    // The entries shown stand one under the other; a hidden one takes no room.
    float y = block.top;
    float legendBottom = block.top;
    for (int i = 0; i < legendTexts.Count(); ++i) {
        GraphLabel& text = *legendTexts.Label(i);
        const bool shown = ElementShown(text);
        if (GraphElement* key = legendKeys.Key(i))
            key->MoveTo(legendLeft, y);
        text.MoveTo(legendLeft + keyWidth + kLegendGap, y);
        if (!shown)
            continue;
        legendBottom = text.rect.bottom;
        y += text.Height() + kLegendGap;
    }
    // The block under the legend: its heading a little lower, then one element below the other.
    y = legendBottom + 2 * kLegendGap;
    for (GraphElement* element : LegendColumnBlock()) {
        element->MoveTo(graphRect.right + kLegendGap, y);
        y += element->Height() + kLegendGap;
    }
}

void GraphWindow::PlaceBottomBlock(const LogicalRect& block)
{
    const float middle = (graphRect.left + graphRect.right) / 2;
    horizontalLabel.MoveTo(middle - horizontalLabel.Width() / 2, block.top);
    float y = block.top + horizontalLabel.Height() + 0.1f;
    for (int i = 0; i < bottomLabels.Count(); ++i) {
        GraphLabel& label = *bottomLabels.Label(i);
        label.MoveTo(middle - label.Width() / 2, y);
        y += label.Height();
    }
}

void GraphWindow::CentreTitles()
{
    const LogicalRect blocks[3] = {TitleBlockSize(), PlotBlockSize(), BottomBlockSize()};
    const float width = std::max({blocks[0].right, blocks[1].right, blocks[2].right});
    const float top = title.rect.top;
    PlaceTitleBlock(LogicalRect{kMargin, top, kMargin + width, top + blocks[0].bottom});
}

void GraphWindow::Layout()
{
    // Laid out for the window's size now: only a later change of it moves the plot.
    WindowSizeChanged();
    LayoutBlocks();
    float width = 0.0f;
    float height = 0.0f;
    if (!placementsKept_ && FittedPlotSize(width, height)) {
        graphRect = LogicalRect{graphRect.left, graphRect.top, graphRect.left + width, graphRect.top + height};
        LayoutBlocks();
        // What a kind keeps of the plot's place follows it.
        SetGraphRect(graphRect);
    }
    if (!placementsKept_)
        ZoomToCanvas();
}

bool GraphWindow::FittedPlotSize(float& width, float& height)
{
    Display* display = PaneDisplay();
    if (!laidOut_ || handle_ == nullptr || display == nullptr || IsIconic(handle_))
        return false;
    RECT client{};
    GetClientRect(handle_, &client);
    // The room without scroll bars: a graph that fits needs none.
    const float across = PixelWidthToLogical(client.right, *display);
    const float down = PixelHeightToLogical(client.bottom - bottomStrip_, *display);
    if (!(across > 0.0f) || !(down > 0.0f))
        return false;
    float nowWidth = 0.0f;
    float nowHeight = 0.0f;
    GraphSize(nowWidth, nowHeight);
    width = std::max(kSmallestFittedPlot, nowWidth + across - (extent.right - extent.left) - kFitSlack);
    height = std::max(kSmallestFittedPlot, nowHeight + down - (extent.bottom - extent.top) - kFitSlack);
    return std::fabs(width - nowWidth) >= 0.01f || std::fabs(height - nowHeight) >= 0.01f;
}

void GraphWindow::CanvasResized()
{
    if (!laidOut_ || !WindowSizeChanged())
        return;
    if (placementsKept_)
        FitPlotInPlace();
    else
        Layout();
}

bool GraphWindow::WindowSizeChanged()
{
    if (handle_ == nullptr || IsIconic(handle_))
        return false;
    RECT client{};
    GetClientRect(handle_, &client);
    const SIZE now{client.right, client.bottom};
    if (now.cx == windowSize_.cx && now.cy == windowSize_.cy)
        return false;
    windowSize_ = now;
    return true;
}

void GraphWindow::FitPlotInPlace()
{
    float width = 0.0f;
    float height = 0.0f;
    if (!FittedPlotSize(width, height))
        return;
    // The extent grows or shrinks with the plot, keeping what it held beyond the elements.
    const float wider = width - (graphRect.right - graphRect.left);
    const float taller = height - (graphRect.bottom - graphRect.top);
    SetGraphRect(LogicalRect{graphRect.left, graphRect.top, graphRect.left + width, graphRect.top + height});
    CentreTitles();
    extent.right += wider;
    extent.bottom += taller;
    if (auto* pane = Pane())
        pane->DrawingChanged();
    ZoomToCanvas();
    InvalidateLogicalRect(nullptr);
}

void GraphWindow::ZoomToCanvas()
{
    ZoomPane* pane = Pane();
    Display* display = PaneDisplay();
    if (pane == nullptr || display == nullptr || handle_ == nullptr || IsIconic(handle_))
        return;
    RECT client{};
    GetClientRect(handle_, &client);
    const float across = PixelWidthToLogical(client.right, *display) - kFitSlack;
    const float down = PixelHeightToLogical(client.bottom - bottomStrip_, *display) - kFitSlack;
    const float wide = extent.right - extent.left;
    const float tall = extent.bottom - extent.top;
    if (!(across > 0.0f) || !(down > 0.0f) || !(wide > 0.0f) || !(tall > 0.0f))
        return;
    const double fitted = std::max(
        kSmallestFittedZoom, std::min({1.0, static_cast<double>(across / wide), static_cast<double>(down / tall)}));
    if (fitted >= 1.0 && !zoomedToCanvas_)
        return;
    zoomedToCanvas_ = fitted < 1.0;
    pane->SetZoom(fitted);
}

void GraphWindow::LayoutBlocks()
{
    Display* display = PaneDisplay();
    if (display == nullptr)
        return;
    laidOut_ = true;
    {
        DisplayLock lock(*display);
        extent.left = extent.top = 0.0f;
        ForEachElement([this](GraphElement& element) { element.owner = this; });
        // Measured at the origin and moved into place, but for the free labels, which stay where they are.
        ForEachElement([this, display](GraphElement& element) {
            if (freeLabels.Contains(&element)) {
                element.Fit(*display);
                return;
            }
            element.rect.left = element.rect.top = 0.0f;
            element.Measure(*display);
        });
        LogicalRect blocks[3] = {TitleBlockSize(), PlotBlockSize(), BottomBlockSize()};
        const float width = std::max({blocks[0].right, blocks[1].right, blocks[2].right});
        float top = kMargin;
        const float gaps[3] = {0.0f, kBlockGap, kBottomGap};
        for (int i = 0; i < 3; ++i) {
            blocks[i].right = width;
            MoveRect(blocks[i], kMargin, top + gaps[i]);
            top = blocks[i].bottom;
        }
        extent.right = kMargin + width + kMargin;
        extent.bottom = blocks[2].bottom + kMargin;
        PlaceTitleBlock(blocks[0]);
        PlacePlotBlock(blocks[1]);
        PlaceBottomBlock(blocks[2]);
    }
    if (auto* pane = Pane())
        pane->DrawingChanged();
}

void GraphWindow::SetGraphRect(const LogicalRect& rect)
{
    Display* display = PaneDisplay();
    const LogicalRect old = graphRect;
    graphRect = rect;
    if (display != nullptr) {
        DisplayLock lock(*display);
        for (AxisElement* axis : {&horizontalAxis, &verticalAxis}) {
            axis->rect.left = axis->rect.top = 0.0f;
            axis->Measure(*display);
        }
    }
    verticalAxis.MoveTo(rect.left - verticalAxis.rect.right, rect.top - verticalAxis.overhang);
    horizontalAxis.MoveTo(rect.left - horizontalAxis.overhang, rect.bottom);
    const float dx = rect.right - old.right;
    for (int i = 0; i < legendTexts.Count(); ++i)
        legendTexts.Label(i)->MoveBy(dx, rect.top - old.top);
    for (int i = 0; i < legendKeys.Count(); ++i)
        legendKeys.Key(i)->MoveBy(dx, rect.top - old.top);
    for (GraphElement* element : LegendColumnBlock())
        element->MoveBy(dx, rect.top - old.top);
    const float middle = (rect.left + rect.right) / 2;
    const float labelShift = rect.bottom - old.bottom;
    horizontalLabel.MoveBy(middle - (horizontalLabel.rect.left + horizontalLabel.rect.right) / 2, labelShift);
    for (int i = 0; i < bottomLabels.Count(); ++i) {
        GraphLabel& label = *bottomLabels.Label(i);
        label.MoveBy(middle - (label.rect.left + label.rect.right) / 2, labelShift);
    }
    verticalLabel.MoveBy(rect.left - old.left,
                         (rect.top + rect.bottom) / 2 - (verticalLabel.rect.top + verticalLabel.rect.bottom) / 2);
    for (int i = 0; i < sideLabels.Count(); ++i) {
        GraphLabel& label = *sideLabels.Label(i);
        label.MoveBy(rect.left - old.left, (rect.top + rect.bottom) / 2 - (label.rect.top + label.rect.bottom) / 2);
    }
}

void GraphWindow::Refit()
{
    LogicalRect bounds{0, 0, 0, 0};
    ForEachElement([this, &bounds](GraphElement& element) {
        if (ElementShown(element))
            bounds = RectUnion(bounds, element.rect);
    });
    extent = RectUnion(bounds, graphRect);
    if (auto* pane = Pane())
        pane->DrawingChanged();
}
