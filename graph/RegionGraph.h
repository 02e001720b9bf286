#pragma once
// Graphs that divide the plot into filled regions, one fill per strategy: the base keeps, per region, the
// legend entry that styles it and its bounding rectangle, and draws every region filled and framed. The
// strategy region graph is the "Strategy Graph" of a line graph: one polygon per interval between two
// threshold points, coloured by the strategy that is best there.

#include "graph/GraphLineElement.h"
#include "graph/GraphWindow.h"

#include <cstdint>
#include <memory>
#include <vector>

class LineGraph;
class StrategyBoundaryTable;
class StrategyRegionMap;
class zRegion;

class RegionGraph : public GraphWindow {
public:
    static constexpr int kMostRegions = 50;

    int RegionCount() const { return static_cast<int>(fillIndex.size()); }
    // The legend entry that styles region i.
    int FillIndex(int i) const { return fillIndex[i]; }
    // Bounding rectangle of region i in inches, known after the first full drawing.
    const LogicalRect& RegionRect(int i) const { return regionRects[i]; }
    // The fill picker on the key's legend entry.
    bool EditLegendKey(GraphElement& key) override;
    // The region rectangles are measured again at the next drawing.
    void SetGraphRect(const LogicalRect& rect) override;

protected:
    explicit RegionGraph(int regionCount);
    explicit RegionGraph(FromFile);

    // Region i in device units, intersected with the clip when one is given.
    virtual std::unique_ptr<zRegion> RegionOf(int index, Display& display, const zRegion* clip) = 0;
    void DrawSeries(Display& display) override;
    // The plot rectangle in device units, intersected with the clip when one is given.
    std::unique_ptr<zRegion> PlotRegion(Display& display, const zRegion* clip) const;
    // The polygon through the points (axis values), closed on its first point; no points give the plot.
    std::unique_ptr<zRegion> PolygonRegion(Display& display, const std::vector<double>& xs,
                                           const std::vector<double>& ys, const zRegion* clip) const;
    std::unique_ptr<zRegion> PolygonRegion(Display& display, const GraphSeriesList& points,
                                           const zRegion* clip) const;
    // The part of the map's rectangle (of the plot without a map) where strategy i beats every other one of the table: per
    // pair, inside or outside the pair's boundary polygon as its orientation says.
    std::unique_ptr<zRegion> StrategyRegion(Display& display, const StrategyBoundaryTable& table,
                                            const StrategyRegionMap* map, int i, const zRegion* clip) const;
    // Connected segments through the points (axis values) with the display's current pen.
    void DrawPolyline(Display& display, const std::vector<double>& xs, const std::vector<double>& ys) const;
    // Scales the axes over the map's ranges and names its strategies in the legend, one fill each.
    void SetUpPlane(const StrategyRegionMap& map, const zString& xLabel, const zString& yLabel);

    // The region part, after the common part (see RegionGraph.cpp).
    void StoreRegions(Archive& archive);
    bool LoadRegions(Archive& archive);

    int16_t rectsValid = 0;
    int16_t regionsAdded = 0;
    std::vector<LogicalRect> regionRects;
    std::vector<int16_t> fillIndex;
};

class StrategyRegionGraph : public RegionGraph {
public:
    static constexpr int kTypeCode = 49;

    explicit StrategyRegionGraph(int regionCount);
    // Reads the graph file; an unreadable file was reported and leaves the graph without a path.
    explicit StrategyRegionGraph(const char* path);

    int TypeCode() override { return kTypeCode; }
    // Takes the outline as the next region; the strategy's legend entry is shared by all its regions.
    void AddRegion(std::unique_ptr<GraphSeriesList> outline, const char* strategy);
    const GraphSeriesList* Outline(int i) const { return regionPoints[i].get(); }

protected:
    std::unique_ptr<zRegion> RegionOf(int index, Display& display, const zRegion* clip) override;
    bool HasStoredForm() override { return true; }
    void StorePart(Archive& archive) override;
    bool LoadPart(Archive& archive) override;

private:
    std::vector<std::unique_ptr<GraphSeriesList>> regionPoints;
};

// The strategy graph of a line graph with threshold points, laid out and shown.
StrategyRegionGraph* MakeStrategyGraph(const LineGraph& lines);
