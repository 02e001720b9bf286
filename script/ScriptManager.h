#pragma once
// The script interpreter's manager. A script command that starts an analysis sets the wait flag and the
// script pauses; the analysis, when it ends, clears the flag and lets the script go on.

#include "analysis/AnalysisCaller.h"

#include <cstdint>

class ScriptManager : public AnalysisCaller {
public:
    ScriptManager() = default;
    ScriptManager(const ScriptManager&) = delete;
    ScriptManager& operator=(const ScriptManager&) = delete;
    ~ScriptManager() override = default;

    // The analysis the script waits for has ended: the script goes on when it is running.
    void AnalysisEnded() override
    {
        waitingForAnalysis = 0;
        if (runningScript != 0)
            ContinueScript();
    }

    // A script's text handed over whole (an outline request of a ".txt" file at start-up); scripts are not
    // run from a text yet, so the text is left as it is.
    virtual void TakeScriptText(const char* text) { static_cast<void>(text); }

    // Runs the script on from the command after the one that waited.
    virtual void ContinueScript() { ++continuations; }

    // The script waits for the analysis it started.
    int32_t waitingForAnalysis = 0;
    // A script is being run.
    int32_t runningScript = 0;
    // How often the script was continued.
    long continuations = 0;
};
