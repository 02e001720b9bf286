#pragma once
// Two-way sensitivity analysis: varies two variables X and Y over their own ranges and, at every grid point,
// rolls back every branch of a decision node into a strategy region map, one evaluation per idle step.
// Every overwritten definition gets its formula back when the run ends, however it ends.

#include "analysis/AnalysisRun.h"
#include "analysis/OneWaySensitivityAnalysis.h"
#include "analysis/SensitivityRangeSet.h"
#include "analysis/StrategyRegionMap.h"

#include <functional>
#include <memory>

struct StoredAnalysis;
struct StoredItemReader;
struct TreeNode;

// One axis of the set-up: the variable, its range and intervals.
struct SensitivityAxisSettings {
    zString variable;
    FormattedValue low;
    FormattedValue high;
    int32_t intervals = 0;
};

// The set takes the axis's intervals and its variable's range; name takes the variable's name in capitals.
void SetUpSensitivityAxis(const SensitivityAxisSettings& axis, SensitivityRangeSet& set, zString& name);
// One axis of a stored record: the caller reads name, low and high in record order; here the main range and
// its bindings. False when a binding no longer fits the tree.
bool LoadSensitivityAxis(StoredItemReader& items, TreeDocument* document, const zString& name, const FormattedValue& low,
                         const FormattedValue& high, SensitivityRangeSet& set);
// "When:" and a "NAME = value" line per axis: the grid point that the checks' messages name.
zString GridPointText(const zString* names, const zString* values, int count);

struct TwoWaySettings {
    SensitivityAxisSettings x;
    SensitivityAxisSettings y;
    // Off: the probabilities are not checked at each grid point (the tree's checking flag is off meanwhile).
    bool checkCoherence = true;
};

class TwoWaySensitivityAnalysis : public AnalysisRun {
public:
    TwoWaySensitivityAnalysis(TreeNode* node, const TwoWaySettings& settings);
    // Runs a stored record (kind 5) again; a record that no longer fits the tree stops with a message.
    TwoWaySensitivityAnalysis(TreeDocument* document, StoredAnalysis* record);
    ~TwoWaySensitivityAnalysis() override;

    bool Begin() override;
    const char* Name() const override { return "Sensitivity Analysis"; }
    int Step() override;
    void Finish() override;
    double ProgressPos() override { return map ? map->CellIndex(strategyCounter, yStep, xStep) : 0; }
    double ProgressTotal() override { return map ? map->CellCount() : 0; }
    StoredAnalysis* MakeStoredRecord() override;

    // Closes the windows bound to the ranges' variables, then collects every range's definitions; false
    // (with its message) when a variable has none.
    bool BuildBindings();

    TreeNode* node;
    std::unique_ptr<CoherenceGuard> coherenceGuard;
    zString xName;
    zString yName;
    zString whenText;
    zString xValueText;
    zString yValueText;
    int32_t strategies = 0;
    int32_t xCount = 0;
    int32_t yCount = 0;
    int32_t yStep = 0;
    int32_t xStep = 0;
    int32_t newRun = 0;
    int32_t strategyCounter = 0;
    SensitivityRangeSet xSet;
    SensitivityRangeSet ySet;
    std::unique_ptr<StrategyRegionMap> map;
};

// What the two-way sensitivity graph is given: it takes the map.
class GraphTemplate;

struct TwoWaySensitivityResults {
    std::shared_ptr<StrategyRegionMap> map;
    int32_t strategies = 0;
    bool newRun = false;
    zString title;
    zString subtitle;
    zString xLabel;
    zString yLabel;
    // The template kept with the stored analysis that drew the graph, applied to the new window; null for none.
    const GraphTemplate* graphTemplate = nullptr;
};
// Shows a two-way sweep. Until a presenter is installed nothing is shown.
using TwoWaySensitivityPresenter = std::function<void(const TwoWaySensitivityResults&)>;
TwoWaySensitivityPresenter SetTwoWaySensitivityPresenter(TwoWaySensitivityPresenter presenter);

// The description of a stored two-way analysis (kind 5).
void DescribeTwoWaySensitivity(TreeDocument* document, StoredAnalysis* record, zString& text);
void RunStoredTwoWaySensitivity(StoredAnalysis* record, TreeDocument* document);
