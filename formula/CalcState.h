#pragma once
// The calculation state of a tree window: the Markov values that the formula keywords read, the Monte Carlo
// switches, and the probability-check flag of roll back. One per tree window; a formula evaluated without a
// window gets its own zeroed one.

#include "formula/SpreadsheetAutomation.h"
#include "foundation/ValueTriple.h"

#include <cstdint>
#include <memory>

struct TreeNode;

class CalcState {
public:
    CalcState() = default;

    // Zeroes every numeric field; the window pointer and the user's probability-check switch stay.
    void Reset();

    // The tree's spreadsheet contact, made when first asked for: a tree that links no cells starts nothing.
    SpreadsheetAutomation& Automation();
    bool HasAutomation() const { return automation_ != nullptr; }
    // Drops the contact (its application and workbook are released).
    void ReleaseAutomation() { automation_.reset(); }
    // Set while the spreadsheet links are refreshed, so a formula the refresh evaluates does not start another.
    int refreshingLinks = 0;

    // Markov cohort values: rewards of the current step, of the step just completed, and all so far.
    ValueTriple stage;
    ValueTriple previousStage;
    ValueTriple total;
    int32_t stageCounter = 0;
    int32_t tunnelIndex = 0;
    TreeNode* currentState = nullptr;
    int32_t flaggedVariables = 0;
    int32_t resample = 0;
    int32_t fixedPath = 0;
    // Switches the probability checks of roll back on; on unless the user turns it off.
    int32_t probabilityCheck = 1;
    // Monte Carlo trials recompute end nodes (both flags) and re-select logic branches (the second).
    int32_t trialFlag1 = 0;
    int32_t trialFlag2 = 0;

private:
    std::unique_ptr<SpreadsheetAutomation> automation_;
};
