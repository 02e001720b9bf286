// The commands of a tree window: display and selection commands, note boxes and arrows, fonts, zoom and the
// tree's preferences. The Edit menu's commands are in TreeEditCommands.cpp, the structure edits in
// TreeStructureCommands.cpp, the Analysis menu in TreeAnalysisCommands.cpp. Every handler checks its own
// condition: a command may come from a key, the tool bar or a script while its menu item would be grayed.

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
#include "model/CloneCopies.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreeCommandHandlers.h"
#include "treewin/TreeDisplayActions.h"
#include "treewin/TreeNoteActions.h"
#include "treewin/TreeSnapshot.h"
#include "treewin/TreeValueActions.h"

#include "CommandIds.h"

#include <memory>

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

void Handlers::Snapshot(TreeWindow& tree) { SnapshotFiles::SaveSnapshotCommand(tree); }
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

void Handlers::BindNote(TreeWindow& tree)
{
    if (!tree.CustomInterfaceShown)
        BindOrUnbindNote(tree, tree.CurrentNode());
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

void Handlers::Font(TreeWindow& tree)
{
    TreeNode* node = tree.CurrentNode();
    if (node == nullptr && tree.SelectedNote == nullptr) {
        FontRecord font = tree.document.DisplayPrefs.TreeFont;
        if (EditFontRecord(font, tree.Handle(), ThePreferences().trueTypeFontsOnly))
            tree.AddUndoAction(new TreeDocumentFontAction(&tree, font));
        return;
    }
    // The font belongs to the text being edited: a node's text, probability or second text, or the note's.
    const int part = tree.EditField;
    if (part == 0 || (part == 3) != (node == nullptr))
        return;
    const bool subtree = tree.SubtreeSelection != 0;
    if (subtree && AskYesNo(nullptr,
                            "Changing the font of the entire subtree is not undoable. To change the font of a single "
                            "node, deselect the subtree first.\n\nChange the font of all nodes in the subtree?",
                            0) != 1)
        return;
    if (!EditFontRecord(tree.ChosenFont, tree.Handle(), ThePreferences().trueTypeFontsOnly))
        return;
    if (!subtree) {
        tree.AddUndoAction(new TreeFontChangeAction(&tree, node, part, tree.ChosenFont));
        return;
    }
    struct Change {
        int slot;
        const FontRecord* font;
    } change{part == 4 ? 2 : part - 1, &tree.ChosenFont};
    WalkTreeWithSkip(node, [](TreeNode* each, void* arg) {
        const auto* c = static_cast<const Change*>(arg);
        each->SetFont(c->slot, c->font, true);
    }, &change, true);
    tree.ClearUndoHistory();
    tree.SetModified(1);
    tree.RedrawNode(node, 1);
}

void Handlers::BindOrUnbindNote(TreeWindow& tree, TreeNode* node)
{
    if (tree.SelectedNote == nullptr) {
        if (node != nullptr && tree.Selection.Count() == 1 && !node->text2.IsEmpty())
            tree.AddUndoAction(new TreeUnbindNoteAction(&tree, node));
        return;
    }
    tree.PendingNoteBinding = tree.SelectedNote;
    if (AskOkCancel(nullptr, "Your next click should be on the node to which you want the note box bound.", 0, 1) != 1)
        tree.PendingNoteBinding = nullptr;
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
