#pragma once
// Undo actions between a tree and the tree clipboard: pasting the current slot below nodes, and cutting or
// clearing a node or a subtree. A cut puts what it takes in the clipboard's slot and keeps the slot's
// former entry to put back when it is taken back; a clear leaves the clipboard alone.

#include "treewin/TreeAction.h"

#include <memory>
#include <vector>

// "Paste Node" or "Paste Subtree": a copy of the current slot below every listed node, on top when the
// window adds above, else at the end. A subtree entry gives its branches, a node entry itself. Taking the
// paste back keeps the pasted nodes, which applying it again puts back.
class TreePasteAction : public TreeAction {
public:
    TreePasteAction(TreeWindow* tree, const NodeChildList& targets);
    ~TreePasteAction() override;
    void Do() override;
    void Undo() override;

    NameList paths;
    // The clipboard's entry when the action was made; null when the slot was empty.
    std::shared_ptr<const TreeNode> entry;
    bool subtree;
    int addAbove;
    // Per target, the nodes pasted there while the paste is taken back.
    std::vector<std::unique_ptr<TreeNode>> held;

private:
    void Refresh(const NodeChildList& targets);
};

// "Cut Node" / "Clear Node": the node with its subtree leaves its parent.
class TreeCutNodeAction : public TreeRemovalAction {
public:
    TreeCutNodeAction(TreeWindow* tree, TreeNode* node, bool cut);
    void Do() override;
    void Undo() override;
    // A clear leaves the tree clipboard alone.
    bool KeepsClipboard() const { return !cut; }

    int slot;
    bool cut;
    std::unique_ptr<TreeNode> savedEntry;
};

// "Cut Subtree" / "Clear Subtree": the node's branches leave it (kept in a holder node); the node stays.
class TreeCutSubtreeAction : public TreeAction {
public:
    TreeCutSubtreeAction(TreeWindow* tree, TreeNode* node, bool cut);
    ~TreeCutSubtreeAction() override;
    void Do() override;
    void Undo() override;
    bool KeepsClipboard() const { return !cut; }

    zString path;
    std::unique_ptr<TreeNode> holder;
    int slot;
    bool cut;
    std::unique_ptr<TreeNode> savedEntry;
};
