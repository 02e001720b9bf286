#pragma once
// The ordered children of a tree node. A list that owns its items holds a node's own children and deletes
// them; a list that borrows them is the optimal list, the selection or a temporary list of the tree's nodes.

#include "foundation/PtrArray.h"

#include <cstdint>

struct TreeNode;

// Whether a node list deletes its nodes: every list says so where it is made.
enum class Ownership { Owns, Borrows };

class NodeChildList : public PtrArray {
public:
    NodeChildList(int16_t growBy, Ownership ownership) : PtrArray(growBy, ownership == Ownership::Owns) {}
    ~NodeChildList() override { Clear(); }

    // A copy of the node without its children.
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;

    TreeNode* At(int i) const { return static_cast<TreeNode*>(PtrArray::At(i)); }
    // First child for which fn(child, arg) is nonzero, else null.
    TreeNode* FindIf(int (*fn)(TreeNode* child, void* arg), void* arg) const;
};

// Walks a node's children in order, then yields null.
class NodeChildIterator {
public:
    explicit NodeChildIterator(const TreeNode* node) : node(node) {}
    TreeNode* Next();

private:
    const TreeNode* node;
    int16_t index = 0;
};
