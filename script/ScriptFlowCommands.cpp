// The script's own commands: branches, jumps, subroutines, messages, waits and variables.

#include "script/ScriptManager.h"

#include "framework/window/MDIframeCL.h"
#include "widgets/Shell.h"
#include "foundation/MessageBoxes.h"
#include "framework/window/Clipboard.h"
#include "script/ScriptCommandHandlers.h"
#include "script/ScriptWindows.h"

#include "CommandIds.h"

#include <algorithm>
#include <climits>
#include <memory>

namespace {

const char* const kScriptCaption = "KIVOScript";
// The wait of TextBox and Delay when none is given (milliseconds).
// not a resource id
constexpr unsigned kDefaultWait = 3000;

// The milliseconds of a wait from the parameter at `at`, or the default when it is left out; false (the
// script error shown) for a parameter that is no number. A time below 0 waits no time.
bool WaitMilliseconds(ScriptManager& script, const ScriptManager::Parameters& parameters, size_t at,
                      unsigned fallback, unsigned& milliseconds)
{
    milliseconds = fallback;
    int value = 0;
    if (parameters.size() > at && !script.IntegerParameter(parameters, at, INT_MIN, INT_MAX, value))
        return false;
    if (parameters.size() > at)
        milliseconds = static_cast<unsigned>(std::max(value, 0));
    return true;
}

} // namespace

using Handlers = ScriptManager::Handlers;

void Handlers::BeginBranch(ScriptManager& script, const Parameters& parameters)
{
    const auto parameter = [&](size_t i) { return i < parameters.size() ? parameters[i] : std::string(); };
    if (script.stream_) {
        script.branchDialog_ = std::make_unique<ScriptControlDialog>(parameter(0), parameter(1), parameter(2));
        script.branchLabels_.clear();
    }
}

void Handlers::Branch(ScriptManager& script, const Parameters& parameters)
{
    if (script.branchDialog_ && script.branchDialog_->AddBranch(parameters[0]))
        script.branchLabels_.push_back(parameters[1]);
}

void Handlers::EndBranch(ScriptManager& script, const Parameters&)
{
    // No BeginBranch before it (over DDE never one): there is nothing to show, and the script cannot go on
    // at a label nobody chose.
    if (!script.branchDialog_) {
        script.ReportError(0, ScriptCmd::EndBranch);
        return;
    }
    const int chosen = script.branchDialog_->RunBranches();
    script.branchDialog_.reset();
    if (chosen >= 0 && chosen < static_cast<int>(script.branchLabels_.size()))
        script.FindLabel(script.branchLabels_[chosen]);
    else
        script.CloseScriptFile();
}

void Handlers::Goto(ScriptManager& script, const Parameters& parameters)
{
    script.FindLabel(parameters[0]);
}

void Handlers::Gosub(ScriptManager& script, const Parameters& parameters)
{
    if (script.gosubStack_.size() >= 6) {
        script.ReportError(10, ScriptCmd::Gosub);
        return;
    }
    if (!script.stream_) {
        script.ReportError(7, ScriptCmd::Gosub, parameters[0].c_str());
        return;
    }
    script.gosubStack_.push_back(script.lineCount);
    script.FindLabel(parameters[0]);
}

void Handlers::Return(ScriptManager& script, const Parameters&)
{
    if (script.gosubStack_.empty()) {
        script.ReportError(11, ScriptCmd::Return);
        return;
    }
    const long saved = script.gosubStack_.back();
    script.gosubStack_.pop_back();
    script.RestartFile(saved);
}

void Handlers::TextBox(ScriptManager& script, const Parameters& parameters)
{
    unsigned wait = 0;
    if (!WaitMilliseconds(script, parameters, 1, kDefaultWait, wait))
        return;
    // Escape, or the frame closing, in the wait stops a running file.
    if (ShowScriptText(parameters[0], wait, [&script] { return script.stopRequested_; }) && script.stream_)
        script.stopRequested_ = true;
}

// Bounds count when both are given (not empty); each must then be a number.
void Handlers::UserInput(ScriptManager& script, const Parameters& parameters)
{
    double bounds[2] = {};
    const bool bounded = parameters.size() == 4 && !parameters[2].empty() && !parameters[3].empty();
    for (size_t i = 0; bounded && i < 2; ++i) {
        if (!script.NumberParameter(parameters, 2 + i, bounds[i]))
            return;
    }
    if (!script.HasVariable(parameters[1]))
        script.StoreResult(parameters[1], "");
    script.StoreVariableQuietly(parameters[1], AskScriptInput(parameters[0], bounds[0], bounds[1]));
}

void Handlers::ClipAdviseVars(ScriptManager& script, const Parameters& parameters)
{
    int on = 1;
    if (script.OptionalFlag(parameters, 0, 1, on))
        script.clipboardAdvise = on;
}

void Handlers::Delay(ScriptManager& script, const Parameters& parameters)
{
    unsigned milliseconds = 0;
    if (!WaitMilliseconds(script, parameters, 0, kDefaultWait, milliseconds))
        return;
    if (PumpScriptMessages(std::max(500u, milliseconds), [&script] { return script.stopRequested_; }) &&
        script.stream_)
        script.stopRequested_ = true;
}

void Handlers::SetScriptVar(ScriptManager& script, const Parameters& parameters)
{
    script.StoreResult(parameters[0], parameters[1]);
}

void Handlers::CatScriptVar(ScriptManager& script, const Parameters& parameters)
{
    std::string value;
    script.GetVariableValue(parameters[0], value);
    script.StoreResult(parameters[0], value + parameters[1]);
}

void Handlers::FlushScriptVars(ScriptManager& script, const Parameters&)
{
    script.variables_.clear();
}

void Handlers::CopyScriptVar(ScriptManager& script, const Parameters& parameters)
{
    std::string value;
    if (!script.GetVariableValue(parameters[0], value))
        script.StoreResult(parameters[0], "");
    TheShell().PutClipboardText(value.c_str());
}

void Handlers::PasteIntoScriptVar(ScriptManager& script, const Parameters& parameters)
{
    Clipboard* clipboard = TheShell().SystemClipboard();
    const std::unique_ptr<char[]> text(clipboard != nullptr && clipboard->HasText() ? clipboard->GetText() : nullptr);
    if (text)
        script.StoreResult(parameters[0], text.get());
}

void Handlers::DisplayScriptVar(ScriptManager& script, const Parameters& parameters)
{
    const auto found = script.variables_.find(Key(parameters[0]));
    if (found == script.variables_.end()) {
        script.ReportError(6, ScriptCmd::DisplayScriptVar, parameters[0].c_str());
        return;
    }
    const std::string text = "Script Variable: " + found->second.name + "\rValue: " + found->second.value;
    ShowInfoBox(kScriptCaption, text.c_str(), 0);
}

void Handlers::Announce(ScriptManager&, const Parameters& parameters)
{
    ShowInfoBox(kScriptCaption, parameters[0].c_str(), 0);
}

void Handlers::YesNo(ScriptManager& script, const Parameters& parameters)
{
    const bool yes = AskYesNo(kScriptCaption, parameters[0].c_str(), 0) == 1;
    if (parameters.size() > 3)
        script.StoreResult(parameters[3], yes ? "1" : "0");
    script.FindLabel(parameters[yes ? 1 : 2]);
}

void Handlers::BranchVar(ScriptManager& script, const Parameters& parameters)
{
    std::string value;
    if (!script.GetVariableValue(parameters[0], value)) {
        script.ReportError(6, ScriptCmd::BranchVar, parameters[0].c_str());
        return;
    }
    const int chosen = ParseScriptFlag(value);
    if (chosen >= 1 && chosen < static_cast<int>(parameters.size()))
        script.FindLabel(parameters[chosen]);
}

void ScriptManager::StoreResult(const std::string& name, const std::string& value)
{
    if (!SetVariable(name, value))
        ReportError(2, currentCommand_, name.c_str());
}
