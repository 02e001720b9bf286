#include "treewin/TreeStructureActions.h"

#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include <utility>

TreeInsertBranchAction::TreeInsertBranchAction(TreeWindow* tree, TreeNode* node, int mode)
    : TreeAction(tree, "Insert Branch"), mode(mode)
{
    RecordPath(node, path);
}

void TreeInsertBranchAction::Do()
{
    TreeNode* node = ResolvePath(path);
    if (node == nullptr)
        return;
    TreeNode* parent = node->parent;
    // Above and below need a parent; the commands offer them only off the root.
    if (parent == nullptr && (mode == Above || mode == Below))
        return;
    TreeDocument& document = tree->Document();
    auto* inserted = new TreeNode(&document);
    if (mode == ToLeft) {
        if (parent == nullptr) {
            document.ShapeChanging(node);
            document.Root = inserted;
        } else {
            const int index = parent->IndexOfChild(node);
            parent->RemoveChild(node);
            parent->InsertChildOrThrow(inserted, index);
        }
        inserted->InsertChildOrThrow(node, -1);
    } else if (mode == ToRight) {
        node->MoveChildrenTo(inserted, -1);
        node->InsertChildOrThrow(inserted, -1);
    } else {
        parent->InsertChildOrThrow(inserted, parent->IndexOfChild(node) + (mode == Below ? 1 : 0));
    }
    RefreshNode(mode == Above || mode == Below ? parent : inserted, 2, inserted);
}

void TreeInsertBranchAction::Undo()
{
    TreeNode* node = ResolvePath(path);
    if (node == nullptr)
        return;
    TreeNode* inserted = node;
    TreeNode* original = node;
    if (mode == ToLeft) {
        if (inserted->childCount != 1)
            return;
        original = inserted->GetChild(0);
        inserted->RemoveChild(original);
        TreeNode* parent = inserted->parent;
        if (parent == nullptr) {
            tree->Document().ShapeChanging(inserted, inserted);
            tree->Document().Root = original;
        } else {
            const int index = parent->IndexOfChild(inserted);
            parent->RemoveChild(inserted);
            parent->InsertChildOrThrow(original, index);
        }
    } else if (mode == ToRight) {
        if (node->childCount != 1)
            return;
        inserted = node->GetChild(0);
        node->RemoveChild(inserted);
        inserted->MoveChildrenTo(node, -1);
    } else {
        TreeNode* parent = node->parent;
        if (parent == nullptr)
            return;
        if (mode == Below) {
            inserted = node->NextSibling();
            if (inserted == nullptr)
                return;
        } else {
            original = node->NextSibling();
        }
        parent->RemoveChild(inserted);
    }
    delete inserted;
    if (original != nullptr)
        RefreshNode(original, 2, original);
}

TreeDeleteBranchAction::TreeDeleteBranchAction(TreeWindow* tree, TreeNode* node)
    : TreeRemovalAction(tree, "Delete Branch", node), childCount(node->childCount)
{
}

void TreeDeleteBranchAction::Do()
{
    // Built on the root, the action has no parent (index -1) and changes nothing.
    TreeNode* parent = TakeOut();
    if (parent == nullptr)
        return;
    removed->MoveChildrenTo(parent, index);
    RefreshNode(parent, 2, parent);
}

void TreeDeleteBranchAction::Undo()
{
    TreeNode* parent = PlaceToPutBack(childCount);
    if (parent == nullptr)
        return;
    for (int i = 0; i < childCount; ++i) {
        TreeNode* child = parent->GetChild(index);
        parent->RemoveChild(child);
        removed->InsertChildOrThrow(child, -1);
    }
    TreeNode* restored = PutBack(parent);
    RefreshNode(restored, 2, restored);
}

TreeAddBranchAction::TreeAddBranchAction(TreeWindow* tree, TreeNode* node)
    : TreeAddBranchAction(tree, node, "Add Branch", 1)
{
}

TreeAddBranchAction::TreeAddBranchAction(TreeWindow* tree, TreeNode* node, const char* name, int count)
    : TreeAction(tree, name), count(count), addAbove(tree->Document().DisplayPrefs.AddAbove)
{
    RecordPath(node, path);
}

void TreeAddBranchAction::Do()
{
    TreeNode* node = ResolvePath(path);
    if (node == nullptr)
        return;
    for (int i = 0; i < count; ++i)
        node->InsertChildOrThrow(new TreeNode(&tree->Document()), addAbove ? 0 : -1);
    RefreshNode(node, 2, node);
}

void TreeAddBranchAction::Undo()
{
    TreeNode* node = ResolvePath(path);
    if (node == nullptr)
        return;
    // The branches about to be freed may be selected.
    tree->ClearSelection();
    for (int i = 0; i < count && node->childCount > 0; ++i) {
        TreeNode* child = node->GetChild(addAbove ? 0 : node->childCount - 1);
        node->RemoveChild(child);
        delete child;
    }
    RefreshNode(node, 0, node);
}

TreeAddBranchesAction::TreeAddBranchesAction(TreeWindow* tree, TreeNode* node)
    : TreeAddBranchAction(tree, node, "Add Branches", tree->Document().DisplayPrefs.BranchesPerNode)
{
}

namespace {

bool KindHasProbabilities(int kind)
{
    return kind == ChanceNode || kind == MarkovNode || kind == LogicNode;
}

} // namespace

TreeChangeNodeTypeAction::TreeChangeNodeTypeAction(TreeWindow* tree, const NodeChildList& nodes, int newKind,
                                                   const char* jumpState)
    : TreeAction(tree, "Change Node Type"), newKind(newKind), setsJump(jumpState != nullptr),
      jumpState(jumpState != nullptr ? jumpState : "")
{
    records.resize(static_cast<size_t>(nodes.Count()));
    for (int n = 0; n < nodes.Count(); ++n) {
        TreeNode* node = nodes.At(n);
        Record& record = records[static_cast<size_t>(n)];
        RecordPath(node, record.path);
        record.oldKind = node->kind;
        if (!KindHasProbabilities(newKind))
            record.probabilities = std::make_unique<ChildProbabilities>(node, true);
        record.hadPayoffs = node->HasPayoffs();
        const PayoffSlots& payoffs = node->payoffs;
        for (int i = 0; i < 4 && record.hadPayoffs; ++i)
            record.payoffs[i] = payoffs[i];
        if (setsJump) {
            record.oldJumpState = node->markovInfo != nullptr ? node->markovInfo->jumpName : zString();
            markov.Keep(node);
        }
    }
}

void TreeChangeNodeTypeAction::Do() { SetKinds(false); }

void TreeChangeNodeTypeAction::Undo() { SetKinds(true); }

void TreeChangeNodeTypeAction::SetKinds(bool undo)
{
    NodeChildList nodes(4, Ownership::Borrows);
    NodeChildList children(4, Ownership::Borrows);
    for (size_t n = 0; n < records.size(); ++n) {
        const Record& record = records[n];
        TreeNode* node = ResolvePath(record.path);
        if (node == nullptr)
            continue;
        const int kind = undo ? record.oldKind : newKind;
        node->SetKind(kind, true);
        if (record.probabilities != nullptr)
            record.probabilities->Apply(node, !undo, &children);
        if (setsJump) {
            node->SetMarkovJumpState((undo ? record.oldJumpState : jumpState).Text(), true);
            if (undo)
                markov.GiveBack(node, static_cast<int>(n));
        }
        for (int i = 0; i < 4 && record.hadPayoffs && undo; ++i)
            node->payoffs[i] = record.payoffs[i];
        // A terminal node given back sets its own payoffs again, so clone copies receive them.
        for (int i = 0; i < 4 && undo && kind == TerminalNode && record.hadPayoffs; ++i)
            node->SetPayoffText(record.payoffs[i].Text().Text(), i, true);
        nodes.Add(node);
    }
    Refresh(nodes, children);
}

void TreeChangeNodeTypeAction::Refresh(const NodeChildList& nodes, const NodeChildList& children)
{
    tree->ClearSelection();
    NodeChildList redrawn(4, Ownership::Borrows);
    for (int i = 0; i < nodes.Count(); ++i)
        redrawn.Add(nodes.At(i));
    for (int i = 0; i < children.Count(); ++i)
        redrawn.Add(children.At(i));
    tree->RedrawNodes(redrawn, 0);
    for (int i = 0; i < nodes.Count(); ++i)
        tree->SelectNode(nodes.At(i), 1, nullptr, i > 0);
}

TreeReorderBranchesAction::TreeReorderBranchesAction(TreeWindow* tree, TreeNode* node, std::vector<int> order)
    : TreeAction(tree, "Reorder Branches"), order(std::move(order))
{
    RecordPath(node, path);
}

void TreeReorderBranchesAction::Do()
{
    TreeNode* node = ResolvePath(path);
    const int count = static_cast<int>(order.size());
    if (node == nullptr || node->childCount != count)
        return;
    std::vector<TreeNode*> old;
    for (int i = 0; i < count; ++i)
        old.push_back(node->GetChild(i));
    std::vector<int> inverse(order.size(), 0);
    for (int k = 0; k < count; ++k) {
        if (order[k] < 0 || order[k] >= count)
            return;
        inverse[order[k]] = k;
    }
    for (TreeNode* child : old)
        node->RemoveChild(child);
    for (int k = 0; k < count; ++k)
        node->InsertChildOrThrow(old[order[k]], -1);
    order = std::move(inverse);
    RefreshNode(node, 2, node);
}

TreeForcePathAction::TreeForcePathAction(TreeWindow* tree, TreeNode* child)
    : TreeAction(tree, "Force Path"), oldKind(child->parent->kind), childCount(child->parent->childCount),
      probabilities(child->parent, true)
{
    RecordPath(child, path);
    const int forced = child->parent->IndexOfChild(child);
    for (int i = 0; i < probabilities.replacement.Count(); ++i)
        *probabilities.replacement.At(i) = i == forced ? "1" : "0";
}

TreeNode* TreeForcePathAction::Parent() const
{
    TreeNode* child = ResolvePath(path);
    return child != nullptr ? child->parent : nullptr;
}

void TreeForcePathAction::Do()
{
    TreeNode* parent = Parent();
    if (parent == nullptr)
        return;
    probabilities.Apply(parent, true, nullptr);
    parent->SetKind(LogicNode, true);
    Refresh(parent);
}

// A parent whose branches changed since is left alone.
void TreeForcePathAction::Undo()
{
    TreeNode* parent = Parent();
    if (parent == nullptr || parent->childCount != childCount)
        return;
    probabilities.Apply(parent, false, nullptr);
    parent->SetKind(oldKind, true);
    Refresh(parent);
}

void TreeForcePathAction::Refresh(TreeNode* parent)
{
    RefreshNode(parent, 2, ResolvePath(path));
}

TreeChangeOptimalPathAction::TreeChangeOptimalPathAction(TreeWindow* tree, const NodeChildList& nodes, int kind)
    : TreeAction(tree, "Change Optimal Path"), kind(kind)
{
    RecordPaths(nodes, paths);
}

void TreeChangeOptimalPathAction::Do()
{
    NodeChildList nodes(4, Ownership::Borrows);
    for (int i = 0; i < paths.Count(); ++i) {
        TreeNode* node = ResolvePath(*paths.At(i));
        if (node == nullptr)
            continue;
        node->SetKind(kind, true);
        nodes.Add(node);
    }
    kind = kind == DecisionNode ? ReversedDecisionNode : DecisionNode;
    tree->SelectNodes(nodes);
    tree->InvalidateAll();
}
