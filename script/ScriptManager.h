#pragma once
// The script interpreter's manager. A script file runs line by line; a script command that starts an
// analysis sets the wait flag and the script pauses with its file open; the analysis, when it ends, clears
// the flag and lets the script go on.

#include "analysis/AnalysisCaller.h"

#include <cstdint>
#include <memory>
#include <string>

class FileStream;

class ScriptManager : public AnalysisCaller {
public:
    ScriptManager();
    ScriptManager(const ScriptManager&) = delete;
    ScriptManager& operator=(const ScriptManager&) = delete;
    ~ScriptManager() override;

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

    // Runs the script file from its first line until it ends, an error ends it or it waits for an analysis.
    void RunScriptFile(const char* path);
    // Runs the open script on from the line after the one that ran last.
    virtual void ContinueScript();
    // Ends the running script: its file is closed.
    void CloseScriptFile();

    // One line of the file without its leading blanks and its comment (from a "#" outside double quotation
    // marks); false when the file ended before a line end.
    bool ReadLine(std::string& line);
    // The next line that is not empty; 0 when the file ended (the line may still hold the last text).
    int NextLine(std::string& line);
    // Runs one line: "!" and a command name; other lines do nothing.
    void ExecuteLine(const std::string& line);

    // The script waits for the analysis it started.
    int32_t waitingForAnalysis = 0;
    // A script is being run.
    int32_t runningScript = 0;
    // How often the script was continued.
    long continuations = 0;
    // Physical lines read since the file was opened.
    long lineCount = 0;

private:
    // The next character, from the push-back buffer first; -1 when the file has ended.
    int TakeChar();
    void PushBackChar(char c);

    std::unique_ptr<FileStream> stream_;
    char pushedBack_[2] = {};
    int pushedCount_ = 0;
};
