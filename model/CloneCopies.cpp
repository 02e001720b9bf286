#include "model/CloneCopies.h"

#include "model/NodePath.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "model/TreeDocument.h"

#include <vector>


TreeNode* CloneMasterAbove(const TreeNode* node)
{
    for (TreeNode* ancestor = node->parent; ancestor != nullptr; ancestor = ancestor->parent) {
        if (ancestor->cloneStatus == CloneMasterNode)
            return ancestor;
    }
    return nullptr;
}

bool TreeNode::IsInCloneMaster() const
{
    return CloneMasterAbove(this) != nullptr;
}

bool TreeNode::IsInCloneCopy() const
{
    for (const TreeNode* ancestor = parent; ancestor != nullptr; ancestor = ancestor->parent) {
        if (ancestor->cloneStatus == CloneCopyNode)
            return true;
    }
    return false;
}

TreeNode* TreeNode::CloneCopyRoot()
{
    for (TreeNode* ancestor = parent; ancestor != nullptr; ancestor = ancestor->parent) {
        if (ancestor->cloneStatus == CloneCopyNode)
            return ancestor;
    }
    return this;
}

bool TreeNode::ContainsCloneMaster() const
{
    bool found = false;
    WalkTreeWithSkip(const_cast<TreeNode*>(this), [](TreeNode* node, void* flag) {
        if (node->cloneStatus == CloneMasterNode)
            *static_cast<bool*>(flag) = true;
    }, &found, false);
    return found;
}

void TreeNode::ClearCloneCopy()
{
    while (childCount > 0) {
        TreeNode* child = GetChild(childCount - 1);
        RemoveChild(child);
        delete child;
    }
    cloneStatus = NotCloned;
    cloneId = -1;
}

void TreeNode::RemoveCloneCopiesOf(int id)
{
    NodeChildList copies(4, Ownership::Borrows);
    CollectCloneCopies(this, id, copies);
    for (int i = 0; i < copies.Count(); ++i) {
        TreeNode* copy = copies.At(i);
        // A copy nested in an earlier copy is gone once that one is cleared.
        bool nested = false;
        for (int k = 0; k < i && !nested; ++k)
            nested = copy->IsDescendantOf(copies.At(k));
        if (!nested)
            copy->ClearCloneCopy();
    }
}

namespace {

struct CopySearch {
    int id;
    NodeChildList* list;
};

// The copies with the id in pre-order; intoCopies also searches the contents of copies.
void CollectCopies(TreeNode* root, int id, NodeChildList& list, bool intoCopies)
{
    CopySearch search{id, &list};
    WalkTreeWithSkip(root, [](TreeNode* node, void* arg) {
        auto* state = static_cast<CopySearch*>(arg);
        if (node->cloneStatus == CloneCopyNode && node->cloneId == state->id)
            state->list->Add(node);
    }, &search, intoCopies);
}

}  // namespace

void CollectCloneCopies(TreeNode* root, int id, NodeChildList& list)
{
    CollectCopies(root, id, list, true);
}

bool CopyWouldContainItself(const TreeNode* node, const TreeNode* master)
{
    if (node == master || node->IsDescendantOf(master))
        return true;
    // A copy of a master at or above the node, somewhere in the master's subtree (copies' contents
    // included), would be refreshed from the node's own new contents again and again.
    std::vector<int> idsAbove;
    if (node->cloneStatus == CloneMasterNode)
        idsAbove.push_back(node->cloneId);
    for (const TreeNode* above = CloneMasterAbove(node); above != nullptr; above = CloneMasterAbove(above))
        idsAbove.push_back(above->cloneId);
    std::vector<const TreeNode*> pending{master};
    while (!pending.empty()) {
        const TreeNode* current = pending.back();
        pending.pop_back();
        if (current->cloneStatus == CloneCopyNode)
            for (int id : idsAbove)
                if (current->cloneId == id)
                    return true;
        for (int i = 0; i < current->childCount; ++i)
            pending.push_back(current->GetChild(i));
    }
    return false;
}

bool CopyCloneMaster(TreeNode* node, TreeNode* master, NodeChildList* list, bool refreshAbove)
{
    if (master == nullptr)
        return true;
    if (CopyWouldContainItself(node, master))
        return false;
    node->cloneStatus = CloneCopyNode;
    node->cloneId = master->cloneId;
    while (node->childCount > 0) {
        TreeNode* child = node->GetChild(node->childCount - 1);
        node->RemoveChild(child);
        delete child;
    }
    TreeNode* temporary = new TreeNode(*master, true);
    temporary->SetDocument(node->document);
    temporary->MoveChildrenTo(node, -1);
    delete temporary;
    if (refreshAbove)
        UpdateCopiesOfMastersAbove(node, list);
    return true;
}

bool UpdateCopiesOfMastersAbove(TreeNode* node, NodeChildList* list)
{
    if (node->document == nullptr)
        return false;
    bool found = false;
    TreeNode* master = node->cloneStatus == CloneMasterNode ? node : CloneMasterAbove(node);
    for (; master != nullptr; master = CloneMasterAbove(master)) {
        found = true;
        NodeChildList copies(4, Ownership::Borrows);
        CollectCopies(node->document->Root, master->cloneId, copies, false);
        for (int i = 0; i < copies.Count(); ++i) {
            TreeNode* copy = copies.At(i);
            if (list != nullptr && !list->Contains(copy))
                list->Add(copy);
            CopyCloneMaster(copy, master, list);
        }
    }
    return found;
}

void UpdateCloneCopies(TreeNode* node, bool refreshAbove)
{
    const bool wholeTree = node->document != nullptr && node == node->document->Root;
    const bool eachAbove = refreshAbove && !wholeTree;
    ForEachInSubtree(node, [eachAbove](TreeNode* current) {
        if (current->cloneStatus == CloneCopyNode && current->document != nullptr)
            CopyCloneMaster(current, current->document->FindCloneMaster(current->cloneId), nullptr, eachAbove);
    });
}

void ForEachCloneCounterpart(TreeNode* node, CounterpartFunction fn, void* arg)
{
    if (node->document == nullptr)
        return;
    for (TreeNode* master = CloneMasterAbove(node); master != nullptr; master = CloneMasterAbove(master)) {
        zString path;
        NodePathString(node, path, master->parent);
        NodeChildList copies(4, Ownership::Borrows);
        CollectCloneCopies(node->document->Root, master->cloneId, copies);
        for (int i = 0; i < copies.Count(); ++i) {
            TreeNode* counterpart = FindNodeByPath(copies.At(i), path.Text());
            if (counterpart == nullptr || counterpart == node)
                continue;
            fn(counterpart, node, arg);
            ForEachCloneCounterpart(counterpart, fn, arg);
        }
    }
}
