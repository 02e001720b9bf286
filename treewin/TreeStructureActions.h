#pragma once
// Undo actions that change the shape of a tree: inserting, deleting, adding and reordering branches, forcing
// a path, and changing node kinds. Nodes are kept as paths; a node taken out of the tree is owned by the
// action while it is out.

#include "formula/Expression.h"
#include "treewin/TreeAction.h"

#include <memory>
#include <vector>

// Insert Branch: mode 37 puts the new node in the node's place with the node below it (a new root on the
// root), 38 and 40 insert it above or below the node, 39 moves the node's children under it.
class TreeInsertBranchAction : public TreeAction {
public:
    static constexpr int ToLeft = 37;
    static constexpr int Above = 38;
    static constexpr int ToRight = 39;
    static constexpr int Below = 40;

    TreeInsertBranchAction(TreeWindow* tree, TreeNode* node, int mode);
    void Do() override;
    void Undo() override;

    zString path;
    int mode;
};

// Delete Branch: the node leaves the tree and its branches move up one level in its place.
class TreeDeleteBranchAction : public TreeRemovalAction {
public:
    TreeDeleteBranchAction(TreeWindow* tree, TreeNode* node);
    void Do() override;
    void Undo() override;

    int childCount;
};

// Add Branch: one new branch under the node, on top when the window adds above, else at the end.
class TreeAddBranchAction : public TreeAction {
public:
    TreeAddBranchAction(TreeWindow* tree, TreeNode* node);
    void Do() override;
    void Undo() override;

    zString path;
    int count = 1;
    int addAbove;

protected:
    TreeAddBranchAction(TreeWindow* tree, TreeNode* node, const char* name, int count);
};

// Add Branches: as many new branches as the window's branches-per-node preference.
class TreeAddBranchesAction : public TreeAddBranchAction {
public:
    TreeAddBranchesAction(TreeWindow* tree, TreeNode* node);
};

// Change Node Type: every listed node takes the new kind; kinds without branch probabilities empty their
// children's probabilities. A node keeps its payoffs whatever its kind, so an end node made one again pays
// what it paid. With a jump state, the nodes (in a Markov subtree) jump to it, and undo gives them back their
// Markov settings as they were.
class TreeChangeNodeTypeAction : public TreeAction {
public:
    TreeChangeNodeTypeAction(TreeWindow* tree, const NodeChildList& nodes, int newKind,
                             const char* jumpState = nullptr);
    void Do() override;
    void Undo() override;

    struct Record {
        zString path;
        int oldKind = 0;
        // Only when the new kind has no branch probabilities.
        std::unique_ptr<ChildProbabilities> probabilities;
        // The payoffs the node held, given back by undo.
        bool hadPayoffs = false;
        Expression payoffs[4];
        // The node's jump state before the action, when the action sets one.
        zString oldJumpState;
    };
    std::vector<Record> records;
    int newKind;
    bool setsJump;
    zString jumpState;
    KeptMarkovSettings markov;

private:
    // Gives every recorded node the new kind (undo: its old one) and its branches the probabilities kept for
    // it, then refreshes.
    void SetKinds(bool undo);
    // Redraws the nodes and the children whose probabilities changed, and selects the nodes.
    void Refresh(const NodeChildList& nodes, const NodeChildList& children);
};

// Reorder Branches: new child k is the old child at entry k of the order; every toggle applies the stored
// order and keeps its inverse, so applying it again restores the earlier order.
class TreeReorderBranchesAction : public TreeAction {
public:
    TreeReorderBranchesAction(TreeWindow* tree, TreeNode* node, std::vector<int> order);
    void Do() override;
    void Undo() override { Do(); }

    zString path;
    std::vector<int> order;
};

// Force Path: the parent becomes a logic node whose forced child has probability "1" and the others "0".
class TreeForcePathAction : public TreeAction {
public:
    TreeForcePathAction(TreeWindow* tree, TreeNode* child);
    void Do() override;
    void Undo() override;

    zString path;
    int oldKind;
    int childCount;
    ChildProbabilities probabilities;

private:
    // The parent of the child at the path, or null.
    TreeNode* Parent() const;
    void Refresh(TreeNode* parent);
};

// Change Optimal Path: every listed node takes the stored kind, which then alternates between decision
// and reversed decision on each toggle.
class TreeChangeOptimalPathAction : public TreeAction {
public:
    TreeChangeOptimalPathAction(TreeWindow* tree, const NodeChildList& nodes, int kind);
    void Do() override;
    void Undo() override { Do(); }

    NameList paths;
    int kind;
};
