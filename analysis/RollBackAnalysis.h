#pragma once
// The "Roll Back" command as an analysis run. It does all its work inside Run: rolls the whole tree back
// through RollBackDocument, shows the results and warns when the optimal path is not unique.

#include "analysis/AnalysisCaller.h"
#include "analysis/AnalysisRun.h"
#include "analysis/RollBack.h"

#include <cstdint>

class RollBackAnalysis : public AnalysisRun {
public:
    // Started by the command.
    explicit RollBackAnalysis(TreeDocument* document);
    // Started by a script, which waits for it.
    RollBackAnalysis(TreeDocument* document, AnalysisCaller* scriptCaller);
    // Run again from a stored record of the roll back kind.
    RollBackAnalysis(TreeDocument* document, StoredAnalysis* record);
    // Lets a waiting script go on and ends the roll-back state.
    ~RollBackAnalysis() override;

    bool Begin() override;
    const char* Name() const override { return "Roll Back"; }
    zString& StatusText(zString& out) override;
    int Step() override { return 1; }
    void Finish() override;
    double ProgressPos() override { return progressPosition; }
    double ProgressTotal() override { return progressTotal; }

    // Selects the optimal paths and shows the information box when a decision or logic node has two or
    // more optimal children on them.
    void WarnMultipleOptima();

    // The information box of a tree whose optimal path is not unique.
    static const char* const kMultipleOptimaText;

private:
    int16_t progressTotal = 0;
    int16_t progressPosition = 0;
    AnalysisCaller* scriptCaller = nullptr;
};
