#include "graph/RegionGraph.h"

#include "graph/LineGraph.h"

#include "analysis/StrategyBoundaryTable.h"
#include "analysis/StrategyRegionMap.h"
#include "widgets/CursorStack.h"
#include "graph/GraphStylePickers.h"
#include "foundation/Archive.h"
#include "foundation/VersionRecord.h"
#include "framework/draw/ColourContext.h"
#include "framework/draw/Display.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/zBrush.h"
#include "framework/draw/zRegion.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

namespace {

constexpr uint32_t kBadRegionCount = 15;

}  // namespace

RegionGraph::RegionGraph(int regionCount)
    : regionRects(static_cast<size_t>(regionCount), LogicalRect{0, 0, 0, 0}),
      fillIndex(static_cast<size_t>(regionCount), 0)
{
}

RegionGraph::RegionGraph(FromFile) : GraphWindow(FromFile{}), rectsValid(1) {}

bool RegionGraph::EditLegendKey(GraphElement& key)
{
    const int index = legendKeys.IndexOf(&key);
    auto* fillKey = dynamic_cast<GraphFillElement*>(&key);
    if (index < 0 || fillKey == nullptr || index >= legendTexts.Count())
        return false;
    if (!RunRegionFillDialog(fillKey->fill, legendTexts.Label(index)->text.Text()))
        return false;
    InvalidateAll();
    return true;
}

void RegionGraph::SetGraphRect(const LogicalRect& rect)
{
    GraphWindow::SetGraphRect(rect);
    rectsValid = 0;
}

std::unique_ptr<zRegion> RegionGraph::PlotRegion(Display& display, const zRegion* clip) const
{
    auto region = std::make_unique<zRectRegion>(LogicalRectToPixels(graphRect, display));
    if (clip != nullptr)
        region->Intersect(*clip);
    return region;
}

std::unique_ptr<zRegion> RegionGraph::PolygonRegion(Display& display, const std::vector<double>& xs,
                                                    const std::vector<double>& ys, const zRegion* clip) const
{
    if (xs.empty())
        return PlotRegion(display, clip);
    std::vector<POINT> points;
    points.reserve(xs.size() + 1);
    for (size_t k = 0; k < xs.size(); ++k)
        points.push_back(POINT{LogicalXToPixel(horizontalAxis.Position(xs[k], graphRect), display),
                               LogicalYToPixel(verticalAxis.Position(ys[k], graphRect), display)});
    points.push_back(points.front());
    auto region = std::make_unique<zPolygonRegion>(points.data(), static_cast<int>(points.size()), WINDING);
    if (clip != nullptr)
        region->Intersect(*clip);
    return region;
}

std::unique_ptr<zRegion> RegionGraph::PolygonRegion(Display& display, const GraphSeriesList& points,
                                                    const zRegion* clip) const
{
    std::vector<double> xs;
    std::vector<double> ys;
    for (int k = 0; k < points.Count(); ++k) {
        xs.push_back(points.Point(k)->x);
        ys.push_back(points.Point(k)->y);
    }
    return PolygonRegion(display, xs, ys, clip);
}

std::unique_ptr<zRegion> RegionGraph::StrategyRegion(Display& display, const StrategyBoundaryTable& table,
                                                     const StrategyRegionMap* map, int i, const zRegion* clip) const
{
    // Only the analysed rectangle belongs to a strategy, however far the axes reach beyond it.
    std::unique_ptr<zRegion> analysed = PlotRegion(display, clip);
    if (map != nullptr)
        analysed->Intersect(*PolygonRegion(display, {map->xLow, map->xHigh, map->xHigh, map->xLow},
                                           {map->yLow, map->yLow, map->yHigh, map->yHigh}, nullptr));
    auto region = std::make_unique<zRegion>();
    region->Union(*analysed);
    std::vector<double> xs;
    std::vector<double> ys;
    for (int j = 0; j < table.Count(); ++j) {
        const BoundaryPointList* boundary = table.Entry(i, j);
        if (j == i || boundary == nullptr)
            continue;
        xs.clear();
        ys.clear();
        for (int k = 0; k < boundary->Count(); ++k) {
            xs.push_back(boundary->Point(k)->x);
            ys.push_back(boundary->Point(k)->y);
        }
        std::unique_ptr<zRegion> side = PolygonRegion(display, xs, ys, nullptr);
        if (table.Orientation(i, j) != 0) {
            auto outside = std::make_unique<zRegion>();
            outside->Union(*analysed);
            outside->Subtract(*side);
            side = std::move(outside);
        }
        region->Intersect(*side);
    }
    return region;
}

void RegionGraph::DrawPolyline(Display& display, const std::vector<double>& xs, const std::vector<double>& ys) const
{
    std::vector<POINT> points;
    for (size_t k = 0; k < xs.size(); ++k)
        points.push_back(POINT{LogicalXToPixel(horizontalAxis.Position(xs[k], graphRect), display),
                               LogicalYToPixel(verticalAxis.Position(ys[k], graphRect), display)});
    if (points.size() > 1)
        Polyline(display.DeviceContext(), points.data(), static_cast<int>(points.size()));
}

// Each region filled with its legend key's brush and framed with the key's solid colour; regions wholly
// outside what is being repainted are skipped once their rectangles are known (measured again after the
// plot moved or was resized; a graph saved before it was ever drawn stores empty ones).
void RegionGraph::DrawSeries(Display& display)
{
    WaitCursorScope wait;
    DisplayLock lock(display);
    const HDC dc = display.DeviceContext();
    RECT update;
    const bool hasUpdate = GetClipBox(dc, &update) != ERROR && !IsRectEmpty(&update);
    const LogicalRect updateRect = PixelRectToLogical(update, display);
    ColourContext colours(display, nullptr, nullptr);
    for (int i = 0; i < RegionCount(); ++i) {
        std::unique_ptr<zRegion> region = RegionOf(i, display, nullptr);
        if (rectsValid == 0) {
            RECT bounds;
            region->Bounds(bounds);
            regionRects[i] = PixelRectToLogical(bounds, display);
        }
        const LogicalRect& known = regionRects[i];
        const bool isKnown = known.right > known.left || known.bottom > known.top;
        if (hasUpdate && isKnown && !RectsMeet(known, updateRect))
            continue;
        const auto* key = dynamic_cast<const GraphFillElement*>(legendKeys.Key(fillIndex[i]));
        std::unique_ptr<zBrush> fill = key != nullptr ? GraphBrush::Make(key->fill, colours)
                                                      : std::make_unique<zBrush>(GRAY_BRUSH);
        std::unique_ptr<zBrush> frame = key != nullptr ? GraphBrush::MakeSolid(key->fill, colours)
                                                       : std::make_unique<zBrush>(BLACK_BRUSH);
        FillRgn(dc, region->Handle(), fill->Handle());
        FrameRgn(dc, region->Handle(), frame->Handle(), 1, 1);
    }
    rectsValid = 1;
}

void RegionGraph::SetUpPlane(const StrategyRegionMap& map, const zString& xLabel, const zString& yLabel)
{
    NumericFormat format = map.document != nullptr ? map.document->NumberFormat() : NumericFormat(true);
    // A swept variable is no money (most often a probability): its numbers carry neither currency nor units.
    format.unitsKind = NumericFormat::UnitsNone;
    format.unitsText = "";
    ScaleSweptAxis(0, format, map.xLow, map.xHigh, map.xCount - 1, xLabel.Text());
    ScaleSweptAxis(1, format, map.yLow, map.yHigh, map.yCount - 1, yLabel.Text());
    legendTexts.Clear();
    legendKeys.Clear();
    for (int s = 0; s < map.strategies; ++s) {
        zString label = s < static_cast<int>(map.labels.size()) ? map.labels[s] : zString();
        if (label.IsEmpty() && map.node != nullptr && s < map.node->childCount)
            map.node->GetChild(s)->GetShortText(label, 30);
        AddLegendEntry(label.Text(), new GraphFillElement(GraphItemStyle(s)));
        if (s < RegionCount())
            fillIndex[s] = static_cast<int16_t>(s);
    }
}

// Region part, after the common part:
//   version record                                 3 bytes
//   region count n                                 i16; below 0 or above 50: format error 15, nothing more
//   per region: rectangle, fill index              4 x f32, i16
bool RegionGraph::LoadRegions(Archive& archive)
{
    VersionRecord version;
    version.Serialize(archive);
    int16_t count = 0;
    archive.ReadShort(count);
    if (count < 0 || count > kMostRegions) {
        archive.SetFormatError(kBadRegionCount);
        return false;
    }
    regionRects.assign(static_cast<size_t>(count), LogicalRect{0, 0, 0, 0});
    fillIndex.assign(static_cast<size_t>(count), 0);
    for (int i = 0; i < count && !archive.Failed(); ++i) {
        SerializeElementRect(archive, regionRects[i]);
        archive.ReadShort(fillIndex[i]);
        if (fillIndex[i] < 0 || fillIndex[i] >= legendKeys.Count())
            archive.SetFormatError(kBadRegionCount);
    }
    rectsValid = 1;
    regionsAdded = count;
    return !archive.Failed();
}

void RegionGraph::StoreRegions(Archive& archive)
{
    VersionRecord(VersionRecord::Current()).Serialize(archive);
    archive.WriteShort(static_cast<int16_t>(RegionCount()));
    for (int i = 0; i < RegionCount(); ++i) {
        SerializeElementRect(archive, regionRects[i]);
        archive.WriteShort(fillIndex[i]);
    }
}

StrategyRegionGraph::StrategyRegionGraph(int regionCount)
    : RegionGraph(regionCount), regionPoints(static_cast<size_t>(regionCount))
{
    SetIconId(32018);
}

StrategyRegionGraph::StrategyRegionGraph(const char* path) : RegionGraph(FromFile{})
{
    SetIconId(32018);
    OpenGraphFile(path);
}

void StrategyRegionGraph::AddRegion(std::unique_ptr<GraphSeriesList> outline, const char* strategy)
{
    if (regionsAdded >= RegionCount())
        return;
    int entry = legendTexts.Count();
    for (int j = 0; j < legendTexts.Count(); ++j)
        if (legendTexts.Label(j)->text == strategy) {
            entry = j;
            break;
        }
    if (entry == legendTexts.Count())
        AddLegendEntry(strategy, new GraphFillElement(GraphItemStyle(entry)));
    fillIndex[regionsAdded] = static_cast<int16_t>(entry);
    regionPoints[regionsAdded] = std::move(outline);
    ++regionsAdded;
}

std::unique_ptr<zRegion> StrategyRegionGraph::RegionOf(int index, Display& display, const zRegion* clip)
{
    const GraphSeriesList* outline = regionPoints[index].get();
    return outline != nullptr ? PolygonRegion(display, *outline, clip) : PlotRegion(display, clip);
}

// Own part, after the region part: version record (3 bytes), then every region's outline (list of points).
void StrategyRegionGraph::StorePart(Archive& archive)
{
    StoreRegions(archive);
    VersionRecord(VersionRecord::Current()).Serialize(archive);
    for (auto& outline : regionPoints) {
        if (!outline)
            outline = std::make_unique<GraphSeriesList>();
        outline->Serialize(archive);
    }
}

bool StrategyRegionGraph::LoadPart(Archive& archive)
{
    if (!LoadRegions(archive))
        return false;
    VersionRecord version;
    version.Serialize(archive);
    regionPoints.clear();
    for (int i = 0; i < RegionCount() && !archive.Failed(); ++i) {
        regionPoints.push_back(std::make_unique<GraphSeriesList>());
        regionPoints.back()->Serialize(archive);
    }
    regionPoints.resize(static_cast<size_t>(RegionCount()));
    return !archive.Failed();
}

namespace {

void AddOutlinePoint(GraphSeriesList& outline, double x, double y)
{
    auto* point = new GraphSeriesItem;
    point->x = x;
    point->y = y;
    if (!outline.Add(point))
        delete point;
}

}  // namespace

// Between consecutive threshold points (and the axis ends) the best line's area down to the axis bottom
// becomes one region of that line's strategy.
StrategyRegionGraph* MakeStrategyGraph(const LineGraph& lines)
{
    const AxisElement& across = lines.horizontalAxis;
    const AxisElement& up = lines.verticalAxis;
    const int intervals = lines.ThresholdCount() + 1;
    auto* graph = new StrategyRegionGraph(intervals);
    double start = across.valueBottom;
    double startY = lines.BestLineAt(start) >= 0 ? lines.ValueAt(lines.BestLineAt(start), start) : 0.0;
    for (int i = 0; i < intervals; ++i) {
        const bool atThreshold = i < lines.ThresholdCount();
        const double end = atThreshold ? lines.Threshold(i).x : across.valueTop;
        const int best = lines.BestLineAt((start + end) / 2);
        if (best < 0)
            break;
        const double endY = atThreshold ? lines.Threshold(i).y : lines.ValueAt(best, end);
        auto outline = std::make_unique<GraphSeriesList>();
        AddOutlinePoint(*outline, start, up.valueBottom);
        AddOutlinePoint(*outline, start, startY);
        const GraphLineElement& line = lines.Line(best);
        for (int k = 0; k < line.Count(); ++k) {
            const double x = across.valueBottom + k * across.interval;
            if (x > start && x < end)
                AddOutlinePoint(*outline, x, line.values[k]);
        }
        AddOutlinePoint(*outline, end, endY);
        AddOutlinePoint(*outline, end, up.valueBottom);
        AddOutlinePoint(*outline, start, up.valueBottom);
        graph->AddRegion(std::move(outline), lines.legendTexts.Label(best)->text.Text());
        start = end;
        startY = endY;
    }
    graph->title.text = "Strategy Graph on";
    graph->subtitle.text = lines.variableName;
    graph->hasSubtitle = 1;
    graph->horizontalAxis.SetScale(across.numberFormat, across.valueBottom, across.valueTop, across.interval, 0);
    graph->horizontalLabel.text = lines.horizontalLabel.text;
    graph->verticalAxis.SetScale(up.numberFormat, up.valueBottom, up.valueTop, up.interval, 0);
    graph->verticalLabel.text = lines.verticalLabel.text;
    graph->Open(nullptr);
    return graph;
}
