#include "treewin/TreeClipboardActions.h"

#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "model/VariableDefinition.h"
#include "treewin/TreeClipboard.h"
#include "treewin/TreeWindow.h"

namespace {

// A copy of the entry belonging to the document.
TreeNode* CopyInto(TreeDocument& document, const TreeNode& entry)
{
    auto* copy = new TreeNode(entry, true);
    ForEachInSubtree(copy, [&document](TreeNode* node) { node->SetDocument(&document); });
    return copy;
}

} // namespace

TreePasteAction::TreePasteAction(TreeWindow* tree, const NodeChildList& targets)
    : TreeAction(tree, "Paste Node"), entry(TheTreeClipboard().Share(-1)), subtree(entry && entry->kind == 0),
      addAbove(tree->Document().DisplayPrefs.AddAbove)
{
    if (subtree)
        name = "Paste Subtree";
    RecordPaths(targets, paths);
    // The variables bound in the pasted branches become the document's.
    if (entry)
        ForEachInSubtree(entry.get(), [tree](const TreeNode* node) {
            for (int i = 0; i < node->BindingCount(); ++i)
                tree->Document().EnsureVariable(node->GetBinding(i)->name.Text(), nullptr);
        });
}

TreePasteAction::~TreePasteAction()
{
    for (std::unique_ptr<TreeNode>& holder : held)
        DiscardHeldNodes(holder.release());
}

void TreePasteAction::Do()
{
    NodeChildList targets(4, Ownership::Borrows);
    ResolvePaths(paths, targets);
    if (!entry)
        return;
    // After an undo the nodes it took out go back, when they still match the targets.
    const bool reuse = held.size() == static_cast<size_t>(targets.Count());
    for (int i = 0; i < targets.Count(); ++i) {
        TreeNode* target = targets.At(i);
        const int index = addAbove ? 0 : target->childCount;
        if (reuse) {
            held[static_cast<size_t>(i)]->MoveChildrenTo(target, index);
            continue;
        }
        TreeNode* copy = CopyInto(tree->Document(), *entry);
        if (subtree) {
            copy->MoveChildrenTo(target, index);
            delete copy;
        } else {
            target->InsertChildOrThrow(copy, index);
        }
    }
    held.clear();
    // Pasting on top moves the later targets among the earlier ones' branches: their paths change.
    paths.Clear();
    RecordPaths(targets, paths);
    Refresh(targets);
}

void TreePasteAction::Undo()
{
    NodeChildList targets(4, Ownership::Borrows);
    ResolvePaths(paths, targets);
    if (!entry)
        return;
    const int count = subtree ? entry->childCount : 1;
    held.clear();
    tree->ResetFindReplace();
    for (int i = 0; i < targets.Count(); ++i) {
        TreeNode* target = targets.At(i);
        auto holder = std::make_unique<TreeNode>();
        const int taken = count < target->childCount ? count : target->childCount;
        const int first = addAbove ? 0 : target->childCount - taken;
        for (int k = 0; k < taken; ++k) {
            TreeNode* child = target->GetChild(first);
            target->RemoveChild(child);
            holder->InsertChildOrThrow(child, -1);
        }
        held.push_back(std::move(holder));
    }
    paths.Clear();
    RecordPaths(targets, paths);
    Refresh(targets);
}

void TreePasteAction::Refresh(const NodeChildList& targets)
{
    tree->ClearSelection();
    RedrawEdited(targets, 1);
    tree->SelectNodes(targets);
}

TreeCutNodeAction::TreeCutNodeAction(TreeWindow* tree, TreeNode* node, bool cut)
    : TreeRemovalAction(tree, cut ? "Cut Node" : "Clear Node", node), slot(TheTreeClipboard().Current()), cut(cut)
{
}

void TreeCutNodeAction::Do()
{
    TreeNode* parent = TakeOut();
    if (parent == nullptr)
        return;
    if (cut) {
        TreeClipboard& clipboard = TheTreeClipboard();
        savedEntry.reset(clipboard.Fetch(slot));
        clipboard.Store(removed, slot);
    }
    RefreshNode(parent, 0, parent);
    tree->ResetFindReplace();
}

void TreeCutNodeAction::Undo()
{
    TreeNode* parent = PlaceToPutBack(0);
    if (parent == nullptr)
        return;
    TreeNode* restored = PutBack(parent);
    if (cut)
        TheTreeClipboard().Store(savedEntry.get(), slot);
    RefreshNode(restored, 2, restored);
}

TreeCutSubtreeAction::TreeCutSubtreeAction(TreeWindow* tree, TreeNode* node, bool cut)
    : TreeAction(tree, cut ? "Cut Subtree" : "Clear Subtree"), holder(std::make_unique<TreeNode>()),
      slot(TheTreeClipboard().Current()), cut(cut)
{
    holder->kind = 0;
    RecordPath(node, path);
}

TreeCutSubtreeAction::~TreeCutSubtreeAction()
{
    DiscardHeldNodes(holder.release());
}

void TreeCutSubtreeAction::Do()
{
    TreeNode* node = ResolvePath(path);
    if (node == nullptr)
        return;
    if (cut) {
        TreeClipboard& clipboard = TheTreeClipboard();
        savedEntry.reset(clipboard.Fetch(slot));
        clipboard.Store(node, slot);
    }
    node->MoveChildrenTo(holder.get(), -1);
    RefreshNode(node, 0, node);
    tree->ResetFindReplace();
}

void TreeCutSubtreeAction::Undo()
{
    TreeNode* node = ResolvePath(path);
    if (node == nullptr)
        return;
    holder->MoveChildrenTo(node, -1);
    if (cut)
        TheTreeClipboard().Store(savedEntry.get(), slot);
    RefreshNode(node, 1, node);
}
