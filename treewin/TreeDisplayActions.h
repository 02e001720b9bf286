#pragma once
// Undo actions that change how much of a tree shows: collapsing and expanding subtrees, and skipping
// generations (shifting nodes one layout column further right). Nodes are kept as paths; every change is
// repeated at the nodes' counterparts in clone copies.

#include "treewin/TreeAction.h"

#include <vector>

// Collapse Subtree: the listed nodes hide their subtrees.
class TreeCollapseSubtreeAction : public TreeAction {
public:
    TreeCollapseSubtreeAction(TreeWindow* tree, const NodeChildList& nodes);
    void Do() override { SetCollapsed(1); }
    void Undo() override { SetCollapsed(0); }

    NameList paths;

private:
    void SetCollapsed(uint8_t flag);
};

// Expand Subtree Once shows one more level below each listed node; in its whole-subtree form (the Expand
// Entire Subtree command, same name) every node of the listed subtrees. The flags as they were are kept
// one bit per child (once) or per subtree node in pre-order (entire).
class TreeExpandSubtreeAction : public TreeAction {
public:
    TreeExpandSubtreeAction(TreeWindow* tree, const NodeChildList& nodes, bool entireSubtree);
    void Do() override;
    void Undo() override;

    NameList paths;
    bool entireSubtree;
    std::vector<bool> wasCollapsed;

private:
    // The nodes whose flags the bits stand for, in bit order.
    void Covered(const NodeChildList& nodes, std::vector<TreeNode*>& out) const;
    void Refresh(const NodeChildList& nodes, NodeChildList& redrawn);
};

// Skip Generation (+1) and Unskip Generation (-1): each toggle shifts the listed nodes one column the
// stored way, then reverses the direction. A node already at column shift 0 is not lowered, and so is
// not raised again when the lowering is taken back.
class TreeSkipGenerationAction : public TreeAction {
public:
    TreeSkipGenerationAction(TreeWindow* tree, const NodeChildList& nodes, int direction);
    void Do() override;
    void Undo() override { Do(); }

    NameList paths;
    int direction;
    // Per path: the node took part in the last lowering (all do in a raising first).
    std::vector<bool> moved;
};
