#pragma once
// The script interpreter's manager. A script file runs line by line; a line is "!", a command name and its
// parameters, run by one of three executors (flow and variables, files and windows, the top tree window).
// A script command that starts an analysis pauses the script with its file open; the analysis, when it
// ends, lets the script go on, or ends the file when its work showed an error box, as any command's failure
// does. A running file serves the waiting messages every so often, so that Escape stops it and closing the
// frame ends it first. Lines also arrive over DDE (the "ScriptMgr" topic): they wait in a queue that the
// idle loop empties, never run inside the DDE callback, and a failed one shows no box; a line that starts an
// analysis is answered once the analysis has ended. Results go into script variables, texts keyed by their
// upper-case names.

#include "analysis/AnalysisCaller.h"
#include "foundation/Host.h"
#include "framework/window/EventTarget.h"
#include "widgets/MessageBoxes.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The ids of the script's own commands, after the menu commands' range. A script command that runs a menu
// command's action takes that command's id (Cmd::OptionsAddBranches for "AddBranches").
namespace ScriptCmd {
enum : int32_t {
    BeginBranch = 1805, Branch, EndBranch, Goto, Gosub, Return, TextBox, ShowUserActions, ClipAdviseVars, Delay,
    SetScriptVar, CatScriptVar, FlushScriptVars, CopyScriptVar, PasteIntoScriptVar, DisplayScriptVar, Announce,
    YesNo, BranchVar, Test, UserInput, TopWindowType, TopWindowName, TableVal, SelectNode, SelectNodeToo,
    SelectNodeRel, SelectRoot, SelectNodeRelName, DeselectAll, GetSelCount, GetSelList, GetSelNum, SetCalcMethod,
    SetActivePayoff, CopyDocVariables, SaveAsTRB, NumKids, GetNodeName, SetNodeName, GetNodeProb, SetNodeProb,
    CopyNodeVars, GetNodeVar, SetNodeVar, GetNodePayoff, SetNodePayoff,
};
} // namespace ScriptCmd

class DdeLinkManager;
class DdeServer;
class FileStream;
class ScriptControlDialog;
class ScriptMgrTopic;
class TreeWindow;

class ScriptManager : public EventTarget, public AnalysisCaller {
public:
    using Parameters = std::vector<std::string>;

    // With a DDE server, the manager offers its "ScriptMgr" topic on it.
    explicit ScriptManager(DdeServer* server = nullptr);
    ScriptManager(const ScriptManager&) = delete;
    ScriptManager& operator=(const ScriptManager&) = delete;
    ~ScriptManager() override;

    // The analysis the script waits for has ended: the script goes on when it is running, or ends there when
    // an error box of the analysis's work was shown meanwhile; the line of another program that waits for it
    // is answered. Inside the script's own loop (a roll back ends before its command returns) the loop
    // itself goes on.
    void AnalysisEnded() override;

    // Runs the script file from its first line until it ends, an error ends it or it waits for an analysis.
    void RunScriptFile(const char* path);
    // Runs the open script on from the line after the one that ran last, until it ends, pauses, fails or is
    // stopped (Escape, or the frame closing).
    void ContinueScript();
    // The frame is closing: a running script stops. True when the script is still on the way out; the
    // frame is then closed again once the script has ended.
    bool StopBeforeClose();
    // Ends the running script: its file is closed and no subroutine is open.
    void CloseScriptFile();
    bool FileRunning() const { return stream_ != nullptr; }

    // One line of the file without its leading blanks and its comment (from a "#" outside double quotation
    // marks); false when the file ended before a line end.
    bool ReadLine(std::string& line);
    // The next line that is not empty; 0 when the file ended (the line may still hold the last text).
    int NextLine(std::string& line);
    // Runs one line: "!" and a command name with its parameters; other lines do nothing.
    void ExecuteLine(const std::string& line);

    // Script variables: names without regard to case and to a leading "@".
    // Sets the value (a value longer than a text can hold is refused: false); tells the DDE item and, with
    // clipboard advise on, the clipboard.
    bool SetVariable(const std::string& name, const std::string& value);
    // False when the variable is missing.
    bool GetVariableValue(const std::string& name, std::string& value) const;
    bool HasVariable(const std::string& name) const;
    // Sets the value in place without telling anyone (the input dialog's answer).
    void StoreVariableQuietly(const std::string& name, const std::string& value);

    // Lines from another program, run in order from the idle loop. A nonzero transaction number is answered
    // through the topic once the last line ran (taken) or a line failed (refused; the lines after it are
    // dropped); a line that waits for an analysis has run once the analysis has ended. No line of another
    // program shows an error box.
    void SubmitCommands(const std::vector<std::string>& lines, uint32_t transaction);
    // Paused for an analysis, commands queued, any idle task or modal dialog or message box in progress, or
    // a loop of the system's running (InSystemLoop).
    bool IsBusy() const;
    // A modal dialog or a message box is open: no command may change a document under it.
    static bool InModalState();
    // A menu or pop-up menu is open, a window is being moved or sized, or the mouse is captured (a scroll bar's
    // thumb, a drag in a tree or a diagram, a button held down): the loop that runs meanwhile has no idle turn,
    // so a command arriving now cannot run until it ends, and is refused as busy.
    static bool InSystemLoop();
    // The idle task that runs the oldest queued command, once no script file runs, no analysis is awaited
    // and nothing modal is open; nonzero once the queue is empty.
    long RunQueuedCommand();

    // Error boxes of the interpreter: the message of the code (with the text in quotation marks where the
    // message takes one), for a known command the command's name and, in a file, the line's number; the
    // running file is closed. A line of another program fails without a box.
    void ReportError(int code, int32_t commandId, const char* text = nullptr);

    // The command id of the name (without regard to case); 0 when none.
    static int32_t FindCommand(const std::string& name);
    // The command id of a line "!" and a command name, after blanks; 0 for any other line.
    static int32_t CommandOfLine(const std::string& line);
    static const char* CommandName(int32_t id);
    // Runs a command through its row of the command table: the top tree window, the parameter count, the
    // selected node and the menu item's rule as the row asks, then its executor.
    void Dispatch(int32_t id, const Parameters& parameters);

    static std::string Upper(std::string text);
    // The handlers (ScriptCommandHandlers.h), one for each row of the command table.
    struct Handlers;

    // The integer a variable's value means: its number, else 1 for a text starting "t" or "y", else 0.
    static int ParseScriptFlag(const std::string& text);
    // The readings of numeric parameters, one for every command. Blanks around the text and a "+" or "-"
    // before it are allowed; false for any other text.
    static bool ReadInteger(const std::string& text, int& value);
    static bool ReadNumber(const std::string& text, double& value);
    // A flag: an integer (0 off, any other on), or a word starting "t" or "y" (1), "f" or "n" (0).
    static bool ReadFlag(const std::string& text, int& value);
    // The parameter at `at` of the running command as an integer from low to high, a number or a flag:
    // false, the script ended with "Bad parameter", for a text that does not read or a number out of range.
    bool IntegerParameter(const Parameters& parameters, size_t at, int low, int high, int& value);
    bool NumberParameter(const Parameters& parameters, size_t at, double& value);
    bool FlagParameter(const Parameters& parameters, size_t at, int& value);
    // A flag that may be left out: the fallback then.
    bool OptionalFlag(const Parameters& parameters, size_t at, int fallback, int& value);

    // The script waits for the analysis it started.
    int32_t waitingForAnalysis = 0;
    // Physical lines read since the file was opened.
    long lineCount = 0;
    // The file's line that runs now (from 1); 0 for a line from elsewhere.
    long runningLine = 0;
    // Turned on by ClipAdviseVars: every variable set is also put on the clipboard.
    int32_t clipboardAdvise = 0;

private:
    struct Variable {
        std::string name;
        std::string value;
    };
    static std::string Key(const std::string& name);

    // The next character, from the push-back buffer first; -1 when the file has ended.
    int TakeChar();
    void PushBackChar(char c);
    // Opens the script file again from its start.
    bool ReopenFile();

    // Jumps to the line after the label; reports a missing file (7) or label (3).
    void FindLabel(const std::string& label);
    // Reads lines until the line counter reaches the count; false (the file closed) at the end.
    bool RestartFile(long count);

    // Shows the message with the command's name (when there is one) and the line's number, or fails the
    // other program's line; the running file is closed. A command whose work showed an error box already
    // shows no second one.
    void Fail(std::string message, const char* commandName);
    // The command failed and the program's own box said why (a file that did not open or save, a save
    // declined): the running file ends with no second box, and the other program's line fails.
    void EndAfterReportedFailure();
    // Every so often (by the clock) serves the waiting messages; true once the script is to stop.
    bool StopRequested();

    // The command table (ScriptCommandTable.cpp): each command's name, id, executor and the checks before it.
    struct CommandRow;
    static const CommandRow Commands[];
    static const CommandRow* FindRow(int32_t id);
    // The command's parameters are file paths, taken as written.
    static bool TakesPaths(int32_t id);
    // The frame's top window as a tree window; null when it is none.
    static TreeWindow* TopTree();

    // Sets the script variable to a command's result; a refused value ends the script (error 2).
    void StoreResult(const std::string& name, const std::string& value);
    // A value computed at the selected node into the variable named by the parameter at nameAt, in the plain
    // form when the flag after it reads 0; a failed computation ends the script instead.
    void StoreComputed(const Parameters& parameters, size_t nameAt, bool probability,
                       const std::function<double(bool& failed)>& compute);
    // Runs a stored analysis and pauses the script file, or the line of another program, until every
    // analysis it started has ended.
    void RunStoredAnalysisAndWait(TreeWindow& tree, const std::string& name);
    // From the end of the line that began a wait on the idle loop until the wait ends, an error box that an
    // analysis's work shows is the waiting command's failure: noted, and not shown for a line of another
    // program. Nothing when no such wait began.
    void WatchBoxesOfTheWait();
    // Ends that watch; true when such a box was shown.
    bool EndBoxWatch();
    // An analysis does its work in the idle loop at this moment (a step, or presenting its results).
    static bool AnalysisWorking();
    // The stop sign and OK alone: a box that says something failed.
    static bool IsErrorBox(const MessageBoxRequest& request);
    // Stops the queue task, the wait for analyses and its watch of error boxes.
    void StopIdleWork();

    // The idle watch of a script paused for analyses that run on the idle loop.
    class AnalysisWatch : public IdleWork {
    public:
        explicit AnalysisWatch(ScriptManager& manager) : manager_(manager) {}
        void OnIdle() override;

    private:
        ScriptManager& manager_;
    };

    std::unique_ptr<FileStream> stream_;
    std::string path_;
    char pushedBack_[2] = {};
    int pushedCount_ = 0;
    // Line counters of the open subroutine calls.
    std::vector<long> gosubStack_;
    // True while ContinueScript runs its loop.
    bool continuing_ = false;
    // The line ReadLine reads (from 1).
    long readingLine_ = 0;
    // Escape or the frame's close asked the running script to stop; the frame waits for it to close.
    bool stopRequested_ = false;
    bool closeFrameAfterStop_ = false;
    uint32_t lastPoll_ = 0;
    // A line of another program runs: a failure is noted instead of shown.
    bool clientLine_ = false;
    bool clientFailed_ = false;
    // The command being run, for error messages.
    int32_t currentCommand_ = 0;
    // The running command's work showed an error box: the command failed, and said why.
    bool commandShowedError_ = false;

    std::map<std::string, Variable> variables_;

    struct QueuedLine {
        std::string line;
        uint32_t transaction;
        bool last;
    };
    std::deque<QueuedLine> queue_;
    // Runs a queued line of another program, with the error boxes it would show turned into a failure.
    bool RunClientLine(const std::string& line);
    // The queued line has run, or failed: a failed one drops the rest of its transaction, and the
    // transaction is answered after its last line or a failed one.
    void EndQueuedLine(const QueuedLine& queued, bool ran);
    // The line of another program whose analysis goes on from the idle loop: answered when it has ended.
    std::optional<QueuedLine> awaitedLine_;
    // The wait's watch of error boxes (WatchBoxesOfTheWait): the presenter it wraps, and a box shown.
    MessageBoxPresenter presenterBeforeWait_;
    bool watchingBoxes_ = false;
    bool waitShowedError_ = false;
    bool queueTaskRegistered_ = false;
    // The links whose connections wait while a client waits for the answer of its execute.
    DdeLinkManager* heldLinks_ = nullptr;
    void ReleaseHeldLinks();
    AnalysisWatch analysisWatch_{*this};
    bool watchingAnalyses_ = false;

    std::unique_ptr<ScriptControlDialog> branchDialog_;
    std::vector<std::string> branchLabels_;

    std::unique_ptr<ScriptMgrTopic> topic_;
};
