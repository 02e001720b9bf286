#pragma once
// Threshold Analysis Results (dialog 2394): the number of thresholds found and one interval at a time with
// its optimal choice and the expected value at its upper threshold; "<< &Prev" and "&Next >>" move through
// the intervals, "To &Clipboard" puts the whole report there once, "&Done" closes.

#include "analysis/ThresholdAnalysis.h"

class ThresholdResultsDialog {
public:
    enum : int {
        kTemplateId = 2394,
        kCountText = 2395,
        kIntervalText = 2396,
        kValueText = 2397,
        kPrevButton = 2398,
        kNextButton = 2399,
        kClipboardButton = 2393
    };

    explicit ThresholdResultsDialog(const ThresholdResults& results) : results(results) {}
    // Runs on the screen (nothing without an application).
    void Run();

private:
    const ThresholdResults& results;
};

// Shows every finished threshold analysis in this dialog.
void InstallThresholdResultsDialog();
