#include "formula/CalcState.h"

void CalcState::Reset()
{
    stage = ValueTriple();
    previousStage = ValueTriple();
    total = ValueTriple();
    stageCounter = 0;
    tunnelIndex = 0;
    currentState = nullptr;
    flaggedVariables = 0;
    resample = 0;
    fixedPath = 0;
    trialFlag1 = 0;
    trialFlag2 = 0;
}

SpreadsheetAutomation& CalcState::Automation()
{
    if (automation_ == nullptr)
        automation_ = MakeSpreadsheetAutomation();
    return *automation_;
}
