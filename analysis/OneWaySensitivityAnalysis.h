#pragma once
// One-way sensitivity analysis: varies one variable over a range in equal intervals and, at every step,
// rolls back each branch of the analysed decision node (or the node alone) into a result grid, one
// evaluation per idle step; at the end it finds the thresholds where the optimal branch changes. Every
// overwritten definition gets its formula back when the run ends, however it ends.

#include "analysis/AnalysisRun.h"
#include "analysis/LineGraphData.h"
#include "analysis/SensitivityRangeSet.h"
#include "analysis/ProbabilityVerification.h"
#include "analysis/SensitivityResultGrid.h"

#include <functional>
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
    // Off: the probabilities are not checked at each step (the tree's checking flag is off meanwhile).
    bool checkCoherence = true;
};

// The pseudo-variable that stands for the coefficient of the tree's risk preference function.
constexpr const char* kRiskCoefficientName = "Risk Preference Coeff.";

// Keeps the tree's checking flag off while it lives and then puts its value back.
class CoherenceGuard {
public:
    explicit CoherenceGuard(int32_t& flag) : flag(flag), saved(flag) { flag = 0; }
    ~CoherenceGuard() { flag = saved; }
    CoherenceGuard(const CoherenceGuard&) = delete;
    CoherenceGuard& operator=(const CoherenceGuard&) = delete;

private:
    int32_t& flag;
    int32_t saved;
};

class OneWaySensitivityAnalysis : public AnalysisRun {
public:
    OneWaySensitivityAnalysis(TreeNode* node, const OneWaySettings& settings);
    // Runs a stored record (kind 1) again; a record that no longer fits the tree stops the run with a message.
    OneWaySensitivityAnalysis(TreeDocument* document, StoredAnalysis* record);
    ~OneWaySensitivityAnalysis() override;

    bool Begin() override;
    const char* Name() const override { return "Sensitivity Analysis"; }
    int Step() override;
    void Finish() override;
    double ProgressPos() override;
    double ProgressTotal() override { return grid ? grid->CellCount() : 0; }
    StoredAnalysis* MakeStoredRecord() override;

    // Closes the windows bound to the ranges' variables, then collects the definitions of every range; false
    // (with its message) when the variable has none.
    virtual bool BuildBindings();
    // The grid of the sweep over range 0.
    virtual std::unique_ptr<SensitivityResultGrid> MakeGrid();
    virtual void ApplyStepValues();
    virtual void RestoreRanges();
    // Presents the grid and thresholds: the line graph in plain mode, the cost-effectiveness sensitivity
    // window otherwise.
    virtual void ShowResults();
    // The line graph of a plain sweep.
    void MakeGraph(LineGraphData& graph) const;

    TreeNode* node;
    int32_t riskCoefficient = 0;
    int32_t nodeOnly = 0;
    int32_t costEffectiveness = 0;
    int32_t seriesCount = 1;
    int32_t stepCounter = 0;
    int32_t seriesCounter = 0;
    zString whenText;
    std::unique_ptr<CoherenceGuard> coherenceGuard;
    RepeatedProbabilityCheck probabilityCheck;
    int32_t reserved = 0;
    ThresholdList thresholds;
    SensitivityRangeSet ranges;
    double minimum = 0.0;
    double maximum = 0.0;
    std::unique_ptr<SensitivityResultGrid> grid;
};

// What the cost-effectiveness sensitivity window is given: it takes the grid.
struct CESensitivityResults {
    std::shared_ptr<SensitivityResultGrid> grid;
    TreeNode* node = nullptr;
    zString title;
    zString variableLabel;
    zString variableName;
};
// Shows a cost-effectiveness sweep. Until a presenter is installed nothing is shown.
using CESensitivityPresenter = std::function<void(const CESensitivityResults&)>;
CESensitivityPresenter SetCESensitivityPresenter(CESensitivityPresenter presenter);

// The description of a stored one-way analysis (kind 1) in the stored-analyses dialogs.
void DescribeOneWaySensitivity(TreeDocument* document, StoredAnalysis* record, zString& text);
// Runs a stored one-way analysis again.
void RunStoredOneWaySensitivity(StoredAnalysis* record, TreeDocument* document);
