// The structure edits of a tree window (the Options menu): branches added, inserted, deleted, pasted and
// reordered, node types and forced paths changed, Markov jumps and bindings set. Each edit waits while
// roll-back results are shown, and becomes one undoable step.

#include "treewin/TreeWindow.h"

#include "widgets/InputHelpers.h"
#include "treewin/ChangeNodeTypeDialog.h"
#include "treewin/InsertBranchDialog.h"
#include "treewin/JumpToDialog.h"
#include "treewin/MarkovBindingsDialog.h"
#include "treewin/ReorderBranchesDialog.h"
#include "foundation/MessageBoxes.h"
#include "model/TreeNode.h"
#include "treewin/TreeClipboard.h"
#include "treewin/TreeClipboardActions.h"
#include "treewin/TreeCommandHandlers.h"
#include "treewin/TreeStructureActions.h"
#include "treewin/TreeValueActions.h"

#include "CommandIds.h"

#include <memory>
#include <string>

namespace {

// A lone node turning into an end node inside a Markov model needs the state it jumps to: a state of the
// Markov node jumps to itself, a node further down asks unless its target already names a state. False
// when the person cancels.
bool SettleJumpState(TreeNode* node, zString& state)
{
    if (node->parent != nullptr && node->parent->kind == MarkovNode)
        state = node->text;
    else if (RunJumpToDialog(node, state, false) == 0)
        return false;
    return true;
}

} // namespace

using Handlers = TreeWindow::CommandHandlers;

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
        ChooseNodeType(tree);
}

void Handlers::ForcePath(TreeWindow& tree)
{
    TreeNode* node = tree.CurrentNode();
    if (node != nullptr && tree.MayEditStructure() && node->parent != nullptr)
        tree.AddUndoAction(new TreeForcePathAction(&tree, node));
}

void Handlers::DistributeChildren(TreeWindow& tree) { tree.DistributeChildren(); }

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

void Handlers::PasteBranches(TreeWindow& tree)
{
    const std::shared_ptr<const TreeNode> entry = TheTreeClipboard().Share(-1);
    const int count = entry && entry->kind == 0 ? entry->childCount : 1;
    for (int i = 0; i < tree.Selection.Count(); ++i)
        if (!tree.Selection.At(i)->CheckRoomForChildren(count))
            return;
    tree.AddUndoAction(new TreePasteAction(&tree, tree.Selection));
}

void Handlers::ChooseNodeType(TreeWindow& tree)
{
    const NodeChildList& selection = tree.Selection;
    ChangeNodeTypeDialog dialog(tree, selection);
    const int kind = dialog.Run();
    bool inMarkov = false;
    for (int i = 0; i < selection.Count(); ++i)
        inMarkov = inMarkov || selection.At(i)->IsInMarkovSubtree();
    if (kind == TerminalNode && (!inMarkov || selection.Count() > 1)) {
        // Direct, so the history would no longer match the tree: it goes, after the person agrees.
        if (AskOkCancel(nullptr, "Changing the node type to terminal cannot be undone, and the undo history will be "
                                 "cleared. Do you want to continue?", 0, 3) != 1)
            return;
        tree.ClearUndoHistory();
        InPlaceEditState edit(tree);
        // The change every other way makes, applied outside the history.
        TreeChangeNodeTypeAction(&tree, selection, TerminalNode).Do();
        tree.InvalidateAll();
        tree.SetModified(1);
        edit.Restore();
        if (!inMarkov)
            PostCommand(tree.Handle(), Cmd::ValuesChangePayoff);
        return;
    }
    if (kind < 0)
        return;
    zString state;
    if (kind == TerminalNode && !SettleJumpState(selection.At(0), state))
        return;
    tree.AddUndoAction(
        new TreeChangeNodeTypeAction(&tree, selection, kind, kind == TerminalNode ? state.Text() : nullptr));
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
