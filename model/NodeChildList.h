#pragma once
// The ordered children of a tree node. With the owns-items flag a node's own children; without it the
// optimal list, the selection and temporary lists of nodes.

#include "foundation/PtrArray.h"

#include <cstdint>

struct TreeNode;

class NodeChildList : public PtrArray {
public:
    explicit NodeChildList(int16_t growBy = 4, bool ownsItems = true) : PtrArray(growBy, ownsItems) {}
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
