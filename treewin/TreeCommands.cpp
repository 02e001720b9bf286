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
#include "app/EditMenuTexts.h"
#include "app/CursorStack.h"
#include "app/FrameCommands.h"
#include "app/InputHelpers.h"
#include "app/InPlaceEdit.h"
#include "app/ProgramPreferences.h"
#include "app/ZoomPane.h"
#include "app/PromptDialog.h"
#include "dialogs/AttachCloneDialog.h"
#include "dialogs/CEAnalysisDialog.h"
#include "dialogs/ChangeNodeTypeDialog.h"
#include "dialogs/CorrelationsDialog.h"
#include "dialogs/CustomInterfaceDialog.h"
#include "dialogs/EditScopeDialog.h"
#include "dialogs/FindReplaceWindow.h"
#include "dialogs/InsertBranchDialog.h"
#include "dialogs/JumpToDialog.h"
#include "dialogs/MarkovAnalysisWindow.h"
#include "dialogs/MarkovBindingsDialog.h"
#include "dialogs/MonteCarloDialogs.h"
#include "dialogs/NodeValueDialogs.h"
#include "dialogs/NumericFormatDialog.h"
#include "dialogs/PageHeaderDialog.h"
#include "dialogs/PayoffRangeDialog.h"
#include "dialogs/PreferencesDialog.h"
#include "dialogs/RankingsDialog.h"
#include "dialogs/ReorderBranchesDialog.h"
#include "dialogs/RiskPreferenceDialogs.h"
#include "dialogs/SelectNodesDialog.h"
#include "dialogs/SensitivityDialogs.h"
#include "dialogs/StoredAnalysisDialogs.h"
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

int TreeWindow::OnStructureCommand(int command)
{
    TreeNode* node = CurrentNode();
    const NodeChildList& selection = Selection;
    const bool mayEdit = node != nullptr && MayEditStructure();
    switch (command) {
    case Cmd::FileSnapshot:
        SaveSnapshotCommand();
        return 1;
    case Cmd::InPlaceTextChanged:
        InPlaceTextChanged();
        return 1;
    case Cmd::NodeDefineNewVariable:
        if (node != nullptr)
            DefineNewVariable();
        return 1;
    case Cmd::DisplayCreateNote:
    case Cmd::DisplayCreateArrow:
        // The next press in the pane draws the note box or the arrow.
        if (!CustomInterfaceShown && document.RolledBack != RolledBackValues::Snapshot) {
            ClearSelection();
            ClickMode = command == Cmd::DisplayCreateNote ? 2 : 1;
        }
        return 1;
    case Cmd::DisplayFont:
        ChangeFont();
        return 1;
    case Cmd::DisplayBindNote:
        if (!CustomInterfaceShown)
            BindOrUnbindNote(node);
        return 1;
    case Cmd::DisplaySkipGeneration:
    case Cmd::DisplayUnskipGeneration:
        if (mayEdit)
            AddUndoAction(
                new TreeSkipGenerationAction(this, selection, command == Cmd::DisplaySkipGeneration ? 1 : -1));
        return 1;
    case Cmd::DisplayCollapseSubtree:
        if (node != nullptr)
            AddUndoAction(new TreeCollapseSubtreeAction(this, selection));
        return 1;
    case Cmd::DisplayExpandSubtreeOnce:
    case Cmd::DisplayExpandEntireSubtree:
        if (node != nullptr)
            AddUndoAction(new TreeExpandSubtreeAction(this, selection, command == Cmd::DisplayExpandEntireSubtree));
        return 1;
    case Cmd::NodeHideRollBackBox:
        if (node != nullptr && document.IsRolledBack())
            ToggleRollBackBox(node);
        return 1;
    case Cmd::DisplayZoomIn:
    case Cmd::DisplayZoomOut:
        ZoomByStep(command == Cmd::DisplayZoomIn);
        return 1;
    case Cmd::OptionsEnterRiskPreferences:
        EnterRiskPreferences();
        return 1;
    case Cmd::DisplayNumericFormatting:
        EditNumberFormats();
        return 1;
    case Cmd::DisplayPreferences:
        EditPreferences();
        return 1;
    case Cmd::OptionsFind:
        if (FindReplace == nullptr) {
            FindReplace = new FindReplaceWindow(this);
            FindReplace->Show(-1);
        } else {
            FindReplace->Activate();
        }
        return 1;
    case Cmd::OptionsSelectIf:
        SelectNodesDialog(*this).Run();
        return 1;
    case Cmd::OptionsDesignCustomInterface:
        // A tree designs its first custom interface from empty settings.
        if (!document.CustomInterface)
            document.CustomInterface = std::make_unique<CustomInterfaceSettings>();
        if (CustomInterfaceDialog(*this, *document.CustomInterface).Run())
            SetModified(1);
        return 1;
    case Cmd::OptionsSelectSubtree:
        if (selection.Count() == 1 && !CustomInterfaceShown) {
            if (SubtreeSelection != 0)
                UnhighlightSubtree();
            else if (node->cloneStatus != CloneCopyNode && node->childCount > 0 && !node->collapsed)
                HighlightSubtree();
        }
        return 1;
    case Cmd::OptionsAddBranches:
        AddBranches();
        return 1;
    case Cmd::OptionsInsertBranch:
        if (mayEdit) {
            InsertBranchDialog dialog(*node);
            const int mode = dialog.Run();
            // Above and below, the new node is one more branch of the parent.
            const bool besides = mode == TreeInsertBranchAction::Above || mode == TreeInsertBranchAction::Below;
            if (mode != 0 && (!besides || node->parent->CheckRoomForChildren(1)))
                AddUndoAction(new TreeInsertBranchAction(this, node, mode));
        }
        return 1;
    case Cmd::OptionsChangeNodeType:
        if (mayEdit)
            ChangeNodeType();
        return 1;
    case Cmd::OptionsForcePath:
        if (mayEdit && node->parent != nullptr)
            AddUndoAction(new TreeForcePathAction(this, node));
        return 1;
    case Cmd::OptionsDistributeChildren:
        DistributeChildren();
        return 1;
    case Cmd::OptionsBayesRevision:
        StartBayesRevision();
        return 1;
    case Cmd::OptionsChangeOptimalPath:
        if (mayEdit && node->IsDecision())
            ChangeOptimalPath(node);
        return 1;
    case Cmd::OptionsDeleteBranch:
        if (mayEdit && node->parent != nullptr)
            DeleteBranch(node);
        return 1;
    case Cmd::OptionsMarkovBindings: {
        MarkovBindingsDialog dialog(node, *node->MarkovBindings());
        if (dialog.Run()) {
            // The jumps may lead elsewhere now: the values on the nodes are stale.
            node->ModelChanged();
            SetModified(1);
            if (document.DisplayPrefs.ShowMarkovInfo != 0)
                RedrawNode(node, 2);
        }
        return 1;
    }
    case Cmd::OptionsMarkovTransitionNode: {
        zString state;
        if (RunJumpToDialog(node, state, true) == 1)
            AddUndoAction(new TreeMarkovJumpAction(this, selection, state.Text()));
        return 1;
    }
    case Cmd::OptionsReorderBranches:
        if (mayEdit && node->childCount > 1) {
            ReorderBranchesDialog dialog(*node);
            if (dialog.Run())
                AddUndoAction(new TreeReorderBranchesAction(this, node, dialog.order));
        }
        return 1;
    default:
        break;
    }
    if (command >= static_cast<int>(Cmd::SelectChild1) && command <= static_cast<int>(Cmd::SelectChild9)) {
        const int child = command - static_cast<int>(Cmd::SelectChild1);
        if (selection.Count() == 1 && child < node->childCount)
            SelectNode(node->GetChild(child), 1, nullptr, false);
        return 1;
    }
    return 0;
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

void TreeWindow::ChangeOptimalPath(TreeNode* node)
{
    const bool toReversed = node->kind == DecisionNode;
    const std::string question = std::string("Do you want to change the optimal path of the selected node(s) to be ") +
                                 (toReversed ? "opposite to" : "the same as") + " the default for this tree?";
    if (AskOkCancel(nullptr, question.c_str(), 0, 3) == 1)
        AddUndoAction(new TreeChangeOptimalPathAction(this, Selection,
                                                      toReversed ? ReversedDecisionNode : DecisionNode));
}

void TreeWindow::DeleteBranch(TreeNode* node)
{
    // The node's branches take its place among its parent's.
    if (!node->parent->CheckRoomForChildren(node->childCount - 1))
        return;
    if (node->cloneStatus == CloneMasterNode) {
        if (AskOkCancel(nullptr,
                        "This operation will destroy a clone master. This part of the operation is NOT undo-able.", 0,
                        2) != 1)
            return;
        document.RemoveCloneMaster(node->cloneId, true);
        ClearUndoHistory();
    }
    AddUndoAction(new TreeDeleteBranchAction(this, node));
}

void TreeWindow::ToggleRollBackBox(TreeNode* node)
{
    uint8_t hidden = RollBackBoxHidden(node) ? 0 : 1;
    node->EnsureLinkBlock()->rollBackBoxHidden = hidden;
    ForEachCloneCounterpart(node, [](TreeNode* counterpart, TreeNode*, void* value) {
        counterpart->EnsureLinkBlock()->rollBackBoxHidden = *static_cast<uint8_t*>(value);
    }, &hidden);
    InvalidateAll();
    SetModified(1);
}

void TreeWindow::ZoomByStep(bool in)
{
    ZoomPane* pane = DocChildWindow::Pane();
    if (pane == nullptr || !(in ? pane->CanZoomIn() : pane->CanZoomOut()))
        return;
    InPlaceEditState edit(*this);
    pane->ZoomStep(in);
    ScrollSelectionIntoView();
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
    PreferencesDialog dialog(*this);
    if (dialog.Run())
        AddUndoAction(new TreePreferencesAction(this, display, calc, dialog.Relayout()));
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

void TreeWindow::EditNumberFormats()
{
    TreeCalcPrefs& calc = document.CalcPrefs;
    const int changed =
        calc.CalcMethod == CostEffectivenessMethod
            ? RunNumericFormatPrefsDialog(calc.CostEffFormat, calc.PayoffFormat(calc.CECostPayoff),
                                          calc.PayoffFormat(calc.CEEffPayoff), calc.CECostPayoff, calc.CEEffPayoff)
            : RunNumericFormatDialog(calc.CurrentNumericFormat(), static_cast<int>(calc.CalcMethod),
                                     calc.CurrentPayoff);
    if (changed == 0)
        return;
    // The results shown are written in the formats: their boxes are measured again.
    if (document.IsRolledBack()) {
        Redraw();
        InvalidateAll();
    }
    SetModified(1);
}

void TreeWindow::EnterRiskPreferences()
{
    if (CustomInterfaceShown || document.SuspendChildRefresh > 0 || document.IsRolledBack() ||
        document.CalcPrefs.CalcMethod != PayoffMethod)
        return;
    // The function is entered with utilities off; it is offered to be switched on when it was off.
    uint8_t& useUtility = document.CalcPrefs.UseUtility;
    const uint8_t wasOn = useUtility;
    useUtility = 0;
    uint8_t after = wasOn;
    if (EnterRiskPreference(&document) == 1) {
        SetModified(1);
        if (wasOn == 0 && AskYesNo(nullptr, "Do you want to turn on the risk preference function now?", 0) == 1)
            after = 1;
    }
    useUtility = after;
    document.UpdateStatusIndicators();
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

int TreeWindow::OnEditMenuCommand(int command)
{
    TreeNode* node = CurrentNode();
    switch (command) {
    case Cmd::NodePasteText:
        if ((ComputeEditMasks().paste & Bit(ScopeText)) != 0)
            EditInPlaceText(Cmd::EditPaste);
        return 1;
    case Cmd::NodePasteNode:
        if ((ComputeEditMasks().paste & (Bit(ScopeNode) | Bit(ScopeSubtree))) != 0)
            PasteBranches();
        return 1;
    case Cmd::EditCut:
    case Cmd::EditCopy:
    case Cmd::EditPaste:
    case Cmd::EditClear:
        EditWithScope(command);
        return 1;
    case Cmd::EditCreateClone:
        if (node != nullptr && MayEditStructure())
            CreateOrDestroyClone(node);
        return 1;
    case Cmd::EditAttachClone:
        if (node != nullptr && MayEditStructure())
            AttachOrDetachClone(node);
        return 1;
    case Cmd::EditTreeClipboard1:
    case Cmd::EditTreeClipboard2:
    case Cmd::EditTreeClipboard3:
    case Cmd::EditTreeClipboard4:
        TheTreeClipboard().SelectSlot(command - Cmd::EditTreeClipboard1);
        return 1;
    case Cmd::EditLinks:
        ShowLinks();
        return 1;
    case Cmd::EditCopySpecial:
        CopySpecial();
        return 1;
    case Cmd::EditPasteLink:
        PasteLinkIntoEditor();
        return 1;
    case Cmd::EditBreakLink:
        BreakLink();
        return 1;
    case Cmd::EditClones:
        ShowClones();
        return 1;
    default:
        return 0;
    }
}

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

int TreeWindow::DispatchAnalysis(int command)
{
    TreeNode* node = CurrentNode();
    switch (command) {
    case Cmd::AnalysisExpectedValue:
    case Cmd::AnalysisPathProbability:
    case Cmd::AnalysisStandardDeviation:
    case Cmd::AnalysisExpectedValueOfPerfectInfo:
        DisplayAnyVal(&document, command, Selection);
        return 1;
    case Cmd::AnalysisMarkovAnalysis:
        if (node != nullptr) {
            auto analysis = std::make_unique<MarkovAnalysis>(&document, node, 0);
            if (analysis->Run())
                new MarkovAnalysisWindow(std::move(analysis));
        }
        return 1;
    case Cmd::AnalysisOverUnder:
        if (node != nullptr)
            OverUnderDialog::Run(node);
        return 1;
    case Cmd::AnalysisShowOptimalPath:
        if (node != nullptr)
            ShowOptimalPath(node);
        return 1;
    case Cmd::AnalysisThresholdAnalysis:
        if (node != nullptr) {
            ThresholdDialog dialog(&document, node);
            if (dialog.Run() != 0)
                RunAnalysis(std::make_unique<ThresholdAnalysis>(node, dialog.Threshold()));
        }
        return 1;
    case Cmd::AnalysisMonteCarloSimulation:
        if (node != nullptr)
            RunMonteCarlo(node);
        return 1;
    case Cmd::AnalysisOneWay:
        // One analysis at a time, and a variable to vary.
        if (node != nullptr && document.CurrentAnalysis == nullptr && document.Variables.Count() >= 1) {
            SensitivityDialog dialog(&document, node);
            if (dialog.Run() == 0)
                return 1;
            auto analysis = std::make_unique<OneWaySensitivityAnalysis>(node, dialog.settings);
            // The risk coefficient has no correlations; a cancelled chooser runs nothing.
            if (analysis->riskCoefficient != 0 || GatherCorrelatedRanges(document, analysis->ranges))
                RunAnalysis(std::move(analysis));
        }
        return 1;
    case Cmd::AnalysisProbabilityDistribution:
        RunProbabilityDistribution(&document, Selection, nullptr);
        return 1;
    case Cmd::AnalysisGraphRiskPreferenceFunction:
        GraphRiskPreference();
        return 1;
    case Cmd::AnalysisPayoffRange:
        if (node != nullptr)
            ShowPayoffRange(node);
        return 1;
    case Cmd::AnalysisRankings:
        if (node != nullptr && RollBackWithWait(node)) {
            RankingsDialog(node).Run();
            document.SetStoredAnalysis(MakeNodeValueRecord(node, command, 0));
        }
        return 1;
    case Cmd::AnalysisCostEffectiveness:
        ShowCostEffectiveness(node);
        return 1;
    case Cmd::AnalysisTwoWay:
    case Cmd::AnalysisThreeWay:
    case Cmd::AnalysisTornadoDiagram:
        StartSensitivity(command, node);
        return 1;
    case Cmd::AnalysisSaveLast:
        if (document.LastAnalysis != nullptr) {
            // The list owns the record once it is saved.
            if (SaveAnalysisDialog(&document, document.LastAnalysis, document.StoredAnalyses()).Run())
                document.LastAnalysis = nullptr;
        }
        return 1;
    case Cmd::AnalysisRunOldAnalysis:
    case Cmd::CustomInterfaceAnalyze:
        RunStoredAnalyses(command == Cmd::CustomInterfaceAnalyze);
        return 1;
    case Cmd::AnalysisMaintainAnalyses:
        StoredAnalysesDialog(&document, document.StoredAnalyses()).Run();
        return 1;
    case Cmd::AnalysisVerifyProbabilities:
        PresentOutcome(CheckTreeProbabilities(document));
        return 1;
    case Cmd::AnalysisRollBack:
        if (!document.IsRolledBack()) {
            RunAnalysis(std::make_unique<RollBackAnalysis>(&document));
            // Edits made before the results were shown are not taken back over them.
            if (document.IsRolledBack())
                ClearUndoHistory();
        } else {
            document.EndRolledBack();
        }
        return 1;
    default:
        return 0;
    }
}

void TreeWindow::StartSensitivity(int command, TreeNode* node)
{
    // One analysis at a time; two- and three-way analyses compare the branches of a decision.
    const int needed = command == Cmd::AnalysisThreeWay ? 3 : 2;
    if (document.CurrentAnalysis != nullptr || document.Variables.Count() < needed)
        return;
    if (command == Cmd::AnalysisTornadoDiagram) {
        // With nothing selected the diagram is for the whole tree.
        RunAnalysis(std::make_unique<TornadoDiagram>(&document, node != nullptr ? node : document.Root));
        return;
    }
    if (node == nullptr || !node->IsDecision())
        return;
    // The correlated variables of X, then Y (then Z) are chosen in turn; Cancel in any runs nothing.
    std::unique_ptr<RegionSweepRun> analysis;
    if (command == Cmd::AnalysisTwoWay) {
        TwoWaySensitivityDialog dialog(&document, node);
        if (dialog.Run() == 0)
            return;
        analysis = std::make_unique<TwoWaySensitivityAnalysis>(node, dialog.Settings());
    } else {
        ThreeWaySensitivityDialog dialog(&document, node);
        if (dialog.Run() == 0)
            return;
        analysis = std::make_unique<ThreeWaySensitivityAnalysis>(node, dialog.Settings());
    }
    for (int a = 0; a < analysis->AxisCount(); ++a) {
        if (!GatherCorrelatedRanges(document, analysis->AxisRanges(a)))
            return;
    }
    RunAnalysis(std::move(analysis));
}

bool TreeWindow::RollBackWithWait(TreeNode* node)
{
    RunFault error;
    WaitCursorScope wait;
    RollBackTree(node, &error, 0);
    return !error;
}

void TreeWindow::GraphRiskPreference()
{
    RiskPrefAssessment& risk = document.RiskAssessment;
    int form = 0;
    if (risk.constantAssessed && risk.pointsAssessed) {
        RiskPrefGraphDialog dialog;
        if (!dialog.Run())
            return;
        form = dialog.IsConstantRiskAversion() ? 1 : 2;
    }
    // The graph is drawn with the chosen function on; the tree keeps its own settings.
    const auto useUtility = document.CalcPrefs.UseUtility;
    const int32_t type = risk.type;
    if (form != 0)
        risk.type = form;
    document.CalcPrefs.UseUtility = 1;
    ShowRiskPreferenceGraph(&document);
    document.CalcPrefs.UseUtility = useUtility;
    risk.type = type;
}

void TreeWindow::ShowPayoffRange(TreeNode* node)
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
    document.SetStoredAnalysis(MakeNodeValueStoredRecord(Selection, Cmd::AnalysisPayoffRange, 0));
}

void TreeWindow::ShowCostEffectiveness(TreeNode* node)
{
    if (!document.IsCostEffectiveness() || node == nullptr || !node->IsDecision()) {
        ShowErrorBox(nullptr,
                     "You must set the calculation method to Cost-Effectiveness and select a decision node first.", 0);
        return;
    }
    if (!RollBackWithWait(node))
        return;
    const int effectivenessOnX = RunCEAnalysisDialog();
    if (effectivenessOnX < 0)
        return;
    auto* graph = new CEGraph(node, effectivenessOnX);
    graph->Layout();
    graph->Show(SW_SHOWNORMAL);
    document.SetStoredAnalysis(MakeNodeValueRecord(node, Cmd::AnalysisCostEffectiveness, 1));
}

void TreeWindow::RunStoredAnalyses(bool customInterfaceForm)
{
    RunStoredAnalysisDialog dialog(&document, document.StoredAnalyses(), customInterfaceForm);
    if (!dialog.Run() || dialog.SelectedCount() == 0)
        return;
    // Linked from the last to the first, so that the chain runs in list order.
    StoredAnalysis* chain = nullptr;
    for (int i = dialog.SelectedCount() - 1; i >= 0; --i) {
        StoredAnalysis* record = dialog.Selected(i);
        record->next = chain;
        chain = record;
    }
    RunStoredAnalysis(chain, &document);
}

void TreeWindow::ShowOptimalPath(TreeNode* node)
{
    if (CheckRiskPreference(&document, nullptr) != 1 || !RollBackWithWait(node) || node->optimal == nullptr ||
        node->optimal->Count() == 0)
        return;
    ClearSelection();
    for (int i = 0; i < node->optimal->Count(); ++i)
        SelectNode(node->optimal->At(i), 1, nullptr, i > 0);
}
