#include "model/NodeChildList.h"

#include "model/TreeNode.h"

void* NodeChildList::CloneItem(void* item)
{
    return new TreeNode(*static_cast<TreeNode*>(item), false);
}

void NodeChildList::DeleteItem(void* item)
{
    delete static_cast<TreeNode*>(item);
}

TreeNode* NodeChildList::FindIf(int (*fn)(TreeNode* child, void* arg), void* arg) const
{
    for (int i = 0; i < Count(); ++i) {
        if (fn(At(i), arg) != 0)
            return At(i);
    }
    return nullptr;
}

TreeNode* NodeChildIterator::Next()
{
    if (node == nullptr || index >= node->childCount)
        return nullptr;
    return node->GetChild(index++);
}
