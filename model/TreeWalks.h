#pragma once
// Pre-order walks over a tree with callbacks. Every walk keeps its own list of pending nodes, so the depth
// of a tree costs no native stack and a shallow one no allocation.

#include "formula/WorkStack.h"

#include <vector>

struct TreeNode;

// visit(node) on every node of the subtree in pre-order, clone contents included, without recursion.
template <typename Node, typename Visit>
void ForEachInSubtree(Node* top, Visit visit)
{
    WorkStack<Node*, 32> pending;
    pending.Push(top);
    while (!pending.Empty()) {
        Node* node = pending.Pop();
        visit(node);
        for (int i = node->childCount - 1; i >= 0; --i)
            pending.Push(node->GetChild(i));
    }
}

using NodeVisitor = void (*)(TreeNode* node, void* arg);

// fn(node, arg) on each node in pre-order; below a clone copy only with intoCopies.
void WalkTreeWithSkip(TreeNode* node, NodeVisitor fn, void* arg, bool intoCopies);
// The node itself when one of its three link ids equals id, else the first such node below it (pre-order,
// not entering clone copies); null when none.
TreeNode* FindNodeByLinkId(TreeNode* node, int id);
// The number of nodes that WalkTreeWithSkip visits.
long CountSubtreeNodes(TreeNode* node, bool intoCopies);
// Terminal numbers 1, 2, 3 ... in pre-order, clone contents included; the nodes whose number changed are
// added to `renumbered` when given.
void NumberTerminalNodes(TreeNode* node, std::vector<TreeNode*>* renumbered = nullptr);
// Pre-order over what a strategy reaches: chance and label nodes descend into every child, decision and
// logic nodes only into their optimal children, end nodes not at all.
void WalkSubtreeByKind(TreeNode* node, NodeVisitor fn, void* arg, bool intoCopies);
// False when the parent (with allLevels: any ancestor) is a decision or logic node whose optimal list does
// not hold the child on the path.
bool IsOnOptimalPath(const TreeNode* node, bool allLevels);
