#pragma once
// The tree window's command handlers, one for each row of its command table (TreeCommandTable.h). A handler
// runs once the row's rule has allowed the command, and still checks what its own work needs: a stored
// analysis run again reaches it directly.

#include "treewin/TreeWindow.h"

struct TreeWindow::CommandHandlers {
    // The Edit menu and the node popup's paste items (TreeEditCommands.cpp).
    static void PasteText(TreeWindow& tree);
    static void PasteNode(TreeWindow& tree);
    static void Cut(TreeWindow& tree);
    static void Copy(TreeWindow& tree);
    static void Paste(TreeWindow& tree);
    static void Clear(TreeWindow& tree);
    static void CreateClone(TreeWindow& tree);
    static void AttachClone(TreeWindow& tree);
    // Tree clipboard slots 0 to 3.
    template <int slot>
    static void TreeClipboardSlot(TreeWindow& tree);
    static void SelectClipboardSlot(int slot);
    static void Links(TreeWindow& tree);
    static void CopySpecial(TreeWindow& tree);
    static void PasteLink(TreeWindow& tree);
    static void BreakLink(TreeWindow& tree);
    static void Clones(TreeWindow& tree);

    // The Display and Options menus and the pane's own commands (TreeCommands.cpp; the structure edits in
    // TreeStructureCommands.cpp).
    static void Snapshot(TreeWindow& tree);
    static void InPlaceTextChanged(TreeWindow& tree);
    static void DefineNewVariable(TreeWindow& tree);
    static void HideRollBackBox(TreeWindow& tree);
    static void CreateNote(TreeWindow& tree);
    static void CreateArrow(TreeWindow& tree);
    static void BindNote(TreeWindow& tree);
    // With nothing selected the tree font, else the font of the edited text of the current node or of the
    // selected note box, one undoable step; over a highlighted subtree every node's font of that text, after
    // asking, without undo.
    static void Font(TreeWindow& tree);
    static void SkipGeneration(TreeWindow& tree);
    static void UnskipGeneration(TreeWindow& tree);
    static void CollapseSubtree(TreeWindow& tree);
    static void ExpandSubtreeOnce(TreeWindow& tree);
    static void ExpandEntireSubtree(TreeWindow& tree);
    static void Preferences(TreeWindow& tree);
    static void NumericFormatting(TreeWindow& tree);
    static void ZoomIn(TreeWindow& tree);
    static void ZoomOut(TreeWindow& tree);
    static void SelectSubtree(TreeWindow& tree);
    static void Find(TreeWindow& tree);
    static void AddBranches(TreeWindow& tree);
    static void InsertBranch(TreeWindow& tree);
    static void ChangeNodeType(TreeWindow& tree);
    static void ForcePath(TreeWindow& tree);
    // Enter Risk Preferences, then the offer to switch the function on.
    static void EnterRiskPreferences(TreeWindow& tree);
    static void DistributeChildren(TreeWindow& tree);
    // Bayes' Revision on the current node.
    static void BayesRevision(TreeWindow& tree);
    static void ChangeOptimalPath(TreeWindow& tree);
    static void DeleteBranch(TreeWindow& tree);
    static void SelectIf(TreeWindow& tree);
    static void DesignCustomInterface(TreeWindow& tree);
    static void ReorderBranches(TreeWindow& tree);
    static void MarkovBindings(TreeWindow& tree);
    static void MarkovTransitionNode(TreeWindow& tree);
    // Ctrl+1 to Ctrl+9: children 0 to 8 of the one selected node.
    template <int child>
    static void SelectChild(TreeWindow& tree);
    static void SelectChildAt(TreeWindow& tree, int child);

    // The custom interface (CustomInterfacePanel.cpp).
    static void ShowCustomInterface(TreeWindow& tree);
    static void MimicRunTime(TreeWindow& tree);
    static void InterfaceOptions(TreeWindow& tree);
    static void ChangeValues(TreeWindow& tree);
    static void InterfaceComments(TreeWindow& tree);

    // The Values menu and the Variables window (TreeValuesCommands.cpp).
    // The comment window of the current node, unless another window shows it or the person cancels the
    // question about a comment that no longer matches the node's branches.
    static void NodeComment(TreeWindow& tree);
    static void DefineValues(TreeWindow& tree);
    static void InsertVariable(TreeWindow& tree);
    static void ChangePayoff(TreeWindow& tree);
    static void MarkovStateInformation(TreeWindow& tree);
    static void MarkovTermination(TreeWindow& tree);
    static void OpenOrCloseEvaluator(TreeWindow& tree);
    static void ShowOrHideVariablesWindow(TreeWindow& tree);
    static void ShowVariablesWindow(TreeWindow& tree);
    static void CreateSlider(TreeWindow& tree);
    static void MarkovTransitionRewards(TreeWindow& tree);
    static void ProbabilityWheel(TreeWindow& tree);
    static void MultiAttributeWeights(TreeWindow& tree);
    static void Distributions(TreeWindow& tree);
    static void TablesUsed(TreeWindow& tree);
    static void VariablesReport(TreeWindow& tree);

    // The Analysis menu and the custom interface's Analyze (TreeAnalysisCommands.cpp).
    static void ProbabilityDistribution(TreeWindow& tree);
    static void MarkovAnalysis(TreeWindow& tree);
    // The chosen function's graph; the tree's settings stay as they were.
    static void GraphRiskPreference(TreeWindow& tree);
    static void ExpectedValue(TreeWindow& tree);
    static void PathProbability(TreeWindow& tree);
    static void OverUnder(TreeWindow& tree);
    static void PayoffRange(TreeWindow& tree);
    static void StandardDeviation(TreeWindow& tree);
    static void ShowOptimalPath(TreeWindow& tree);
    static void VerifyProbabilities(TreeWindow& tree);
    // Rolls the tree back, or ends showing the results; the undo history goes once results are shown.
    static void RollBack(TreeWindow& tree);
    static void Threshold(TreeWindow& tree);
    static void MonteCarlo(TreeWindow& tree);
    static void SaveLastAnalysis(TreeWindow& tree);
    static void RunOldAnalysis(TreeWindow& tree);
    static void MaintainAnalyses(TreeWindow& tree);
    static void PerfectInformation(TreeWindow& tree);
    static void Rankings(TreeWindow& tree);
    static void CostEffectiveness(TreeWindow& tree);
    static void OneWay(TreeWindow& tree);
    static void TwoWay(TreeWindow& tree);
    static void ThreeWay(TreeWindow& tree);
    static void Tornado(TreeWindow& tree);
    static void CustomInterfaceAnalyze(TreeWindow& tree);

    // The handlers' shared steps.
    // Hide Roll-Back Box: flips the node's flag, its clone counterparts following; not undoable.
    static void ToggleRollBackBox(TreeWindow& tree, TreeNode* node);
    // Zoom In and Out by one step, keeping the selection in view and the in-place edit open.
    static void ZoomByStep(TreeWindow& tree, bool in);
    static void ChangeOptimalPath(TreeWindow& tree, TreeNode* node);
    static void DeleteBranch(TreeWindow& tree, TreeNode* node);
    static void ShowOptimalPath(TreeWindow& tree, TreeNode* node);
    // Payoff Range and Cost-Effectiveness, each kept as the last analysis.
    static void ShowPayoffRange(TreeWindow& tree, TreeNode* node);
    static void ShowCostEffectiveness(TreeWindow& tree, TreeNode* node);
    // Run Old Analysis and the custom interface's Analyze: the chosen stored analyses, one after the other in
    // list order.
    static void RunStoredAnalyses(TreeWindow& tree, bool customInterfaceForm);
    // Two Way, Three Way and Tornado Diagram, after their checks.
    static void StartSensitivity(TreeWindow& tree, int command, TreeNode* node);
    // Rolls the node back under the wait cursor; false when roll back failed (it has said why).
    static bool RollBackWithWait(TreeWindow& tree, TreeNode* node);
    // Numeric Formatting: the format of the calculation method, or the cost-effectiveness formats.
    static void EditNumberFormats(TreeWindow& tree);
    // Bind Note: the selected note box waits for a click on its node, after the person agrees; with no note
    // box selected the one selected node's second text becomes a note box again.
    static void BindOrUnbindNote(TreeWindow& tree, TreeNode* node);
    // Change Node Type: the chosen kind as one undo step; end nodes outside a Markov model, or several at
    // once, change directly and the undo history is emptied.
    static void ChooseNodeType(TreeWindow& tree);
    // Pastes the clipboard's node, or its subtree's branches, under every selected node; refused, with a
    // message, when one of them has no room for them.
    static void PasteBranches(TreeWindow& tree);
    // Cut, Copy, Paste or Clear of the one kind of object the masks allow, or of the kind chosen among them.
    static void EditWithScope(TreeWindow& tree, int command);
    // Open the Evaluator or the Variables window over the selection; deleting the window closes it.
    static void OpenEvaluator(TreeWindow& tree);
    static void OpenVariablesWindow(TreeWindow& tree);
};

template <int slot>
void TreeWindow::CommandHandlers::TreeClipboardSlot(TreeWindow&)
{
    SelectClipboardSlot(slot);
}

template <int child>
void TreeWindow::CommandHandlers::SelectChild(TreeWindow& tree)
{
    SelectChildAt(tree, child);
}
