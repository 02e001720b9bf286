// The commands of a tree window: structure, display and selection commands, the Edit menu's cut, copy,
// paste and clear through the tree clipboard, the clone commands, and the Analysis menu, which starts every
// analysis after its checks. Every handler checks its own condition: a command may come from a key, the tool
// bar or a script while its menu item would be grayed.

#include "treewin/TreeWindow.h"

#include "analysis/MarkovAnalysis.h"
#include "analysis/NodeValueRecord.h"
#include "analysis/OneWaySensitivityAnalysis.h"
#include "analysis/ProbabilityDistribution.h"
#include "analysis/ProbabilityVerification.h"
#include "analysis/RiskPreference.h"
#include "analysis/RollBack.h"
#include "analysis/RollBackAnalysis.h"
#include "analysis/StoredAnalysisKinds.h"
#include "analysis/TornadoDiagram.h"
#include "analysis/TreeEngines.h"
#include "analysis/TreeQueries.h"
#include "widgets/EditMenuTexts.h"
#include "widgets/CursorStack.h"
#include "widgets/FrameCommands.h"
#include "widgets/InputHelpers.h"
#include "widgets/InPlaceEdit.h"
#include "widgets/ProgramPreferences.h"
#include "widgets/ZoomPane.h"
#include "widgets/PromptDialog.h"
#include "treewin/AttachCloneDialog.h"
#include "treewin/CEAnalysisDialog.h"
#include "treewin/ChangeNodeTypeDialog.h"
#include "dialogs/CorrelationsDialog.h"
#include "treewin/CustomInterfaceDialog.h"
#include "dialogs/EditScopeDialog.h"
#include "treewin/FindReplaceWindow.h"
#include "treewin/InsertBranchDialog.h"
#include "treewin/JumpToDialog.h"
#include "treewin/MarkovAnalysisWindow.h"
#include "treewin/MarkovBindingsDialog.h"
#include "dialogs/MonteCarloDialogs.h"
#include "dialogs/NodeValueDialogs.h"
#include "dialogs/NumericFormatDialog.h"
#include "treewin/PageHeaderDialog.h"
#include "treewin/PayoffRangeDialog.h"
#include "widgets/Shell.h"
#include "treewin/RankingsDialog.h"
#include "treewin/ReorderBranchesDialog.h"
#include "dialogs/RiskPreferenceDialogs.h"
#include "treewin/SelectNodesDialog.h"
#include "dialogs/SensitivityDialogs.h"
#include "treewin/StoredAnalysisDialogs.h"
#include "foundation/MessageBoxes.h"
#include "framework/draw/FontRecordFonts.h"
#include "framework/window/WindowEvent.h"
#include "graph/CEGraph.h"
#include "model/CloneCopies.h"
#include "model/DocumentVariableOps.h"
#include "model/NodeRef.h"
#include "model/StoredAnalysis.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "treewin/NodeMeasure.h"
#include "treewin/NoteBoxClipboard.h"
#include "treewin/TreeClipboard.h"
#include "treewin/TreeClipboardActions.h"
#include "treewin/TreeCommandHandlers.h"
#include "treewin/TreeCloneActions.h"
#include "treewin/TreeDisplayActions.h"
#include "treewin/TreeNoteActions.h"
#include "treewin/TreeStructureActions.h"
#include "treewin/TreeValueActions.h"

#include "CommandIds.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>

namespace {

unsigned Bit(int scope)
{
    return 1u << scope;
}

int SingleScope(unsigned mask)
{
    for (int scope = TreeWindow::ScopeNode; scope <= TreeWindow::ScopeArrow; ++scope)
        if (mask == Bit(scope))
            return scope;
    return 0;
}

bool AnyTerminalOrCopy(const NodeChildList& nodes)
{
    for (int i = 0; i < nodes.Count(); ++i)
        if (nodes.At(i)->IsTerminal() || nodes.At(i)->cloneStatus == CloneCopyNode)
            return true;
    return false;
}

// A lone node turning into an end node inside a Markov model needs the state it jumps to: a state of the
// Markov node jumps to itself, a node further down asks unless its target already names a state. False
// when the person cancels.
bool SettleJumpState(TreeNode* node)
{
    zString state;
    if (node->parent != nullptr && node->parent->kind == MarkovNode)
        state = node->text;
    else if (RunJumpToDialog(node, state, false) == 0)
        return false;
    node->SetMarkovJumpState(state.Text(), true);
    return true;
}

} // namespace

long TreeWindow::OnCommandId(unsigned id, unsigned code, HWND control)
{
    // Any command ends a half-made arrow, note box or note binding, also one the base window takes.
    ClickMode = 0;
    PendingNoteBinding = nullptr;
    // Save and Save As are the document window's, once the tree's rule allows them.
    if ((id == Cmd::FileSave || id == Cmd::FileSaveAs) && !CommandEnabled(static_cast<int>(id)))
        return 1;
    if (DocumentWindow::OnCommandId(id, code, control) != 0)
        return 1;
    return OnCommand(static_cast<int>(id));
}

using Handlers = TreeWindow::CommandHandlers;

void Handlers::Snapshot(TreeWindow& tree) { tree.SaveSnapshotCommand(); }
void Handlers::InPlaceTextChanged(TreeWindow& tree) { tree.InPlaceTextChanged(); }

void Handlers::DefineNewVariable(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr)
        tree.DefineNewVariable();
}

// The next press in the pane draws the note box (click mode 2) or the arrow (1).
void Handlers::CreateNote(TreeWindow& tree)
{
    if (!tree.CustomInterfaceShown && tree.document.RolledBack != RolledBackValues::Snapshot) {
        tree.ClearSelection();
        tree.ClickMode = 2;
    }
}

void Handlers::CreateArrow(TreeWindow& tree)
{
    if (!tree.CustomInterfaceShown && tree.document.RolledBack != RolledBackValues::Snapshot) {
        tree.ClearSelection();
        tree.ClickMode = 1;
    }
}

void Handlers::Font(TreeWindow& tree) { tree.ChangeFont(); }

void Handlers::BindNote(TreeWindow& tree)
{
    if (!tree.CustomInterfaceShown)
        tree.BindOrUnbindNote(tree.CurrentNode());
}

void Handlers::SkipGeneration(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr && tree.MayEditStructure())
        tree.AddUndoAction(new TreeSkipGenerationAction(&tree, tree.Selection, 1));
}

void Handlers::UnskipGeneration(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr && tree.MayEditStructure())
        tree.AddUndoAction(new TreeSkipGenerationAction(&tree, tree.Selection, -1));
}

void Handlers::CollapseSubtree(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr)
        tree.AddUndoAction(new TreeCollapseSubtreeAction(&tree, tree.Selection));
}

void Handlers::ExpandSubtreeOnce(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr)
        tree.AddUndoAction(new TreeExpandSubtreeAction(&tree, tree.Selection, false));
}

void Handlers::ExpandEntireSubtree(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr)
        tree.AddUndoAction(new TreeExpandSubtreeAction(&tree, tree.Selection, true));
}

void Handlers::HideRollBackBox(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr && tree.document.IsRolledBack())
        ToggleRollBackBox(tree, tree.CurrentNode());
}

void Handlers::ZoomIn(TreeWindow& tree) { ZoomByStep(tree, true); }
void Handlers::ZoomOut(TreeWindow& tree) { ZoomByStep(tree, false); }
void Handlers::NumericFormatting(TreeWindow& tree) { EditNumberFormats(tree); }
void Handlers::Preferences(TreeWindow& tree) { tree.EditPreferences(); }

void Handlers::Find(TreeWindow& tree)
{
    if (tree.FindReplace == nullptr) {
        tree.FindReplace = new FindReplaceWindow(&tree);
        tree.FindReplace->Show(-1);
    } else {
        tree.FindReplace->Activate();
    }
}

void Handlers::SelectIf(TreeWindow& tree) { SelectNodesDialog(tree).Run(); }

void Handlers::DesignCustomInterface(TreeWindow& tree)
{
    // A tree designs its first custom interface from empty settings.
    TreeDocument& document = tree.document;
    if (!document.CustomInterface)
        document.CustomInterface = std::make_unique<CustomInterfaceSettings>();
    if (CustomInterfaceDialog(tree, *document.CustomInterface).Run())
        tree.SetModified(1);
}

void Handlers::SelectSubtree(TreeWindow& tree)
{
    TreeNode* node = tree.CurrentNode();
    if (tree.Selection.Count() != 1 || tree.CustomInterfaceShown)
        return;
    if (tree.SubtreeSelection != 0)
        tree.UnhighlightSubtree();
    else if (node->cloneStatus != CloneCopyNode && node->childCount > 0 && !node->collapsed)
        tree.HighlightSubtree();
}

void Handlers::AddBranches(TreeWindow& tree) { tree.AddBranches(); }

void Handlers::InsertBranch(TreeWindow& tree)
{
    TreeNode* node = tree.CurrentNode();
    if (node == nullptr || !tree.MayEditStructure())
        return;
    InsertBranchDialog dialog(*node);
    const int mode = dialog.Run();
    // Above and below, the new node is one more branch of the parent.
    const bool besides = mode == TreeInsertBranchAction::Above || mode == TreeInsertBranchAction::Below;
    if (mode != 0 && (!besides || node->parent->CheckRoomForChildren(1)))
        tree.AddUndoAction(new TreeInsertBranchAction(&tree, node, mode));
}

void Handlers::ChangeNodeType(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr && tree.MayEditStructure())
        tree.ChangeNodeType();
}

void Handlers::ForcePath(TreeWindow& tree)
{
    TreeNode* node = tree.CurrentNode();
    if (node != nullptr && tree.MayEditStructure() && node->parent != nullptr)
        tree.AddUndoAction(new TreeForcePathAction(&tree, node));
}

void Handlers::DistributeChildren(TreeWindow& tree) { tree.DistributeChildren(); }
void Handlers::BayesRevision(TreeWindow& tree) { tree.StartBayesRevision(); }

void Handlers::ChangeOptimalPath(TreeWindow& tree)
{
    TreeNode* node = tree.CurrentNode();
    if (node != nullptr && tree.MayEditStructure() && node->IsDecision())
        ChangeOptimalPath(tree, node);
}

void Handlers::DeleteBranch(TreeWindow& tree)
{
    TreeNode* node = tree.CurrentNode();
    if (node != nullptr && tree.MayEditStructure() && node->parent != nullptr)
        DeleteBranch(tree, node);
}

void Handlers::MarkovBindings(TreeWindow& tree)
{
    TreeNode* node = tree.CurrentNode();
    MarkovBindingsDialog dialog(node, *node->MarkovBindings());
    if (!dialog.Run())
        return;
    // The jumps may lead elsewhere now: the values on the nodes are stale.
    node->ModelChanged();
    tree.SetModified(1);
    if (tree.document.DisplayPrefs.ShowMarkovInfo != 0)
        tree.RedrawNode(node, 2);
}

void Handlers::MarkovTransitionNode(TreeWindow& tree)
{
    zString state;
    if (RunJumpToDialog(tree.CurrentNode(), state, true) == 1)
        tree.AddUndoAction(new TreeMarkovJumpAction(&tree, tree.Selection, state.Text()));
}

void Handlers::ReorderBranches(TreeWindow& tree)
{
    TreeNode* node = tree.CurrentNode();
    if (node == nullptr || !tree.MayEditStructure() || node->childCount <= 1)
        return;
    ReorderBranchesDialog dialog(*node);
    if (dialog.Run())
        tree.AddUndoAction(new TreeReorderBranchesAction(&tree, node, dialog.order));
}

void Handlers::SelectChildAt(TreeWindow& tree, int child)
{
    TreeNode* node = tree.CurrentNode();
    if (tree.Selection.Count() == 1 && child < node->childCount)
        tree.SelectNode(node->GetChild(child), 1, nullptr, false);
}

void TreeWindow::ResetFindReplace()
{
    if (FindReplace != nullptr)
        FindReplace->ResetSearch();
}

bool TreeWindow::MayEditStructure() const
{
    return document.SuspendChildRefresh <= 0;
}

void TreeWindow::AddBranches()
{
    TreeNode* node = CurrentNode();
    if (node == nullptr || node->IsTerminal() || !MayEditStructure() ||
        (node->kind == LabelNode && node->childCount > 0))
        return;
    const bool several = node->childCount == 0 && node->kind != LabelNode;
    if (!node->CheckRoomForChildren(several ? document.DisplayPrefs.BranchesPerNode : 1))
        return;
    if (several)
        AddUndoAction(new TreeAddBranchesAction(this, node));
    else
        AddUndoAction(new TreeAddBranchAction(this, node));
}

void TreeWindow::PasteBranches()
{
    const std::shared_ptr<const TreeNode> entry = TheTreeClipboard().Share(-1);
    const int count = entry && entry->kind == 0 ? entry->childCount : 1;
    for (int i = 0; i < Selection.Count(); ++i)
        if (!Selection.At(i)->CheckRoomForChildren(count))
            return;
    AddUndoAction(new TreePasteAction(this, Selection));
}

void TreeWindow::ChangeFont()
{
    TreeNode* node = CurrentNode();
    if (node == nullptr && SelectedNote == nullptr) {
        FontRecord font = document.DisplayPrefs.TreeFont;
        if (EditFontRecord(font, handle_, ThePreferences().trueTypeFontsOnly))
            AddUndoAction(new TreeDocumentFontAction(this, font));
        return;
    }
    // The font belongs to the text being edited: a node's text, probability or second text, or the note's.
    const int part = EditField;
    if (part == 0 || (part == 3) != (node == nullptr))
        return;
    const bool subtree = SubtreeSelection != 0;
    if (subtree && AskYesNo(nullptr,
                            "Changing the font of the entire subtree is not undoable. To change the font of a single "
                            "node, deselect the subtree first.\n\nChange the font of all nodes in the subtree?",
                            0) != 1)
        return;
    if (!EditFontRecord(ChosenFont, handle_, ThePreferences().trueTypeFontsOnly))
        return;
    if (!subtree) {
        AddUndoAction(new TreeFontChangeAction(this, node, part, ChosenFont));
        return;
    }
    struct Change {
        int slot;
        const FontRecord* font;
    } change{part == 4 ? 2 : part - 1, &ChosenFont};
    WalkTreeWithSkip(node, [](TreeNode* each, void* arg) {
        const auto* c = static_cast<const Change*>(arg);
        each->SetFont(c->slot, c->font, true);
    }, &change, true);
    ClearUndoHistory();
    SetModified(1);
    RedrawNode(node, 1);
}

void TreeWindow::BindOrUnbindNote(TreeNode* node)
{
    if (SelectedNote == nullptr) {
        if (node != nullptr && Selection.Count() == 1 && !node->text2.IsEmpty())
            AddUndoAction(new TreeUnbindNoteAction(this, node));
        return;
    }
    PendingNoteBinding = SelectedNote;
    if (AskOkCancel(nullptr, "Your next click should be on the node to which you want the note box bound.", 0, 1) != 1)
        PendingNoteBinding = nullptr;
}

void Handlers::ChangeOptimalPath(TreeWindow& tree, TreeNode* node)
{
    const bool toReversed = node->kind == DecisionNode;
    const std::string question = std::string("Do you want to change the optimal path of the selected node(s) to be ") +
                                 (toReversed ? "opposite to" : "the same as") + " the default for this tree?";
    if (AskOkCancel(nullptr, question.c_str(), 0, 3) == 1)
        tree.AddUndoAction(new TreeChangeOptimalPathAction(&tree, tree.Selection,
                                                      toReversed ? ReversedDecisionNode : DecisionNode));
}

void Handlers::DeleteBranch(TreeWindow& tree, TreeNode* node)
{
    // The node's branches take its place among its parent's.
    if (!node->parent->CheckRoomForChildren(node->childCount - 1))
        return;
    if (node->cloneStatus == CloneMasterNode) {
        if (AskOkCancel(nullptr,
                        "This operation will destroy a clone master. This part of the operation is NOT undo-able.", 0,
                        2) != 1)
            return;
        tree.document.RemoveCloneMaster(node->cloneId, true);
        tree.ClearUndoHistory();
    }
    tree.AddUndoAction(new TreeDeleteBranchAction(&tree, node));
}

void Handlers::ToggleRollBackBox(TreeWindow& tree, TreeNode* node)
{
    uint8_t hidden = RollBackBoxHidden(node) ? 0 : 1;
    node->EnsureLinkBlock()->rollBackBoxHidden = hidden;
    ForEachCloneCounterpart(node, [](TreeNode* counterpart, TreeNode*, void* value) {
        counterpart->EnsureLinkBlock()->rollBackBoxHidden = *static_cast<uint8_t*>(value);
    }, &hidden);
    tree.InvalidateAll();
    tree.SetModified(1);
}

void Handlers::ZoomByStep(TreeWindow& tree, bool in)
{
    ZoomPane* pane = tree.DocChildWindow::Pane();
    if (pane == nullptr || !(in ? pane->CanZoomIn() : pane->CanZoomOut()))
        return;
    InPlaceEditState edit(tree);
    pane->ZoomStep(in);
    tree.ScrollSelectionIntoView();
    edit.Restore();
}

void TreeWindow::ChangeNodeType()
{
    const NodeChildList& selection = Selection;
    ChangeNodeTypeDialog dialog(*this, selection);
    const int kind = dialog.Run();
    bool inMarkov = false;
    for (int i = 0; i < selection.Count(); ++i)
        inMarkov = inMarkov || selection.At(i)->IsInMarkovSubtree();
    if (kind == TerminalNode && (!inMarkov || selection.Count() > 1)) {
        // Direct, so the history would no longer match the tree: it goes, after the person agrees.
        if (AskOkCancel(nullptr, "Changing the node type to terminal cannot be undone, and the undo history will be "
                                 "cleared. Do you want to continue?", 0, 3) != 1)
            return;
        ClearUndoHistory();
        InPlaceEditState edit(*this);
        for (int i = 0; i < selection.Count(); ++i)
            selection.At(i)->SetKind(TerminalNode, true);
        RedrawNodes(selection, 0);
        InvalidateAll();
        SetModified(1);
        edit.Restore();
        if (!inMarkov)
            PostCommand(Handle(), Cmd::ValuesChangePayoff);
        return;
    }
    if (kind < 0 || (kind == TerminalNode && !SettleJumpState(selection.At(0))))
        return;
    AddUndoAction(new TreeChangeNodeTypeAction(this, selection, kind));
}

void TreeWindow::EditPreferences()
{
    const TreeDisplayPrefs display = document.DisplayPrefs;
    const TreeCalcPrefs calc = document.CalcPrefs;
    bool relayout = false;
    if (TheShell().RunPreferences(*this, &relayout))
        AddUndoAction(new TreePreferencesAction(this, display, calc, relayout));
}

int TreeWindow::EditPageHeader()
{
    TreeDisplayPrefs& display = document.DisplayPrefs;
    PageHeaderDialog dialog(display.PageHeaderString, display.PageFooterString, display.PageHeaderFont,
                            display.PageFooterFont, display.PageHeaderLoc, display.PageFooterLoc);
    if (!dialog.Run())
        return 0;
    SetModified(1);
    return 1;
}

void Handlers::EditNumberFormats(TreeWindow& tree)
{
    TreeCalcPrefs& calc = tree.document.CalcPrefs;
    const int changed =
        calc.CalcMethod == CostEffectivenessMethod
            ? RunNumericFormatPrefsDialog(calc.CostEffFormat, calc.PayoffFormat(calc.CECostPayoff),
                                          calc.PayoffFormat(calc.CEEffPayoff), calc.CECostPayoff, calc.CEEffPayoff)
            : RunNumericFormatDialog(calc.CurrentNumericFormat(), static_cast<int>(calc.CalcMethod), calc.CurrentPayoff);
    if (changed == 0)
        return;
    // The results shown are written in the formats: their boxes are measured again.
    if (tree.document.IsRolledBack()) {
        tree.Redraw();
        tree.InvalidateAll();
    }
    tree.SetModified(1);
}

void Handlers::EnterRiskPreferences(TreeWindow& tree)
{
    if (tree.CustomInterfaceShown || tree.document.SuspendChildRefresh > 0 || tree.document.IsRolledBack() ||
        tree.document.CalcPrefs.CalcMethod != PayoffMethod)
        return;
    // The function is entered with utilities off; it is offered to be switched on when it was off.
    uint8_t& useUtility = tree.document.CalcPrefs.UseUtility;
    const uint8_t wasOn = useUtility;
    useUtility = 0;
    uint8_t after = wasOn;
    if (EnterRiskPreference(&tree.document) == 1) {
        tree.SetModified(1);
        if (wasOn == 0 && AskYesNo(nullptr, "Do you want to turn on the risk preference function now?", 0) == 1)
            after = 1;
    }
    useUtility = after;
    tree.document.UpdateStatusIndicators();
}

TreeWindow::EditMasks TreeWindow::ComputeEditMasks() const
{
    EditMasks masks;
    // The tree is hidden behind the custom interface: nothing of it is cut, copied, cleared or pasted.
    if (CustomInterfaceShown)
        return masks;
    TreeNode* node = CurrentNode();
    const bool subtreeFlag = SubtreeSelection != 0;
    // The root alone cannot be cut or cleared as a node.
    const bool mayCutNodes = document.ChildWindowCount <= 0 && document.SuspendChildRefresh <= 0 && node != nullptr &&
                             (node->parent != nullptr || subtreeFlag);
    if (InPlaceEditor != nullptr) {
        const EditCtrl::Selection selected = InPlaceEditor->GetSelection();
        if (selected.high > selected.low)
            masks.copy |= Bit(ScopeText);
    }
    if (SelectedNote != nullptr && InPlaceEditor == nullptr)
        masks.copy |= Bit(ScopeNote);
    if (SelectedArrow != nullptr)
        masks.copy |= Bit(ScopeArrow);
    if (!mayCutNodes)
        masks.cut = masks.clear = masks.copy;
    // A node with children is copied only through the subtree selection.
    if (node != nullptr) {
        if (subtreeFlag)
            masks.copy |= Bit(ScopeSubtree);
        else if (node->childCount == 0 || node->cloneStatus == CloneCopyNode)
            masks.copy |= Bit(ScopeNode);
    }
    if (mayCutNodes)
        masks.cut = masks.clear = masks.copy;
    if (InPlaceEditor != nullptr && IsClipboardFormatAvailable(CF_TEXT))
        masks.paste |= Bit(ScopeText);
    const TreeNode* stored = TheTreeClipboard().Get(-1);
    if (node != nullptr && stored != nullptr && document.SuspendChildRefresh <= 0 &&
        !AnyTerminalOrCopy(Selection))
        masks.paste |= stored->kind == 0 ? Bit(ScopeSubtree) : Bit(ScopeNode);
    if (node == nullptr && SelectedNote == nullptr && SelectedArrow == nullptr) {
        if (IsNoteBoxOnClipboard())
            masks.paste |= Bit(ScopeNote);
        if (TheTreeClipboard().Arrow() != nullptr)
            masks.paste |= Bit(ScopeArrow);
    }
    return masks;
}

void TreeWindow::UpdateEditMenuTexts(HMENU menu, bool popup) const
{
    static const char* const words[] = {"", "Node", "Subtree", "Text", "Note", "Arrow"};
    const EditMasks masks = ComputeEditMasks();
    const struct {
        unsigned id;
        unsigned mask;
    } items[] = {{Cmd::EditCut, masks.cut}, {Cmd::EditCopy, masks.copy}, {Cmd::EditClear, masks.clear},
                 {Cmd::EditPaste, masks.paste}};
    for (const auto& item : items) {
        EnableMenuItem(menu, item.id, MF_BYCOMMAND | (item.mask != 0 ? MF_ENABLED : MF_GRAYED));
        if (item.mask == 0 || (popup && item.id == Cmd::EditPaste))
            continue;
        const int scope = SingleScope(item.mask);
        const std::string text = EditItemText(item.id, scope != 0 ? words[scope] : nullptr, popup);
        ModifyMenuA(menu, item.id, MF_BYCOMMAND | MF_STRING, item.id, text.c_str());
    }
    if (popup) {
        EnableMenuItem(menu, Cmd::NodePasteText,
                       MF_BYCOMMAND | ((masks.paste & Bit(ScopeText)) ? MF_ENABLED : MF_GRAYED));
        EnableMenuItem(menu, Cmd::NodePasteNode, MF_BYCOMMAND |
                                       ((masks.paste & (Bit(ScopeNode) | Bit(ScopeSubtree))) ? MF_ENABLED : MF_GRAYED));
    }
}

void Handlers::PasteText(TreeWindow& tree)
{
    if ((tree.ComputeEditMasks().paste & Bit(ScopeText)) != 0)
        tree.EditInPlaceText(Cmd::EditPaste);
}

void Handlers::PasteNode(TreeWindow& tree)
{
    if ((tree.ComputeEditMasks().paste & (Bit(ScopeNode) | Bit(ScopeSubtree))) != 0)
        tree.PasteBranches();
}

void Handlers::Cut(TreeWindow& tree) { tree.EditWithScope(Cmd::EditCut); }
void Handlers::Copy(TreeWindow& tree) { tree.EditWithScope(Cmd::EditCopy); }
void Handlers::Paste(TreeWindow& tree) { tree.EditWithScope(Cmd::EditPaste); }
void Handlers::Clear(TreeWindow& tree) { tree.EditWithScope(Cmd::EditClear); }

void Handlers::CreateClone(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr && tree.MayEditStructure())
        tree.CreateOrDestroyClone(tree.CurrentNode());
}

void Handlers::AttachClone(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr && tree.MayEditStructure())
        tree.AttachOrDetachClone(tree.CurrentNode());
}

void Handlers::SelectClipboardSlot(int slot) { TheTreeClipboard().SelectSlot(slot); }
void Handlers::Links(TreeWindow& tree) { tree.ShowLinks(); }
void Handlers::CopySpecial(TreeWindow& tree) { tree.CopySpecial(); }
void Handlers::PasteLink(TreeWindow& tree) { tree.PasteLinkIntoEditor(); }
void Handlers::BreakLink(TreeWindow& tree) { tree.BreakLink(); }
void Handlers::Clones(TreeWindow& tree) { tree.ShowClones(); }

void TreeWindow::EditWithScope(int command)
{
    const EditMasks masks = ComputeEditMasks();
    const unsigned mask = command == Cmd::EditCut     ? masks.cut
                          : command == Cmd::EditCopy  ? masks.copy
                          : command == Cmd::EditPaste ? masks.paste
                                                      : masks.clear;
    if (mask == 0)
        return;
    int scope = SingleScope(mask);
    if (scope == 0) {
        EditScopeDialog dialog(static_cast<unsigned>(command), mask);
        scope = dialog.Run();
    }
    TreeNode* node = CurrentNode();
    const bool cut = command == Cmd::EditCut;
    switch (scope) {
    case ScopeNode:
    case ScopeSubtree:
        if (command == Cmd::EditCopy) {
            TheTreeClipboard().Store(node, -1);
        } else if (command == Cmd::EditPaste) {
            PasteBranches();
        } else if (ConfirmCloneMasterLoss(node)) {
            if (scope == ScopeNode)
                AddUndoAction(new TreeCutNodeAction(this, node, cut));
            else
                AddUndoAction(new TreeCutSubtreeAction(this, node, cut));
        }
        return;
    case ScopeText:
        EditInPlaceText(command);
        return;
    case ScopeNote:
        if (command == Cmd::EditCopy)
            PutNoteBoxOnClipboard(*SelectedNote);
        else if (command == Cmd::EditPaste)
            AddUndoAction(new TreePasteNoteAction(this));
        else
            AddUndoAction(new TreeCutNoteAction(this, cut));
        return;
    case ScopeArrow:
        if (command == Cmd::EditCopy)
            TheTreeClipboard().SetArrow(SelectedArrow);
        else if (command == Cmd::EditPaste)
            AddUndoAction(new TreePasteArrowAction(this));
        else if (cut)
            AddUndoAction(new TreeCutArrowAction(this));
        else
            AddUndoAction(new TreeClearArrowAction(this));
        return;
    default:
        return;
    }
}

int TreeWindow::ConfirmCloneMasterLoss(TreeNode* node)
{
    if (!node->ContainsCloneMaster())
        return 1;
    if (AskOkCancel(nullptr,
                    "This cut or clear operation will destroy one or more clone masters. This part of the operation is "
                    "NOT undo-able.",
                    0, 2) != 1)
        return 0;
    std::vector<int> ids;
    WalkTreeWithSkip(node, [](TreeNode* each, void* list) {
        if (each->cloneStatus == CloneMasterNode)
            static_cast<std::vector<int>*>(list)->push_back(each->cloneId);
    }, &ids, false);
    for (int id : ids)
        document.RemoveCloneMaster(id, true);
    ClearUndoHistory();
    return 1;
}

void TreeWindow::CreateOrDestroyClone(TreeNode* node)
{
    if (node->cloneStatus == CloneMasterNode) {
        ConfirmDestroyClone(node);
        return;
    }
    const std::string prompt =
        std::string("Enter a name for your clone master at ") + NodeMention(*node).Text() + ".";
    zString name;
    if (PromptForText(name, IsNewCloneName, static_cast<int32_t>(reinterpret_cast<intptr_t>(this)), "Create Clone",
                      prompt.c_str(), 30001, false) == 1)
        AddUndoAction(new TreeCloneMasterAction(this, node, name.Text()));
}

void TreeWindow::ConfirmDestroyClone(TreeNode* master)
{
    if (AskOkCancel("Destroy Clone", "Destroying this clone will detach it from all copies as well.", 30000, 2) == 1)
        AddUndoAction(new TreeCloneMasterAction(this, master));
}

void TreeWindow::AttachOrDetachClone(TreeNode* node)
{
    if (node->cloneStatus == CloneCopyNode) {
        const int answer = AskYesNoCancel(
            nullptr, "Do you want to keep an editable copy of the cloned subtree at the selected node?", 0);
        if (answer != 2)
            AddUndoAction(new TreeAttachCloneAction(this, node, answer == 1));
        return;
    }
    TreeNode* master = ChooseCloneMaster();
    if (master == nullptr)
        return;
    if (!CanAttachClone(Selection, master)) {
        ShowErrorBox(nullptr,
                     "Attaching a clone to its own master subtree indicates a recursion which KIVO does not support.",
                     0);
        return;
    }
    AddUndoAction(new TreeAttachCloneAction(this, Selection, master));
}

int TreeWindow::CanAttachClone(const NodeChildList& targets, const TreeNode* master)
{
    for (int i = 0; i < targets.Count(); ++i)
        if (CopyWouldContainItself(targets.At(i), master))
            return 0;
    return 1;
}

int TreeWindow::IsNewCloneName(const zString& name, int32_t window)
{
    auto* tree = reinterpret_cast<TreeWindow*>(static_cast<intptr_t>(window));
    if (!tree->Document().IsCloneNameUsed(name.Text()))
        return 1;
    ShowErrorBox(nullptr, "That clone name has already been used in this document.", 0);
    return 0;
}

TreeNode* TreeWindow::ChooseCloneMaster()
{
    const NodeRefList& masters = document.CloneMasters;
    if (masters.Count() <= 1)
        return masters.Count() == 1 ? masters.At(0)->node : nullptr;
    NameList names;
    for (int i = 0; i < masters.Count(); ++i)
        names.AddCopy(masters.At(i)->name);
    AttachCloneDialog dialog(names);
    const int choice = dialog.Run();
    return choice >= 0 ? masters.At(choice)->node : nullptr;
}

void Handlers::ExpectedValue(TreeWindow& tree)
{
    DisplayAnyVal(&tree.document, Cmd::AnalysisExpectedValue, tree.Selection);
}

void Handlers::PathProbability(TreeWindow& tree)
{
    DisplayAnyVal(&tree.document, Cmd::AnalysisPathProbability, tree.Selection);
}

void Handlers::StandardDeviation(TreeWindow& tree)
{
    DisplayAnyVal(&tree.document, Cmd::AnalysisStandardDeviation, tree.Selection);
}

void Handlers::PerfectInformation(TreeWindow& tree)
{
    DisplayAnyVal(&tree.document, Cmd::AnalysisExpectedValueOfPerfectInfo, tree.Selection);
}

void Handlers::MarkovAnalysis(TreeWindow& tree)
{
    if (tree.CurrentNode() == nullptr)
        return;
    auto analysis = std::make_unique<::MarkovAnalysis>(&tree.document, tree.CurrentNode(), 0);
    if (analysis->Run())
        new MarkovAnalysisWindow(std::move(analysis));
}

void Handlers::OverUnder(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr)
        OverUnderDialog::Run(tree.CurrentNode());
}

void Handlers::ShowOptimalPath(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr)
        ShowOptimalPath(tree, tree.CurrentNode());
}

void Handlers::Threshold(TreeWindow& tree)
{
    TreeNode* node = tree.CurrentNode();
    if (node == nullptr)
        return;
    ThresholdDialog dialog(&tree.document, node);
    if (dialog.Run() != 0)
        RunAnalysis(std::make_unique<ThresholdAnalysis>(node, dialog.Threshold()));
}

void Handlers::MonteCarlo(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr)
        RunMonteCarlo(tree.CurrentNode());
}

void Handlers::OneWay(TreeWindow& tree)
{
    // One analysis at a time, and a variable to vary.
    TreeNode* node = tree.CurrentNode();
    TreeDocument& document = tree.document;
    if (node == nullptr || document.CurrentAnalysis != nullptr || document.Variables.Count() < 1)
        return;
    SensitivityDialog dialog(&document, node);
    if (dialog.Run() == 0)
        return;
    auto analysis = std::make_unique<OneWaySensitivityAnalysis>(node, dialog.settings);
    // The risk coefficient has no correlations; a cancelled chooser runs nothing.
    if (analysis->riskCoefficient != 0 || GatherCorrelatedRanges(document, analysis->ranges))
        RunAnalysis(std::move(analysis));
}

void Handlers::ProbabilityDistribution(TreeWindow& tree)
{
    RunProbabilityDistribution(&tree.document, tree.Selection, nullptr);
}

void Handlers::PayoffRange(TreeWindow& tree)
{
    if (tree.CurrentNode() != nullptr)
        ShowPayoffRange(tree, tree.CurrentNode());
}

void Handlers::Rankings(TreeWindow& tree)
{
    TreeNode* node = tree.CurrentNode();
    if (node != nullptr && RollBackWithWait(tree, node)) {
        RankingsDialog(node).Run();
        tree.document.SetStoredAnalysis(MakeNodeValueRecord(node, Cmd::AnalysisRankings, 0));
    }
}

void Handlers::CostEffectiveness(TreeWindow& tree) { ShowCostEffectiveness(tree, tree.CurrentNode()); }
void Handlers::TwoWay(TreeWindow& tree) { StartSensitivity(tree, Cmd::AnalysisTwoWay, tree.CurrentNode()); }
void Handlers::ThreeWay(TreeWindow& tree) { StartSensitivity(tree, Cmd::AnalysisThreeWay, tree.CurrentNode()); }
void Handlers::Tornado(TreeWindow& tree) { StartSensitivity(tree, Cmd::AnalysisTornadoDiagram, tree.CurrentNode()); }

void Handlers::SaveLastAnalysis(TreeWindow& tree)
{
    TreeDocument& document = tree.document;
    // The list owns the record once it is saved.
    if (document.LastAnalysis != nullptr &&
        SaveAnalysisDialog(&document, document.LastAnalysis, document.StoredAnalyses()).Run())
        document.LastAnalysis = nullptr;
}

void Handlers::RunOldAnalysis(TreeWindow& tree) { RunStoredAnalyses(tree, false); }
void Handlers::CustomInterfaceAnalyze(TreeWindow& tree) { RunStoredAnalyses(tree, true); }

void Handlers::MaintainAnalyses(TreeWindow& tree)
{
    StoredAnalysesDialog(&tree.document, tree.document.StoredAnalyses()).Run();
}

void Handlers::VerifyProbabilities(TreeWindow& tree) { PresentOutcome(CheckTreeProbabilities(tree.document)); }

void Handlers::RollBack(TreeWindow& tree)
{
    TreeDocument& document = tree.document;
    if (document.IsRolledBack()) {
        document.EndRolledBack();
        return;
    }
    RunAnalysis(std::make_unique<RollBackAnalysis>(&document));
    // Edits made before the results were shown are not taken back over them.
    if (document.IsRolledBack())
        tree.ClearUndoHistory();
}

void Handlers::StartSensitivity(TreeWindow& tree, int command, TreeNode* node)
{
    // One analysis at a time; two- and three-way analyses compare the branches of a decision.
    const int needed = command == Cmd::AnalysisThreeWay ? 3 : 2;
    if (tree.document.CurrentAnalysis != nullptr || tree.document.Variables.Count() < needed)
        return;
    if (command == Cmd::AnalysisTornadoDiagram) {
        // With nothing selected the diagram is for the whole tree.
        RunAnalysis(std::make_unique<TornadoDiagram>(&tree.document, node != nullptr ? node : tree.document.Root));
        return;
    }
    if (node == nullptr || !node->IsDecision())
        return;
    // The correlated variables of X, then Y (then Z) are chosen in turn; Cancel in any runs nothing.
    std::unique_ptr<RegionSweepRun> analysis;
    if (command == Cmd::AnalysisTwoWay) {
        TwoWaySensitivityDialog dialog(&tree.document, node);
        if (dialog.Run() == 0)
            return;
        analysis = std::make_unique<TwoWaySensitivityAnalysis>(node, dialog.Settings());
    } else {
        ThreeWaySensitivityDialog dialog(&tree.document, node);
        if (dialog.Run() == 0)
            return;
        analysis = std::make_unique<ThreeWaySensitivityAnalysis>(node, dialog.Settings());
    }
    for (int a = 0; a < analysis->AxisCount(); ++a) {
        if (!GatherCorrelatedRanges(tree.document, analysis->AxisRanges(a)))
            return;
    }
    RunAnalysis(std::move(analysis));
}

bool Handlers::RollBackWithWait(TreeWindow& tree, TreeNode* node)
{
    RunFault error;
    WaitCursorScope wait;
    RollBackTree(node, &error, 0);
    return !error;
}

void Handlers::GraphRiskPreference(TreeWindow& tree)
{
    RiskPrefAssessment& risk = tree.document.RiskAssessment;
    int form = 0;
    if (risk.constantAssessed && risk.pointsAssessed) {
        RiskPrefGraphDialog dialog;
        if (!dialog.Run())
            return;
        form = dialog.IsConstantRiskAversion() ? 1 : 2;
    }
    // The graph is drawn with the chosen function on; the tree keeps its own settings.
    const auto useUtility = tree.document.CalcPrefs.UseUtility;
    const int32_t type = risk.type;
    if (form != 0)
        risk.type = form;
    tree.document.CalcPrefs.UseUtility = 1;
    ShowRiskPreferenceGraph(&tree.document);
    tree.document.CalcPrefs.UseUtility = useUtility;
    risk.type = type;
}

void Handlers::ShowPayoffRange(TreeWindow& tree, TreeNode* node)
{
    double lowest = std::numeric_limits<double>::max();
    double highest = -std::numeric_limits<double>::max();
    RunFault error;
    {
        WaitCursorScope wait;
        RangeOfEndValues(node, &lowest, &highest, &error);
    }
    if (error)
        return;
    PayoffRangeDialog(node, lowest, highest).Run();
    tree.document.SetStoredAnalysis(MakeNodeValueStoredRecord(tree.Selection, Cmd::AnalysisPayoffRange, 0));
}

void Handlers::ShowCostEffectiveness(TreeWindow& tree, TreeNode* node)
{
    if (!tree.document.IsCostEffectiveness() || node == nullptr || !node->IsDecision()) {
        ShowErrorBox(nullptr,
                     "You must set the calculation method to Cost-Effectiveness and select a decision node first.", 0);
        return;
    }
    if (!RollBackWithWait(tree, node))
        return;
    const int effectivenessOnX = RunCEAnalysisDialog();
    if (effectivenessOnX < 0)
        return;
    auto* graph = new CEGraph(node, effectivenessOnX);
    graph->Layout();
    graph->Show(SW_SHOWNORMAL);
    tree.document.SetStoredAnalysis(MakeNodeValueRecord(node, Cmd::AnalysisCostEffectiveness, 1));
}

void Handlers::RunStoredAnalyses(TreeWindow& tree, bool customInterfaceForm)
{
    RunStoredAnalysisDialog dialog(&tree.document, tree.document.StoredAnalyses(), customInterfaceForm);
    if (!dialog.Run() || dialog.SelectedCount() == 0)
        return;
    // Linked from the last to the first, so that the chain runs in list order.
    StoredAnalysis* chain = nullptr;
    for (int i = dialog.SelectedCount() - 1; i >= 0; --i) {
        StoredAnalysis* record = dialog.Selected(i);
        record->next = chain;
        chain = record;
    }
    RunStoredAnalysis(chain, &tree.document);
}

void Handlers::ShowOptimalPath(TreeWindow& tree, TreeNode* node)
{
    if (CheckRiskPreference(&tree.document, nullptr) != 1 || !RollBackWithWait(tree, node) ||
        node->optimal == nullptr || node->optimal->Count() == 0)
        return;
    tree.ClearSelection();
    for (int i = 0; i < node->optimal->Count(); ++i)
        tree.SelectNode(node->optimal->At(i), 1, nullptr, i > 0);
}
