#pragma once
// One-way sensitivity analysis: varies one variable over a range in equal intervals and, at every step,
// rolls back each branch of the analysed decision node (or the node alone) into a result grid, one
// evaluation per idle step; at the end it finds the thresholds where the optimal branch changes. Every
// overwritten definition gets its formula back when the run ends, however it ends.

#include "analysis/AnalysisRun.h"
#include "analysis/SensitivityRangeSet.h"
#include "analysis/SensitivityResultGrid.h"

#include <memory>

struct StoredAnalysis;
struct TreeNode;

// The choices of the set-up: the variable, its range and intervals, and whether one line is drawn for the
// node alone.
struct OneWaySettings {
    zString variable;
    FormattedValue low;
    FormattedValue high;
    int32_t intervals = 0;
    bool nodeOnly = false;
};

class OneWaySensitivityAnalysis : public AnalysisRun {
public:
    OneWaySensitivityAnalysis(TreeNode* node, const OneWaySettings& settings);
    ~OneWaySensitivityAnalysis() override;

    void Run() override;
    const char* Name() const override { return "Sensitivity Analysis"; }
    int Step() override;
    void Finish() override;
    double ProgressPos() override;
    double ProgressTotal() override { return grid ? grid->CellCount() : 0; }

    // Collects the definitions of every range; false (with its message) when the variable has none.
    virtual bool BuildBindings();
    // The grid of the sweep over range 0.
    virtual std::unique_ptr<SensitivityResultGrid> MakeGrid();
    virtual void ApplyStepValues();
    virtual void RestoreRanges();
    // Presents the grid and thresholds; the program's result window takes them from here.
    virtual void ShowResults() {}

    TreeNode* node;
    int32_t nodeOnly = 0;
    int32_t seriesCount = 1;
    int32_t stepCounter = 0;
    int32_t seriesCounter = 0;
    zString whenText;
    ThresholdList thresholds;
    SensitivityRangeSet ranges;
    double minimum = 0.0;
    double maximum = 0.0;
    std::unique_ptr<SensitivityResultGrid> grid;
};

// The description of a stored one-way analysis (kind 1) in the stored-analyses dialogs.
void DescribeOneWaySensitivity(TreeDocument* window, StoredAnalysis* record, zString& text);
