// The command table and the script's own commands: branches, jumps, subroutines, messages, waits and
// variables.

#include "script/ScriptManager.h"

#include "app/MainFrame.h"
#include "app/StartProgram.h"
#include "foundation/MessageBoxes.h"
#include "framework/window/Clipboard.h"
#include "script/ScriptWindows.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

namespace {

// What a command needs before its executor runs, checked in this order with the parameter count (error 1)
// after the first: a tree window on top (error 4), a selected node in it (error 8), and, when a tree window
// is on top, its enable rule of the menu command whose id the command takes: a grayed item refuses it
// without a word, as it refuses a key or the tool bar.
enum Needs : unsigned {
    TreeTop = 1,
    SelectedNode = 2,
    MenuRule = 4,
    // Not a check: the parameters are file paths, taken as written ("\n" and "\t" stay as they are).
    Paths = 8,
};

constexpr int kNoBound = -1;

bool EqualNoCase(const std::string& a, const char* b)
{
    return std::equal(a.begin(), a.end(), b, b + std::strlen(b), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    });
}

const char* const kScriptCaption = "KIVOScript";

} // namespace

struct ScriptManager::CommandRow {
    int32_t id;
    const char* name;
    // Null for a command that does nothing beyond its checks.
    void (ScriptManager::*run)(int32_t id, const Parameters& parameters);
    int least;
    int most;
    unsigned needs;
};

using Script = ScriptManager;

const ScriptManager::CommandRow ScriptManager::Commands[] = {
    // Flow and variables.
    {ScriptCmd::BeginBranch, "BeginBranch", &Script::RunFlowCommand, 0, kNoBound, 0},
    {ScriptCmd::Branch, "Branch", &Script::RunFlowCommand, 2, 2, 0},
    {ScriptCmd::EndBranch, "EndBranch", &Script::RunFlowCommand, 0, kNoBound, 0},
    {ScriptCmd::Goto, "Goto", &Script::RunFlowCommand, 1, 1, 0},
    {ScriptCmd::Gosub, "Gosub", &Script::RunFlowCommand, 1, 1, 0},
    {ScriptCmd::Return, "Return", &Script::RunFlowCommand, 0, kNoBound, 0},
    {ScriptCmd::TextBox, "TextBox", &Script::RunFlowCommand, 1, kNoBound, 0},
    {ScriptCmd::Test, "Test", nullptr, 0, kNoBound, 0},
    {ScriptCmd::UserInput, "UserInput", &Script::RunFlowCommand, 2, 4, 0},
    {ScriptCmd::ShowUserActions, "ShowUserActions", nullptr, 0, kNoBound, 0},
    {ScriptCmd::ClipAdviseVars, "ClipAdviseVars", &Script::RunFlowCommand, 0, kNoBound, 0},
    {ScriptCmd::Delay, "Delay", &Script::RunFlowCommand, 0, kNoBound, 0},
    {ScriptCmd::SetScriptVar, "SetScriptVar", &Script::RunFlowCommand, 2, 2, 0},
    {ScriptCmd::CatScriptVar, "CatScriptVar", &Script::RunFlowCommand, 2, 2, 0},
    {ScriptCmd::FlushScriptVars, "FlushScriptVars", &Script::RunFlowCommand, 0, kNoBound, 0},
    {ScriptCmd::CopyScriptVar, "CopyScriptVar", &Script::RunFlowCommand, 1, 1, 0},
    {ScriptCmd::PasteIntoScriptVar, "PasteIntoScriptVar", &Script::RunFlowCommand, 1, 1, 0},
    {ScriptCmd::DisplayScriptVar, "DisplayScriptVar", &Script::RunFlowCommand, 1, 1, 0},
    {ScriptCmd::Announce, "Announce", &Script::RunFlowCommand, 1, 1, 0},
    {ScriptCmd::YesNo, "YesNo", &Script::RunFlowCommand, 3, kNoBound, 0},
    {ScriptCmd::BranchVar, "BranchVar", &Script::RunFlowCommand, 2, kNoBound, 0},
    // Files and windows of the frame.
    {Cmd::FileOpen, "OpenFile", &Script::RunFileCommand, 0, kNoBound, Paths},
    {Cmd::FileSave, "SaveFile", &Script::RunFileCommand, 0, kNoBound, MenuRule},
    {Cmd::FileSaveAs, "SaveFileAs", &Script::RunFileCommand, 0, kNoBound, MenuRule | Paths},
    {Cmd::FileClose, "CloseTopWindow", &Script::RunFileCommand, 0, kNoBound, 0},
    {Cmd::EditCopySpecial, "CopyPicture", &Script::RunFileCommand, 0, kNoBound, 0},
    {Cmd::FilePrint, "PrintFile", &Script::RunFileCommand, 0, kNoBound, 0},
    {ScriptCmd::TopWindowType, "TopWindowType", &Script::RunFileCommand, 1, 1, 0},
    {ScriptCmd::TopWindowName, "TopWindowName", &Script::RunFileCommand, 1, kNoBound, 0},
    {ScriptCmd::TableVal, "TableVal", &Script::RunFileCommand, 3, 3, 0},
    // The selection of the top tree.
    {Cmd::OptionsAddBranches, "AddBranches", &Script::RunTreeEditCommand, 0, kNoBound, TreeTop | MenuRule},
    {ScriptCmd::SelectNode, "SelectNode", &Script::RunTreeSelectCommand, 0, kNoBound, TreeTop},
    {ScriptCmd::SelectNodeToo, "SelectNodeToo", &Script::RunTreeSelectCommand, 0, kNoBound, TreeTop},
    {ScriptCmd::SelectNodeRel, "SelectNodeRel", &Script::RunTreeSelectCommand, 0, kNoBound, TreeTop | SelectedNode},
    {ScriptCmd::SelectRoot, "SelectRoot", &Script::RunTreeSelectCommand, 0, kNoBound, TreeTop},
    {ScriptCmd::SelectNodeRelName, "SelectNodeRelName", &Script::RunTreeSelectCommand, 1, 1, TreeTop},
    {Cmd::OptionsSelectIf, "SelectIf", &Script::RunTreeSelectCommand, 3, kNoBound, TreeTop | MenuRule},
    {ScriptCmd::DeselectAll, "DeselectAll", &Script::RunTreeSelectCommand, 0, kNoBound, TreeTop},
    {ScriptCmd::GetSelCount, "GetSelCount", &Script::RunTreeSelectCommand, 1, 1, TreeTop},
    {ScriptCmd::GetSelList, "GetSelList", &Script::RunTreeSelectCommand, 1, 1, TreeTop},
    {ScriptCmd::GetSelNum, "GetSelNum", &Script::RunTreeSelectCommand, 2, 2, TreeTop},
    // Edits and analyses of the top tree.
    {Cmd::OptionsChangeNodeType, "ChangeNodeType", &Script::RunTreeEditCommand, 1, 1,
     TreeTop | SelectedNode | MenuRule},
    {Cmd::AnalysisOneWay, "SensAn", nullptr, 0, kNoBound, TreeTop},
    {Cmd::AnalysisRollBack, "RollBack", &Script::RunTreeEditCommand, 0, kNoBound, TreeTop | MenuRule},
    {Cmd::AnalysisCostEffectiveness, "CostEff", &Script::RunTreeEditCommand, 0, kNoBound,
     TreeTop | SelectedNode | MenuRule},
    {Cmd::AnalysisMarkovAnalysis, "Markov", nullptr, 0, kNoBound, TreeTop},
    {Cmd::AnalysisProbabilityDistribution, "ProbDist", &Script::RunTreeEditCommand, 0, kNoBound, TreeTop | MenuRule},
    {ScriptCmd::SetCalcMethod, "SetCalcMethod", &Script::RunTreeEditCommand, 1, 1, TreeTop},
    {ScriptCmd::CopyDocVariables, "CopyDocVariables", &Script::RunTreeValueCommand, 0, 2, TreeTop},
    {ScriptCmd::SetActivePayoff, "SetActivePayoff", &Script::RunTreeEditCommand, 1, 1, TreeTop},
    {ScriptCmd::SaveAsTRB, "SaveAsTRB", &Script::RunTreeEditCommand, 1, 1, TreeTop | Paths},
    {Cmd::AnalysisRunOldAnalysis, "RunStoredAnalysis", &Script::RunTreeEditCommand, 1, 1, TreeTop | MenuRule},
    // The top tree's or graph's number of digits, by its first parameter.
    {Cmd::DisplayNumericFormatting, "SetNFSigDigs", &Script::SetNumberDigits, 2, kNoBound, 0},
    // Values of the selected node.
    {ScriptCmd::NumKids, "NumKids", &Script::RunTreeValueCommand, 1, kNoBound, TreeTop | SelectedNode},
    {ScriptCmd::GetNodeName, "GetNodeName", &Script::RunTreeValueCommand, 1, 1, TreeTop | SelectedNode},
    {ScriptCmd::SetNodeName, "SetNodeName", &Script::RunTreeEditCommand, 1, 1, TreeTop | SelectedNode},
    {ScriptCmd::GetNodeProb, "GetNodeProb", &Script::RunTreeValueCommand, 1, 1, TreeTop | SelectedNode},
    {ScriptCmd::SetNodeProb, "SetNodeProb", &Script::RunTreeEditCommand, 1, 1, TreeTop | SelectedNode},
    {ScriptCmd::CopyNodeVars, "CopyNodeVars", &Script::RunTreeValueCommand, 0, kNoBound, TreeTop},
    {ScriptCmd::GetNodeVar, "GetNodeVar", &Script::RunTreeValueCommand, 2, 2, TreeTop},
    {ScriptCmd::SetNodeVar, "SetNodeVar", &Script::RunTreeEditCommand, 1, kNoBound, TreeTop},
    {ScriptCmd::GetNodePayoff, "GetNodePayoff", &Script::RunTreeValueCommand, 2, 2, TreeTop | SelectedNode},
    {ScriptCmd::SetNodePayoff, "SetNodePayoff", &Script::RunTreeEditCommand, 2, 2, TreeTop | SelectedNode},
    // Computed values of the selected node: the value goes into a script variable.
    {Cmd::AnalysisExpectedValue, "ExpectedValue", &Script::RunTreeValueCommand, 1, kNoBound, TreeTop | SelectedNode},
    {Cmd::AnalysisPathProbability, "PathProb", &Script::RunTreeValueCommand, 1, kNoBound, TreeTop | SelectedNode},
    {Cmd::AnalysisStandardDeviation, "StdDev", &Script::RunTreeValueCommand, 1, kNoBound, TreeTop | SelectedNode},
    {Cmd::ValuesOpenEvaluator, "Evaluate", &Script::RunTreeValueCommand, 2, kNoBound, TreeTop | SelectedNode},
};

const ScriptManager::CommandRow* ScriptManager::FindRow(int32_t id)
{
    const auto found = std::find_if(std::begin(Commands), std::end(Commands),
                                    [id](const CommandRow& row) { return row.id == id; });
    return found != std::end(Commands) ? found : nullptr;
}

int32_t ScriptManager::FindCommand(const std::string& name)
{
    for (const CommandRow& row : Commands) {
        if (EqualNoCase(name, row.name))
            return row.id;
    }
    return 0;
}

int32_t ScriptManager::CommandOfLine(const std::string& line)
{
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line[at] != '!')
        return 0;
    const size_t nameStart = ++at;
    while (at < line.size() && std::isalpha(static_cast<unsigned char>(line[at])))
        ++at;
    return FindCommand(line.substr(nameStart, at - nameStart));
}

bool ScriptManager::TakesPaths(int32_t id)
{
    const CommandRow* row = FindRow(id);
    return row != nullptr && (row->needs & Paths) != 0;
}

const char* ScriptManager::CommandName(int32_t id)
{
    const CommandRow* row = FindRow(id);
    return row != nullptr ? row->name : nullptr;
}

TreeWindow* ScriptManager::TopTree()
{
    MainFrame* frame = MainFrame::Program();
    return frame != nullptr ? dynamic_cast<TreeWindow*>(frame->ActiveChild()) : nullptr;
}

void ScriptManager::Dispatch(int32_t id, const Parameters& parameters)
{
    const CommandRow* row = FindRow(id);
    if (row == nullptr)
        return;
    currentCommand_ = id;
    TreeWindow* tree = (row->needs & (TreeTop | MenuRule)) != 0 ? TopTree() : nullptr;
    if ((row->needs & TreeTop) != 0 && tree == nullptr) {
        ReportError(4, id);
        return;
    }
    const int count = static_cast<int>(parameters.size());
    if (count < row->least || (row->most != kNoBound && count > row->most)) {
        ReportError(1, id);
        return;
    }
    if ((row->needs & SelectedNode) != 0 && tree->CurrentNode() == nullptr) {
        ReportError(8, id);
        return;
    }
    if ((row->needs & MenuRule) != 0 && tree != nullptr && !tree->CommandEnabled(id))
        return;
    if (row->run != nullptr)
        (this->*row->run)(id, parameters);
}

void ScriptManager::RunFlowCommand(int32_t id, const Parameters& parameters)
{
    const int count = static_cast<int>(parameters.size());
    const auto parameter = [&](int i) { return i < count ? parameters[i] : std::string(); };
    const auto store = [&](const std::string& name, const std::string& value) {
        if (!SetVariable(name, value))
            ReportError(2, id, name.c_str());
    };
    const auto stopped = [this] { return stopRequested_; };
    switch (id) {
    case ScriptCmd::BeginBranch:
        if (stream_) {
            branchDialog_ = std::make_unique<ScriptControlDialog>(parameter(0), parameter(1), parameter(2));
            branchLabels_.clear();
        }
        break;
    case ScriptCmd::Branch:
        if (branchDialog_ && branchDialog_->AddBranch(parameters[0]))
            branchLabels_.push_back(parameters[1]);
        break;
    case ScriptCmd::EndBranch: {
        if (!branchDialog_)
            break;
        const int chosen = branchDialog_->RunBranches();
        branchDialog_.reset();
        if (chosen >= 0 && chosen < static_cast<int>(branchLabels_.size()))
            FindLabel(branchLabels_[chosen]);
        else
            CloseScriptFile();
        break;
    }
    case ScriptCmd::Goto:
        FindLabel(parameters[0]);
        break;
    case ScriptCmd::Gosub:
        if (gosubStack_.size() >= 6) {
            ReportError(10, id);
            break;
        }
        if (!stream_) {
            ReportError(7, id, parameters[0].c_str());
            break;
        }
        gosubStack_.push_back(lineCount);
        FindLabel(parameters[0]);
        break;
    case ScriptCmd::Return: {
        if (gosubStack_.empty()) {
            ReportError(11, id);
            break;
        }
        const long saved = gosubStack_.back();
        gosubStack_.pop_back();
        RestartFile(saved);
        break;
    }
    case ScriptCmd::TextBox:
        // Escape, or the frame closing, in the wait stops a running file.
        if (ShowScriptText(parameters[0],
                           count > 1 ? static_cast<unsigned>(std::max(0, ParseScriptFlag(parameters[1]))) : 3000u,
                           stopped) &&
            stream_)
            stopRequested_ = true;
        break;
    case ScriptCmd::UserInput:
        if (!HasVariable(parameters[1]))
            store(parameters[1], "");
        StoreVariableQuietly(parameters[1], AskScriptInput(parameters[0], parameter(2), parameter(3)));
        break;
    case ScriptCmd::ClipAdviseVars:
        clipboardAdvise = count > 0 ? ParseScriptFlag(parameters[0]) : 1;
        break;
    case ScriptCmd::Delay: {
        const int milliseconds = count > 0 ? ParseScriptFlag(parameters[0]) : 3000;  // not a resource id: milliseconds
        if (PumpScriptMessages(static_cast<unsigned>(std::max(500, milliseconds)), stopped) && stream_)
            stopRequested_ = true;
        break;
    }
    case ScriptCmd::SetScriptVar:
        store(parameters[0], parameters[1]);
        break;
    case ScriptCmd::CatScriptVar: {
        std::string value;
        GetVariableValue(parameters[0], value);
        store(parameters[0], value + parameters[1]);
        break;
    }
    case ScriptCmd::FlushScriptVars:
        variables_.clear();
        break;
    case ScriptCmd::CopyScriptVar: {
        std::string value;
        if (!GetVariableValue(parameters[0], value))
            store(parameters[0], "");
        TheProgram()->PutClipboardText(value.c_str());
        break;
    }
    case ScriptCmd::PasteIntoScriptVar: {
        Clipboard* clipboard = TheProgram()->SystemClipboard();
        const std::unique_ptr<char[]> text(clipboard != nullptr && clipboard->HasText() ? clipboard->GetText() : nullptr);
        if (text)
            store(parameters[0], text.get());
        break;
    }
    case ScriptCmd::DisplayScriptVar: {
        const auto found = variables_.find(Key(parameters[0]));
        if (found == variables_.end()) {
            ReportError(6, id, parameters[0].c_str());
            break;
        }
        const std::string text = "Script Variable: " + found->second.name + "\rValue: " + found->second.value;
        ShowInfoBox(kScriptCaption, text.c_str(), 0);
        break;
    }
    case ScriptCmd::Announce:
        ShowInfoBox(kScriptCaption, parameters[0].c_str(), 0);
        break;
    case ScriptCmd::YesNo: {
        const bool yes = AskYesNo(kScriptCaption, parameters[0].c_str(), 0) == 1;
        if (count > 3)
            store(parameters[3], yes ? "1" : "0");
        FindLabel(parameters[yes ? 1 : 2]);
        break;
    }
    case ScriptCmd::BranchVar: {
        std::string value;
        if (!GetVariableValue(parameters[0], value)) {
            ReportError(6, id, parameters[0].c_str());
            break;
        }
        const int chosen = ParseScriptFlag(value);
        if (chosen >= 1 && chosen < count)
            FindLabel(parameters[chosen]);
        break;
    }
    default:
        break;
    }
}
