#include "graph/LineGraph.h"

#include "graph/RegionGraph.h"

#include "analysis/LineGraphData.h"
#include "foundation/NumericFormatting.h"
#include "framework/draw/Display.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/window/WindowEvent.h"
#include "dialogs/ChoiceControls.h"
#include "graph/ShowHideLinesDialog.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "foundation/NameList.h"
#include "widgets/Shell.h"
#include "model/TreeDocument.h"

#include <algorithm>

namespace {

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
            format = document->NumberFormat();
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
    (which != 0 ? graph.verticalLabel : graph.horizontalLabel).text = axis.label.c_str();
}

constexpr float kMarkGap = 0.015f;

}  // namespace

void ThresholdLabel::Measure(Display& display)
{
    float width = 0.0f;
    float height = 0.0f;
    float secondWidth = 0.0f;
    MeasureText(display, font, text.Text(), width, height);
    MeasureText(display, font, secondText.Text(), secondWidth, height);
    const float mark = LegendKeyWidth(owner);
    rect.right = 2 * (mark + kMarkGap) + std::max(width, secondWidth);
    rect.bottom = 2 * height;
}

void ThresholdLabel::Draw(Display& display)
{
    auto* graph = dynamic_cast<LineGraph*>(owner);
    if (graph == nullptr || thresholdIndex >= graph->ThresholdCount())
        return;
    const float mark = LegendKeyWidth(owner);
    const float middle = (rect.top + rect.bottom) / 2;
    const GraphSeriesItem& point = graph->Threshold(thresholdIndex);
    if (point.first < graph->LineCount())
        DrawPointMark(display, graph->Line(point.first).markKind, rect.left + mark / 2, middle);
    if (point.second < graph->LineCount())
        DrawPointMark(display, graph->Line(point.second).markKind, rect.left + 1.5f * mark + kMarkGap, middle);
    const float textLeft = rect.left + 2 * mark + 2 * kMarkGap;
    GraphLabel line(text.Text());
    line.font = font;
    line.rect = LogicalRect{textLeft, rect.top, rect.right, middle};
    line.Draw(display);
    line.text = secondText;
    line.rect = LogicalRect{textLeft, middle, rect.right, rect.bottom};
    line.Draw(display);
}

LineGraph::LineGraph(int stepCount, int optionWord)
    : stepCount_(static_cast<int16_t>(stepCount)), optionWord_(static_cast<int16_t>(optionWord))
{
    SetIconId(32007);
    thresholdTitle_.font.bold = 1;
    thresholdTitle_.owner = this;
}

LineGraph::LineGraph(const char* path) : GraphWindow(FromFile{}), stepCount_(0), optionWord_(1)
{
    SetIconId(32007);
    thresholdTitle_.owner = this;
    OpenGraphFile(path);
}

LineGraph::~LineGraph() = default;

GraphLineElement* LineGraph::AddLine(const double* values, const double* positions, const char* legend)
{
    auto* line = new GraphLineElement;
    line->owner = this;
    line->values.assign(values, values + stepCount_ + 1);
    if (positions != nullptr)
        line->positions.assign(positions, positions + stepCount_ + 1);
    line->markKind = markKindCounter_;
    if (!lines_.Add(line)) {
        delete line;
        return nullptr;
    }
    AddLegendEntry(legend, new GraphMarkElement(markKindCounter_));
    markKindCounter_ = markKindCounter_ + 1 < kMarkKindCount ? markKindCounter_ + 1 : 1;
    if (static_cast<int>(shown_.size()) < MaximumShownLines)
        shown_.push_back(line);
    return line;
}

void LineGraph::AddThresholdValues(const std::vector<::ThresholdPoint>& points)
{
    for (const ::ThresholdPoint& point : points) {
        auto* item = new GraphSeriesItem;
        item->owner = this;
        item->first = point.first;
        item->second = point.second;
        item->x = point.x;
        item->y = point.value;
        // In ascending order of x, whichever pair of lines the analysis found first: the block lists them
        // so and the strategy graph takes them as the bounds of its intervals.
        if (thresholds_.InsertSorted(item) < 0) {
            delete item;
            break;
        }
        auto* label = new ThresholdLabel;
        label->owner = this;
        if (!thresholdLabels_.Add(label)) {
            delete label;
            break;
        }
    }
    for (int i = 0; i < thresholdLabels_.Count(); ++i) {
        thresholdLabels_.Label(i)->thresholdIndex = static_cast<int16_t>(i);
        UpdateThresholdText(i);
    }
    displayThresholds_ = points.empty() ? 0 : 1;
}

void LineGraph::UpdateThresholdText(int index)
{
    ThresholdLabel& label = *thresholdLabels_.Label(index);
    const GraphSeriesItem& point = *thresholds_.Point(label.thresholdIndex);
    zString number;
    FormatNumber(horizontalAxis.numberFormat, point.x, number, true, true, DigitsOfFormat);
    label.text = variableName;
    label.text += " = ";
    label.text += number;
    FormatNumber(verticalAxis.numberFormat, point.y, number, true, true, DigitsOfFormat);
    label.secondText = riskAdjusted ? "CE = " : "EV = ";
    label.secondText += number;
}

double LineGraph::ValueAt(int line, double x) const
{
    const std::vector<double>& y = lines_.Line(line)->values;
    const double x0 = horizontalAxis.valueBottom;
    const double step = horizontalAxis.interval;
    if (y.empty())
        return 0.0;
    if (x == x0)
        return y[0];
    const int last = std::min<int>(stepCount_, static_cast<int>(y.size()) - 1);
    for (int k = 1; k <= last; ++k) {
        const double xk = x0 + k * step;
        if (x <= xk)
            return y[k - 1] + (x - (xk - step)) * (y[k] - y[k - 1]) / step;
    }
    return y[last];
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

const GraphWindow::CommandRow LineGraph::KindRows[] = {
    {Cmd::GraphDisplayThresholdValues, [](GraphWindow& graph) { static_cast<LineGraph&>(graph).ToggleThresholds(); },
     [](GraphWindow& graph) { return static_cast<LineGraph&>(graph).ThresholdCount() > 0; }},
    {Cmd::GraphStrategyGraph, [](GraphWindow& graph) { static_cast<LineGraph&>(graph).StrategyGraph(); },
     [](GraphWindow& graph) { return static_cast<LineGraph&>(graph).ThresholdCount() > 0; }},
    {Cmd::GraphShowHide, [](GraphWindow& graph) { static_cast<LineGraph&>(graph).ShowHideLines(); },
     [](GraphWindow& graph) { return static_cast<LineGraph&>(graph).LineCount() > 0; }},
    {Cmd::GraphLineToTable, [](GraphWindow& graph) { static_cast<LineGraph&>(graph).LineToTable(); },
     [](GraphWindow& graph) { return static_cast<LineGraph&>(graph).LineCount() > 0; }},
};

GraphWindow::CommandTable LineGraph::KindCommands() const
{
    return KindRows;
}

void LineGraph::ToggleThresholds()
{
    displayThresholds_ = displayThresholds_ > 0 ? 0 : 1;
    Refit();
    InvalidateAll();
}

void LineGraph::StrategyGraph()
{
    MakeStrategyGraph(*this);
}

void LineGraph::ShowHideLines()
{
    std::vector<std::string> names;
    std::vector<GraphLineElement*> lines;
    for (int i = 0; i < LineCount(); ++i) {
        names.push_back(legendTexts.Label(i) != nullptr ? legendTexts.Label(i)->text.Text() : "");
        lines.push_back(lines_.Line(i));
    }
    if (!ShowHideItems(names, lines, shown_, MaximumShownLines))
        return;
    Layout();
    SetModified(1);
    InvalidateAll();
}

void LineGraph::LineToTable()
{
    int chosen = 0;
    if (shown_.size() > 1) {
        NameList rows;
        for (int i = 0; i < LineCount(); ++i)
            rows.AddText(legendTexts.Label(i) != nullptr ? legendTexts.Label(i)->text.Text() : "");
        if (ShowListChooser("Line To Table", "Choose a &line to convert into a table:", rows, chosen) != IDOK)
            return;
    } else if (shown_.size() == 1) {
        chosen = lines_.IndexOf(shown_.front());
    }
    const GraphLineElement* line = lines_.Line(chosen);
    LookupTable* table = line != nullptr ? NewTable() : nullptr;
    if (table == nullptr)
        return;
    for (int i = 0; i < line->Count(); ++i) {
        const double index = !line->positions.empty() ? line->positions[i]
                                                      : horizontalAxis.valueBottom + i * horizontalAxis.interval;
        table->SetEntry(index, line->values[i]);
    }
    table->Save();
    TheShell().OpenTableGraph(table->Name().Text());
}

void LineGraph::FormatChanged()
{
    for (int i = 0; i < thresholdLabels_.Count(); ++i)
        UpdateThresholdText(i);
    Layout();
}

void LineGraph::UpdateMenus(HMENU bar)
{
    GraphWindow::UpdateMenus(bar);
    ModifyMenuA(bar, Cmd::GraphDisplayThresholdValues,
                MF_BYCOMMAND | MF_STRING | (ThresholdCount() > 0 ? MF_ENABLED : MF_GRAYED) |
                    (displayThresholds_ ? MF_CHECKED : MF_UNCHECKED),
                Cmd::GraphDisplayThresholdValues, "&Display Threshold Values");
}

bool LineGraph::ElementShown(const GraphElement& element) const
{
    if (&element == &thresholdTitle_ || dynamic_cast<const ThresholdLabel*>(&element) != nullptr)
        return ThresholdBlockShown();
    // The legend names the lines drawn.
    int entry = legendTexts.IndexOf(&element);
    if (entry < 0)
        entry = legendKeys.IndexOf(&element);
    if (entry >= 0 && entry < LineCount())
        return LineShown(entry);
    return GraphWindow::ElementShown(element);
}

bool LineGraph::LineShown(int index) const
{
    return index >= 0 && index < LineCount() &&
           std::find(shown_.begin(), shown_.end(), lines_.Line(index)) != shown_.end();
}

bool LineGraph::EditLegendKey(GraphElement& key)
{
    return EditLineMarkKey(*this, key, lines_);
}

void LineGraph::DrawSeries(Display& display)
{
    for (GraphLineElement* line : shown_)
        line->Draw(display);
    if (!displayThresholds_)
        return;
    for (int i = 0; i < thresholds_.Count(); ++i) {
        GraphSeriesItem& point = *thresholds_.Point(i);
        if (LineShown(point.first) && LineShown(point.second))
            point.Draw(display);
    }
}

std::vector<GraphElement*> LineGraph::LegendColumnBlock()
{
    return thresholdLabels_.Column(thresholdTitle_);
}

LineGraph* OpenLineGraph(const LineGraphData& data)
{
    int steps = 0;
    for (const GraphLineData& line : data.lines)
        steps = std::max(steps, static_cast<int>(line.values.size()) - 1);
    auto* graph = new LineGraph(steps, 1);
    graph->title.text = data.title.c_str();
    if (!data.subtitles.empty()) {
        graph->subtitle.text = data.subtitles.front().c_str();
        graph->hasSubtitle = 1;
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
    graph->Open(data.graphTemplate);
    return graph;
}

void InstallLineGraphWindows()
{
    SetLineGraphPresenter([](const LineGraphData& data) { OpenLineGraph(data); });
}
