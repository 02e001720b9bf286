#include "graph/DistributionGraph.h"

#include "analysis/BarGraphData.h"
#include "analysis/OutcomeHistogram.h"
#include "graph/ShowHideLinesDialog.h"
#include "foundation/Archive.h"
#include "foundation/MessageBoxes.h"
#include "foundation/NumericFormatting.h"
#include "foundation/TextReport.h"
#include "foundation/VersionRecord.h"
#include "framework/draw/ColourContext.h"
#include "framework/draw/Display.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/zPen.h"
#include "graph/GraphMarks.h"
#include "graph/LineListGraph.h"

#include "CommandIds.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t kBadDistributionPart = 15;
constexpr float kLinePenWidth = 0.0075f;
constexpr float kRiserHook = 0.06f;
constexpr unsigned kIconId = 32010;  // not a resource id: an icon, which the generated names leave out

}  // namespace

// Steps across the plot from the axis's bottom: a level per value, a riser with a small hook where the
// next value is higher, and a dashed drop line at the expected value from the level it falls on.
void DistributionLine::Draw(Display& display)
{
    if (isHidden || owner == nullptr || values.empty())
        return;
    const LogicalRect& plot = owner->graphRect;
    const AxisElement& h = owner->horizontalAxis;
    const AxisElement& v = owner->verticalAxis;
    const HDC dc = display.DeviceContext();
    const bool colour = IsColourDevice(display);
    const COLORREF penColour = MarkColour(markKind, colour);
    const int penWidth = LogicalWidthToPixels(kLinePenWidth, display);
    const int markSize = LogicalWidthToPixels(kMarkSize, display);
    const int hook = LogicalWidthToPixels(kRiserHook, display);
    const int plotTop = LogicalYToPixel(plot.top, display);
    const int plotBottom = LogicalYToPixel(plot.bottom, display);
    const int plotRight = LogicalXToPixel(plot.right, display);
    display.PushPen(new zPen(Colour{GetRValue(penColour), GetGValue(penColour), GetBValue(penColour), 0}, PS_SOLID,
                             penWidth));
    auto yOf = [&](double value) { return LogicalYToPixel(v.Position(value, plot), display); };
    int fromX = LogicalXToPixel(h.Position(h.valueBottom, plot), display);
    int level = yOf(values[0]);
    bool expectedPassed = false;
    int expectedLevel = level;
    bool ranOut = false;
    for (int i = 1; i < Count() && !ranOut; ++i) {
        const double x = h.valueBottom + i * h.interval;
        if (!expectedPassed && expectedValue < x) {
            expectedPassed = true;
            expectedLevel = level;
        }
        const int toX = LogicalXToPixel(h.Position(x, plot), display);
        MoveToEx(dc, fromX, level, nullptr);
        LineTo(dc, std::min(toX, plotRight), level);
        const int next = yOf(values[i]);
        fromX = toX;
        if (next < level) {
            const int riserTop = std::max(next - hook, plotTop);
            MoveToEx(dc, toX, level, nullptr);
            LineTo(dc, toX, riserTop);
            if (riserTop > plotTop)
                Arc(dc, toX, riserTop, toX + 2 * hook, riserTop + 2 * hook, toX + hook, riserTop, toX, riserTop + hook);
            const POINT mark{toX + hook, next};
            if (next >= plotTop && toX <= plotRight)
                DrawPointMarks(dc, markKind, &mark, 1, markSize, colour, penWidth);
            fromX = toX + hook;
        }
        level = next;
        ranOut = (toX >= plotRight || level < plotTop) && expectedPassed;
    }
    if (!ranOut) {
        MoveToEx(dc, fromX, level, nullptr);
        LineTo(dc, plotRight, level);
    }
    if (!expectedPassed) {
        expectedPassed = expectedValue >= h.valueBottom;
        expectedLevel = level;
    }
    if (expectedPassed) {
        const int x = LogicalXToPixel(h.Position(expectedValue, plot), display);
        const int top = std::max(expectedLevel, plotTop);
        if (x > LogicalXToPixel(plot.left, display) && top < plotBottom) {
            display.PushPen(new zPen(Colour{GetRValue(penColour), GetGValue(penColour), GetBValue(penColour), 0},
                                     PS_DASH, 1));
            MoveToEx(dc, x, top, nullptr);
            LineTo(dc, x, plotBottom);
            display.PopPen();
            POINT middle{x, (top + plotBottom) / 2};
            DrawPointMarks(dc, markKind, &middle, 1, markSize, colour, penWidth);
        }
    }
    display.PopPen();
}

void DistributionLine::Serialize(Archive& archive)
{
    GraphLineElement::Serialize(archive);
    if (archive.Failed())
        return;
    VersionRecord(VersionRecord::Current()).Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteDouble(expectedValue).WriteShort(points ? 1 : 0);
        if (points)
            points->Serialize(archive);
        return;
    }
    int16_t hasPoints = 0;
    archive.ReadDouble(expectedValue).ReadShort(hasPoints);
    if (hasPoints != 0 && !archive.Failed()) {
        points = std::make_unique<OutcomeDistribution>(16, true);
        points->Serialize(archive);
    }
}

void* DistributionLineList::LoadItem(Archive& archive)
{
    auto* line = new DistributionLine;
    line->Serialize(archive);
    return line;
}

void* DistributionLineList::CloneItem(void* item)
{
    const auto& from = *static_cast<DistributionLine*>(item);
    auto* line = new DistributionLine;
    static_cast<GraphLineElement&>(*line) = from;
    line->expectedValue = from.expectedValue;
    if (from.points) {
        line->points = std::make_unique<OutcomeDistribution>(16, true);
        for (int i = 0; i < from.points->Count(); ++i) {
            const Outcome* outcome = from.points->OutcomeAt(i);
            line->points->AddTriple(outcome->triple, outcome->probability, outcome->label.Text(), false);
        }
    }
    return line;
}

void DistributionLineList::DeleteItem(void* item)
{
    delete static_cast<DistributionLine*>(item);
}

int DistributionGraph::EffectiveIntervals(int requested)
{
    if (requested > 16)
        return 16;
    if (requested < 6)
        return 6;
    return std::max(requested, 30 - 2 * requested);
}

DistributionGraph::DistributionGraph(ComparativeDistributionData& data)
    : requestedIntervals(static_cast<int16_t>(data.requestedIntervals))
{
    lowValue = data.low;
    highValue = data.high;
    const int intervals = EffectiveIntervals(requestedIntervals) - 1;
    AutoScaleAxis(0, data.numberFormat, lowValue, highValue, "Value", 1, intervals);
    // The lines step with the axis, so they are counted in its intervals.
    intervalWidth = horizontalAxis.interval;
    axisIntervals = static_cast<int16_t>((horizontalAxis.valueTop - horizontalAxis.valueBottom) / horizontalAxis.interval);
    verticalAxis.SetScale(MakeProbabilityAxisFormat(), 0.0, 1.0, 0.1, 1);
    verticalLabel.text = "Probability";
    title.text = "Comparative Probability";
    subtitle.text = "Distributions";
    hasSubtitle = 1;
    for (ComparativeDistributionData::Node& node : data.nodes) {
        auto* line = new DistributionLine;
        line->owner = this;
        line->expectedValue = node.expectedValue;
        line->points = std::move(node.outcomes);
        if (!line->points)
            line->points = std::make_unique<OutcomeDistribution>(16, true);
        if (!ComputeLine(*line) || !lines_.Add(line)) {
            delete line;
            break;
        }
        line->markKind = markKindCounter_;
        AddLegendEntry(node.text.c_str(), new GraphMarkElement(markKindCounter_));
        markKindCounter_ = markKindCounter_ + 1 < kMarkKindCount ? markKindCounter_ + 1 : 1;
        shown_.push_back(line);
    }
    SetIconId(kIconId);
    currentStep = std::max(0, StepCount() - 1);
    strip_ = new StepAnimationStrip(*this, *this);
}

DistributionGraph::DistributionGraph(const char* path) : GraphWindow(FromFile{})
{
    SetIconId(kIconId);
    OpenGraphFile(path);
    currentStep = std::max(0, StepCount() - 1);
    strip_ = new StepAnimationStrip(*this, *this);
    strip_->ShowStep(currentStep);
}

DistributionGraph::~DistributionGraph() = default;

bool DistributionGraph::ComputeLine(DistributionLine& line)
{
    OutcomeHistogram histogram;
    if (!BuildOutcomeHistogram(*line.points, horizontalAxis.valueBottom, horizontalAxis.valueTop, intervalWidth,
                               histogram)) {
        ShowErrorBox("Probability Distribution Error",
                     "The data cannot be graphed using that interval. Try a larger interval.", 0);
        return false;
    }
    double total = 0.0;
    for (int i = 0; i < line.points->Count(); ++i)
        total += line.points->OutcomeAt(i)->probability;
    std::vector<double>& values = line.values;
    values = histogram.bars;
    if (values.empty())
        values.push_back(0.0);
    if (total > 0.0)
        for (double& value : values)
            value /= total;
    // One value per interval edge; the last holds what lies on the axis's top.
    values.resize(static_cast<size_t>(axisIntervals) + 1, 0.0);
    return true;
}

int DistributionGraph::AxisChanged(int vertical)
{
    if (vertical != 0)
        return 1;
    const double savedWidth = intervalWidth;
    const int16_t savedIntervals = axisIntervals;
    intervalWidth = horizontalAxis.interval;
    axisIntervals = static_cast<int16_t>(horizontalAxis.IntervalCount());
    std::vector<std::vector<double>> recomputed;
    for (int i = 0; i < lines_.Count(); ++i) {
        DistributionLine probe;
        probe.points = std::move(lines_.Line(i)->points);
        const bool done = ComputeLine(probe);
        lines_.Line(i)->points = std::move(probe.points);
        if (!done) {
            intervalWidth = savedWidth;
            axisIntervals = savedIntervals;
            return 0;
        }
        recomputed.push_back(probe.values);
    }
    for (int i = 0; i < lines_.Count(); ++i)
        lines_.Line(i)->values = recomputed[static_cast<size_t>(i)];
    return 1;
}

void DistributionGraph::DrawSeries(Display& display)
{
    for (DistributionLine* line : shown_)
        if (lines_.IndexOf(line) <= currentStep)
            line->Draw(display);
}

const GraphWindow::CommandRow DistributionGraph::KindRows[] = {
    {Cmd::GraphShowHide, [](GraphWindow& graph) { static_cast<DistributionGraph&>(graph).ShowHideLines(); },
     [](GraphWindow& graph) { return static_cast<DistributionGraph&>(graph).LineCount() > 0; }},
};

GraphWindow::CommandTable DistributionGraph::KindCommands() const
{
    return KindRows;
}

// The lines chosen are drawn; the others stay in the graph, its file and its export.
void DistributionGraph::ShowHideLines()
{
    std::vector<std::string> names;
    std::vector<DistributionLine*> lines;
    for (int i = 0; i < LineCount(); ++i) {
        names.push_back(legendTexts.Label(i) != nullptr ? legendTexts.Label(i)->text.Text() : "");
        lines.push_back(lines_.Line(i));
    }
    if (!ShowHideItems(names, lines, shown_))
        return;
    Layout();
    SetModified(1);
    InvalidateAll();
}

bool DistributionGraph::ElementShown(const GraphElement& element) const
{
    int entry = legendTexts.IndexOf(&element);
    if (entry < 0)
        entry = legendKeys.IndexOf(&element);
    if (entry < 0 || entry >= LineCount())
        return GraphWindow::ElementShown(element);
    return std::find(shown_.begin(), shown_.end(), lines_.Line(entry)) != shown_.end();
}

bool DistributionGraph::EditLegendKey(GraphElement& key)
{
    return EditLineMarkKey(*this, key, lines_);
}

bool DistributionGraph::WriteTextExport(TextReport& report)
{
    BeginTextExport(report, "KIVO(tm) Line Graph");
    report.AddColumnHeader(verticalLabel.text.Text());
    for (int i = 0; i < lines_.Count(); ++i) {
        if (i > 0)
            report.AddLine(zString(""));
        const OutcomeDistribution* points = lines_.Line(i)->points.get();
        for (int k = 0; points != nullptr && k < points->Count(); ++k) {
            const Outcome* point = points->OutcomeAt(k);
            zString row;
            zString probability;
            FormatNumber(horizontalAxis.numberFormat, point->triple.value, row, true, false, DigitsOfFormat);
            FormatNumber(verticalAxis.numberFormat, point->probability, probability, false, false, DigitsOfFormat);
            row += "\t";
            row += probability;
            report.AddLine(row);
        }
    }
    report.AddNote("Lines are ordered as follows:");
    for (int i = 0; i < legendTexts.Count(); ++i)
        report.AddNote(legendTexts.Label(i)->text.Text());
    return true;
}

// Own part, after the common part:
//   version record                                   3 bytes
//   axis intervals                                   i16
//   lines (distribution line records)                list
//   low value, high value, interval width            3 x f64
//   requested intervals                              i16
//   shown lines m, then m line indexes               i32, m x i32
// A shown count or index outside the lines, or a line without points, sets format error 15.
void DistributionGraph::StorePart(Archive& archive)
{
    VersionRecord(VersionRecord::Current()).Serialize(archive);
    archive.WriteShort(axisIntervals);
    lines_.Serialize(archive);
    archive.WriteDouble(lowValue).WriteDouble(highValue).WriteDouble(intervalWidth);
    archive.WriteShort(requestedIntervals);
    archive.WriteLong(static_cast<int32_t>(shown_.size()));
    for (DistributionLine* line : shown_)
        archive.WriteLong(lines_.IndexOf(line));
}

bool DistributionGraph::LoadPart(Archive& archive)
{
    if (archive.Failed())
        return false;
    VersionRecord version;
    version.Serialize(archive);
    archive.ReadShort(axisIntervals);
    lines_.Serialize(archive);
    archive.ReadDouble(lowValue).ReadDouble(highValue).ReadDouble(intervalWidth);
    archive.ReadShort(requestedIntervals);
    for (int i = 0; i < lines_.Count(); ++i)
        if (!lines_.Line(i)->points)
            archive.SetFormatError(kBadDistributionPart);
    shown_.clear();
    int32_t count = 0;
    archive.ReadLong(count);
    if (count < 0 || count > lines_.Count())
        archive.SetFormatError(kBadDistributionPart);
    for (int i = 0; i < count && !archive.Failed(); ++i) {
        int32_t index = -1;
        archive.ReadLong(index);
        if (index < 0 || index >= lines_.Count())
            archive.SetFormatError(kBadDistributionPart);
        else
            shown_.push_back(lines_.Line(index));
    }
    for (int i = 0; i < lines_.Count(); ++i) {
        lines_.Line(i)->owner = this;
        markKindCounter_ = lines_.Line(i)->markKind + 1 < kMarkKindCount ? lines_.Line(i)->markKind + 1 : 1;
    }
    return !archive.Failed();
}

void InstallDistributionGraphs()
{
    SetComparativeDistributionPresenter([](std::unique_ptr<ComparativeDistributionData> data) {
        auto* graph = new DistributionGraph(*data);
        graph->Open(data->graphTemplate);
        graph->Strip()->ShowStep(graph->currentStep);
    });
}
