#pragma once
// Who started an analysis and waits for its end (a script): told once when the analysis has ended.

class AnalysisCaller {
public:
    virtual ~AnalysisCaller() = default;
    virtual void AnalysisEnded() = 0;
};
