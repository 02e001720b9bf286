// Menu and tool-bar state of a tree window: which items are grayed, checked and how they are titled follows
// from the selection and the window's state, taken afresh at every update. The rules are the ones the command
// handlers rely on, so a grayed command is never sent from a menu.

#include "treewin/TreeWindow.h"

#include "app/MainToolbar.h"
#include "app/NamePopupMenu.h"
#include "app/StartProgram.h"
#include "model/StoredAnalysisList.h"
#include "model/TreeNode.h"
#include "script/DdeLinkManager.h"
#include "treewin/NodeMeasure.h"

#include <functional>
#include <string>

namespace {

// The terms of the rules, gathered in one pass over the selection.
struct MenuFacts {
    int n = 0;
    TreeNode* first = nullptr;
    bool one = false, any = false, decision1 = false, copy1 = false, root1 = false, markov1 = false;
    int kids = 0;
    bool customInterface = false, locked = false, busy = false, rolledBack = false, snapshot = false;
    bool noteSelected = false, unbind = false;
    bool free = false, editable = false, editable1 = false, subtreeHighlighted = false;
    int variables = 0, masters = 0, analyses = 0, calcMethod = 0;
    int editField = 0;
    // Over the selection: some node is other than plain; every node ...
    bool someNotPlain = false, allSkipped = true, allCollapsible = true, allCollapsed = true;
    bool allHaveChildren = true, allTerminal = true, allMarkovStates = true, allInMarkovNotState = true;
    bool allTerminalInMarkovNotState = true, someLogic = false, someInMarkov = false;
    bool allDecision = true, allReversed = true;

    MenuFacts(TreeWindow& window, int customInterfaceShown);
};

bool IsMarkovState(const TreeNode* node)
{
    return node->parent != nullptr && node->parent->kind == MarkovNode;
}

MenuFacts::MenuFacts(TreeWindow& window, int customInterfaceShown)
{
    TreeDocument& document = window.Document();
    const NodeChildList& selection = document.Selection;
    n = selection.Count();
    first = window.CurrentNode();
    one = n == 1;
    any = n >= 1;
    decision1 = one && (first->kind == DecisionNode || first->kind == ReversedDecisionNode);
    copy1 = one && first->cloneStatus == CloneCopyNode;
    root1 = one && first->parent == nullptr;
    markov1 = one && first->kind == MarkovNode;
    kids = first != nullptr ? first->childCount : 0;
    customInterface = customInterfaceShown != 0;
    locked = document.SuspendChildRefresh > 0;
    busy = locked || customInterface;
    rolledBack = document.RolledBack != 0;
    snapshot = document.RolledBack == 2;
    free = document.CurrentAnalysis == nullptr && !(rolledBack && document.CalcPrefs.RollBackCalculatesKey == 3);
    editable = !customInterface && any;
    editable1 = editable && one && !locked;
    subtreeHighlighted = any && document.SubtreeSelection != 0;
    variables = document.Variables.Count();
    masters = document.CloneMasters.Count();
    analyses = window.StoredAnalyses().Count();
    calcMethod = document.CalcPrefs.CalcMethod;
    editField = window.InPlaceEditor != nullptr ? window.EditField : 0;
    noteSelected = window.SelectedNote != nullptr;
    unbind = one && !first->text2.IsEmpty();
    for (int i = 0; i < n; ++i) {
        const TreeNode* node = selection.At(i);
        const bool inMarkov = node->IsInMarkovSubtree();
        const bool state = IsMarkovState(node);
        someNotPlain = someNotPlain || node->cloneStatus != NotCloned || node->childCount > 0 ||
                       node->kind == TerminalNode || node->kind == LabelNode;
        allSkipped = allSkipped && node->columnShift > 0;
        allCollapsible = allCollapsible && node->childCount > 0 && !node->collapsed &&
                         node->cloneStatus != CloneCopyNode;
        allCollapsed = allCollapsed && node->collapsed;
        allHaveChildren = allHaveChildren && node->childCount > 0;
        allTerminal = allTerminal && node->kind == TerminalNode;
        allMarkovStates = allMarkovStates && state;
        allInMarkovNotState = allInMarkovNotState && inMarkov && !state;
        allTerminalInMarkovNotState = allTerminalInMarkovNotState && node->kind == TerminalNode && inMarkov && !state;
        someLogic = someLogic || node->kind == LogicNode;
        someInMarkov = someInMarkov || inMarkov;
        allDecision = allDecision && node->kind == DecisionNode;
        allReversed = allReversed && node->kind == ReversedDecisionNode;
    }
}

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

// Save and Save As: never over an opened roll-back snapshot, nor from a custom interface that does not let
// its user save.
bool MaySave(const MenuFacts& f, const TreeDocument& document)
{
    const CustomInterfaceSettings* settings = document.CustomInterface.get();
    return !f.snapshot && !(f.customInterface && (settings == nullptr || settings->options.allowSaveTree == 0));
}

// The items that open or close the tree's companion windows, titled by whether the window is open.
void SetCompanionItems(HMENU bar, const TreeWindow& window, bool enabled)
{
    SetItem(bar, 1306, enabled,
            window.VariablesView != nullptr ? "Hide &Variables Window" : "Show &Variables Window");
    SetItem(bar, 1509, enabled, window.Evaluator != nullptr ? "Close &Evaluator" : "Open &Evaluator");
}

// The Change Payoff item: its title names the payoffs a change of several nodes would set.
std::string ChangePayoffText(const TreeDocument& document, const MenuFacts& facts)
{
    const TreeCalcPrefs& prefs = document.CalcPrefs;
    if (facts.calcMethod == 3)
        return "Chan&ge Attributes...\tCtrl+Y";
    if (facts.n <= 1)
        return "Chan&ge Payoff...\tCtrl+Y";
    std::string text = "Chan&ge Active Payoff (";
    if (facts.calcMethod == 1 || facts.calcMethod == 2)
        text += std::to_string(document.CostPayoffIndex() + 1) + "," +
                std::to_string((facts.calcMethod == 1 ? prefs.CEEffPayoff : prefs.BCBenefitPayoff) + 1);
    else
        text += std::to_string(prefs.CurrentPayoff + 1);
    return text + ")\tCtrl+Y";
}

// The Analysis menu, whose items take their states from the rules alone.
const unsigned kRuledCommands[] = {1602, 1603, 1604, 1605, 1606, 1607, 1608, 1609, 1610, 1611, 1612, 1613,
                                   1614, 1615, 1616, 1617, 1618, 1619, 1620, 1651, 1652, 1653, 1654};

// Whether the item of the command is enabled now; commands without a rule here are. The handlers refuse a
// command whose item is grayed.
bool RuleAllows(const MenuFacts& f, const TreeDocument& document, unsigned id)
{
    const bool ci = f.customInterface;
    const TreeNode* node = f.first;
    const bool markovNode = node != nullptr && node->kind == MarkovNode;
    const bool expectedValue = !ci && f.any && !f.someInMarkov && f.free;
    const bool labelWithChild = node != nullptr && node->kind == LabelNode && f.kids > 0;
    switch (id) {
    case 1207: return f.editable && f.masters > 0 && (f.copy1 || !f.someNotPlain);
    case 1206: return f.editable1 && !f.copy1 && f.subtreeHighlighted && !f.root1;
    case 1220: return f.masters > 0;
    // The node popup's variables menu, "New..." and the variables' names.
    case 1195: return !f.locked && f.one;
    case 1249: return f.one && f.rolledBack;
    case 1319: return !ci && ((f.noteSelected && f.editField == 0) || f.unbind);
    case 1350:
    case 1351: return !ci;
    case 1301:
    case 1314: return !f.snapshot && !ci;
    case 1114:
    case 1208:
    case 1209:
    case 1210:
    case 1211:
    case 1213:
    case 1306:
    case 1308:
    case 1402:
    case 1415:
    case 1417:
    case 1556:
    case 1562: return !ci;
    case 1304: return f.editable;
    case 1305: return f.editable && f.allSkipped;
    case 1315: return !ci && f.any && f.allCollapsible;
    case 1316:
    case 1317: return !ci && f.any && f.allCollapsed;
    case 1414: return !f.busy && f.one && f.kids >= 1;
    case 1405: return f.editable && !f.locked;
    case 1412: return f.editable && f.calcMethod != 1 && !f.locked && (f.allDecision || f.allReversed);
    case 1403:
        return f.editable1 && node->kind != TerminalNode && !f.subtreeHighlighted && !f.copy1 && !node->collapsed &&
               !labelWithChild;
    case 1404: return f.editable1;
    case 1413: return f.editable1 && !f.root1;
    case 1418: return f.editable1 && f.kids >= 2;
    case 1406: return f.editable1 && !f.copy1 && !f.subtreeHighlighted && !f.root1;
    case 1409: return f.editable1 && node->kind == ChanceNode && !f.copy1;
    case 1420: return !f.busy && f.one && (f.markov1 || f.someInMarkov);
    case 1421: return !ci && f.any && !f.locked && f.allTerminalInMarkovNotState;
    case 1408: return f.editable1 && !f.markov1 && f.kids == 0 && node->kind != TerminalNode;
    case 1407: return !f.busy && !f.rolledBack && f.calcMethod == 0;
    case 1651: return f.one && f.free && f.variables >= 1 && !f.busy;
    case 1652: return f.decision1 && f.free && f.variables >= 2 && !f.busy;
    case 1653: return f.decision1 && f.free && f.variables >= 3 && !f.busy && f.calcMethod != 1;
    // With nothing selected the tornado is for the whole tree; its bars need two variables to compare.
    case 1654: return f.n <= 1 && f.free && f.variables >= 2 && !f.busy;
    case 1610: return f.decision1 && !f.copy1 && f.free && !ci;
    case 1602: return !ci && f.any && !f.someLogic && f.allHaveChildren && !markovNode && !f.someInMarkov && f.free;
    case 1613:
        return !ci && f.one && !f.someInMarkov && !f.locked && f.decision1 && !f.subtreeHighlighted &&
               f.variables >= 1 && f.free;
    case 1604: return (document.RiskAssessment.constantAssessed || document.RiskAssessment.pointsAssessed) && !ci;
    case 1603: return f.markov1 && f.free && !f.rolledBack && !ci;
    case 1605: return expectedValue;
    case 1618: return f.any && f.free && !ci;
    case 1620: return f.decision1 && f.free && f.calcMethod == 1 && !ci;
    case 1614: return f.one && f.free && f.kids >= 1 && !f.someInMarkov && !ci;
    case 1619: return expectedValue && f.decision1;
    case 1606: return !ci && f.any && f.free && !f.someInMarkov && !f.root1;
    case 1609: return !ci && f.one && node->kind == ChanceNode && f.kids >= 1 && f.free;
    case 1607:
    case 1608: return !ci && f.one && f.free && !f.someInMarkov && f.kids >= 1 && !markovNode;
    case 1611: return !ci;
    case 1612: return !ci && !f.snapshot;
    case 1615: return document.LastAnalysis != nullptr && !ci;
    case 1616: return f.free && f.analyses > 0 && !f.busy;
    // The custom interface's Analyze: no menu item, but a chain of stored analyses is not joined while
    // another runs.
    case 1194: return f.free && f.analyses > 0;
    case 1617: return f.analyses > 0 && !ci;
    default: return true;
    }
}

} // namespace

bool TreeWindow::CommandEnabled(int command)
{
    return RuleAllows(MenuFacts(*this, CustomInterfaceShown), document, static_cast<unsigned>(command));
}

void TreeWindow::UpdateMenus(HMENU bar)
{
    const MenuFacts f(*this, CustomInterfaceShown);
    const bool ci = f.customInterface;
    TreeNode* node = f.first;
    const auto rule = [&](unsigned id) { return RuleAllows(f, document, id); };

    SetItem(bar, 1106, false);
    SetItem(bar, 1114, rule(1114));
    for (unsigned id : {1104u, 1105u})
        SetItem(bar, id, MaySave(f, document));
    // The tree clipboard's slots, which the frame grays for windows other than trees.
    for (unsigned id : {1208u, 1209u, 1210u, 1211u})
        SetItem(bar, id, !ci);
    if (ci)
        for (unsigned id : {1213u, 1350u, 1351u, 1352u})
            SetItem(bar, id, false);

    if (!rule(1207))
        SetItem(bar, 1207, false);
    else if (f.copy1)
        SetItem(bar, 1207, true, "Det&ach Clone...");
    else
        SetItem(bar, 1207, true, f.masters < 2 ? "&Attach Clone" : "&Attach Clone...");
    SetItem(bar, 1206, rule(1206),
            node != nullptr && node->cloneStatus == CloneMasterNode ? "Destroy C&lone" : "Create C&lone");
    SetItem(bar, 1220, rule(1220));

    for (unsigned id : {1301u, 1314u})
        SetItem(bar, id, rule(id));
    SetItem(bar, 1319, rule(1319), f.unbind && !f.noteSelected ? "Un&bind Note" : "&Bind Note...");
    SetItem(bar, 1303, f.editField != 0 || (!f.any && !f.noteSelected));
    for (unsigned id : {1304u, 1305u, 1317u, 1405u, 1412u, 1404u, 1413u, 1418u, 1406u, 1409u, 1420u, 1421u, 1408u,
                        1407u})
        SetItem(bar, id, rule(id));
    SetItem(bar, 1315, rule(1315), "C&ollapse Subtree\tCtrl+J");
    SetItem(bar, 1316, rule(1316), "&Expand Subtree Once\tCtrl+Shift+J");
    SetItem(bar, 1308, rule(1308));
    SetItem(bar, 1309, true);

    SetItem(bar, 1402, rule(1402));
    SetItem(bar, 1401,
            f.one && !ci && (f.subtreeHighlighted || (!f.copy1 && f.kids > 0 && !node->collapsed)),
            f.subtreeHighlighted ? "Deselect Su&btree\tCtrl+B" : "Select Su&btree\tCtrl+B");
    SetItem(bar, 1414, rule(1414));
    SetItem(bar, 1415, rule(1415));
    const bool addOne = node != nullptr && (f.kids > 0 || node->kind == LabelNode);
    SetItem(bar, 1403, rule(1403), addOne ? "&Add Branch\tCtrl+A" : "&Add Branches\tCtrl+A");
    SetItem(bar, 1410, !f.rolledBack && !ci);
    SetItem(bar, 1416, CanShowCustomInterface(), ci ? "Hide &Custom Interface" : "Show &Custom Interface");
    SetItem(bar, 1417, rule(1417));

    SetItem(bar, 1510, f.any && !f.busy);
    SetCompanionItems(bar, *this, !ci);
    SetItem(bar, 1513, f.one && !f.busy && !f.copy1 && node->kind == ChanceNode && f.kids >= 1);
    SetItem(bar, 1502, !f.busy);
    SetItem(bar, 1504, !f.busy);
    SetItem(bar, 1503, f.editField == 2);
    SetItem(bar, 1508, f.markov1 && !f.busy);
    SetItem(bar, 1507, !ci && f.any && !f.locked && f.allMarkovStates);
    SetItem(bar, 1512, !ci && f.any && !f.locked && f.allInMarkovNotState);
    SetItem(bar, 1514, !f.busy && f.calcMethod == 3);
    const bool payoff = !f.rolledBack && f.any && !f.someInMarkov && f.allTerminal && !ci;
    if (payoff)
        SetItem(bar, 1506, true, ChangePayoffText(document, f).c_str());
    else
        SetItem(bar, 1506, false, f.calcMethod == 3 ? "Chan&ge Attributes...\tCtrl+Y" : "Chan&ge Payoff...\tCtrl+Y");
    SetItem(bar, 1515, !f.busy && f.free);
    SetItem(bar, 1516, !f.busy);
    SetItem(bar, 1517, true);
    SetItem(bar, 1518, true);

    for (unsigned id : kRuledCommands)
        SetItem(bar, id, rule(id),
                id != 1602 ? nullptr : f.n > 1 ? "Com&parative Distributions\tF6" : "&Probability Distribution\tF6");
    CheckMenuEntry(bar, 1612, f.rolledBack);
    UpdateLinkItems(bar);
    UpdateEditMenuTexts(bar, false);
}

void TreeWindow::UpdateMenuTexts(HMENU popup)
{
    const MenuFacts f(*this, CustomInterfaceShown);
    TreeNode* node = f.first;
    SetItem(popup, 1308, true);
    // The variables' menu under "Define Variable", "New..." first.
    if (RuleAllows(f, document, 1195)) {
        HMENU variables = CreatePopupMenu();
        AppendMenuA(variables, MF_STRING, 1195, "New...");
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
    SetItem(popup, 1414, !f.locked && f.one && f.kids >= 1);
    SetItem(popup, 1405, !f.locked && f.any);
    CheckMenuEntry(popup, 1249, f.one && RollBackBoxHidden(node));
    SetItem(popup, 1249, RuleAllows(f, document, 1249));
    const bool running = document.CurrentAnalysis != nullptr;
    SetItem(popup, 1651, f.one && !running && !f.locked && f.variables >= 1);
    SetItem(popup, 1602, f.any && !f.someLogic && f.allHaveChildren && !running,
            f.n >= 2 ? "Comparative Distributions" : "Probability Distribution");
    SetItem(popup, 1605, f.any && !f.someInMarkov &&
                             !(f.rolledBack && document.CalcPrefs.RollBackCalculatesKey == 3) && !running);
    CheckMenuEntry(popup, 1612, f.rolledBack);
    SetItem(popup, 1612, !f.snapshot);
    UpdateEditMenuTexts(popup, true);
}

void TreeWindow::UpdateCommands()
{
    if (document.SuspendVariablesSync)
        return;
    const MenuFacts f(*this, CustomInterfaceShown);
    const bool ci = f.customInterface;
    TreeNode* node = f.first;
    const bool running = document.CurrentAnalysis != nullptr;
    SelectDefaultMode();
    EnableSaveCommand(MaySave(f, document) && (FilePath().IsEmpty() || document.Modified != 0));
    EnablePrintCommands(CanPrint());
    EnableConvertToOutline(0);
    EnableRollBack(!f.snapshot && !ci, f.rolledBack);
    EnableProbabilityDistribution(node != nullptr && f.kids > 0 && node->kind != LogicNode &&
                                  node->kind != MarkovNode && !node->IsInMarkovSubtree() && !ci);
    const bool sensitivity = f.one && !running && !f.locked && f.variables >= 1 && !ci;
    EnableOneWaySensitivity(sensitivity);
    EnableTwoWaySensitivity(sensitivity);
    EnableDefineVariable(!f.locked && !ci);
    EnableCommand1556(!ci);
    EnableProbabilityWheel(!f.locked && f.one && node->cloneStatus != CloneCopyNode && node->kind == ChanceNode &&
                           f.kids > 0 && !ci);
    EnableFontCommand(f.editField != 0 || (!f.any && SelectedNote == nullptr));
    EnableMonteCarlo(f.one && !running && !f.locked && f.kids > 0 && !ci && !node->IsInMarkovSubtree());
    EnableChangeNodeType(!f.locked && f.any && !ci);
}

void TreeWindow::UpdateChildMenus(HMENU bar, bool editHere)
{
    const bool locked = document.SuspendChildRefresh > 0;
    for (unsigned id : {1208u, 1209u, 1210u, 1211u, 1213u, 1308u, 1517u, 1518u})
        SetItem(bar, id, true);
    SetItem(bar, 1217, editHere && TheLinkManager != nullptr && TheLinkManager->CanPasteLink());
    SetItem(bar, 1220, document.CloneMasters.Count() > 0);
    SetCompanionItems(bar, *this, true);
    SetItem(bar, 1502, !locked);
    SetItem(bar, 1504, !locked);
    SetItem(bar, 1503, editHere);
    // No bound window offers a probability to the wheel.
    SetItem(bar, 1513, false);
    SetItem(bar, 1514, !locked && document.CalcPrefs.CalcMethod == 3);
    SetItem(bar, 1515, !locked && CustomInterfaceShown == 0);
    for (unsigned id = 1401; id <= 1421; ++id)
        SetItem(bar, id, false);
    for (unsigned id = 1602; id <= 1620; ++id)
        SetItem(bar, id, false);
    for (unsigned id = 1651; id <= 1654; ++id)
        SetItem(bar, id, false);
}

void TreeWindow::UpdateChildCommands()
{
    const bool ci = CustomInterfaceShown != 0;
    EnableDefineVariable(document.SuspendChildRefresh == 0 && !ci);
    EnableCommand1556(!ci);
}

bool TreeWindow::CanShowCustomInterface()
{
    const CustomInterfaceSettings* settings = document.CustomInterface.get();
    return settings != nullptr && settings->Count() > 0 && StoredAnalyses().Count() > 0;
}
