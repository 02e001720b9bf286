#pragma once
// Threshold Analysis Results (dialog 2394): the number of thresholds found and one interval at a time with
// its optimal choice and the expected value at its upper threshold; "<< &Prev" and "&Next >>" move through
// the intervals, "To &Clipboard" puts the whole report there once, "&Done" closes.

#include "analysis/ThresholdAnalysis.h"

class ThresholdResultsDialog {
public:

    explicit ThresholdResultsDialog(const ThresholdResults& results) : results(results) {}
    // Runs on the screen (nothing without an application).
    void Run();

private:
    const ThresholdResults& results;
};

// Shows every finished threshold analysis in this dialog.
void InstallThresholdResultsDialog();
