#include "graph/LineGraph.h"

#include "graph/RegionGraph.h"

#include "analysis/LineGraphData.h"
#include "foundation/NumericFormatting.h"
#include "framework/draw/Display.h"
#include "framework/draw/LogicalUnits.h"
#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/TextReport.h"
#include "foundation/VersionRecord.h"
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

constexpr uint32_t kBadThresholdPoint = 10;
constexpr uint32_t kBadThresholdLabel = 11;
constexpr uint32_t kBadLinePart = 13;
constexpr uint32_t kBadThresholdPart = 14;
constexpr int kMostStoredLines = 100;
constexpr int kMostThresholdPoints = 100;
constexpr int kLongestThresholdTitle = 300;
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

void ThresholdLabel::Serialize(Archive& archive)
{
    GraphLabel::Serialize(archive);
    if (archive.Failed())
        return;
    VersionRecord version;
    version.Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteShort(thresholdIndex);
        StoreString(archive, secondText);
        return;
    }
    archive.ReadShort(thresholdIndex);
    LoadString(archive, secondText);
    if (thresholdIndex < 0)
        archive.SetFormatError(kBadThresholdLabel);
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

bool LineGraph::WriteTextExport(TextReport& report)
{
    auto number = [](const AxisElement& axis, double value) {
        zString text;
        FormatNumber(axis.numberFormat, value, text, false, false, -9);
        return text;
    };
    auto xAt = [this](int k) {
        const GraphLineElement* first = lines_.Line(0);
        return first != nullptr && !first->positions.empty() && k < first->Count()
                   ? first->positions[k]
                   : horizontalAxis.valueBottom + k * horizontalAxis.interval;
    };
    BeginTextExport(report, "KIVO(tm) Line Graph");
    for (int i = 0; i < LineCount(); ++i)
        report.AddColumnHeader(legendTexts.Label(i)->text.Text());
    for (int k = 0; k <= stepCount_; ++k) {
        zString row = number(horizontalAxis, xAt(k));
        for (int i = 0; i < LineCount(); ++i) {
            row += "\t";
            const GraphLineElement& line = *lines_.Line(i);
            row += number(verticalAxis, k < line.Count() ? line.values[k] : 0.0);
        }
        report.AddLine(row);
    }
    if (ThresholdCount() > 0) {
        report.AddNote("Threshold Values:");
        for (int i = 0; i < thresholdLabels_.Count(); ++i) {
            const ThresholdLabel& label = *thresholdLabels_.Label(i);
            const GraphSeriesItem& point = Threshold(label.thresholdIndex);
            zString note = "Lines (";
            note += legendTexts.Label(point.first)->text;
            note += ", ";
            note += legendTexts.Label(point.second)->text;
            note += ") ";
            note += label.text;
            note += "/";
            note += label.secondText;
            report.AddNote(note.Text());
        }
        report.AddNote("");
    }
    report.AddNote("The following duplicate output may offer better import into other software.");
    report.AddNote("");
    zString across = horizontalLabel.text;
    for (int k = 0; k <= stepCount_; ++k) {
        across += "\t";
        across += number(horizontalAxis, xAt(k));
    }
    report.AddNote(across.Text());
    for (int i = 0; i < LineCount(); ++i) {
        const GraphLineElement& line = *lines_.Line(i);
        zString values = legendTexts.Label(i)->text;
        for (int k = 0; k < line.Count(); ++k) {
            values += "\t";
            values += number(verticalAxis, line.values[k]);
        }
        report.AddNote(values.Text());
    }
    return true;
}

bool LineGraph::ElementShown(const GraphElement& element) const
{
    if (&element == &thresholdTitle_ || dynamic_cast<const ThresholdLabel*>(&element) != nullptr)
        return ThresholdBlockShown();
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

// Own part of the graph file, after the common part:
//   version record                                    3 bytes
//   step count                                        i16
//   lines                                             list of line records
//   display-thresholds flag                           i16; check: steps >= 0, 0..100 lines of steps + 1
//                                                     values, flag 0 or 1 (else format error 13)
//   threshold title                                   label record
//   threshold points                                  list; check: title under 301 characters, 0..100
//                                                     points (else 14), each on two lines (else 10)
//   threshold labels                                  list
//   variable name                                     stored string
//   higher-is-better, thresholds-recorded flags       2 x i16
//   option word                                       i16 (from 2.6)
//   shown line count n, n indexes into the lines      i16, n x i16 (from 3.0)
void LineGraph::StorePart(Archive& archive)
{
    VersionRecord(VersionRecord::Current()).Serialize(archive);
    archive.WriteShort(stepCount_);
    lines_.Serialize(archive);
    archive.WriteShort(displayThresholds_);
    thresholdTitle_.Serialize(archive);
    thresholds_.Serialize(archive);
    thresholdLabels_.Serialize(archive);
    StoreString(archive, variableName);
    archive.WriteShort(higherIsBetter).WriteShort(thresholdsRecorded).WriteShort(optionWord_);
    archive.WriteShort(static_cast<int16_t>(shown_.size()));
    for (GraphLineElement* line : shown_)
        archive.WriteShort(lines_.IndexOf(line));
}

bool LineGraph::LoadPart(Archive& archive)
{
    if (archive.Failed())
        return false;
    VersionRecord version;
    version.Serialize(archive);
    archive.ReadShort(stepCount_);
    lines_.Serialize(archive);
    archive.ReadShort(displayThresholds_);
    bool linesSound = stepCount_ >= 0 && lines_.Count() <= kMostStoredLines && displayThresholds_ >= 0 &&
                      displayThresholds_ <= 1;
    for (int i = 0; linesSound && i < lines_.Count(); ++i)
        linesSound = lines_.Line(i)->Count() == stepCount_ + 1;
    if (!linesSound)
        archive.SetFormatError(kBadLinePart);
    if (archive.Failed())
        return true;
    thresholdTitle_.Serialize(archive);
    thresholds_.Serialize(archive);
    if (thresholdTitle_.text.Length() > kLongestThresholdTitle || thresholds_.Count() > kMostThresholdPoints)
        archive.SetFormatError(kBadThresholdPart);
    for (int i = 0; i < thresholds_.Count(); ++i) {
        const GraphSeriesItem& point = *thresholds_.Point(i);
        if (point.first >= lines_.Count() || point.second >= lines_.Count())
            archive.SetFormatError(kBadThresholdPoint);
    }
    if (archive.Failed())
        return true;
    thresholdLabels_.Serialize(archive);
    for (int i = 0; i < thresholdLabels_.Count(); ++i)
        if (thresholdLabels_.Label(i)->thresholdIndex >= thresholds_.Count())
            archive.SetFormatError(kBadThresholdLabel);
    LoadString(archive, variableName);
    archive.ReadShort(higherIsBetter).ReadShort(thresholdsRecorded);
    if (version.IsAtLeast(KnownVersion::k2_6))
        archive.ReadShort(optionWord_);
    shown_.clear();
    if (version.IsAtLeast(KnownVersion::k3_0)) {
        int16_t count = 0;
        archive.ReadShort(count);
        if (count < 0 || count > lines_.Count())
            archive.SetFormatError(kBadLinePart);
        for (int i = 0; i < count && !archive.Failed(); ++i) {
            int16_t index = -1;
            archive.ReadShort(index);
            if (index < 0 || index >= lines_.Count())
                archive.SetFormatError(kBadLinePart);
            else
                shown_.push_back(lines_.Line(index));
        }
    }
    for (int i = 0; i < lines_.Count(); ++i)
        lines_.Line(i)->owner = this;
    for (int i = 0; i < thresholds_.Count(); ++i)
        thresholds_.Point(i)->owner = this;
    for (int i = 0; i < thresholdLabels_.Count(); ++i)
        thresholdLabels_.Label(i)->owner = this;
    thresholdTitle_.owner = this;
    return true;
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
