#pragma once
// The graphs of the two- and three-way sensitivity analyses: the plane of the two variables with the
// boundaries between the regions where each strategy is best. A graph owns its maps and boundary tables; the
// three-way graph holds one of each per step of the third variable and shows one step at a time.

#include "analysis/StrategyBoundaryTable.h"
#include "analysis/StrategyRegionMap.h"
#include "graph/GraphWindow.h"

#include <memory>
#include <vector>

struct ThreeWaySensitivityResults;
struct TwoWaySensitivityResults;

// The plane of two variables divided into strategy regions.
class RegionGraph : public GraphWindow {
protected:
    // Scales the axes over the map's ranges and names the strategies in the legend.
    void SetUpPlane(const StrategyRegionMap& map, const zString& xLabel, const zString& yLabel);
    // Draws every pair boundary of the table inside the plot rectangle.
    void DrawBoundaries(Display& display, const StrategyBoundaryTable& table);
};

class TwoWaySensGraph : public RegionGraph {
public:
    // Takes the map and builds its boundaries; scales the axes over the two ranges.
    explicit TwoWaySensGraph(const TwoWaySensitivityResults& results);

    int TypeCode() override { return 47; }
    // The map as a text table (the X and Y labels name its axes).
    bool WriteTextExport(TextReport& report) override;

    std::shared_ptr<StrategyRegionMap> valueMap;
    std::unique_ptr<StrategyBoundaryTable> boundaries;

protected:
    void DrawSeries(Display& display) override;
};

class ThreeWaySensGraph : public RegionGraph {
public:
    explicit ThreeWaySensGraph(const ThreeWaySensitivityResults& results);

    int TypeCode() override { return 51; }

    std::vector<std::shared_ptr<StrategyRegionMap>> maps;
    std::vector<std::unique_ptr<StrategyBoundaryTable>> boundaries;
    // The step of the third variable shown.
    int shownStep = 0;
    double zLow = 0.0;
    double zStep = 0.0;

protected:
    void DrawSeries(Display& display) override;
};

// Shows two- and three-way sensitivity results in these graph windows from now on.
void InstallSensitivityRegionGraphs();
