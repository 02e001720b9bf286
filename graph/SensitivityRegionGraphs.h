#pragma once
// The graphs of the two- and three-way sensitivity analyses: the plane of the two variables divided into the
// regions where each strategy is best, one fill per strategy. A graph owns its maps and boundary tables; the
// three-way graph holds one of each per step of the third variable and shows one step at a time.

#include "analysis/StrategyBoundaryTable.h"
#include "analysis/StrategyRegionMap.h"
#include "foundation/NumericFormat.h"
#include "graph/RegionGraph.h"
#include "graph/StepAnimation.h"

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
    // Isocontours with at most two strategies.
    CommandTable KindCommands() const override;
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

private:
    static const CommandRow KindRows[];
    void EditIsocontours();
};

// One boundary table per step of a third variable, one step shown at a time with the label
// "<third variable> = <value>" above the legend and the strip that steps and animates under the plot.
class ThreeWaySensGraph : public RegionGraph, public SteppedGraph {
public:
    static constexpr int kTypeCode = 51;

    explicit ThreeWaySensGraph(const ThreeWaySensitivityResults& results);
    // Reads the graph file; an unreadable file was reported and leaves the graph without a path.
    explicit ThreeWaySensGraph(const char* path);

    int TypeCode() override { return kTypeCode; }
    int StepCount() const override { return static_cast<int>(boundaries.size()); }
    StepValueLabel* StepLabel() override { return &stepLabel; }
    StepAnimationStrip* Strip() const { return strip_; }
    void ForEachElement(const ElementVisit& visit) override;
    void SetGraphRect(const LogicalRect& rect) override;

    // The analysis's maps (none in a graph read from a file: its regions then span the plot).
    std::vector<std::shared_ptr<StrategyRegionMap>> maps;
    std::vector<std::unique_ptr<StrategyBoundaryTable>> boundaries;
    StepValueLabel stepLabel;

protected:
    // Plays the steps, as "Animate" does.
    void FirstShown() override { strip_->Animate(); }
    std::unique_ptr<zRegion> RegionOf(int index, Display& display, const zRegion* clip) override;
    void DrawSeries(Display& display) override;
    LogicalRect PlotBlockSize() override;
    void PlacePlotBlock(const LogicalRect& block) override;
    bool HasStoredForm() override { return true; }
    void StorePart(Archive& archive) override;
    bool LoadPart(Archive& archive) override;

private:
    StepAnimationStrip* strip_ = nullptr;
};

// Shows two- and three-way sensitivity results in these graph windows from now on.
void InstallSensitivityRegionGraphs();
