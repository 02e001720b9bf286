#include "graph/LineGraph.h"

#include "analysis/LineGraphData.h"
#include "foundation/NumericFormatting.h"
#include "framework/draw/Display.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/zPen.h"
#include "framework/window/WindowEvent.h"
#include "model/TreeDocument.h"

#include <algorithm>

namespace {

// One colour per mark kind (1..14), so that lines and their legend keys match.
COLORREF MarkColour(int kind)
{
    static const COLORREF colours[] = {
        RGB(0, 0, 0),     RGB(200, 0, 0),   RGB(0, 0, 200),   RGB(0, 140, 0),  RGB(160, 0, 160),
        RGB(0, 140, 140), RGB(200, 100, 0), RGB(90, 90, 90),  RGB(120, 60, 0), RGB(0, 90, 160),
        RGB(160, 0, 80),  RGB(90, 140, 0),  RGB(60, 0, 160),  RGB(150, 120, 0)};
    return colours[(kind - 1) % 14];
}

class DisplayPen {
public:
    DisplayPen(Display& display, COLORREF colour, int style) : display_(display)
    {
        display_.PushPen(new zPen(Colour{GetRValue(colour), GetGValue(colour), GetBValue(colour), 0}, style, 1));
    }
    ~DisplayPen() { display_.PopPen(); }

private:
    Display& display_;
};

// The number format an axis of the data asks for, from the tree's formats when the graph has a tree.
NumericFormat AxisFormat(const GraphAxisData& axis, const TreeDocument* document)
{
    NumericFormat format(true);
    if (document != nullptr) {
        if (axis.format == PayoffFormat && axis.payoff >= 0 && axis.payoff < 4)
            format = document->CalcPrefs.PayoffFormats[axis.payoff];
        else if (axis.format == CostEffectivenessFormat)
            format = document->CalcPrefs.CostEffFormat;
        else
            format = document->NumberFormat;
    }
    if (axis.plain || axis.format == TwoDecimalsFormat) {
        format.unitsKind = NumericFormat::UnitsNone;
        format.unitsText = "";
    }
    switch (axis.format) {
    case TwoDecimalsFormat:
        format.chopOff = 0;
        format.axisDigits = static_cast<uint8_t>(axis.digits > 0 ? axis.digits : 2);
        format.axisFormat = 1;
        break;
    case RangeFormat:
        format.axisDigits = static_cast<uint8_t>(axis.digits);
        format.chopOff = static_cast<uint8_t>(axis.scale);
        format.axisFormat = 1;
        break;
    default:
        format.axisDigits = format.expValDigits;
        break;
    }
    return format;
}

void ScaleAxis(LineGraph& graph, int which, const GraphAxisData& axis, const TreeDocument* document)
{
    const NumericFormat format = AxisFormat(axis, document);
    if (axis.autoScale) {
        graph.AutoScaleAxis(which, format, axis.bottom, axis.top, axis.label.c_str(), axis.automaticFlag, 0);
        return;
    }
    (which != 0 ? graph.verticalAxis : graph.horizontalAxis)
        .SetScale(format, axis.bottom, axis.top, axis.interval, axis.automaticFlag);
    (which != 0 ? graph.verticalLabel : graph.horizontalLabel) = axis.label.c_str();
}

}  // namespace

LineGraph::LineGraph(int stepCount, int optionWord) : stepCount_(stepCount), optionWord_(optionWord)
{
    SetIconId(32007);
}

LineGraph::~LineGraph() = default;

GraphLineElement* LineGraph::AddLine(const double* values, const double* positions, const char* legend)
{
    auto line = std::make_unique<GraphLineElement>();
    line->values.assign(values, values + stepCount_ + 1);
    if (positions != nullptr)
        line->positions.assign(positions, positions + stepCount_ + 1);
    line->markKind = markKindCounter_;
    markKindCounter_ = markKindCounter_ + 1 < 15 ? markKindCounter_ + 1 : 1;
    legendTexts.emplace_back(legend);
    if (lines_.size() < MaximumShownLines)
        shown_.push_back(line.get());
    lines_.push_back(std::move(line));
    return lines_.back().get();
}

void LineGraph::AddThresholdValues(const std::vector<ThresholdPoint>& points)
{
    for (const ThresholdPoint& point : points) {
        thresholds_.push_back(point);
        thresholdTexts_.emplace_back();
        UpdateThresholdText(static_cast<int>(thresholds_.size()) - 1);
    }
    displayThresholds_ = points.empty() ? 0 : 1;
}

void LineGraph::UpdateThresholdText(int index)
{
    const ThresholdPoint& point = thresholds_[index];
    zString number;
    FormatNumber(horizontalAxis.numberFormat, point.x, number, true, true, DigitsOfFormat);
    thresholdTexts_[index][0] = variableName;
    thresholdTexts_[index][0] += " = ";
    thresholdTexts_[index][0] += number;
    FormatNumber(verticalAxis.numberFormat, point.value, number, true, true, DigitsOfFormat);
    thresholdTexts_[index][1] = riskAdjusted ? "CE = " : "EV = ";
    thresholdTexts_[index][1] += number;
}

double LineGraph::ValueAt(int line, double x) const
{
    const std::vector<double>& y = lines_[line]->values;
    const double x0 = horizontalAxis.valueBottom;
    const double step = horizontalAxis.interval;
    if (x == x0)
        return y[0];
    for (int k = 1; k <= stepCount_; ++k) {
        const double xk = x0 + k * step;
        if (x <= xk)
            return y[k - 1] + (x - (xk - step)) * (y[k] - y[k - 1]) / step;
    }
    return y[stepCount_];
}

int LineGraph::BestLineAt(double x) const
{
    int best = -1;
    double bestValue = 0.0;
    for (int i = 0; i < LineCount(); ++i) {
        const double value = ValueAt(i, x);
        if (best < 0 || (higherIsBetter ? value > bestValue : value < bestValue)) {
            best = i;
            bestValue = value;
        }
    }
    return best;
}

long LineGraph::OnCommandId(unsigned id, unsigned code, HWND control)
{
    if (id == DisplayThresholdsCommand) {
        displayThresholds_ = displayThresholds_ > 0 ? 0 : 1;
        InvalidateAll();
        return 1;
    }
    return GraphWindow::OnCommandId(id, code, control);
}

float LineGraph::PointX(const GraphLineElement& line, int point) const
{
    const double x = line.positions.empty() ? horizontalAxis.valueBottom + point * horizontalAxis.interval
                                            : line.positions[point];
    return horizontalAxis.Position(x, graphRect);
}

void LineGraph::DrawSeries(Display& display)
{
    for (const GraphLineElement* line : shown_) {
        DisplayPen pen(display, MarkColour(line->markKind), PS_SOLID);
        std::vector<POINT> points;
        for (int k = 0; k <= stepCount_ && k < static_cast<int>(line->values.size()); ++k)
            points.push_back(POINT{LogicalXToPixel(PointX(*line, k), display),
                                   LogicalYToPixel(verticalAxis.Position(line->values[k], graphRect), display)});
        Polyline(display.DeviceContext(), points.data(), static_cast<int>(points.size()));
    }
    if (!displayThresholds_)
        return;
    DisplayPen pen(display, RGB(0, 0, 0), PS_DOT);
    for (const ThresholdPoint& point : thresholds_) {
        const float x = horizontalAxis.Position(point.x, graphRect);
        DrawLineBetween(display, x, graphRect.bottom, x, verticalAxis.Position(point.value, graphRect));
    }
}

void LineGraph::DrawLegendKey(Display& display, int index, const LogicalRect& key)
{
    DisplayPen pen(display, MarkColour(lines_[index]->markKind), PS_SOLID);
    const float middle = (key.top + key.bottom) / 2;
    DrawLineBetween(display, key.left, middle, key.right, middle);
}

void LineGraph::ExtraLegendSize(Display& display, float& width, float& height)
{
    if (thresholds_.empty())
        return;
    const float line = TextHeight(display);
    width = TextWidth(display, "Threshold Values:");
    for (const auto& texts : thresholdTexts_)
        width = std::max({width, TextWidth(display, texts[0].Text()), TextWidth(display, texts[1].Text())});
    height = 0.1f + (line + 0.05f) * (1 + 2 * ThresholdCount());
}

void LineGraph::DrawExtraLegend(Display& display, float left, float top)
{
    if (!displayThresholds_)
        return;
    const float line = TextHeight(display);
    DrawTextAt(display, left, top, "Threshold Values:");
    for (const auto& texts : thresholdTexts_) {
        top += line + 0.05f;
        DrawTextAt(display, left, top, texts[0].Text());
        top += line;
        DrawTextAt(display, left, top, texts[1].Text());
    }
}

LineGraph* OpenLineGraph(const LineGraphData& data)
{
    int steps = 0;
    for (const GraphLineData& line : data.lines)
        steps = std::max(steps, static_cast<int>(line.values.size()) - 1);
    auto* graph = new LineGraph(steps, 1);
    graph->title = data.title.c_str();
    if (!data.subtitles.empty()) {
        graph->subtitle = data.subtitles.front().c_str();
        graph->hasSubtitle = true;
    }
    ScaleAxis(*graph, 0, data.horizontal, data.document);
    ScaleAxis(*graph, 1, data.vertical, data.document);
    graph->variableName = data.variableName.c_str();
    graph->riskAdjusted = data.useUtility ? 1 : 0;
    graph->higherIsBetter = data.maximizing ? 1 : 0;
    for (const GraphLineData& line : data.lines) {
        std::vector<double> values = line.values;
        values.resize(steps + 1, values.empty() ? 0.0 : values.back());
        graph->AddLine(values.data(), nullptr, line.name.c_str());
    }
    graph->AddThresholdValues(data.thresholds);
    graph->thresholdsRecorded = data.thresholds.empty() ? 0 : 1;
    graph->Layout();
    graph->Show(SW_SHOWNORMAL);
    return graph;
}

void InstallLineGraphWindows()
{
    SetLineGraphPresenter([](const LineGraphData& data) { OpenLineGraph(data); });
}
