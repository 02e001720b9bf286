#include "treewin/TreeCloneActions.h"

#include "model/CloneCopies.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

TreeCloneMasterAction::TreeCloneMasterAction(TreeWindow* tree, TreeNode* node, const char* cloneName)
    : TreeAction(tree, "Create Clone"), cloneName(cloneName), creates(true)
{
    RecordPath(node, path);
}

TreeCloneMasterAction::TreeCloneMasterAction(TreeWindow* tree, TreeNode* node)
    : TreeAction(tree, "Destroy Clone"), creates(false)
{
    RecordPath(node, path);
}

void TreeCloneMasterAction::Create()
{
    TreeNode* node = ResolvePath(path);
    if (node == nullptr || node->cloneStatus != NotCloned)
        return;
    tree->Document().AddCloneMaster(node, cloneName.Text());
    NodeChildList copies(4, Ownership::Borrows);
    ResolvePaths(copyPaths, copies);
    for (int i = 0; i < copies.Count(); ++i)
        CopyCloneMaster(copies.At(i), node, nullptr);
    copyPaths.Clear();
    Refresh(node);
}

void TreeCloneMasterAction::Destroy()
{
    TreeNode* node = ResolvePath(path);
    if (node == nullptr || node->cloneStatus != CloneMasterNode)
        return;
    TreeDocument& document = tree->Document();
    document.CloneName(node->cloneId, cloneName);
    NodeChildList copies(4, Ownership::Borrows);
    CollectCloneCopies(document.Root, node->cloneId, copies);
    copyPaths.Clear();
    RecordPaths(copies, copyPaths);
    document.RemoveCloneMaster(node->cloneId, true);
    Refresh(node);
}

void TreeCloneMasterAction::Refresh(TreeNode* node)
{
    tree->ClearSelection();
    tree->Redraw();
    tree->SelectNode(node, 1, nullptr, false);
}

TreeAttachCloneAction::TreeAttachCloneAction(TreeWindow* tree, const NodeChildList& nodes, TreeNode* master)
    : TreeAction(tree, "Attach Clone"), attaches(true)
{
    RecordPaths(nodes, paths);
    RecordPath(master, masterPath);
}

TreeAttachCloneAction::TreeAttachCloneAction(TreeWindow* tree, TreeNode* copy, bool keepSubtree)
    : TreeAction(tree, "Detach Clone"), attaches(false), keepSubtree(keepSubtree)
{
    NodeChildList nodes(4, Ownership::Borrows);
    nodes.Add(copy);
    RecordPaths(nodes, paths);
}

void TreeAttachCloneAction::Attach()
{
    TreeNode* master = ResolvePath(masterPath);
    if (master == nullptr || master->cloneStatus != CloneMasterNode)
        return;
    NodeChildList nodes(4, Ownership::Borrows);
    ResolvePaths(paths, nodes);
    NodeChildList redrawn(4, Ownership::Borrows);
    for (int i = 0; i < nodes.Count(); ++i) {
        CopyCloneMaster(nodes.At(i), master, &redrawn);
        if (!redrawn.Contains(nodes.At(i)))
            redrawn.Add(nodes.At(i));
    }
    Refresh(redrawn, 1);
    tree->SelectNodes(nodes);
}

void TreeAttachCloneAction::Detach()
{
    NodeChildList nodes(4, Ownership::Borrows);
    ResolvePaths(paths, nodes);
    if (nodes.Count() == 0)
        return;
    TreeNode* master = tree->Document().FindCloneMaster(nodes.At(0)->cloneId);
    if (master != nullptr)
        RecordPath(master, masterPath);
    for (int i = 0; i < nodes.Count(); ++i) {
        TreeNode* node = nodes.At(i);
        node->ClearCloneCopy();
        if (keepSubtree && master != nullptr) {
            for (int k = 0; k < master->childCount; ++k) {
                auto* branch = new TreeNode(*master->GetChild(k), true);
                node->InsertChildOrThrow(branch, -1);
            }
        }
    }
    // A copy inside a master changes the master's shape.
    tree->ClearSelection();
    RedrawEdited(nodes, 1);
    tree->SelectNodes(nodes);
}

void TreeAttachCloneAction::Refresh(const NodeChildList& nodes, int mode)
{
    tree->ClearSelection();
    tree->RedrawNodes(nodes, mode);
}
