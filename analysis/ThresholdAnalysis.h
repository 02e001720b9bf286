#pragma once
// Threshold analysis: a one-way sweep that pins down, to a tolerance, where the optimal branch of a decision
// node changes. Each level sweeps its range in a few intervals; a crossing between two steps opens a finer
// level over that one interval, until an interval is no wider than twice the tolerance, where the crossing is
// interpolated. Finished levels give way to their parent, which resumes at the next step.

#include "analysis/OneWaySensitivityAnalysis.h"
#include "foundation/NumericFormat.h"

#include <functional>
#include <vector>

struct ThresholdSettings : OneWaySettings {
    double tolerance = 0.0;
};

// What the results dialog shows: the intervals between the thresholds, each with its optimal choice.
struct ThresholdResults {
    // The number of thresholds; there is one interval more.
    int Count() const { return static_cast<int>(thresholds.size()); }
    // `For "<variable>" between <lo> and <hi>, the optimal choice is "<node>".`; the dialog's form breaks
    // the line after the lower end and after ", the optimal".
    void IntervalText(int i, bool forDialog, zString& out) const;
    // "EV at threshold: <value>" for every interval but the last, which has none.
    void ThresholdText(int i, zString& out) const;
    // The whole report as the clipboard takes it.
    void ReportText(zString& out) const;

    zString variable;
    double low = 0.0;
    double high = 0.0;
    double tolerance = 0.0;
    int16_t decimals = 0;
    NumericFormat format;
    // In increasing x.
    std::vector<ThresholdPoint> thresholds;
    // The optimal branch above the last threshold.
    TreeNode* lastChoice = nullptr;
};

class ThresholdAnalysis : public OneWaySensitivityAnalysis {
public:
    ThresholdAnalysis(TreeNode* node, const ThresholdSettings& settings);
    ~ThresholdAnalysis() override;

    const char* Name() const override { return "Threshold Analysis"; }
    int Step() override;
    void Finish() override;
    double ProgressPos() override { return position - low; }
    double ProgressTotal() override { return high - low; }
    // A threshold analysis is not kept as the last analysis.
    StoredAnalysis* MakeStoredRecord() override { return nullptr; }
    std::unique_ptr<SensitivityResultGrid> MakeGrid() override;

    // A finer level over [a, b] becomes the current grid, swept from its first step.
    void OpenLevel(double a, double b);
    // The current level is done: its parent becomes current again with its counters and range.
    void CloseLevel();
    // The results of a complete run.
    ThresholdResults Results() const;

    int16_t decimals = 0;
    double tolerance = 0.0;
    double low = 0.0;
    double high = 0.0;
    double position = 0.0;
    // The levels open now; 1 while the top level is swept.
    int32_t depth = 0;
};

// Shows a finished threshold analysis's results. Until a presenter is installed nothing is shown.
using ThresholdResultsPresenter = std::function<void(const ThresholdResults&)>;
ThresholdResultsPresenter SetThresholdResultsPresenter(ThresholdResultsPresenter presenter);
