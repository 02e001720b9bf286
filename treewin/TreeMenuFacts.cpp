// The terms of a tree window's command rules, gathered from the selection and the window's state in one pass.

#include "treewin/TreeCommandTable.h"

#include "model/StoredAnalysisList.h"
#include "model/TreeNode.h"

namespace {

bool IsMarkovState(const TreeNode* node)
{
    return node->parent != nullptr && node->parent->kind == MarkovNode;
}

} // namespace

TreeMenuFacts::TreeMenuFacts(TreeWindow& window, int customInterfaceShown)
{
    this->window = &window;
    TreeDocument& document = window.Document();
    interfaceSettings = document.CustomInterface != nullptr;
    const NodeChildList& selection = window.Selection;
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
    rolledBack = document.IsRolledBack();
    snapshot = document.RolledBack == RolledBackValues::Snapshot;
    running = document.CurrentAnalysis != nullptr || document.RunningSimulations > 0;
    free = !running && !(rolledBack && document.CalcPrefs.RollBackCalculatesKey == 3);
    editable = !customInterface && any;
    editable1 = editable && one && !locked;
    subtreeHighlighted = any && window.SubtreeSelection != 0;
    variables = document.Variables.Count();
    masters = document.CloneMasters.Count();
    analyses = window.Document().StoredAnalyses().Count();
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
