// Menu and tool-bar state of a tree window: which items are grayed, checked and how they are titled follows
// from the selection and the window's state, taken afresh at every update. The rules are the ones the command
// handlers rely on, so a grayed command is never sent from a menu.

#include "treewin/TreeCommandTable.h"

#include "analysis/AnalysisRun.h"
#include "widgets/FrameCommands.h"
#include "widgets/MainToolbar.h"
#include "widgets/MimicRunTime.h"
#include "widgets/NamePopupMenu.h"
#include "widgets/Shell.h"
#include "widgets/StatusMessage.h"
#include "widgets/ZoomPane.h"
#include "model/DocumentVariableOps.h"
#include "model/StoredAnalysisList.h"
#include "model/TreeNode.h"
#include "widgets/DdeLinkManager.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreeChildWindow.h"

#include "CommandIds.h"

#include <string>

namespace {

using MenuFacts = TreeMenuFacts;

// Sets the item's text (when given), then grays or enables it; a missing item is left alone.
void SetItem(HMENU menu, unsigned id, bool enabled, const char* text = nullptr)
{
    const UINT state = enabled ? MF_ENABLED : MF_GRAYED;
    if (text != nullptr && GetMenuState(menu, id, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
        const bool checked = (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
        ModifyMenuA(menu, id, MF_BYCOMMAND | MF_STRING | state | (checked ? MF_CHECKED : 0), id, text);
        return;
    }
    EnableMenuItem(menu, id, MF_BYCOMMAND | state);
}

void CheckMenuEntry(HMENU menu, unsigned id, bool checked)
{
    CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

// The items that open or close the tree's companion windows, titled by whether the window is open.
void SetCompanionItems(HMENU bar, const TreeWindow& window, bool enabled)
{
    SetItem(bar, Cmd::DisplayShowVariablesWindow, enabled,
            window.VariablesView != nullptr ? "Hide &Variables Window" : "Show &Variables Window");
    SetItem(bar, Cmd::ValuesOpenEvaluator, enabled,
            window.Evaluator != nullptr ? "Close &Evaluator" : "Open &Evaluator");
}

// The Change Payoff item: its title names the payoffs a change of several nodes would set.
std::string ChangePayoffText(const TreeDocument& document, const MenuFacts& facts)
{
    const TreeCalcPrefs& prefs = document.CalcPrefs;
    if (facts.calcMethod == MultiAttributeMethod)
        return "Chan&ge Attributes...\tCtrl+Y";
    if (facts.n <= 1)
        return "Chan&ge Payoff...\tCtrl+Y";
    std::string text = "Chan&ge Active Payoff (";
    if (facts.calcMethod == CostEffectivenessMethod || facts.calcMethod == BenefitCostMethod)
        text += std::to_string(document.CostPayoffIndex() + 1) + "," +
                std::to_string((facts.calcMethod == CostEffectivenessMethod ? prefs.CEEffPayoff : prefs.BCBenefitPayoff) + 1);
    else
        text += std::to_string(prefs.CurrentPayoff + 1);
    return text + ")\tCtrl+Y";
}

// The rows of every menu.
const TreeCommandRows* CommandTable()
{
    static const TreeCommandRows menus[] = {FileEditCommandRows(), DisplayCommandRows(), OptionsCommandRows(),
                                            ValuesCommandRows(), AnalysisCommandRows(), {nullptr, 0}};
    return menus;
}

} // namespace

const TreeWindow::CommandRow* TreeWindow::FindCommand(unsigned id)
{
    for (const TreeCommandRows* menu = CommandTable(); menu->first != nullptr; ++menu)
        for (const CommandRow& row : *menu)
            if (row.id == id)
                return &row;
    return nullptr;
}

bool TreeWindow::HasCommand(unsigned id)
{
    return FindCommand(id) != nullptr;
}

namespace {

// Whether the command's item is enabled now: by its row's rule; a command without one is not.
bool RuleAllows(const MenuFacts& f, unsigned id)
{
    const TreeWindow::CommandRow* row = TreeWindow::FindCommand(id);
    return row != nullptr && row->rule != nullptr && row->rule(f);
}

} // namespace

bool TreeWindow::CommandEnabled(int command)
{
    return RuleAllows(MenuFacts(*this, CustomInterfaceShown), static_cast<unsigned>(command));
}

int TreeWindow::OnCommand(int command)
{
    TreeNode* node = CurrentNode();
    ClickMode = 0;
    PendingNoteBinding = nullptr;
    const int variables = document.Variables.Count();
    if (command >= static_cast<int>(Cmd::FirstVariable) &&
        command < static_cast<int>(Cmd::FirstVariable) + variables) {
        // The variables are offered with "New..." of the same popup.
        if (node != nullptr && CommandEnabled(Cmd::NodeDefineNewVariable))
            OpenNodeValueWindow(node,
                                document.Variables.At(command - static_cast<int>(Cmd::FirstVariable))->name.Text());
        RefreshFrameCommands();
        return 1;
    }
    const CommandRow* row = FindCommand(static_cast<unsigned>(command));
    if (row == nullptr)
        return 0;
    AnalysisRun* running = document.CurrentAnalysis;
    // A key, a tool-bar button, a bound window or a script may send a command whose item is grayed.
    if (row->handler != nullptr && row->rule != nullptr && row->rule(MenuFacts(*this, CustomInterfaceShown))) {
        RunCommandHandler(row->id);
        running = nullptr;
    }
    RefreshFrameCommands();
    // Refused while an analysis runs: the status bar says what the tree is busy with.
    if (running != nullptr) {
        zString reason;
        ShowStatusMessage(running->StatusText(reason).Text());
    }
    return 1;
}

int TreeWindow::RunCommandHandler(unsigned id)
{
    const CommandRow* row = FindCommand(id);
    if (row == nullptr)
        return 0;
    if (row->handler == nullptr)
        return 1;
    const UndoAction* before = CurrentUndoAction();
    row->handler(*this);
    if (row->undoText != nullptr && CurrentUndoAction() != nullptr && CurrentUndoAction() != before)
        CurrentUndoAction()->name = row->undoText;
    return 1;
}

void TreeWindow::UpdateMenus(HMENU bar)
{
    const MenuFacts f(*this, CustomInterfaceShown);
    const bool ci = f.customInterface;
    TreeNode* node = f.first;
    for (const TreeCommandRows* menu = CommandTable(); menu->first != nullptr; ++menu)
        for (const CommandRow& row : *menu)
            SetItem(bar, row.id, row.rule != nullptr && row.rule(f));

    SetItem(bar, Cmd::FileConvertToOutline, false);
    if (ci)
        SetItem(bar, Cmd::DisplayZoom, false);

    // The titles that follow the selection and the window's state.
    if (RuleAllows(f, Cmd::EditAttachClone))
        SetItem(bar, Cmd::EditAttachClone, true,
                f.copy1 ? "Det&ach Clone..." : f.masters < 2 ? "&Attach Clone" : "&Attach Clone...");
    SetItem(bar, Cmd::EditCreateClone, RuleAllows(f, Cmd::EditCreateClone),
            node != nullptr && node->cloneStatus == CloneMasterNode ? "Destroy Clo&ne" : "Create Clo&ne");
    SetItem(bar, Cmd::DisplayBindNote, RuleAllows(f, Cmd::DisplayBindNote),
            f.unbind && !f.noteSelected ? "Un&bind Note" : "&Bind Note...");
    SetItem(bar, Cmd::DisplayCollapseSubtree, RuleAllows(f, Cmd::DisplayCollapseSubtree), "Collapse S&ubtree\tCtrl+J");
    SetItem(bar, Cmd::DisplayExpandSubtreeOnce, RuleAllows(f, Cmd::DisplayExpandSubtreeOnce),
            "&Expand Subtree Once\tCtrl+Shift+J");
    SetItem(bar, Cmd::OptionsSelectSubtree, RuleAllows(f, Cmd::OptionsSelectSubtree),
            f.subtreeHighlighted ? "Deselect Su&btree\tCtrl+B" : "Select Su&btree\tCtrl+B");
    const bool addOne = node != nullptr && (f.kids > 0 || node->kind == LabelNode);
    SetItem(bar, Cmd::OptionsAddBranches, RuleAllows(f, Cmd::OptionsAddBranches),
            addOne ? "&Add Branch\tCtrl+A" : "&Add Branches\tCtrl+A");
    SetItem(bar, Cmd::OptionsShowCustomInterface, RuleAllows(f, Cmd::OptionsShowCustomInterface),
            ci ? "Hide &Custom Interface" : "Show &Custom Interface");
    SetCompanionItems(bar, *this, !ci);
    if (RuleAllows(f, Cmd::ValuesChangePayoff))
        SetItem(bar, Cmd::ValuesChangePayoff, true, ChangePayoffText(document, f).c_str());
    else
        SetItem(bar, Cmd::ValuesChangePayoff, false,
                f.calcMethod == MultiAttributeMethod ? "Chan&ge Attributes...\tCtrl+Y" : "Chan&ge Payoff...\tCtrl+Y");
    SetItem(bar, Cmd::AnalysisProbabilityDistribution, RuleAllows(f, Cmd::AnalysisProbabilityDistribution),
            f.n > 1 ? "Com&parative Distributions\tF6" : "&Probability Distribution\tF6");
    CheckMenuEntry(bar, Cmd::AnalysisRollBack, f.rolledBack);
    CheckMenuEntry(bar, Cmd::OptionsMimicRunTime, IsMimicRunTime());
    UpdateEditMenuTexts(bar, false);
}

void TreeWindow::UpdateMenuTexts(HMENU popup)
{
    const MenuFacts f(*this, CustomInterfaceShown);
    TreeNode* node = f.first;
    // The variables' menu under "Define Variable", "New..." first.
    if (RuleAllows(f, Cmd::NodeDefineNewVariable)) {
        HMENU variables = CreatePopupMenu();
        AppendMenuA(variables, MF_STRING, Cmd::NodeDefineNewVariable, "New...");
        const HMENU names = VariablesMenu ? VariablesMenu->Handle() : nullptr;
        const int count = names != nullptr ? GetMenuItemCount(names) : 0;
        if (count > 0)
            AppendMenuA(variables, MF_SEPARATOR, 0, nullptr);
        for (int i = 0; i < count; ++i) {
            char text[100] = "";
            GetMenuStringA(names, i, text, sizeof text, MF_BYPOSITION);
            AppendMenuA(variables, MF_STRING, GetMenuItemID(names, i), text);
        }
        InsertMenuA(popup, 5, MF_BYPOSITION | MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(variables),
                    "Define Variable");
    }
    for (const TreeCommandRows* menu = CommandTable(); menu->first != nullptr; ++menu)
        for (const CommandRow& row : *menu)
            SetItem(popup, row.id, row.rule != nullptr && row.rule(f));
    CheckMenuEntry(popup, Cmd::NodeHideRollBackBox, f.one && RollBackBoxHidden(node));
    // The pop-up keeps one title for any number of nodes; the Analysis menu's names the comparison.
    SetItem(popup, Cmd::AnalysisProbabilityDistribution, RuleAllows(f, Cmd::AnalysisProbabilityDistribution),
            "Probability Distribution");
    CheckMenuEntry(popup, Cmd::AnalysisRollBack, f.rolledBack);
    UpdateEditMenuTexts(popup, true);
}

void TreeWindow::UpdateCommands()
{
    if (document.SuspendVariablesSync)
        return;
    const MenuFacts f(*this, CustomInterfaceShown);
    SelectDefaultMode();
    // Save also waits for a change to save, and printing is the document window's.
    EnableSaveCommand(RuleAllows(f, Cmd::FileSave) && (FilePath().IsEmpty() || document.Modified != 0));
    EnablePrintCommands(CanPrint());
    EnableToolbarButtons([&f](unsigned id) { return RuleAllows(f, id); });
    CheckRollBackButton(f.rolledBack);
}

bool TreeWindow::ChildMayUseWheel(const TreeChildWindow& child) const
{
    return document.SuspendChildRefresh == 0 && CustomInterfaceShown == 0 && child.OffersProbability();
}

void TreeWindow::UpdateChildMenus(HMENU bar, bool editHere, bool wheelHere)
{
    const bool locked = document.SuspendChildRefresh > 0;
    for (unsigned id :
         {Cmd::EditTreeClipboard1, Cmd::EditTreeClipboard2, Cmd::EditTreeClipboard3, Cmd::EditTreeClipboard4,
          Cmd::EditLinks, Cmd::DisplayPreferences, Cmd::ReportTablesUsed, Cmd::ReportVariables})
        SetItem(bar, id, true);
    SetItem(bar, Cmd::EditPasteLink, editHere && TheShell().CanPasteLink());
    SetItem(bar, Cmd::EditClones, document.CloneMasters.Count() > 0);
    SetCompanionItems(bar, *this, true);
    SetItem(bar, Cmd::ValuesDefineValues, !locked);
    SetItem(bar, Cmd::ValuesInsertVariable, editHere);
    SetItem(bar, Cmd::ValuesProbabilityWheel, wheelHere);
    SetItem(bar, Cmd::ValuesMultiAttributeWeights, !locked && document.CalcPrefs.CalcMethod == MultiAttributeMethod);
    SetItem(bar, Cmd::ValuesDistributions, !locked && CustomInterfaceShown == 0);
    for (unsigned id = Cmd::OptionsSelectSubtree; id <= Cmd::OptionsMarkovTransitionNode; ++id)
        SetItem(bar, id, false);
    for (unsigned id = Cmd::AnalysisProbabilityDistribution; id <= Cmd::AnalysisCostEffectiveness; ++id)
        SetItem(bar, id, false);
    for (unsigned id = Cmd::AnalysisOneWay; id <= Cmd::AnalysisTornadoDiagram; ++id)
        SetItem(bar, id, false);
}

void TreeWindow::UpdateChildCommands(bool wheelHere)
{
    const bool ci = CustomInterfaceShown != 0;
    EnableDefineVariable(document.SuspendChildRefresh == 0 && !ci);
    EnableCommand1556(!ci);
    EnableProbabilityWheel(wheelHere ? 1 : 0);
}

bool TreeWindow::CanShowCustomInterface()
{
    const CustomInterfaceSettings* settings = document.CustomInterface.get();
    return settings != nullptr && settings->Count() > 0 && document.StoredAnalyses().Count() > 0;
}
