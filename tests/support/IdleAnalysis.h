#pragma once
// An analysis that only holds its tree's analysis slot while it lives, for tests of "one analysis at a time".

#include "analysis/AnalysisRun.h"

class IdleAnalysis : public AnalysisRun {
public:
    using AnalysisRun::AnalysisRun;
    bool Begin() override { return true; }
    const char* Name() const override { return "idle"; }
    int Step() override { return 1; }
    double ProgressPos() override { return 0; }
    double ProgressTotal() override { return 1; }
};
