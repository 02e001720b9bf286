#include "script/ScriptManager.h"

#include "model/StoredAnalysis.h"
#include "analysis/AnalysisRun.h"
#include "analysis/StoredAnalysisKinds.h"
#include "widgets/Shell.h"
#include "foundation/FilePath.h"
#include "foundation/FileStream.h"
#include "foundation/MessageBoxes.h"
#include "foundation/NumericFormatParsing.h"
#include "foundation/zString.h"
#include "framework/window/BusyAnswer.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/IdleList.h"
#include "framework/window/MDIframeCL.h"
#include "widgets/MessageBoxes.h"
#include "script/ScriptMgrTopic.h"
#include "script/ScriptWindows.h"
#include "treewin/TreeWindow.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

// The longest text a variable holds: what the program's strings can measure.
constexpr size_t kMaxVariableText = zString::kNotMeasured - 1;
constexpr size_t kMaxGosubDepth = 6;
// How often a running script file serves the waiting messages (milliseconds).
constexpr uint32_t kStopPollInterval = 250;

void ReplaceAll(std::string& text, const char* from, const char* to)
{
    const std::string what(from), with(to);
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

const char* const kErrorMessages[][2] = {
    {"Wrong number of parameters.", nullptr},
    {"Bad parameter ", "."},
    {"Label ", " not found."},
    {"The top window is not a tree window.", nullptr},
    {"The top window is not a graph window.", nullptr},
    {"The script variable ", " was not found."},
    {"Label ", " cannot be used, since the current script is not being read from a file."},
    {"No node is selected in the active tree.", nullptr},
    {"Bad variable name ", "."},
    {"Subroutines nested too deeply.", nullptr},
    {"No subroutine to return to.", nullptr},
};

} // namespace

ScriptManager::ScriptManager(DdeServer* server)
{
    if (server != nullptr)
        topic_ = std::make_unique<ScriptMgrTopic>(server, this);
}

ScriptManager::~ScriptManager()
{
    StopIdleWork();
}

void ScriptManager::StopIdleWork()
{
    if (queueTaskRegistered_ && TheApp != nullptr)
        TheApp->Idle()->Remove(this, &ScriptManager::RunQueuedCommand);
    queueTaskRegistered_ = false;
    if (watchingAnalyses_)
        TheHost().RemoveIdleTask(&analysisWatch_);
    watchingAnalyses_ = false;
    EndBoxWatch();
}

void ScriptManager::AnalysisEnded()
{
    waitingForAnalysis = 0;
    const bool failed = EndBoxWatch();
    if (awaitedLine_) {
        const QueuedLine line = *awaitedLine_;
        awaitedLine_.reset();
        EndQueuedLine(line, !failed);
    } else if (failed) {
        EndAfterReportedFailure();
        return;
    }
    if (!continuing_ && stream_)
        ContinueScript();
}

void ScriptManager::RunScriptFile(const char* path)
{
    CloseScriptFile();
    stopRequested_ = false;
    path_ = path != nullptr ? path : "";
    if (!ReopenFile()) {
        CloseScriptFile();
        return;
    }
    ContinueScript();
}

bool ScriptManager::ReopenFile()
{
    stream_ = FilePath(path_.c_str()).OpenStream(false);
    pushedCount_ = 0;
    lineCount = 0;
    if (!stream_ || !stream_->IsOpen()) {
        stream_.reset();
        return false;
    }
    // Many editors begin a text file with the UTF-8 byte-order mark: it is no part of the first line.
    uint8_t mark[3] = {};
    const bool marked = stream_->BytesLeft() >= 3 && !stream_->ReadBytes(mark, 3).Failed() && mark[0] == 0xEF &&
                        mark[1] == 0xBB && mark[2] == 0xBF;
    if (!marked)
        stream_->Seek(0, SEEK_SET);
    if (stream_ && stream_->IsOpen())
        return true;
    stream_.reset();
    return false;
}

void ScriptManager::ContinueScript()
{
    if (continuing_)
        return;
    continuing_ = true;
    lastPoll_ = TheHost().TickCount();
    {
        // A script selects and edits nodes by the thousand: the in-place editor, which is there for typing,
        // opens when the script stops rather than at every selection on the way.
        TreeWindow::InPlaceEditHold scripted;
        while (stream_ && waitingForAnalysis == 0) {
            if (StopRequested()) {
                CloseScriptFile();
                break;
            }
            std::string line;
            if (!NextLine(line))
                CloseScriptFile();
            runningLine = readingLine_;
            ExecuteLine(line);
            runningLine = 0;
        }
    }
    WatchBoxesOfTheWait();
    if (auto* tree = dynamic_cast<TreeWindow*>(TheShell().ActiveChild()))
        tree->OpenInPlaceEditor();
    continuing_ = false;
    stopRequested_ = false;
    if (closeFrameAfterStop_) {
        closeFrameAfterStop_ = false;
        if (MDIframeCL* frame = TheShell().Frame())
            PostMessageA(frame->Handle(), WM_CLOSE, 0, 0);
    }
}

bool ScriptManager::StopRequested()
{
    // The clock is cheap; the messages are served only a few times a second. Other programs, which wait
    // for their answers, are answered in between.
    const uint32_t now = TheHost().TickCount();
    if (!stopRequested_ && now - lastPoll_ >= kStopPollInterval) {
        lastPoll_ = now;
        if (ServeWaitingScriptMessages([this] { return stopRequested_; }))
            stopRequested_ = true;
    } else if (!stopRequested_) {
        AnswerOtherPrograms();
    }
    return stopRequested_;
}

bool ScriptManager::StopBeforeClose()
{
    if (!stream_)
        return false;
    // Paused for an analysis, the script is not on the way: it simply ends.
    if (!continuing_) {
        CloseScriptFile();
        return false;
    }
    stopRequested_ = true;
    closeFrameAfterStop_ = true;
    return true;
}

void ScriptManager::CloseScriptFile()
{
    stream_.reset();
    pushedCount_ = 0;
    gosubStack_.clear();
}

// line    := blanks "!" name blanks-and-openers parameter { separator parameter }
// opener  := " " | "\t" | "(" | "[" | "{"          separator := "," | ";" | ")" | "]"  (outside quotes)
// "," and ";" end a parameter even when it is empty; ")", "]" and the line's end only a parameter with text.
void ScriptManager::ExecuteLine(const std::string& line)
{
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line[at] != '!')
        return;
    const size_t nameStart = ++at;
    while (at < line.size() && std::isalpha(static_cast<unsigned char>(line[at])))
        ++at;
    const std::string name = line.substr(nameStart, at - nameStart);
    const int32_t id = FindCommand(name);
    if (id == 0) {
        // A name that is no name ("!123", a blank after "!") is shown as written, up to its parameters.
        std::string written = line.substr(nameStart, line.find_first_of("([{", nameStart) - nameStart);
        written.erase(written.find_last_not_of(" \t") + 1);
        Fail("Unrecognized command \"" + written + "\".", written.c_str());
        return;
    }
    // File paths are taken as written: "\t" in "Z:\tmp" is no tab.
    const bool paths = TakesPaths(id);
    while (at < line.size() && std::strchr(" \t([{", line[at]) != nullptr)
        ++at;

    Parameters parameters;
    const auto add = [&](std::string text) {
        if (!text.empty() && text[0] == '@') {
            std::string value;
            if (GetVariableValue(text, value))
                text = value;
        } else {
            text.erase(0, text.find_first_not_of(" \t") == std::string::npos ? text.size()
                                                                            : text.find_first_not_of(" \t"));
            if (!paths) {
                ReplaceAll(text, "\\n", "\r\n");
                ReplaceAll(text, "\\t", "\t");
            }
        }
        parameters.push_back(text);
    };
    std::string current;
    bool quoted = false;
    bool kept = false;
    for (; at < line.size(); ++at) {
        const char c = line[at];
        if (c == '"') {
            // A pair of quotation marks is a parameter, empty as it may be.
            quoted = !quoted;
            kept = true;
            continue;
        }
        if (!quoted && std::strchr(",;)]", c) != nullptr) {
            // A closing bracket after a separator adds no empty parameter: (x,) has one.
            if (kept || c == ',' || c == ';')
                add(current);
            current.clear();
            kept = false;
            while (at + 1 < line.size() && (line[at + 1] == ' ' || line[at + 1] == '\t'))
                ++at;
            continue;
        }
        current += c;
        kept = true;
    }
    // A quotation mark never closed took the rest of the line: the line is not what was meant.
    if (quoted) {
        ReportError(2, id, current.c_str());
        return;
    }
    if (kept)
        add(current);
    Dispatch(id, parameters);
}

void ScriptManager::ReportError(int code, int32_t commandId, const char* text)
{
    std::string message = "Unspecifiable error.";
    if (code >= 1 && code <= static_cast<int>(std::size(kErrorMessages))) {
        const char* const* pieces = kErrorMessages[code - 1];
        message = pieces[0];
        if (pieces[1] != nullptr)
            message += std::string("\"") + (text != nullptr ? text : "") + "\"" + pieces[1];
    }
    Fail(message, CommandName(commandId));
}

void ScriptManager::Fail(std::string message, const char* name)
{
    if (name != nullptr)
        message += std::string("\r\n\r\nCommand: !") + name;
    if (runningLine > 0)
        message += (name != nullptr ? "\r\nLine: " : "\r\n\r\nLine: ") + std::to_string(runningLine);
    CloseScriptFile();
    if (clientLine_)
        clientFailed_ = true;
    else if (!commandShowedError_)
        ShowErrorBox(nullptr, message.c_str(), 0);
}

void ScriptManager::EndAfterReportedFailure()
{
    CloseScriptFile();
    clientFailed_ = clientFailed_ || clientLine_;
}

int ScriptManager::ParseScriptFlag(const std::string& text)
{
    int value = 0;
    int error = 0;
    ParseInteger(text.c_str(), value, error);
    if (error == 0 && !text.empty())
        return value;
    const char first = text.empty() ? '\0' : static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return first == 't' || first == 'y' ? 1 : 0;
}

namespace {

// The text without the blanks around it, and without a "+" before a digit.
std::string NumberText(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    std::string number = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    if (number.size() > 1 && number[0] == '+' && std::isdigit(static_cast<unsigned char>(number[1])))
        number.erase(0, 1);
    return number;
}

} // namespace

bool ScriptManager::ReadInteger(const std::string& text, int& value)
{
    const std::string number = NumberText(text);
    int error = 0;
    int read = 0;
    ParseInteger(number.c_str(), read, error);
    if (error != 0 || number.empty())
        return false;
    value = read;
    return true;
}

bool ScriptManager::ReadNumber(const std::string& text, double& value)
{
    const std::string number = NumberText(text);
    int error = 0;
    double read = 0;
    ParseNumber(number.c_str(), read, error);
    if (error != 0 || number.empty())
        return false;
    value = read;
    return true;
}

bool ScriptManager::ReadFlag(const std::string& text, int& value)
{
    if (ReadInteger(text, value))
        return true;
    const std::string word = NumberText(text);
    switch (word.empty() ? '\0' : std::tolower(static_cast<unsigned char>(word[0]))) {
    case 't':
    case 'y': value = 1; return true;
    case 'f':
    case 'n': value = 0; return true;
    default: return false;
    }
}

bool ScriptManager::IntegerParameter(const Parameters& parameters, size_t at, int low, int high, int& value)
{
    if (ReadInteger(parameters[at], value) && value >= low && value <= high)
        return true;
    ReportError(2, currentCommand_, parameters[at].c_str());
    return false;
}

bool ScriptManager::NumberParameter(const Parameters& parameters, size_t at, double& value)
{
    if (ReadNumber(parameters[at], value))
        return true;
    ReportError(2, currentCommand_, parameters[at].c_str());
    return false;
}

bool ScriptManager::FlagParameter(const Parameters& parameters, size_t at, int& value)
{
    if (ReadFlag(parameters[at], value))
        return true;
    ReportError(2, currentCommand_, parameters[at].c_str());
    return false;
}

bool ScriptManager::OptionalFlag(const Parameters& parameters, size_t at, int fallback, int& value)
{
    value = fallback;
    return parameters.size() <= at || FlagParameter(parameters, at, value);
}

std::string ScriptManager::Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string ScriptManager::Key(const std::string& name)
{
    return Upper(!name.empty() && name[0] == '@' ? name.substr(1) : name);
}

bool ScriptManager::SetVariable(const std::string& name, const std::string& value)
{
    if (value.size() > kMaxVariableText)
        return false;
    Variable& variable = variables_[Key(name)];
    if (variable.name.empty())
        variable.name = !name.empty() && name[0] == '@' ? name.substr(1) : name;
    variable.value = value;
    if (topic_)
        topic_->UpdateVariableItem(name, value);
    if (clipboardAdvise != 0)
        TheShell().PutClipboardText(value.c_str());
    return true;
}

void ScriptManager::StoreVariableQuietly(const std::string& name, const std::string& value)
{
    Variable& variable = variables_[Key(name)];
    if (variable.name.empty())
        variable.name = !name.empty() && name[0] == '@' ? name.substr(1) : name;
    variable.value = value;
}

bool ScriptManager::GetVariableValue(const std::string& name, std::string& value) const
{
    const auto found = variables_.find(Key(name));
    if (found == variables_.end())
        return false;
    value = found->second.value;
    return true;
}

bool ScriptManager::HasVariable(const std::string& name) const
{
    return variables_.count(Key(name)) != 0;
}

void ScriptManager::AnalysisWatch::OnIdle()
{
    for (TreeWindow* tree : TreeWindow::OpenWindows()) {
        if (tree->Document().CurrentAnalysis != nullptr)
            return;
    }
    TheHost().RemoveIdleTask(this);
    manager_.watchingAnalyses_ = false;
    manager_.AnalysisEnded();
}

void ScriptManager::RunStoredAnalysisAndWait(TreeWindow& tree, const std::string& name)
{
    StoredAnalysis* record = tree.Document().FindStoredAnalysis(name.c_str());
    if (record == nullptr)
        return;
    // A script runs the one record it names, never a chain an earlier run left linked.
    record->next = nullptr;
    // A script file reads finished results in its next command, and another program's next line runs, and
    // the line is answered, once the analysis has ended (or failed).
    const bool wait = stream_ != nullptr || clientLine_;
    waitingForAnalysis = wait ? 1 : 0;
    ::RunStoredAnalysis(record, &tree.Document());
    if (!wait)
        return;
    watchingAnalyses_ = true;
    TheHost().AddIdleTask(&analysisWatch_);
    // Analyses that did their whole work at once have ended already.
    analysisWatch_.OnIdle();
}

bool ScriptManager::IsErrorBox(const MessageBoxRequest& request)
{
    return (request.style & MB_ICONMASK) == MB_ICONHAND && (request.style & MB_TYPEMASK) == MB_OK;
}

bool ScriptManager::AnalysisWorking()
{
    for (TreeWindow* tree : TreeWindow::OpenWindows()) {
        const AnalysisRun* run = tree->Document().CurrentAnalysis;
        if (run != nullptr && run->busyFlag != 0)
            return true;
    }
    return false;
}

// Installed after the line's command has returned, outside the presenters that its dispatch and a line of
// another program put around it; a box of the person's own work meanwhile is no part of the wait.
void ScriptManager::WatchBoxesOfTheWait()
{
    if (!watchingAnalyses_ || watchingBoxes_)
        return;
    watchingBoxes_ = true;
    waitShowedError_ = false;
    presenterBeforeWait_ = SetMessageBoxPresenter([this](const MessageBoxRequest& request) {
        // A copy: the wait may end while the box is up, and the presenter it wraps be put back meanwhile.
        const MessageBoxPresenter wrapped = presenterBeforeWait_;
        if (!IsErrorBox(request) || !AnalysisWorking())
            return wrapped(request);
        waitShowedError_ = true;
        return awaitedLine_ ? IDOK : wrapped(request);
    });
}

bool ScriptManager::EndBoxWatch()
{
    if (!watchingBoxes_)
        return false;
    watchingBoxes_ = false;
    SetMessageBoxPresenter(std::move(presenterBeforeWait_));
    presenterBeforeWait_ = nullptr;
    const bool failed = waitShowedError_;
    waitShowedError_ = false;
    return failed;
}
