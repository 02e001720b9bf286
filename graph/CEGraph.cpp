#include "graph/CEGraph.h"

#include "analysis/CEDominance.h"
#include "analysis/CEReport.h"
#include "analysis/DecisionNodeStrategySet.h"
#include "foundation/Archive.h"
#include "foundation/NumericFormatting.h"
#include "foundation/TextReport.h"
#include "foundation/VersionRecord.h"
#include "framework/draw/Display.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/LogicalUnits.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr uint32_t kBadPointReference = 11;
// Strategies' marks start at the filled circle and count up, after the last kind again from 1.
constexpr int kFirstMarkKind = 6;
constexpr float kMarkGap = 0.015f;
constexpr double kZero = 1e-10;

NumericFormat AxisFormat(NumericFormat format)
{
    format.axisDigits = format.expValDigits;
    return format;
}

// An axis whose end falls on (or within a quarter interval of) a strategy's value reaches an interval
// further, so that no mark sits on the frame or a corner of the plot.
void KeepClearOfTheEnds(AxisElement& axis, double low, double high)
{
    const double margin = axis.interval / 4;
    const double bottom = low - axis.valueBottom < margin ? axis.valueBottom - axis.interval : axis.valueBottom;
    const double top = axis.valueTop - high < margin ? axis.valueTop + axis.interval : axis.valueTop;
    axis.SetScale(axis.numberFormat, bottom, top, axis.interval, axis.isLocked == 0 ? 1 : 0);
}

const CEGraph* OwningGraph(const GraphElement& element)
{
    return dynamic_cast<const CEGraph*>(element.owner);
}

// "<cost bound> <= k <= <eff bound>", each with 3 places and no quantity scaling in the default format.
zString BoundsText(const CEPoint& point, const NumericFormat& format)
{
    zString low;
    zString high;
    FormatNumber(format, point.costBound, low, false, false, 3);
    FormatNumber(format, point.effBound, high, false, false, 3);
    low += " <= k <= ";
    low += high;
    return low;
}

// A point's neighbours are points of the list, below and above it: anything else is a damaged file.
bool PointsSound(const CEPointList& points)
{
    for (int i = 0; i < points.Count(); ++i) {
        const CEPoint& point = *points.Point(i);
        if (point.state < CEPoint::Undominated || point.state > CEPoint::ExtendedDominated)
            return false;
        if (point.state == CEPoint::ExtendedDominated &&
            (point.lowerIndex < 0 || point.lowerIndex >= i || point.upperIndex <= i || point.upperIndex >= points.Count()))
            return false;
    }
    return true;
}

}  // namespace

void ExtDomLegendItem::Measure(Display& display)
{
    float width = 0.0f;
    float height = 0.0f;
    MeasureText(display, font, text.Text(), width, height);
    rect.right = width + LegendKeyWidth(owner) + kMarkGap;
    rect.bottom = height;
}

void ExtDomLegendItem::Draw(Display& display)
{
    const CEGraph* graph = OwningGraph(*this);
    if (graph == nullptr || pointIndex >= graph->points.Count())
        return;
    const float mark = LegendKeyWidth(owner);
    DrawPointMark(display, graph->MarkKind(pointIndex), rect.left + mark / 2, (rect.top + rect.bottom) / 2);
    GraphLabel line(text.Text());
    line.font = font;
    line.rect = LogicalRect{rect.left + mark + kMarkGap, rect.top, rect.right, rect.bottom};
    line.Draw(display);
}

void ExtDomLegendItem::Serialize(Archive& archive)
{
    GraphLabel::Serialize(archive);
    if (archive.Failed())
        return;
    VersionRecord version;
    version.Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteShort(pointIndex);
        return;
    }
    archive.ReadShort(pointIndex);
    if (pointIndex < 0)
        archive.SetFormatError(kBadPointReference);
}

CEGraph::CEGraph(TreeNode* node, int effOnX) : effOnX(static_cast<int16_t>(effOnX != 0 ? 1 : 0))
{
    SetIconId(32026);
    extHeading.owner = this;
    extHeading.font.bold = 1;
    BuildCEPoints(DecisionNodeStrategySet(node), points, 1);
    title.text = "Cost-Effectiveness Analysis";
    zString name;
    node->GetShortText(name, 30);
    subtitle.text = "At ";
    subtitle.text += name;
    hasSubtitle = 1;
    const TreeDocument& document = *node->document;
    ceFormat = document.CalcPrefs.CostEffFormat;
    ceFormat.axisFormat = 1;
    ceFormat.axisDigits = ceFormat.expValDigits;
    double minCost = 0, maxCost = 0, minEff = 0, maxEff = 0;
    GetCERanges(points, minCost, maxCost, minEff, maxEff);
    const int costPayoff = document.CostPayoffIndex();
    const NumericFormat costFormat =
        AxisFormat(costPayoff >= 0 && costPayoff < 4 ? document.CalcPrefs.PayoffFormats[costPayoff] : document.NumberFormat());
    const NumericFormat effFormat = AxisFormat(document.CalcPrefs.EffectivenessFormat());
    AutoScaleAxis(this->effOnX, costFormat, minCost, maxCost, "Cost", 1, 0);
    AutoScaleAxis(1 - this->effOnX, effFormat, minEff, maxEff, "Effectiveness", 1, 0);
    KeepClearOfTheEnds(this->effOnX != 0 ? verticalAxis : horizontalAxis, minCost, maxCost);
    KeepClearOfTheEnds(this->effOnX != 0 ? horizontalAxis : verticalAxis, minEff, maxEff);
    const NumericFormat boundsFormat;
    int kind = kFirstMarkKind;
    for (int i = 0; i < points.Count(); ++i) {
        const CEPoint& point = *points.Point(i);
        AddLegendEntry(point.name.Text(), new GraphMarkElement(kind));
        kind = kind + 1 < kMarkKindCount ? kind + 1 : 1;
        if (point.state != CEPoint::ExtendedDominated)
            continue;
        auto* item = new ExtDomLegendItem;
        item->owner = this;
        item->pointIndex = static_cast<int16_t>(i);
        item->text = BoundsText(point, boundsFormat);
        if (!extItems.Add(item))
            delete item;
    }
    showExtended = extItems.Count() > 0 ? 1 : 0;
}

CEGraph::CEGraph(const char* path) : GraphWindow(FromFile{}), effOnX(0)
{
    SetIconId(32026);
    extHeading.owner = this;
    OpenGraphFile(path);
}

int CEGraph::MarkKind(int i) const
{
    const auto* key = dynamic_cast<const GraphMarkElement*>(legendKeys.Key(i));
    return key != nullptr ? key->markKind : 1;
}

void CEGuideEnds(const CEPointList& points, int i, double ends[2][2])
{
    const CEPoint& point = *points.Point(i);
    const CEPoint& a = *points.Point(point.lowerIndex);
    const CEPoint& b = *points.Point(point.upperIndex);
    ends[0][0] = a.cost + (1 - point.effBound) * (b.cost - a.cost);
    ends[0][1] = point.effectiveness;
    ends[1][0] = point.cost;
    ends[1][1] = a.effectiveness + (1 - point.costBound) * (b.effectiveness - a.effectiveness);
}

void DrawCEPoints(const GraphWindow& graph, Display& display, const CEPointList& points, int effOnX, bool guides,
                  const std::function<int(int)>& markOf)
{
    auto at = [&](double cost, double effectiveness) {
        return LogicalPoint{graph.horizontalAxis.Position(effOnX != 0 ? effectiveness : cost, graph.graphRect),
                            graph.verticalAxis.Position(effOnX != 0 ? cost : effectiveness, graph.graphRect)};
    };
    const HDC dc = display.DeviceContext();
    // The lines first, then the marks on top, those of one kind drawn together.
    std::vector<LogicalPoint> marks[kMarkKindCount];
    const CEPoint* previous = nullptr;
    for (int i = 0; i < points.Count(); ++i) {
        const CEPoint& point = *points.Point(i);
        const LogicalPoint here = at(point.cost, point.effectiveness);
        const int kind = markOf(i);
        if (kind >= 0 && kind < kMarkKindCount)
            marks[kind].push_back(here);
        if (point.IsUndominated()) {
            if (previous != nullptr) {
                const LogicalPoint before = at(previous->cost, previous->effectiveness);
                MoveToEx(dc, LogicalXToPixel(before.x, display), LogicalYToPixel(before.y, display), nullptr);
                LineTo(dc, LogicalXToPixel(here.x, display), LogicalYToPixel(here.y, display));
            }
            previous = &point;
        } else if (point.state == CEPoint::ExtendedDominated && guides) {
            double ends[2][2];
            CEGuideEnds(points, i, ends);
            for (const double* end : ends)
                DrawDashedLine(display, here, at(end[0], end[1]), 2, RGB(0, 0, 0));
        }
    }
    for (int kind = 1; kind < kMarkKindCount; ++kind)
        DrawPointMarks(display, kind, marks[kind]);
}

zString CEStatusText(const GraphWindow& graph, int effOnX, const NumericFormat& ceFormat, float x, float y)
{
    const double across = graph.horizontalAxis.ValueAt(x, graph.graphRect);
    const double down = graph.verticalAxis.ValueAt(y, graph.graphRect);
    const double cost = effOnX != 0 ? down : across;
    const double effectiveness = effOnX != 0 ? across : down;
    auto number = [](const NumericFormat& format, double value) {
        zString text;
        FormatNumber(format, value, text, false, true, static_cast<int16_t>(format.axisDigits + 1));
        return text;
    };
    zString text("Cost = ");
    text += number((effOnX != 0 ? graph.verticalAxis : graph.horizontalAxis).numberFormat, cost);
    text += "; Eff = ";
    text += number((effOnX != 0 ? graph.horizontalAxis : graph.verticalAxis).numberFormat, effectiveness);
    text += "; C/E = ";
    if (std::fabs(effectiveness) < kZero)
        text += "(Undefined)";
    else
        text += number(ceFormat, cost / effectiveness);
    return text;
}

void CEGraph::GuideEnds(int i, double ends[2][2]) const
{
    CEGuideEnds(points, i, ends);
}

void CEGraph::DrawSeries(Display& display)
{
    DrawCEPoints(*this, display, points, effOnX, showExtended != 0, [this](int i) { return MarkKind(i); });
}

const GraphWindow::CommandRow CEGraph::KindRows[] = {
    {Cmd::GraphDisplayThresholdValues, [](GraphWindow& graph) { static_cast<CEGraph&>(graph).ToggleExtended(); },
     [](GraphWindow& graph) { return static_cast<CEGraph&>(graph).extItems.Count() > 0; }},
};

GraphWindow::CommandTable CEGraph::KindCommands() const
{
    return KindRows;
}

void CEGraph::ToggleExtended()
{
    showExtended = showExtended ? 0 : 1;
    Layout();
    InvalidateAll();
}

void CEGraph::UpdateMenus(HMENU bar)
{
    GraphWindow::UpdateMenus(bar);
    ModifyMenuA(bar, Cmd::GraphDisplayThresholdValues,
                MF_BYCOMMAND | MF_STRING | (extItems.Count() > 0 ? MF_ENABLED : MF_GRAYED) |
                    (showExtended ? MF_CHECKED : MF_UNCHECKED),
                Cmd::GraphDisplayThresholdValues, "D&isplay Extended Dominance");
}

bool CEGraph::WriteTextExport(TextReport& report)
{
    WriteDominanceReport(points, report, CEFormats{CostAxis().numberFormat, EffectivenessAxis().numberFormat, ceFormat});
    return true;
}

zString CEGraph::CoordinateText(float x, float y) const
{
    return CEStatusText(*this, effOnX, ceFormat, x, y);
}

bool CEGraph::IsExtendedPart(const GraphElement& element) const
{
    return &element == &extHeading || dynamic_cast<const ExtDomLegendItem*>(&element) != nullptr;
}

bool CEGraph::ElementShown(const GraphElement& element) const
{
    if (IsExtendedPart(element))
        return showExtended != 0;
    return GraphWindow::ElementShown(element);
}

std::vector<GraphElement*> CEGraph::LegendColumnBlock()
{
    return extItems.Column(extHeading);
}

// Own part of the graph file, after the common part:
//   version record                                    3 bytes
//   points                                            list of point records
//   show-extended flag                                i16
//   extended-dominance heading                        label record
//   extended-dominance items                          list: label record, version record (3), point index
//                                                     (i16; negative or past the points: format error 11)
//   effectiveness-on-x flag                           i16 (from 3.5; older files put cost on x)
// A point's neighbours must be points of the list (else 11). The ratio format is not stored.
void CEGraph::StorePart(Archive& archive)
{
    VersionRecord(VersionRecord::Current()).Serialize(archive);
    points.Serialize(archive);
    archive.WriteShort(showExtended);
    extHeading.Serialize(archive);
    extItems.Serialize(archive);
    archive.WriteShort(effOnX);
}

bool CEGraph::LoadPart(Archive& archive)
{
    if (archive.Failed())
        return false;
    VersionRecord version;
    version.Serialize(archive);
    points.Serialize(archive);
    archive.ReadShort(showExtended);
    extHeading.Serialize(archive);
    extItems.Serialize(archive);
    effOnX = 0;
    if (version.IsAtLeast(KnownVersion::k3_5))
        archive.ReadShort(effOnX);
    if (archive.Failed())
        return true;
    bool sound = PointsSound(points) && legendKeys.Count() <= points.Count();
    for (int i = 0; sound && i < extItems.Count(); ++i)
        sound = extItems.Label(i)->pointIndex < points.Count();
    if (!sound)
        archive.SetFormatError(kBadPointReference);
    showExtended = showExtended != 0 && extItems.Count() > 0 ? 1 : 0;
    effOnX = effOnX != 0 ? 1 : 0;
    extHeading.owner = this;
    for (int i = 0; i < extItems.Count(); ++i)
        extItems.Label(i)->owner = this;
    return true;
}
