#pragma once
// What the two-way and three-way sensitivity analyses share: two or three variables X, Y (and Z) varied over
// their own ranges and, at every grid point, every branch of a decision node rolled back into a strategy
// region map, one evaluation per idle step: strategy fastest, then X, then Y, then Z, with one map per Z
// step. Every overwritten definition gets its formula back when the run ends, however it ends.

#include "analysis/AnalysisRun.h"
#include "analysis/OneWaySensitivityAnalysis.h"
#include "analysis/SensitivityRangeSet.h"
#include "analysis/StrategyRegionMap.h"

#include <initializer_list>
#include <memory>
#include <vector>

struct StoredAnalysis;
struct TreeNode;

// One axis of the set-up: the variable, its range and intervals.
struct SensitivityAxisSettings {
    zString variable;
    FormattedValue low;
    FormattedValue high;
    int32_t intervals = 0;
};

class RegionSweepRun : public AnalysisRun {
public:
    static constexpr int kMostAxes = 3;

    ~RegionSweepRun() override;

    bool Begin() override;
    const char* Name() const override { return "Sensitivity Analysis"; }
    int Step() override;
    double ProgressPos() override;
    double ProgressTotal() override;
    // Items: node path, the names, each axis's low and high texts, the intervals, the bindings, the
    // correlated ranges, then "1" when the probabilities are checked ("0" when not).
    StoredAnalysis* MakeStoredRecord() override;

    // Closes the windows bound to the ranges' variables, then collects every range's definitions; false
    // (with its message) when a variable has none.
    bool BuildBindings();

    int AxisCount() const { return axisCount; }
    // The ranges of axis a (0 for X), to which the caller may add correlated ranges before the run begins.
    SensitivityRangeSet& AxisRanges(int a) { return sets[a]; }

    TreeNode* node;
    std::unique_ptr<CoherenceGuard> coherenceGuard;

protected:
    // A run of the set-up's axes (two or three, X first), stored as a record of the kind; without
    // checkCoherence the probabilities are not checked at each grid point (the tree's checking flag is off
    // meanwhile).
    RegionSweepRun(TreeNode* node, int32_t kind, std::initializer_list<const SensitivityAxisSettings*> axes,
                   bool checkCoherence);
    // Runs a stored record of the kind again, items as MakeStoredRecord writes them; records older than
    // tailFrom end after the bindings, and only those from textsFrom on hold correlated ranges. A record
    // that no longer fits the tree stops with a message.
    RegionSweepRun(TreeDocument* document, StoredAnalysis* record, int32_t kind, int axisCount, int32_t tailFrom,
                   int32_t textsFrom);

    // Every overwritten definition gets its formula back.
    void RestoreAll();
    // "A and B" (and " and C"): the labels of the axes' variables.
    zString SweptVariables() const;

    const int32_t kind;
    const int axisCount;
    zString names[kMostAxes];
    zString valueTexts[kMostAxes];
    zString whenText;
    int32_t strategies = 0;
    // Grid points along each axis and the current one; an axis the run does not have counts one point.
    int32_t counts[kMostAxes] = {1, 1, 1};
    int32_t steps[kMostAxes] = {};
    int32_t newRun = 0;
    int32_t strategyCounter = 0;
    SensitivityRangeSet sets[kMostAxes];
    // One map per Z step.
    std::vector<std::shared_ptr<StrategyRegionMap>> maps;
};
