// The script's command table: each command's name, executor, parameter counts and what it needs, the lookups
// of a line's command, and the dispatch that checks a command's needs before its executor runs.

#include "script/ScriptManager.h"

#include "widgets/Shell.h"
#include "script/ScriptCommandHandlers.h"
#include "treewin/TreeWindow.h"
#include "widgets/MessageBoxes.h"

#include "CommandIds.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

namespace {

// A row's parameter counts: `least` to `most`; kNoBound only where any number is taken (a list of paths or
// labels, or a command that takes "at least" so many). A count outside them is error 1, never a parameter dropped.
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


} // namespace

struct ScriptManager::CommandRow {
    int32_t id;
    const char* name;
    // Null for a command that does nothing beyond its checks.
    void (*run)(ScriptManager& script, const Parameters& parameters);
    int least;
    int most;
    unsigned needs;
};

using Script = ScriptManager::Handlers;

const ScriptManager::CommandRow ScriptManager::Commands[] = {
    // Flow and variables.
    {ScriptCmd::BeginBranch, "BeginBranch", &Script::BeginBranch, 0, 3, 0},
    {ScriptCmd::Branch, "Branch", &Script::Branch, 2, 2, 0},
    {ScriptCmd::EndBranch, "EndBranch", &Script::EndBranch, 0, 0, 0},
    {ScriptCmd::Goto, "Goto", &Script::Goto, 1, 1, 0},
    {ScriptCmd::Gosub, "Gosub", &Script::Gosub, 1, 1, 0},
    {ScriptCmd::Return, "Return", &Script::Return, 0, 0, 0},
    {ScriptCmd::TextBox, "TextBox", &Script::TextBox, 1, 2, 0},
    {ScriptCmd::Test, "Test", nullptr, 0, kNoBound, 0},
    {ScriptCmd::UserInput, "UserInput", &Script::UserInput, 2, 4, 0},
    {ScriptCmd::ShowUserActions, "ShowUserActions", nullptr, 0, kNoBound, 0},
    {ScriptCmd::ClipAdviseVars, "ClipAdviseVars", &Script::ClipAdviseVars, 0, 1, 0},
    {ScriptCmd::Delay, "Delay", &Script::Delay, 0, 1, 0},
    {ScriptCmd::SetScriptVar, "SetScriptVar", &Script::SetScriptVar, 2, 2, 0},
    {ScriptCmd::CatScriptVar, "CatScriptVar", &Script::CatScriptVar, 2, 2, 0},
    {ScriptCmd::FlushScriptVars, "FlushScriptVars", &Script::FlushScriptVars, 0, 0, 0},
    {ScriptCmd::CopyScriptVar, "CopyScriptVar", &Script::CopyScriptVar, 1, 1, 0},
    {ScriptCmd::PasteIntoScriptVar, "PasteIntoScriptVar", &Script::PasteIntoScriptVar, 1, 1, 0},
    {ScriptCmd::DisplayScriptVar, "DisplayScriptVar", &Script::DisplayScriptVar, 1, 1, 0},
    {ScriptCmd::Announce, "Announce", &Script::Announce, 1, 1, 0},
    {ScriptCmd::YesNo, "YesNo", &Script::YesNo, 3, 4, 0},
    {ScriptCmd::BranchVar, "BranchVar", &Script::BranchVar, 2, kNoBound, 0},
    // Files and windows of the frame.
    {Cmd::FileOpen, "OpenFile", &Script::OpenFile, 1, kNoBound, Paths},
    {Cmd::FileSave, "SaveFile", &Script::SaveFile, 0, 0, MenuRule},
    {Cmd::FileSaveAs, "SaveFileAs", &Script::SaveFileAs, 0, 1, MenuRule | Paths},
    {Cmd::FileClose, "CloseTopWindow", &Script::CloseTopWindow, 0, 1, 0},
    {Cmd::EditCopySpecial, "CopyPicture", &Script::CopyPicture, 0, 0, 0},
    {Cmd::FilePrint, "PrintFile", &Script::PrintFile, 0, 0, 0},
    {ScriptCmd::TopWindowType, "TopWindowType", &Script::TopWindowType, 1, 1, 0},
    {ScriptCmd::TopWindowName, "TopWindowName", &Script::TopWindowName, 1, 2, 0},
    {ScriptCmd::TableVal, "TableVal", &Script::TableVal, 3, 3, 0},
    // The selection of the top tree.
    {Cmd::OptionsAddBranches, "AddBranches", &Script::TreeMenuCommand, 0, 0,
     TreeTop | SelectedNode | MenuRule},
    {ScriptCmd::SelectNode, "SelectNode", &Script::SelectNode, 1, kNoBound, TreeTop},
    {ScriptCmd::SelectNodeToo, "SelectNodeToo", &Script::SelectNodeToo, 1, kNoBound, TreeTop},
    {ScriptCmd::SelectNodeRel, "SelectNodeRel", &Script::SelectNodeRel, 1, 1, TreeTop | SelectedNode},
    {ScriptCmd::SelectRoot, "SelectRoot", &Script::SelectRoot, 0, 0, TreeTop},
    {ScriptCmd::SelectNodeRelName, "SelectNodeRelName", &Script::SelectNodeRelName, 1, 1, TreeTop},
    {Cmd::OptionsSelectIf, "SelectIf", &Script::SelectIf, 3, kNoBound, TreeTop | MenuRule},
    {ScriptCmd::DeselectAll, "DeselectAll", &Script::DeselectAll, 0, 0, TreeTop},
    {ScriptCmd::GetSelCount, "GetSelCount", &Script::GetSelCount, 1, 1, TreeTop},
    {ScriptCmd::GetSelList, "GetSelList", &Script::GetSelList, 1, 1, TreeTop},
    {ScriptCmd::GetSelNum, "GetSelNum", &Script::GetSelNum, 2, 2, TreeTop},
    // Edits and analyses of the top tree.
    {Cmd::OptionsChangeNodeType, "ChangeNodeType", &Script::ChangeNodeType, 1, 1,
     TreeTop | SelectedNode | MenuRule},
    {Cmd::AnalysisOneWay, "SensAn", nullptr, 0, kNoBound, TreeTop},
    {Cmd::AnalysisRollBack, "RollBack", &Script::RollBack, 0, 1, TreeTop | MenuRule},
    {Cmd::AnalysisCostEffectiveness, "CostEff", &Script::TreeMenuCommand, 0, 1,
     TreeTop | SelectedNode | MenuRule},
    {Cmd::AnalysisMarkovAnalysis, "Markov", nullptr, 0, kNoBound, TreeTop},
    {Cmd::AnalysisProbabilityDistribution, "ProbDist", &Script::TreeMenuCommand, 0, 0, TreeTop | MenuRule},
    {ScriptCmd::SetCalcMethod, "SetCalcMethod", &Script::SetCalcMethod, 1, 1, TreeTop},
    {ScriptCmd::CopyDocVariables, "CopyDocVariables", &Script::CopyDocVariables, 0, 2, TreeTop},
    {ScriptCmd::SetActivePayoff, "SetActivePayoff", &Script::SetActivePayoff, 1, 1, TreeTop},
    {ScriptCmd::SaveAsTRB, "SaveAsTRB", &Script::SaveAsTRB, 1, 1, TreeTop | Paths},
    {Cmd::AnalysisRunOldAnalysis, "RunStoredAnalysis", &Script::RunStoredAnalysis, 1, 1, TreeTop | MenuRule},
    // The top tree's or graph's number of digits, by its first parameter.
    {Cmd::DisplayNumericFormatting, "SetNFSigDigs", &Script::SetNumberDigits, 2, kNoBound, 0},
    // Values of the selected node.
    {ScriptCmd::NumKids, "NumKids", &Script::NumKids, 1, 2, TreeTop | SelectedNode},
    {ScriptCmd::GetNodeName, "GetNodeName", &Script::GetNodeName, 1, 1, TreeTop | SelectedNode},
    {ScriptCmd::SetNodeName, "SetNodeName", &Script::SetNodeName, 1, 1, TreeTop | SelectedNode},
    {ScriptCmd::GetNodeProb, "GetNodeProb", &Script::GetNodeProb, 1, 1, TreeTop | SelectedNode},
    {ScriptCmd::SetNodeProb, "SetNodeProb", &Script::SetNodeProb, 1, 1, TreeTop | SelectedNode},
    {ScriptCmd::CopyNodeVars, "CopyNodeVars", &Script::CopyNodeVars, 0, 0, TreeTop},
    {ScriptCmd::GetNodeVar, "GetNodeVar", &Script::GetNodeVar, 2, 2, TreeTop},
    {ScriptCmd::SetNodeVar, "SetNodeVar", &Script::SetNodeVar, 1, 2, TreeTop},
    {ScriptCmd::GetNodePayoff, "GetNodePayoff", &Script::GetNodePayoff, 2, 2, TreeTop | SelectedNode},
    {ScriptCmd::SetNodePayoff, "SetNodePayoff", &Script::SetNodePayoff, 2, 2, TreeTop | SelectedNode},
    // Computed values of the selected node: the value goes into a script variable.
    {Cmd::AnalysisExpectedValue, "ExpectedValue", &Script::ExpectedValue, 1, 2, TreeTop | SelectedNode},
    {Cmd::AnalysisPathProbability, "PathProb", &Script::PathProb, 1, 2, TreeTop | SelectedNode},
    {Cmd::AnalysisStandardDeviation, "StdDev", &Script::StdDev, 1, 2, TreeTop | SelectedNode},
    {Cmd::ValuesOpenEvaluator, "Evaluate", &Script::Evaluate, 2, 3, TreeTop | SelectedNode},
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
    return dynamic_cast<TreeWindow*>(TheShell().ActiveChild());
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
    if (row->run == nullptr)
        return;
    // An error box the command's own work shows (a computation that failed, a file that did not save) is
    // the command's failure: the script ends with that box as its only one, as a line of another program
    // is refused.
    commandShowedError_ = false;
    MessageBoxPresenter previous;
    previous = SetMessageBoxPresenter([this, &previous](const MessageBoxRequest& request) {
        if (IsErrorBox(request))
            commandShowedError_ = true;
        return previous(request);
    });
    row->run(*this, parameters);
    SetMessageBoxPresenter(previous);
    if (commandShowedError_)
        EndAfterReportedFailure();
    commandShowedError_ = false;
}
