// The command table and the script's own commands: branches, jumps, subroutines, messages, waits and
// variables.

#include "script/ScriptManager.h"

#include "app/StartProgram.h"
#include "foundation/MessageBoxes.h"
#include "framework/window/Clipboard.h"
#include "script/ScriptWindows.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

namespace {

enum Route { Flow, File, Tree };

struct CommandEntry {
    int32_t id;
    const char* name;
    Route route;
};

// Ids below 1800 are the menu commands of the same action elsewhere in the program.
const CommandEntry kCommands[] = {
    {1805, "BeginBranch", Flow},       {1806, "Branch", Flow},           {1807, "EndBranch", Flow},
    {1808, "Goto", Flow},              {1809, "Gosub", Flow},            {1810, "Return", Flow},
    {1811, "TextBox", Flow},           {1824, "Test", Flow},             {1825, "UserInput", Flow},
    {1812, "ShowUserActions", Flow},   {1813, "ClipAdviseVars", Flow},   {1814, "Delay", Flow},
    {1815, "SetScriptVar", Flow},      {1816, "CatScriptVar", Flow},     {1817, "FlushScriptVars", Flow},
    {1818, "CopyScriptVar", Flow},     {1819, "PasteIntoScriptVar", Flow}, {1820, "DisplayScriptVar", Flow},
    {1821, "Announce", Flow},          {1822, "YesNo", Flow},            {1823, "BranchVar", Flow},
    {1103, "OpenFile", File},          {1104, "SaveFile", File},         {1105, "SaveFileAs", File},
    {1107, "CloseTopWindow", File},    {1216, "CopyPicture", File},      {1108, "PrintFile", File},
    {1826, "TopWindowType", File},     {1827, "TopWindowName", File},    {1828, "TableVal", File},
    {1403, "AddBranches", Tree},       {1829, "SelectNode", Tree},       {1830, "SelectNodeToo", Tree},
    {1831, "SelectNodeRel", Tree},     {1832, "SelectRoot", Tree},       {1833, "SelectNodeRelName", Tree},
    {1415, "SelectIf", Tree},          {1834, "DeselectAll", Tree},      {1835, "GetSelCount", Tree},
    {1836, "GetSelList", Tree},        {1837, "GetSelNum", Tree},        {1405, "ChangeNodeType", Tree},
    {1651, "SensAn", Tree},            {1612, "RollBack", Tree},         {1620, "CostEff", Tree},
    {1603, "Markov", Tree},            {1602, "ProbDist", Tree},         {1838, "SetCalcMethod", Tree},
    {1840, "CopyDocVariables", Tree},  {1839, "SetActivePayoff", Tree},  {1841, "SaveAsTRB", Tree},
    {1616, "RunStoredAnalysis", Tree}, {1309, "SetNFSigDigs", Tree},     {1842, "NumKids", Tree},
    {1843, "GetNodeName", Tree},       {1844, "SetNodeName", Tree},      {1845, "GetNodeProb", Tree},
    {1846, "SetNodeProb", Tree},       {1847, "CopyNodeVars", Tree},     {1848, "GetNodeVar", Tree},
    {1849, "SetNodeVar", Tree},        {1850, "GetNodePayoff", Tree},    {1851, "SetNodePayoff", Tree},
    {1605, "ExpectedValue", Tree},     {1606, "PathProb", Tree},         {1609, "StdDev", Tree},
    {1509, "Evaluate", Tree},
};

const CommandEntry* FindEntry(int32_t id)
{
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [id](const CommandEntry& entry) { return entry.id == id; });
    return found != std::end(kCommands) ? found : nullptr;
}

bool EqualNoCase(const std::string& a, const char* b)
{
    return std::equal(a.begin(), a.end(), b, b + std::strlen(b), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    });
}

const char* const kScriptCaption = "KIVOScript";

// Parameter counts of the flow commands: {id, least, most}; -1 for no bound.
struct CountRule {
    int32_t id;
    int least;
    int most;
};
const CountRule kFlowCounts[] = {
    {1806, 2, 2}, {1808, 1, 1}, {1809, 1, 1}, {1811, 1, -1}, {1825, 2, 4}, {1815, 2, 2}, {1816, 2, 2},
    {1818, 1, 1}, {1819, 1, 1}, {1820, 1, 1}, {1821, 1, 1},  {1822, 3, -1}, {1823, 2, -1},
};

} // namespace

int32_t ScriptManager::FindCommand(const std::string& name)
{
    for (const CommandEntry& entry : kCommands) {
        if (EqualNoCase(name, entry.name))
            return entry.id;
    }
    return 0;
}

const char* ScriptManager::CommandName(int32_t id)
{
    const CommandEntry* entry = FindEntry(id);
    return entry != nullptr ? entry->name : nullptr;
}

void ScriptManager::Dispatch(int32_t id, const Parameters& parameters)
{
    const CommandEntry* entry = FindEntry(id);
    if (entry == nullptr)
        return;
    currentCommand_ = id;
    switch (entry->route) {
    case Flow:
        RunFlowCommand(id, parameters);
        break;
    case File:
        RunFileCommand(id, parameters);
        break;
    case Tree:
        RunTreeCommand(id, parameters);
        break;
    }
}

void ScriptManager::RunFlowCommand(int32_t id, const Parameters& parameters)
{
    const int count = static_cast<int>(parameters.size());
    for (const CountRule& rule : kFlowCounts) {
        if (rule.id == id && (count < rule.least || (rule.most >= 0 && count > rule.most))) {
            ReportError(1, id);
            return;
        }
    }
    const auto parameter = [&](int i) { return i < count ? parameters[i] : std::string(); };
    const auto store = [&](const std::string& name, const std::string& value) {
        if (!SetVariable(name, value))
            ReportError(2, id, name.c_str());
    };
    switch (id) {
    case 1805: // BeginBranch
        if (stream_) {
            branchDialog_ = std::make_unique<ScriptControlDialog>(parameter(0), parameter(1), parameter(2));
            branchLabels_.clear();
        }
        break;
    case 1806: // Branch
        if (branchDialog_ && branchDialog_->AddBranch(parameters[0]))
            branchLabels_.push_back(parameters[1]);
        break;
    case 1807: { // EndBranch
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
    case 1808: // Goto
        FindLabel(parameters[0]);
        break;
    case 1809: // Gosub
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
    case 1810: { // Return
        if (gosubStack_.empty()) {
            ReportError(11, id);
            break;
        }
        const long saved = gosubStack_.back();
        gosubStack_.pop_back();
        RestartFile(saved);
        break;
    }
    case 1811: // TextBox
        ShowScriptText(parameters[0], count > 1 ? static_cast<unsigned>(std::max(0, ParseScriptFlag(parameters[1])))
                                                : 3000u);
        break;
    case 1825: // UserInput
        if (!HasVariable(parameters[1]))
            store(parameters[1], "");
        StoreVariableQuietly(parameters[1], AskScriptInput(parameters[0], parameter(2), parameter(3)));
        break;
    case 1813: // ClipAdviseVars
        clipboardAdvise = count > 0 ? ParseScriptFlag(parameters[0]) : 1;
        break;
    case 1814: { // Delay
        const int milliseconds = count > 0 ? ParseScriptFlag(parameters[0]) : 3000;
        PumpScriptMessages(static_cast<unsigned>(std::max(500, milliseconds)));
        break;
    }
    case 1815: // SetScriptVar
        store(parameters[0], parameters[1]);
        break;
    case 1816: { // CatScriptVar
        std::string value;
        GetVariableValue(parameters[0], value);
        store(parameters[0], value + parameters[1]);
        break;
    }
    case 1817: // FlushScriptVars
        variables_.clear();
        break;
    case 1818: { // CopyScriptVar
        std::string value;
        if (!GetVariableValue(parameters[0], value))
            store(parameters[0], "");
        if (AppClipboard != nullptr) {
            AppClipboard->Empty();
            AppClipboard->PutText(value.c_str());
        }
        break;
    }
    case 1819: { // PasteIntoScriptVar
        const std::unique_ptr<char[]> text(AppClipboard != nullptr && AppClipboard->HasText() ? AppClipboard->GetText()
                                                                                              : nullptr);
        if (text)
            store(parameters[0], text.get());
        break;
    }
    case 1820: { // DisplayScriptVar
        const auto found = variables_.find(Key(parameters[0]));
        if (found == variables_.end()) {
            ReportError(6, id, parameters[0].c_str());
            break;
        }
        const std::string text = "Script Variable: " + found->second.name + "\rValue: " + found->second.value;
        ShowInfoBox(kScriptCaption, text.c_str(), 0);
        break;
    }
    case 1821: // Announce
        ShowInfoBox(kScriptCaption, parameters[0].c_str(), 0);
        break;
    case 1822: { // YesNo
        const bool yes = AskYesNo(kScriptCaption, parameters[0].c_str(), 0) == 1;
        if (count > 3)
            store(parameters[3], yes ? "1" : "0");
        FindLabel(parameters[yes ? 1 : 2]);
        break;
    }
    case 1823: { // BranchVar
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
    default: // Test, ShowUserActions
        break;
    }
}
