#include "graph/GraphWindow.h"

#include "analysis/SensitivityResultGrid.h"
#include "app/ZoomPane.h"
#include "foundation/NumericFormatting.h"
#include "framework/draw/Display.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/zPen.h"
#include "framework/window/FillLayout.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// The plot's size until the user drags it.
constexpr float kGraphWidth = 5.0f;
constexpr float kGraphHeight = 3.5f;
constexpr float kTickLength = 0.06f;

int& GraphCounter()
{
    static int counter = 0;
    return counter;
}

std::string NewGraphTitle()
{
    return "Untitled Graph " + std::to_string(++GraphCounter());
}

zString TickText(const AxisElement& axis, double value)
{
    zString text;
    FormatNumber(axis.numberFormat, value, text, false, true, DigitsOfFormat);
    return text;
}

}  // namespace

GraphWindow::GraphWindow() : DocumentWindow(NewGraphTitle().c_str(), 0)
{
    verticalAxis.isVertical = 1;
    auto* pane = new ZoomPane(this, new FillLayout(), WS_CHILD | WS_VISIBLE);
    SetPane(pane);
    pane->EnableZoom(true);
    pane->AttachScrollBars(40, 40, 160, 160);
}

GraphWindow::~GraphWindow() = default;

const char* const* GraphWindow::FileFilter()
{
    static const char* const filter[] = {"Graph Files (*.grf)", "*.grf", nullptr};
    return filter;
}

bool GraphWindow::WriteDocument(Archive&)
{
    return false;
}

bool GraphWindow::ReadDocument(Archive&, uint32_t)
{
    return false;
}

bool GraphWindow::WriteTextExport(TextReport&)
{
    return false;
}

void GraphWindow::AutoScaleAxis(int which, const NumericFormat& format, double low, double high, const char* title,
                                int userMayEdit, int count)
{
    if (std::fabs(high - low) < 1e-10)
        high += 0.1;
    const int n = count < 1 ? 8 : count;
    const double raw = (high - low) / n;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    double k = std::round(raw / p);
    if (k < 2)
        k = 1;
    const double interval = k * p;
    const double bottom = std::floor(low / p) * p;
    const double top = (std::floor((high - bottom) / interval) + 1) * interval + bottom;
    NumericFormat chosen = format;
    AutoFormatForRange(chosen, bottom, top, n);
    AxisElement& axis = which != 0 ? verticalAxis : horizontalAxis;
    axis.SetScale(chosen, bottom, top, interval, userMayEdit);
    (which != 0 ? verticalLabel : horizontalLabel) = title;
}

float GraphWindow::TextWidth(Display& display, const char* text) const
{
    const SIZE size = display.TextExtent(text, 0);
    return PixelWidthToLogical(size.cx, display);
}

float GraphWindow::TextHeight(Display& display) const
{
    const SIZE size = display.TextExtent("0", 1);
    return PixelHeightToLogical(size.cy, display);
}

void GraphWindow::DrawTextAt(Display& display, float x, float y, const char* text) const
{
    display.TextOutAt(LogicalXToPixel(x, display), LogicalYToPixel(y, display), text);
}

void GraphWindow::DrawLineBetween(Display& display, float x1, float y1, float x2, float y2) const
{
    const HDC dc = display.DeviceContext();
    MoveToEx(dc, LogicalXToPixel(x1, display), LogicalYToPixel(y1, display), nullptr);
    LineTo(dc, LogicalXToPixel(x2, display), LogicalYToPixel(y2, display));
}

void GraphWindow::Layout()
{
    Display* display = PaneDisplay();
    if (display == nullptr)
        return;
    DisplayLock lock(*display);
    const float line = TextHeight(*display);
    // Title block.
    float titleWidth = TextWidth(*display, title.Text());
    float titleHeight = line + 0.2f;
    if (hasSubtitle) {
        titleWidth = std::max(titleWidth, TextWidth(*display, subtitle.Text()));
        titleHeight += line + 0.03f;
    }
    // Plot block: vertical label, vertical axis numbers, the plot, the legend column.
    float tickWidth = 0.0f;
    for (int i = 0; i <= verticalAxis.IntervalCount(); ++i)
        tickWidth = std::max(tickWidth,
                             TextWidth(*display, TickText(verticalAxis, verticalAxis.valueBottom + i * verticalAxis.interval).Text()));
    const float axisWidth = tickWidth + kTickLength + 0.05f;
    const float labelWidth = TextWidth(*display, verticalLabel.Text());
    float legendWidth = 0.0f;
    for (const zString& text : legendTexts)
        legendWidth = std::max(legendWidth, TextWidth(*display, text.Text()));
    if (!legendTexts.empty())
        legendWidth += 0.125f + 0.05f + 0.1f;
    float extraWidth = 0.0f;
    float extraHeight = 0.0f;
    ExtraLegendSize(*display, extraWidth, extraHeight);
    legendWidth = std::max(legendWidth, extraWidth);
    const float axisHeight = line + kTickLength + 0.05f;
    const float plotWidth = labelWidth + 0.1f + axisWidth + kGraphWidth + 0.1f + legendWidth;
    const float width = std::max({titleWidth, plotWidth, TextWidth(*display, horizontalLabel.Text())});

    const float plotTop = 0.2f + titleHeight + 0.05f;
    graphRect.left = 0.2f + labelWidth + 0.1f + axisWidth;
    graphRect.top = plotTop;
    graphRect.right = graphRect.left + kGraphWidth;
    graphRect.bottom = plotTop + kGraphHeight;
    legendLeft_ = graphRect.right + 0.1f;
    legendTop_ = plotTop;
    const float bottom = graphRect.bottom + axisHeight + 0.1f + line;
    extent = LogicalRect{0.0f, 0.0f, 0.2f + width + 0.2f,
                         std::max(bottom, legendTop_ + legendTexts.size() * (line + 0.05f) + extraHeight) + 0.2f};
    if (auto* pane = Pane())
        pane->DrawingChanged();
}

void GraphWindow::DrawAxes(Display& display)
{
    const float line = TextHeight(display);
    for (const AxisElement* axis : {&horizontalAxis, &verticalAxis}) {
        if (axis->isHidden)
            continue;
        const int count = axis->IntervalCount();
        for (int i = 0; i <= count; ++i) {
            const double value = axis->valueBottom + i * axis->interval;
            const zString text = TickText(*axis, value);
            const float position = axis->Position(value, graphRect);
            if (axis->isVertical) {
                DrawLineBetween(display, graphRect.left - kTickLength, position, graphRect.left, position);
                DrawTextAt(display, graphRect.left - kTickLength - 0.05f - TextWidth(display, text.Text()),
                           position - line / 2, text.Text());
            } else {
                DrawLineBetween(display, position, graphRect.bottom, position, graphRect.bottom + kTickLength);
                DrawTextAt(display, position - TextWidth(display, text.Text()) / 2, graphRect.bottom + kTickLength,
                           text.Text());
            }
        }
    }
    const float labelTop = graphRect.bottom + kTickLength + line + 0.1f;
    DrawTextAt(display, (graphRect.left + graphRect.right - TextWidth(display, horizontalLabel.Text())) / 2, labelTop,
               horizontalLabel.Text());
    DrawTextAt(display, 0.2f, (graphRect.top + graphRect.bottom - line) / 2, verticalLabel.Text());
}

void GraphWindow::Draw(Display* display)
{
    if (display == nullptr)
        return;
    DisplayLock lock(*display);
    RECT clip;
    if (GetClipBox(display->DeviceContext(), &clip) == ERROR || IsRectEmpty(&clip))
        clip = LogicalRectToPixels(extent, *display);
    FillRect(display->DeviceContext(), &clip, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    display->SetBackgroundMode(TRANSPARENT);
    const float line = TextHeight(*display);
    DrawTextAt(*display, (extent.left + extent.right - TextWidth(*display, title.Text())) / 2, 0.2f, title.Text());
    if (hasSubtitle)
        DrawTextAt(*display, (extent.left + extent.right - TextWidth(*display, subtitle.Text())) / 2,
                   0.2f + line + 0.03f, subtitle.Text());
    DrawSeries(*display);
    display->FrameRect(LogicalRectToPixels(graphRect, *display));
    DrawAxes(*display);
    float y = legendTop_;
    for (size_t i = 0; i < legendTexts.size(); ++i) {
        DrawLegendKey(*display, static_cast<int>(i), LogicalRect{legendLeft_, y, legendLeft_ + 0.125f, y + line});
        DrawTextAt(*display, legendLeft_ + 0.125f + 0.05f, y, legendTexts[i].Text());
        y += line + 0.05f;
    }
    DrawExtraLegend(*display, legendLeft_, y + 0.1f);
}
