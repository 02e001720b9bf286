#include "graph/SensitivityRegionGraphs.h"

#include "analysis/SensitivityResultGrid.h"
#include "analysis/ThreeWaySensitivityAnalysis.h"
#include "analysis/TwoWaySensitivityAnalysis.h"
#include "dialogs/IsocontoursDialog.h"
#include "foundation/Archive.h"
#include "foundation/NumericFormatting.h"
#include "foundation/TextReport.h"
#include "foundation/ValueTriple.h"
#include "foundation/VersionRecord.h"
#include "framework/draw/Display.h"
#include "framework/draw/zRegion.h"
#include "model/TreeDocument.h"

#include "CommandIds.h"

#include <algorithm>
#include <cmath>

namespace {

// Contour and step counts the lists or the stream cannot hold.
constexpr uint32_t kBadContourPart = 15;

}  // namespace

TwoWaySensGraph::TwoWaySensGraph(const TwoWaySensitivityResults& results)
    : RegionGraph(results.map->strategies),
      valueMap(results.map),
      boundaries(std::make_unique<StrategyBoundaryTable>(*results.map))
{
    SetIconId(32021);
    title.text = results.title;
    subtitle.text = results.subtitle;
    hasSubtitle = subtitle.text.IsEmpty() ? 0 : 1;
    if (TreeDocument* document = valueMap->document) {
        valueFormat = document->NumberFormat();
        costFormat = document->CalcPrefs.PayoffFormats[document->CostPayoffIndex()];
        effFormat = document->CalcPrefs.EffectivenessFormat();
    }
    SetUpPlane(*valueMap, results.xLabel, results.yLabel);
}

TwoWaySensGraph::TwoWaySensGraph(const char* path) : RegionGraph(FromFile{})
{
    SetIconId(32021);
    OpenGraphFile(path);
}

std::unique_ptr<zRegion> TwoWaySensGraph::RegionOf(int index, Display& display, const zRegion* clip)
{
    return StrategyRegion(display, *boundaries, valueMap.get(), index, clip);
}

// The regions, then with two strategies an isocontour through the map at each marginal value.
void TwoWaySensGraph::DrawSeries(Display& display)
{
    RegionGraph::DrawSeries(display);
    if (RegionCount() != 2 || !valueMap)
        return;
    DisplayLock lock(display);
    const HDC dc = display.DeviceContext();
    const HGDIOBJ previous = SelectObject(dc, GetStockObject(BLACK_PEN));
    std::vector<double> xs;
    std::vector<double> ys;
    for (double level : contourValues) {
        BoundaryPointList points;
        ContourPoints(*valueMap, points, 0, 1, level);
        xs.clear();
        ys.clear();
        for (int k = 0; k < points.Count(); ++k) {
            xs.push_back(points.Point(k)->x);
            ys.push_back(points.Point(k)->y);
        }
        DrawPolyline(display, xs, ys);
    }
    SelectObject(dc, previous);
}

const GraphWindow::CommandRow TwoWaySensGraph::KindRows[] = {
    {Cmd::GraphDisplayThresholdValues, [](GraphWindow& graph) { static_cast<TwoWaySensGraph&>(graph).EditIsocontours(); },
     [](GraphWindow& graph) { return static_cast<TwoWaySensGraph&>(graph).RegionCount() <= 2; }},
};

GraphWindow::CommandTable TwoWaySensGraph::KindCommands() const
{
    return KindRows;
}

void TwoWaySensGraph::EditIsocontours()
{
    if (!RunIsocontoursDialog(contourValues))
        return;
    SetModified(1);
    Layout();
    InvalidateAll();
}

void TwoWaySensGraph::UpdateMenus(HMENU bar)
{
    RegionGraph::UpdateMenus(bar);
    ModifyMenuA(bar, Cmd::GraphDisplayThresholdValues,
                MF_BYCOMMAND | MF_STRING | (CommandAllowed(Cmd::GraphDisplayThresholdValues) ? MF_ENABLED : MF_GRAYED),
                Cmd::GraphDisplayThresholdValues, "&Isocontours...");
}

bool TwoWaySensGraph::WriteTextExport(TextReport& report)
{
    if (!valueMap)
        return false;
    report.SetTitle("KIVO(tm) Two-Way Sensitivity Analysis");
    report.AddHeaderLine("At each interval, results are presented in the following order:");
    for (int s = 0; s < legendTexts.Count() && s < valueMap->strategies; ++s) {
        zString line = "* ";
        line += legendTexts.Label(s)->text;
        report.AddHeaderLine(line.Text());
    }
    valueMap->ExportText(report, horizontalLabel.text, verticalLabel.text, horizontalAxis.numberFormat,
                         verticalAxis.numberFormat);
    return true;
}

zString TwoWaySensGraph::CoordinateText(float x, float y) const
{
    zString text = RegionGraph::CoordinateText(x, y);
    if (!valueMap || valueMap->xCount < 1 || valueMap->yCount < 1)
        return text;
    const double xValue = horizontalAxis.ValueAt(x, graphRect);
    const double yValue = verticalAxis.ValueAt(y, graphRect);
    auto step = [](double value, double low, double high, int count) {
        return high != low ? (value - low) * (count - 1) / (high - low) : 0.0;
    };
    const double xStep = step(xValue, valueMap->xLow, valueMap->xHigh, valueMap->xCount);
    const double yStep = step(yValue, valueMap->yLow, valueMap->yHigh, valueMap->yCount);
    auto part = [&](const char* name, const NumericFormat& format, int component, bool expected) {
        zString number;
        FormatNumber(format, valueMap->BestValueAt(yStep, xStep, component), number, expected, false,
                     DigitsOfFormat);
        text += name;
        text += number;
    };
    if (valueMap->costEffectiveness) {
        part("; Cost = ", costFormat, ComponentCost, false);
        part("; Eff = ", effFormat, ComponentEffectiveness, false);
        part("; C/E = ", valueFormat, ComponentValue, true);
    } else {
        part("; Value = ", valueFormat, ComponentValue, true);
    }
    return text;
}

// Own part, after the region part:
//   version record                                  3 bytes
//   boundaries                                      pair lists and orientation bytes of the strategies
//   value map                                       map record                      from 3.0
//   value format                                    format with its version record  from 3.0
//   contour count n                                 i32 (0..stream/8, else error 15) from 3.5
//   cost format, effectiveness format               2 formats with version records  from 3.5
//   contour values                                  n x f64                         from 3.5
// A graph without a map (read from an older file) writes in its place a map of one zero cell per strategy
// spanning the axes, so that its regions still cover the plot when it is read again.
void TwoWaySensGraph::StorePart(Archive& archive)
{
    StoreRegions(archive);
    VersionRecord(VersionRecord::Current()).Serialize(archive);
    boundaries->Serialize(archive, RegionCount());
    if (!valueMap)
        valueMap = std::make_shared<StrategyRegionMap>(nullptr, 1, 1, RegionCount(), horizontalAxis.valueBottom,
                                                       horizontalAxis.valueTop, verticalAxis.valueBottom,
                                                       verticalAxis.valueTop);
    valueMap->Serialize(archive);
    SerializeWithVersion(valueFormat, archive);
    archive.WriteLong(static_cast<int32_t>(contourValues.size()));
    SerializeWithVersion(costFormat, archive);
    SerializeWithVersion(effFormat, archive);
    for (double value : contourValues)
        archive.WriteDouble(value);
}

bool TwoWaySensGraph::LoadPart(Archive& archive)
{
    if (!LoadRegions(archive))
        return false;
    VersionRecord version;
    version.Serialize(archive);
    boundaries = std::make_unique<StrategyBoundaryTable>();
    boundaries->Serialize(archive, RegionCount());
    if (archive.Failed() || version.IsOlderThan(KnownVersion::k3_0))
        return !archive.Failed();
    valueMap = std::make_shared<StrategyRegionMap>(archive);
    SerializeWithVersion(valueFormat, archive);
    if (archive.Failed() || version.IsOlderThan(KnownVersion::k3_5))
        return !archive.Failed();
    int32_t count = 0;
    archive.ReadLong(count);
    SerializeWithVersion(costFormat, archive);
    SerializeWithVersion(effFormat, archive);
    if (count < 0 || static_cast<uint32_t>(count) > archive.BytesLeft() / sizeof(double)) {
        archive.SetFormatError(kBadContourPart);
        return false;
    }
    contourValues.assign(static_cast<size_t>(count), 0.0);
    for (double& value : contourValues)
        archive.ReadDouble(value);
    return !archive.Failed();
}

ThreeWaySensGraph::ThreeWaySensGraph(const ThreeWaySensitivityResults& results)
    : RegionGraph(results.maps.front()->strategies), maps(results.maps)
{
    SetIconId(32021);
    title.text = results.title;
    subtitle.text = results.subtitle;
    hasSubtitle = subtitle.text.IsEmpty() ? 0 : 1;
    for (const auto& map : maps)
        boundaries.push_back(std::make_unique<StrategyBoundaryTable>(*map));
    SetUpPlane(*maps.front(), results.labels[0], results.labels[1]);
    const StrategyRegionMap& first = *maps.front();
    NumericFormat format = first.document != nullptr ? first.document->NumberFormat() : NumericFormat(true);
    const int zIntervals = static_cast<int>(maps.size()) - 1;
    if (zIntervals > 0 && results.zHigh > results.zLow)
        AutoFormatForRange(format, results.zLow, results.zHigh, zIntervals);
    // The stepped variable is no money either, as the swept ones of the plane.
    format.unitsKind = NumericFormat::UnitsNone;
    format.unitsText = "";
    stepLabel.owner = this;
    stepLabel.Initialise(format, results.labels[2].Text(), results.zLow, results.zHigh, results.zStep);
    strip_ = new StepAnimationStrip(*this, *this);
}

ThreeWaySensGraph::ThreeWaySensGraph(const char* path) : RegionGraph(FromFile{})
{
    SetIconId(32021);
    stepLabel.owner = this;
    OpenGraphFile(path);
    stepLabel.SetStep(0, nullptr);
    strip_ = new StepAnimationStrip(*this, *this);
}

std::unique_ptr<zRegion> ThreeWaySensGraph::RegionOf(int index, Display& display, const zRegion* clip)
{
    const int step = ShownStep();
    if (step < 0)
        return PlotRegion(display, clip);
    return StrategyRegion(display, *boundaries[step], step < static_cast<int>(maps.size()) ? maps[step].get() : nullptr,
                          index, clip);
}

// Every step has its own regions, so their rectangles are measured at each drawing.
void ThreeWaySensGraph::DrawSeries(Display& display)
{
    rectsValid = 0;
    RegionGraph::DrawSeries(display);
}

void ThreeWaySensGraph::ForEachElement(const ElementVisit& visit)
{
    RegionGraph::ForEachElement(visit);
    visit(stepLabel);
}

LogicalRect ThreeWaySensGraph::PlotBlockSize()
{
    return StepLabelBlock(RegionGraph::PlotBlockSize(), stepLabel);
}

void ThreeWaySensGraph::PlacePlotBlock(const LogicalRect& block)
{
    RegionGraph::PlacePlotBlock(PlotUnderStepLabel(block, stepLabel));
    PlaceStepLabel(stepLabel, block, graphRect);
}

void ThreeWaySensGraph::SetGraphRect(const LogicalRect& rect)
{
    const float dx = rect.right - graphRect.right;
    const float dy = rect.top - graphRect.top;
    RegionGraph::SetGraphRect(rect);
    stepLabel.MoveBy(dx, dy);
}

// Own part, after the region part:
//   version record                                  3 bytes
//   table count n                                   i16 (0 to what the stream can hold, else error 15)
//   step label                                      label record
//   n boundary tables                               pair lists and orientation bytes of the strategies
void ThreeWaySensGraph::StorePart(Archive& archive)
{
    StoreRegions(archive);
    VersionRecord(VersionRecord::Current()).Serialize(archive);
    archive.WriteShort(static_cast<int16_t>(boundaries.size()));
    stepLabel.Serialize(archive);
    for (auto& table : boundaries)
        table->Serialize(archive, RegionCount());
}

bool ThreeWaySensGraph::LoadPart(Archive& archive)
{
    if (!LoadRegions(archive))
        return false;
    VersionRecord version;
    version.Serialize(archive);
    int16_t count = 0;
    archive.ReadShort(count);
    if (count < 0 || static_cast<uint32_t>(count) > archive.BytesLeft()) {
        archive.SetFormatError(kBadContourPart);
        return false;
    }
    stepLabel.Serialize(archive);
    boundaries.clear();
    for (int k = 0; k < count && !archive.Failed(); ++k) {
        boundaries.push_back(std::make_unique<StrategyBoundaryTable>());
        boundaries.back()->Serialize(archive, RegionCount());
    }
    return !archive.Failed();
}

void InstallSensitivityRegionGraphs()
{
    SetTwoWaySensitivityPresenter([](const TwoWaySensitivityResults& results) {
        if (!results.map)
            return;
        (new TwoWaySensGraph(results))->Open(results.graphTemplate);
    });
    SetThreeWaySensitivityPresenter([](const ThreeWaySensitivityResults& results) {
        if (results.maps.empty())
            return;
        (new ThreeWaySensGraph(results))->Open(results.graphTemplate);
    });
}
