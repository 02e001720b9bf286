// Menu and tool-bar state of a tree window: which items are grayed, checked and how they are titled follows
// from the selection and the window's state, taken afresh at every update. The rules are the ones the command
// handlers rely on, so a grayed command is never sent from a menu.

#include "treewin/TreeWindow.h"

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
#include "treewin/TreeCommandHandlers.h"

#include "CommandIds.h"

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
    // A long analysis steps on the tree from the idle loop.
    bool running = false;
    bool noteSelected = false, unbind = false;
    bool free = false, editable = false, editable1 = false, subtreeHighlighted = false;
    int variables = 0, masters = 0, analyses = 0;
    CalcMethodKind calcMethod = PayoffMethod;
    int editField = 0;
    bool interfaceSettings = false;
    TreeWindow* window = nullptr;
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
bool MaySave(const MenuFacts& f)
{
    const CustomInterfaceSettings* settings = f.window->Document().CustomInterface.get();
    return !f.snapshot && !(f.customInterface && (settings == nullptr || settings->options.allowSaveTree == 0));
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

} // namespace

// The tree window's commands. A rule tells whether the command's menu item is enabled now; the same rule
// refuses the command when it comes from a key, the tool bar or a bound window while its item would be
// grayed, and a command without a rule is disabled. An undo text names the step the command adds to the
// history; a command without one leaves the name to its action (which depends on what was chosen).
struct TreeWindow::CommandRow {
    unsigned id;
    void (*handler)(TreeWindow& tree);
    bool (*rule)(const MenuFacts& f);
    const char* undoText;
};

namespace {

bool Always(const MenuFacts&) { return true; }
bool NoCustomInterface(const MenuFacts& f) { return !f.customInterface; }
bool PasteText(const MenuFacts& f) { return (f.window->ComputeEditMasks().paste & (1u << TreeWindow::ScopeText)) != 0; }
bool PasteNodes(const MenuFacts& f)
{
    const unsigned nodes = (1u << TreeWindow::ScopeNode) | (1u << TreeWindow::ScopeSubtree);
    return (f.window->ComputeEditMasks().paste & nodes) != 0;
}
bool ExpectedValue(const MenuFacts& f) { return !f.customInterface && f.any && !f.someInMarkov && f.free; }
bool LabelWithChild(const MenuFacts& f) { return f.first != nullptr && f.first->kind == LabelNode && f.kids > 0; }
bool OnMarkovNode(const MenuFacts& f) { return f.first != nullptr && f.first->kind == MarkovNode; }

} // namespace

const TreeWindow::CommandRow TreeWindow::Commands[] = {
    // The document window saves (OnCommandId) what the rule lets it.
    {Cmd::FileSave, nullptr, MaySave, nullptr},
    {Cmd::FileSaveAs, nullptr, MaySave, nullptr},
    // The Edit menu and the node popup's paste items.
    {Cmd::NodePasteText, &CommandHandlers::PasteText, PasteText, nullptr},
    {Cmd::NodePasteNode, &CommandHandlers::PasteNode, PasteNodes, nullptr},
    {Cmd::EditCut, &CommandHandlers::Cut,
     [](const MenuFacts& f) { return f.window->ComputeEditMasks().cut != 0; }, nullptr},
    {Cmd::EditCopy, &CommandHandlers::Copy,
     [](const MenuFacts& f) { return f.window->ComputeEditMasks().copy != 0; }, nullptr},
    {Cmd::EditPaste, &CommandHandlers::Paste,
     [](const MenuFacts& f) { return f.window->ComputeEditMasks().paste != 0; }, nullptr},
    {Cmd::EditClear, &CommandHandlers::Clear,
     [](const MenuFacts& f) { return f.window->ComputeEditMasks().clear != 0; }, nullptr},
    {Cmd::EditCreateClone, &CommandHandlers::CreateClone,
     [](const MenuFacts& f) { return f.editable1 && !f.copy1 && f.subtreeHighlighted && !f.root1; }, nullptr},
    {Cmd::EditAttachClone, &CommandHandlers::AttachClone,
     [](const MenuFacts& f) { return f.editable && f.masters > 0 && (f.copy1 || !f.someNotPlain); }, nullptr},
    {Cmd::EditTreeClipboard1, &CommandHandlers::TreeClipboardSlot<0>, NoCustomInterface, nullptr},
    {Cmd::EditTreeClipboard2, &CommandHandlers::TreeClipboardSlot<1>, NoCustomInterface, nullptr},
    {Cmd::EditTreeClipboard3, &CommandHandlers::TreeClipboardSlot<2>, NoCustomInterface, nullptr},
    {Cmd::EditTreeClipboard4, &CommandHandlers::TreeClipboardSlot<3>, NoCustomInterface, nullptr},
    {Cmd::EditLinks, &CommandHandlers::Links, NoCustomInterface, nullptr},
    {Cmd::EditCopySpecial, &CommandHandlers::CopySpecial,
     [](const MenuFacts& f) { return f.window->CanCopySpecial(); }, nullptr},
    {Cmd::EditPasteLink, &CommandHandlers::PasteLink,
     [](const MenuFacts& f) { return f.window->CanPasteLinkHere(); }, nullptr},
    {Cmd::EditBreakLink, &CommandHandlers::BreakLink,
     [](const MenuFacts& f) { return f.window->CanBreakLink(); }, nullptr},
    {Cmd::EditClones, &CommandHandlers::Clones, [](const MenuFacts& f) { return f.masters > 0; }, nullptr},
    // The Display and Options menus, and the commands of the pane and the node popup.
    {Cmd::FileSnapshot, &CommandHandlers::Snapshot, NoCustomInterface, nullptr},
    {Cmd::InPlaceTextChanged, &CommandHandlers::InPlaceTextChanged, Always, nullptr},
    // The node popup's variables menu, "New..." and the variables' names.
    {Cmd::NodeDefineNewVariable, &CommandHandlers::DefineNewVariable,
     [](const MenuFacts& f) { return !f.locked && f.one; }, nullptr},
    {Cmd::NodeHideRollBackBox, &CommandHandlers::HideRollBackBox,
     [](const MenuFacts& f) { return f.one && f.rolledBack; }, nullptr},
    {Cmd::DisplayCreateNote, &CommandHandlers::CreateNote,
     [](const MenuFacts& f) { return !f.snapshot && !f.customInterface; }, nullptr},
    {Cmd::DisplayCreateArrow, &CommandHandlers::CreateArrow,
     [](const MenuFacts& f) { return !f.snapshot && !f.customInterface; }, nullptr},
    {Cmd::DisplayBindNote, &CommandHandlers::BindNote,
     [](const MenuFacts& f) {
         return !f.customInterface && ((f.noteSelected && f.editField == 0) || f.unbind);
     }, nullptr},
    // The font of the selected text part, or with nothing selected the tree's.
    {Cmd::DisplayFont, &CommandHandlers::Font,
     [](const MenuFacts& f) { return f.window->EditField != 0 || (!f.any && !f.noteSelected); }, nullptr},
    {Cmd::DisplaySkipGeneration, &CommandHandlers::SkipGeneration,
     [](const MenuFacts& f) { return f.editable; }, "Skip Generation"},
    {Cmd::DisplayUnskipGeneration, &CommandHandlers::UnskipGeneration,
     [](const MenuFacts& f) { return f.editable && f.allSkipped; }, "Unskip Generation"},
    {Cmd::DisplayCollapseSubtree, &CommandHandlers::CollapseSubtree,
     [](const MenuFacts& f) { return !f.customInterface && f.any && f.allCollapsible; }, "Collapse Subtree"},
    {Cmd::DisplayExpandSubtreeOnce, &CommandHandlers::ExpandSubtreeOnce,
     [](const MenuFacts& f) { return !f.customInterface && f.any && f.allCollapsed; }, "Expand Subtree Once"},
    {Cmd::DisplayExpandEntireSubtree, &CommandHandlers::ExpandEntireSubtree,
     [](const MenuFacts& f) { return !f.customInterface && f.any && f.allCollapsed; }, nullptr},
    {Cmd::DisplayShowVariablesWindow, &CommandHandlers::ShowOrHideVariablesWindow, NoCustomInterface, nullptr},
    {Cmd::DisplayPreferences, &CommandHandlers::Preferences, NoCustomInterface, nullptr},
    {Cmd::DisplayNumericFormatting, &CommandHandlers::NumericFormatting, Always, nullptr},
    // A step while the pane has room for it.
    {Cmd::DisplayZoomIn, &CommandHandlers::ZoomIn,
     [](const MenuFacts& f) {
         const ZoomPane* pane = static_cast<const DocChildWindow*>(f.window)->Pane();
         return !f.customInterface && pane != nullptr && pane->CanZoomIn();
     },
     nullptr},
    {Cmd::DisplayZoomOut, &CommandHandlers::ZoomOut,
     [](const MenuFacts& f) {
         const ZoomPane* pane = static_cast<const DocChildWindow*>(f.window)->Pane();
         return !f.customInterface && pane != nullptr && pane->CanZoomOut();
     },
     nullptr},
    {Cmd::OptionsSelectSubtree, &CommandHandlers::SelectSubtree,
     [](const MenuFacts& f) {
         return f.one && !f.customInterface &&
                (f.subtreeHighlighted || (!f.copy1 && f.kids > 0 && !f.first->collapsed));
     },
     nullptr},
    {Cmd::OptionsFind, &CommandHandlers::Find, NoCustomInterface, nullptr},
    {Cmd::OptionsAddBranches, &CommandHandlers::AddBranches,
     [](const MenuFacts& f) {
         return f.editable1 && f.first->kind != TerminalNode && !f.subtreeHighlighted && !f.copy1 &&
                !f.first->collapsed && !LabelWithChild(f);
     },
     nullptr},
    {Cmd::OptionsInsertBranch, &CommandHandlers::InsertBranch,
     [](const MenuFacts& f) { return f.editable1; }, "Insert Branch"},
    {Cmd::OptionsChangeNodeType, &CommandHandlers::ChangeNodeType,
     [](const MenuFacts& f) { return f.editable && !f.locked; }, nullptr},
    {Cmd::OptionsForcePath, &CommandHandlers::ForcePath,
     [](const MenuFacts& f) { return f.editable1 && !f.copy1 && !f.subtreeHighlighted && !f.root1; }, "Force Path"},
    {Cmd::OptionsEnterRiskPreferences, &CommandHandlers::EnterRiskPreferences,
     [](const MenuFacts& f) { return !f.busy && !f.rolledBack && f.calcMethod == PayoffMethod; }, nullptr},
    {Cmd::OptionsDistributeChildren, &CommandHandlers::DistributeChildren,
     [](const MenuFacts& f) {
         return f.editable1 && !f.markov1 && f.kids == 0 && f.first->kind != TerminalNode;
     }, nullptr},
    {Cmd::OptionsBayesRevision, &CommandHandlers::BayesRevision,
     [](const MenuFacts& f) { return f.editable1 && f.first->kind == ChanceNode && !f.copy1; }, nullptr},
    {Cmd::OptionsChangeOptimalPath, &CommandHandlers::ChangeOptimalPath,
     [](const MenuFacts& f) {
         return f.editable && f.calcMethod != CostEffectivenessMethod && !f.locked && (f.allDecision || f.allReversed);
     },
     "Change Optimal Path"},
    {Cmd::OptionsDeleteBranch, &CommandHandlers::DeleteBranch,
     [](const MenuFacts& f) { return f.editable1 && !f.root1; }, nullptr},
    {Cmd::OptionsNodeComment, &CommandHandlers::NodeComment,
     [](const MenuFacts& f) { return !f.busy && f.one && f.kids >= 1; }, nullptr},
    {Cmd::OptionsSelectIf, &CommandHandlers::SelectIf, NoCustomInterface, nullptr},
    // Hiding is always possible; showing needs an interface to show.
    {Cmd::OptionsShowCustomInterface, &CommandHandlers::ShowCustomInterface,
     [](const MenuFacts& f) { return f.customInterface || f.window->CanShowCustomInterface(); }, nullptr},
    {Cmd::OptionsDesignCustomInterface, &CommandHandlers::DesignCustomInterface, NoCustomInterface, nullptr},
    {Cmd::OptionsReorderBranches, &CommandHandlers::ReorderBranches,
     [](const MenuFacts& f) { return f.editable1 && f.kids >= 2; },
     "Reorder Branches"},
    {Cmd::OptionsMimicRunTime, &CommandHandlers::MimicRunTime, Always, nullptr},
    {Cmd::OptionsMarkovBindings, &CommandHandlers::MarkovBindings,
     [](const MenuFacts& f) { return !f.busy && f.one && (f.markov1 || f.someInMarkov); }, nullptr},
    {Cmd::OptionsMarkovTransitionNode, &CommandHandlers::MarkovTransitionNode,
     [](const MenuFacts& f) { return !f.customInterface && f.any && !f.locked && f.allTerminalInMarkovNotState; },
     "Markov Transition Node"},
    // The custom interface's panel buttons; each needs the interface's settings.
    {Cmd::CustomInterfaceOptions, &CommandHandlers::InterfaceOptions,
     [](const MenuFacts& f) { return f.interfaceSettings; }, nullptr},
    {Cmd::CustomInterfaceChangeValues, &CommandHandlers::ChangeValues,
     [](const MenuFacts& f) { return f.interfaceSettings; }, nullptr},
    {Cmd::CustomInterfaceComments, &CommandHandlers::InterfaceComments,
     [](const MenuFacts& f) { return f.interfaceSettings; }, nullptr},
    // The Values menu.
    {Cmd::ValuesDefineValues, &CommandHandlers::DefineValues, [](const MenuFacts& f) { return !f.busy; }, nullptr},
    {Cmd::ValuesInsertVariable, &CommandHandlers::InsertVariable,
     [](const MenuFacts& f) { return f.editField == 2; }, nullptr},
    {Cmd::ValuesChangePayoff, &CommandHandlers::ChangePayoff,
     [](const MenuFacts& f) {
         return !f.rolledBack && f.any && !f.someInMarkov && f.allTerminal && !f.customInterface;
     }, nullptr},
    {Cmd::ValuesMarkovStateInformation, &CommandHandlers::MarkovStateInformation,
     [](const MenuFacts& f) { return !f.customInterface && f.any && !f.locked && f.allMarkovStates; }, nullptr},
    {Cmd::ValuesMarkovTermination, &CommandHandlers::MarkovTermination,
     [](const MenuFacts& f) { return f.markov1 && !f.busy; }, nullptr},
    {Cmd::ValuesOpenEvaluator, &CommandHandlers::OpenOrCloseEvaluator, NoCustomInterface, nullptr},
    {Cmd::ValuesCreateSlider, &CommandHandlers::CreateSlider,
     [](const MenuFacts& f) { return f.any && !f.busy; }, nullptr},
    {Cmd::ValuesMarkovTransitionRewards, &CommandHandlers::MarkovTransitionRewards,
     [](const MenuFacts& f) { return !f.customInterface && f.any && !f.locked && f.allInMarkovNotState; }, nullptr},
    {Cmd::ValuesProbabilityWheel, &CommandHandlers::ProbabilityWheel,
     [](const MenuFacts& f) {
         return f.one && !f.busy && !f.copy1 && f.first->kind == ChanceNode && f.kids >= 1;
     }, nullptr},
    {Cmd::ValuesMultiAttributeWeights, &CommandHandlers::MultiAttributeWeights,
     [](const MenuFacts& f) { return !f.busy && f.calcMethod == MultiAttributeMethod; }, nullptr},
    {Cmd::ValuesDistributions, &CommandHandlers::Distributions,
     [](const MenuFacts& f) { return !f.busy && f.free; }, nullptr},
    {Cmd::ReportTablesUsed, &CommandHandlers::TablesUsed, Always, nullptr},
    {Cmd::ReportVariables, &CommandHandlers::VariablesReport, Always, nullptr},
    {Cmd::ShowVariables, &CommandHandlers::ShowVariablesWindow, NoCustomInterface, nullptr},
    {Cmd::ShowVariableBindings, &CommandHandlers::ShowVariablesWindow, NoCustomInterface, nullptr},
    // The Analysis menu.
    {Cmd::AnalysisProbabilityDistribution, &CommandHandlers::ProbabilityDistribution,
     [](const MenuFacts& f) {
         return !f.customInterface && f.any && !f.someLogic && f.allHaveChildren && !OnMarkovNode(f) &&
                !f.someInMarkov && f.free;
     },
     nullptr},
    {Cmd::AnalysisMarkovAnalysis, &CommandHandlers::MarkovAnalysis,
     [](const MenuFacts& f) { return f.markov1 && f.free && !f.rolledBack && !f.customInterface; }, nullptr},
    {Cmd::AnalysisGraphRiskPreferenceFunction, &CommandHandlers::GraphRiskPreference,
     [](const MenuFacts& f) {
         const RiskPrefAssessment& risk = f.window->Document().RiskAssessment;
         return (risk.constantAssessed || risk.pointsAssessed) && !f.customInterface;
     },
     nullptr},
    {Cmd::AnalysisExpectedValue, &CommandHandlers::ExpectedValue, ExpectedValue, nullptr},
    {Cmd::AnalysisPathProbability, &CommandHandlers::PathProbability,
     [](const MenuFacts& f) { return !f.customInterface && f.any && f.free && !f.someInMarkov && !f.root1; }, nullptr},
    {Cmd::AnalysisOverUnder, &CommandHandlers::OverUnder,
     [](const MenuFacts& f) {
         return !f.customInterface && f.one && f.free && !f.someInMarkov && f.kids >= 1 && !OnMarkovNode(f);
     },
     nullptr},
    {Cmd::AnalysisPayoffRange, &CommandHandlers::PayoffRange,
     [](const MenuFacts& f) {
         return !f.customInterface && f.one && f.free && !f.someInMarkov && f.kids >= 1 && !OnMarkovNode(f);
     },
     nullptr},
    {Cmd::AnalysisStandardDeviation, &CommandHandlers::StandardDeviation,
     [](const MenuFacts& f) {
         return !f.customInterface && f.one && f.first->kind == ChanceNode && f.kids >= 1 && f.free;
     }, nullptr},
    {Cmd::AnalysisShowOptimalPath, &CommandHandlers::ShowOptimalPath,
     [](const MenuFacts& f) { return f.decision1 && !f.copy1 && f.free && !f.customInterface; }, nullptr},
    {Cmd::AnalysisVerifyProbabilities, &CommandHandlers::VerifyProbabilities, NoCustomInterface, nullptr},
    // Either way the roll back would take the running analysis's place, or change the tree under it.
    {Cmd::AnalysisRollBack, &CommandHandlers::RollBack,
     [](const MenuFacts& f) { return !f.customInterface && !f.snapshot && !f.running; }, nullptr},
    {Cmd::AnalysisThresholdAnalysis, &CommandHandlers::Threshold,
     [](const MenuFacts& f) {
         return !f.customInterface && f.one && !f.someInMarkov && !f.locked && f.decision1 && !f.subtreeHighlighted &&
                f.variables >= 1 && f.free;
     },
     nullptr},
    {Cmd::AnalysisMonteCarloSimulation, &CommandHandlers::MonteCarlo,
     [](const MenuFacts& f) {
         return f.one && f.free && f.kids >= 1 && !f.someInMarkov && !f.customInterface;
     }, nullptr},
    {Cmd::AnalysisSaveLast, &CommandHandlers::SaveLastAnalysis,
     [](const MenuFacts& f) { return f.window->Document().LastAnalysis != nullptr && !f.customInterface; }, nullptr},
    {Cmd::AnalysisRunOldAnalysis, &CommandHandlers::RunOldAnalysis,
     [](const MenuFacts& f) { return f.free && f.analyses > 0 && !f.busy; }, nullptr},
    {Cmd::AnalysisMaintainAnalyses, &CommandHandlers::MaintainAnalyses,
     [](const MenuFacts& f) { return f.analyses > 0 && !f.customInterface; }, nullptr},
    {Cmd::AnalysisExpectedValueOfPerfectInfo, &CommandHandlers::PerfectInformation,
     [](const MenuFacts& f) { return f.any && f.free && !f.customInterface; }, nullptr},
    {Cmd::AnalysisRankings, &CommandHandlers::Rankings,
     [](const MenuFacts& f) { return ExpectedValue(f) && f.decision1; }, nullptr},
    {Cmd::AnalysisCostEffectiveness, &CommandHandlers::CostEffectiveness,
     [](const MenuFacts& f) { return f.decision1 && f.free && f.calcMethod == CostEffectivenessMethod && !f.customInterface; }, nullptr},
    {Cmd::AnalysisOneWay, &CommandHandlers::OneWay,
     [](const MenuFacts& f) { return f.one && f.free && f.variables >= 1 && !f.busy; }, nullptr},
    {Cmd::AnalysisTwoWay, &CommandHandlers::TwoWay,
     [](const MenuFacts& f) { return f.decision1 && f.free && f.variables >= 2 && !f.busy; }, nullptr},
    {Cmd::AnalysisThreeWay, &CommandHandlers::ThreeWay,
     [](const MenuFacts& f) {
         return f.decision1 && f.free && f.variables >= 3 && !f.busy && f.calcMethod != CostEffectivenessMethod;
     }, nullptr},
    // With nothing selected the tornado is for the whole tree; its bars need two variables to compare.
    {Cmd::AnalysisTornadoDiagram, &CommandHandlers::Tornado,
     [](const MenuFacts& f) { return f.n <= 1 && f.free && f.variables >= 2 && !f.busy; }, nullptr},
    // The custom interface's Analyze: no menu item, but a chain of stored analyses is not joined while
    // another runs.
    {Cmd::CustomInterfaceAnalyze, &CommandHandlers::CustomInterfaceAnalyze,
     [](const MenuFacts& f) { return f.free && f.analyses > 0; }, nullptr},
    // Ctrl+1 to Ctrl+9 select a child of the one selected node.
    {Cmd::SelectChild1, &CommandHandlers::SelectChild<0>, [](const MenuFacts& f) { return f.one; }, nullptr},
    {Cmd::SelectChild2, &CommandHandlers::SelectChild<1>, [](const MenuFacts& f) { return f.one; }, nullptr},
    {Cmd::SelectChild3, &CommandHandlers::SelectChild<2>, [](const MenuFacts& f) { return f.one; }, nullptr},
    {Cmd::SelectChild4, &CommandHandlers::SelectChild<3>, [](const MenuFacts& f) { return f.one; }, nullptr},
    {Cmd::SelectChild5, &CommandHandlers::SelectChild<4>, [](const MenuFacts& f) { return f.one; }, nullptr},
    {Cmd::SelectChild6, &CommandHandlers::SelectChild<5>, [](const MenuFacts& f) { return f.one; }, nullptr},
    {Cmd::SelectChild7, &CommandHandlers::SelectChild<6>, [](const MenuFacts& f) { return f.one; }, nullptr},
    {Cmd::SelectChild8, &CommandHandlers::SelectChild<7>, [](const MenuFacts& f) { return f.one; }, nullptr},
    {Cmd::SelectChild9, &CommandHandlers::SelectChild<8>, [](const MenuFacts& f) { return f.one; }, nullptr},
};

const TreeWindow::CommandRow* TreeWindow::FindCommand(unsigned id)
{
    for (const CommandRow& row : Commands)
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
    for (const CommandRow& row : Commands)
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
    for (const CommandRow& row : Commands)
        SetItem(popup, row.id, row.rule != nullptr && row.rule(f));
    CheckMenuEntry(popup, Cmd::NodeHideRollBackBox, f.one && RollBackBoxHidden(node));
    SetItem(popup, Cmd::AnalysisProbabilityDistribution, RuleAllows(f, Cmd::AnalysisProbabilityDistribution),
            f.n >= 2 ? "Comparative Distributions" : "Probability Distribution");
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
