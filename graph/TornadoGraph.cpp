#include "graph/TornadoGraph.h"

#include "analysis/LineGraphData.h"
#include "analysis/RollBack.h"
#include "analysis/VariableRange.h"
#include "widgets/CursorStack.h"
#include "graph/GraphStylePickers.h"
#include "graph/ShowHideLinesDialog.h"
#include "foundation/Archive.h"
#include "foundation/NumericFormatting.h"
#include "foundation/TextReport.h"
#include "foundation/VersionRecord.h"
#include "framework/draw/ColourContext.h"
#include "framework/draw/Display.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/zBrush.h"
#include "framework/draw/zPen.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <algorithm>
#include <string>

namespace {

constexpr uint32_t kBadShownBars = 15;
// Pen widths, inches: the bar's outline and a change of the optimal strategy inside it.
constexpr float kOutlineWidth = 0.0075f;
constexpr float kThresholdWidth = 0.03f;

// A black pen of the width (inches) on the display, at least one pixel.
std::unique_ptr<zPen> BlackPen(Display& display, float width)
{
    return std::make_unique<zPen>(Colour{0, 0, 0, 0}, PS_SOLID, std::max(1, LogicalWidthToPixels(width, display)));
}

int BarKind(const TornadoSetup& bar)
{
    return bar.ranges.Count();
}

}  // namespace

TornadoGraph::TornadoGraph(const TornadoResults& results)
    : allBars(results.bars ? results.bars : std::make_shared<TornadoVariableList>()),
      steps(static_cast<int16_t>(results.intervals))
{
    SetIconId(32025);
    title.text = "Tornado Diagram at";
    TreeDocument* document = results.node != nullptr ? results.node->document : nullptr;
    NumericFormat format = document != nullptr ? document->NumberFormat() : NumericFormat(true);
    format.axisDigits = format.expValDigits;
    if (results.node != nullptr) {
        results.node->GetShortText(subtitle.text, 30);
        hasSubtitle = 1;
        strategyCount = static_cast<int16_t>(results.thisNodeOnly ? 1 : results.node->childCount);
        for (int s = 0; s < strategyCount; ++s) {
            zString name;
            (results.thisNodeOnly ? results.node : results.node->GetChild(s))->GetShortText(name, 30);
            strategyNames.AddText(name.Text());
        }
    }
    if (document != nullptr) {
        maximizing = document->IsMaximizing() ? 1 : 0;
        riskAdjusted = document->CalcPrefs.UseUtility ? 1 : 0;
        WaitCursorScope wait;
        RunFault fault;
        verticalLineX = RollBackTree(results.node, &fault, 0);
        verticalLineFlag = 1;
    }
    AutoScaleAxis(0, format, results.low, results.high, results.label.Text(), 1, 0);
    // Hidden, it still keeps a sound scale for the file: one slot per bar.
    verticalAxis.SetScale(format, 0.0, std::max(1, static_cast<int>(allBars->Count())), 1.0, 0);
    verticalAxis.isHidden = 1;
    for (int b = 0; b < allBars->Count(); ++b) {
        shownBars.push_back(static_cast<int16_t>(b));
        zString legend = allBars->At(b)->barName;
        if (BarKind(*allBars->At(b)) == 1) {
            legend += ": ";
            legend += allBars->RangeText(b);
        }
        AddLegendEntry(legend.Text(), new GraphFillElement(GraphItemStyle(b)));
    }
}

TornadoGraph::TornadoGraph(const char* path) : GraphWindow(FromFile{}), allBars(std::make_shared<TornadoVariableList>())
{
    SetIconId(32025);
    OpenGraphFile(path);
}

// Bar v of n: one unit of space above the first bar, between bars and below the last; bars three units high.
LogicalRect TornadoGraph::BarRect(int bar, int v, int n) const
{
    const TornadoSetup& setup = *allBars->At(bar);
    const float unit = (graphRect.bottom - graphRect.top) / (4 * n + 1);
    const float top = graphRect.top + (v + 1) * unit + 3 * v * unit;
    auto clamp = [this](float x) { return std::min(std::max(x, graphRect.left), graphRect.right); };
    return LogicalRect{clamp(horizontalAxis.Position(setup.lowResult, graphRect)), top,
                       clamp(horizontalAxis.Position(setup.highResult, graphRect)), top + 3 * unit};
}

int TornadoGraph::BarAt(float x, float y) const
{
    const int n = static_cast<int>(shownBars.size());
    for (int v = 0; v < n; ++v) {
        const LogicalRect rect = BarRect(shownBars[v], v, n);
        if (x >= rect.left && x <= rect.right && y >= rect.top && y <= rect.bottom)
            return shownBars[v];
    }
    return -1;
}

void TornadoGraph::DrawSeries(Display& display)
{
    DisplayLock lock(display);
    const HDC dc = display.DeviceContext();
    ColourContext colours(display, nullptr, nullptr);
    const int n = static_cast<int>(shownBars.size());
    for (int v = 0; v < n; ++v) {
        const int bar = shownBars[v];
        const RECT pixels = LogicalRectToPixels(BarRect(bar, v, n), display);
        const auto* key = dynamic_cast<const GraphFillElement*>(legendKeys.Key(bar));
        std::unique_ptr<zBrush> fill =
            key != nullptr ? GraphBrush::Make(key->fill, colours) : std::make_unique<zBrush>(WHITE_BRUSH);
        display.PushBrush(fill.release());
        display.PushPen(BlackPen(display, kOutlineWidth).release());
        Rectangle(dc, pixels.left, pixels.top, pixels.right, pixels.bottom);
        display.PopPen();
        display.PopBrush();
        display.PushPen(BlackPen(display, kThresholdWidth).release());
        const TornadoPointList& points = allBars->At(bar)->points;
        for (int t = 0; t < points.Count(); ++t) {
            // The result at which the two strategies tie, on the axis of results.
            const int x = LogicalXToPixel(horizontalAxis.Position(points.At(t)->value, graphRect), display);
            if (x <= pixels.left || x >= pixels.right)
                continue;
            MoveToEx(dc, x, pixels.top + 1, nullptr);
            LineTo(dc, x, pixels.bottom - 1);
        }
        display.PopPen();
    }
}

zString TornadoGraph::BarText(int bar, bool multiLine) const
{
    const TornadoSetup& setup = *allBars->At(bar);
    const char* separator = multiLine ? "\n" : " ";
    zString text = setup.barName;
    if (BarKind(setup) < 2) {
        text += " (";
        text += allBars->RangeText(bar);
        text += ")";
        text += separator;
    } else {
        text += separator;
        for (int j = 0; multiLine && j < setup.ranges.Count(); ++j) {
            const VariableRange& member = *setup.ranges.RangeAt(j);
            text += member.name;
            text += " (";
            text += member.low.text;
            text += " to ";
            text += member.high.text;
            text += ") \n";
        }
    }
    text += multiLine ? "Output: " : ": ";
    text += horizontalAxis.ValueText(setup.lowResult);
    text += " to ";
    text += horizontalAxis.ValueText(setup.highResult);
    return text;
}

zString TornadoGraph::CoordinateText(float x, float y) const
{
    const int bar = BarAt(x, y);
    return bar >= 0 ? BarText(bar, false) : zString();
}

bool TornadoGraph::EditLegendKey(GraphElement& key)
{
    const int index = legendKeys.IndexOf(&key);
    auto* fillKey = dynamic_cast<GraphFillElement*>(&key);
    if (index < 0 || fillKey == nullptr || index >= legendTexts.Count() ||
        !RunRegionFillDialog(fillKey->fill, legendTexts.Label(index)->text.Text()))
        return false;
    InvalidateAll();
    return true;
}

const GraphWindow::CommandRow TornadoGraph::KindRows[] = {
    {Cmd::GraphShowHide, [](GraphWindow& graph) { static_cast<TornadoGraph&>(graph).ShowHideBars(); },
     [](GraphWindow&) { return true; }},
};

GraphWindow::CommandTable TornadoGraph::KindCommands() const
{
    return KindRows;
}

void TornadoGraph::ShowHideBars()
{
    std::vector<std::string> names;
    for (int b = 0; b < allBars->Count(); ++b)
        names.push_back(allBars->At(b)->barName.Text());
    std::vector<int> shown(shownBars.begin(), shownBars.end());
    ShowHideLinesDialog dialog(names, shown);
    if (!dialog.Run())
        return;
    shownBars.assign(shown.begin(), shown.end());
    Layout();
    SetModified(1);
    InvalidateAll();
}

bool TornadoGraph::ElementShown(const GraphElement& element) const
{
    int entry = legendTexts.IndexOf(&element);
    if (entry < 0)
        entry = legendKeys.IndexOf(&element);
    return entry < 0 || std::find(shownBars.begin(), shownBars.end(), entry) != shownBars.end();
}

void TornadoGraph::OnCanvasMouseDown(POINT client)
{
    const LogicalPoint at = CanvasPoint(client);
    const int bar = BarAt(at.x, at.y);
    if (bar < 0) {
        GraphWindow::OnCanvasMouseDown(client);
        return;
    }
    if (PressedTwice(allBars->At(bar))) {
        WaitCursorScope wait;
        OpenOneWayGraph(bar);
        return;
    }
    ShowHeldTip(client, BarText(bar, true).Text());
}

void TornadoGraph::OnCanvasMouseMove(POINT client, bool control, bool leftHeld)
{
    if (!HeldTipShown())
        GraphWindow::OnCanvasMouseMove(client, control, leftHeld);
}

void TornadoGraph::OnCanvasMouseUp()
{
    if (HeldTipShown())
        HideHeldTip();
    else
        GraphWindow::OnCanvasMouseUp();
}

void TornadoGraph::OpenOneWayGraph(int bar)
{
    const TornadoSetup& setup = *allBars->At(bar);
    if (setup.ranges.Count() == 0)
        return;
    const VariableRange& variable = *setup.ranges.RangeAt(0);
    LineGraphData data;
    data.title = "Sensitivity Analysis on ";
    data.subtitles.push_back(setup.barName.Text());
    data.variableName = variable.name.Text();
    SetVariableAxis(data.horizontal, horizontalAxis.numberFormat, variable.low.value, variable.high.value, steps);
    data.horizontal.label = variable.name.Text();
    data.vertical.label = horizontalLabel.text.Text();
    data.vertical.autoScale = true;
    data.useUtility = riskAdjusted != 0;
    data.maximizing = maximizing != 0;
    const size_t perLine = static_cast<size_t>(steps) + 1;
    for (int s = 0; s < strategyCount && (s + 1) * perLine <= setup.values.size(); ++s) {
        const auto first = setup.values.begin() + s * perLine;
        GraphLineData line{strategyNames.At(s) != nullptr ? strategyNames.At(s)->Text() : "",
                           std::vector<double>(first, first + perLine)};
        if (data.lines.empty()) {
            data.vertical.bottom = data.vertical.top = line.values.front();
        }
        for (double value : line.values) {
            data.vertical.bottom = std::min(data.vertical.bottom, value);
            data.vertical.top = std::max(data.vertical.top, value);
        }
        data.lines.push_back(std::move(line));
    }
    for (int t = 0; t < setup.points.Count(); ++t)
        data.thresholds.push_back(*setup.points.At(t));
    ShowLineGraph(data);
}

bool TornadoGraph::WriteTextExport(TextReport& report)
{
    report.SetTitle("KIVO(tm) Tornado Diagram");
    zString heading = title.text;
    heading += " ";
    heading += subtitle.text;
    report.AddHeaderLine(heading.Text());
    const char* headers[] = {"Variable", "Low EV",   "High EV",  "Low Input", "High Input",
                             "Spread",   "SpreadSqr", "Risk Pct", "Cum Pct"};
    for (const char* header : headers) {
        report.AddColumnHeader(header);
        report.AddColumnWidth(header == headers[0] ? 100 : 90);
    }
    double total = 0.0;
    for (int b = 0; b < allBars->Count(); ++b)
        total += allBars->At(b)->Span() * allBars->At(b)->Span();
    const NumericFormat& format = horizontalAxis.numberFormat;
    auto number = [&format](double value, bool scaled) {
        zString text;
        FormatNumber(format, value, text, true, scaled, scaled ? DigitsOfFormat : 9);
        return text;
    };
    double cumulative = 0.0;
    for (int b = 0; b < allBars->Count(); ++b) {
        const TornadoSetup& bar = *allBars->At(b);
        const double spread = bar.Span();
        // With every spread 0 no bar carries any of the risk.
        const double share = total > 0.0 ? spread * spread / total * 100.0 : 0.0;
        cumulative += share;
        zString row = bar.barName;
        for (const zString& cell :
             {number(bar.lowResult, true), number(bar.highResult, true),
              BarKind(bar) < 2 && bar.ranges.Count() > 0 ? bar.ranges.RangeAt(0)->low.text : zString(),
              BarKind(bar) < 2 && bar.ranges.Count() > 0 ? bar.ranges.RangeAt(0)->high.text : zString(),
              number(spread, false), number(spread * spread, false), number(share, false), number(cumulative, false)}) {
            row += "\t";
            row += cell;
        }
        report.AddLine(row);
    }
    return true;
}

// Own part, after the common part:
//   version record                                       3 bytes
//   all bars                                             list of bar records
//   risk adjusted, strategies, maximizing, steps         4 x i16          from 2.6 beta 4
//   strategy names                                       name list        from 2.6 beta 4
//   shown count n, n indexes into the bars               i16, n x i16     from 3.0; outside the bars: error 15
void TornadoGraph::StorePart(Archive& archive)
{
    VersionRecord(VersionRecord::Current()).Serialize(archive);
    allBars->Serialize(archive);
    archive.WriteShort(riskAdjusted).WriteShort(strategyCount).WriteShort(maximizing).WriteShort(steps);
    strategyNames.Serialize(archive);
    archive.WriteShort(static_cast<int16_t>(shownBars.size()));
    for (int16_t index : shownBars)
        archive.WriteShort(index);
}

bool TornadoGraph::LoadPart(Archive& archive)
{
    VersionRecord version;
    version.Serialize(archive);
    allBars->Serialize(archive);
    if (version.IsAtLeast(KnownVersion::k2_6_Beta4)) {
        archive.ReadShort(riskAdjusted).ReadShort(strategyCount).ReadShort(maximizing).ReadShort(steps);
        strategyNames.Serialize(archive);
    }
    shownBars.clear();
    if (version.IsOlderThan(KnownVersion::k3_0)) {
        // The file lists no shown bars: every bar shows.
        for (int b = 0; b < allBars->Count(); ++b)
            shownBars.push_back(static_cast<int16_t>(b));
        return !archive.Failed();
    }
    int16_t count = 0;
    archive.ReadShort(count);
    if (count < 0 || count > allBars->Count())
        archive.SetFormatError(kBadShownBars);
    for (int i = 0; i < count && !archive.Failed(); ++i) {
        int16_t index = -1;
        archive.ReadShort(index);
        if (index < 0 || index >= allBars->Count() || (!shownBars.empty() && index <= shownBars.back()))
            archive.SetFormatError(kBadShownBars);
        else
            shownBars.push_back(index);
    }
    return !archive.Failed();
}

void InstallTornadoGraphs()
{
    SetTornadoPresenter([](const TornadoResults& results) {
        if (!results.bars)
            return;
        (new TornadoGraph(results))->Open(results.graphTemplate);
    });
}
