#pragma once
// The graphs of the two- and three-way sensitivity analyses: the plane of the two variables divided into the
// regions where each strategy is best, one fill per strategy. A graph owns its maps and boundary tables; the
// three-way graph holds one of each per step of the third variable and shows one step at a time.

#include "analysis/StrategyBoundaryTable.h"
#include "analysis/StrategyRegionMap.h"
#include "foundation/NumericFormat.h"
#include "graph/RegionGraph.h"

#include <memory>
#include <vector>

struct ThreeWaySensitivityResults;
struct TwoWaySensitivityResults;

class TwoWaySensGraph : public RegionGraph {
public:
    static constexpr int kTypeCode = 47;

    // Takes the map and builds its boundaries; scales the axes over the two ranges.
    explicit TwoWaySensGraph(const TwoWaySensitivityResults& results);
    // Reads the graph file; an unreadable file was reported and leaves the graph without a path.
    explicit TwoWaySensGraph(const char* path);

    int TypeCode() override { return kTypeCode; }
    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    // Isocontours with at most two strategies.
    bool CommandAllowed(unsigned id) override;
    void UpdateMenus(HMENU bar) override;
    bool HasTextExport() override { return valueMap != nullptr; }
    // "KIVO(tm) Two-Way Sensitivity Analysis": the strategies, then the map as a table.
    bool WriteTextExport(TextReport& report) override;
    // The position, then the best strategy's value there (cost, effectiveness and C/E under cost-effectiveness).
    zString CoordinateText(float x, float y) const override;

    std::shared_ptr<StrategyRegionMap> valueMap;
    std::unique_ptr<StrategyBoundaryTable> boundaries;
    NumericFormat valueFormat;
    NumericFormat costFormat;
    NumericFormat effFormat;
    // The marginal values at which isocontours are drawn, ascending.
    std::vector<double> contourValues;

protected:
    std::unique_ptr<zRegion> RegionOf(int index, Display& display, const zRegion* clip) override;
    void DrawSeries(Display& display) override;
    bool HasStoredForm() override { return true; }
    void StorePart(Archive& archive) override;
    bool LoadPart(Archive& archive) override;
};

class ThreeWaySensGraph : public RegionGraph {
public:
    static constexpr int kTypeCode = 51;

    explicit ThreeWaySensGraph(const ThreeWaySensitivityResults& results);

    int TypeCode() override { return kTypeCode; }

    std::vector<std::shared_ptr<StrategyRegionMap>> maps;
    std::vector<std::unique_ptr<StrategyBoundaryTable>> boundaries;
    // The step of the third variable shown.
    int shownStep = 0;
    double zLow = 0.0;
    double zStep = 0.0;

protected:
    std::unique_ptr<zRegion> RegionOf(int index, Display& display, const zRegion* clip) override;
};

// Shows two- and three-way sensitivity results in these graph windows from now on.
void InstallSensitivityRegionGraphs();
