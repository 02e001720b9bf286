#include "model/TreeWalks.h"

#include "model/TreeNode.h"

#include <vector>

namespace {

// Pushes the children so that the first child is visited first.
void PushChildren(std::vector<TreeNode*>& pending, const NodeChildList& list)
{
    for (int i = list.Count() - 1; i >= 0; --i)
        pending.push_back(list.At(i));
}

}  // namespace

void WalkTreeWithSkip(TreeNode* node, NodeVisitor fn, void* arg, bool intoCopies)
{
    if (node == nullptr)
        return;
    std::vector<TreeNode*> pending{node};
    while (!pending.empty()) {
        TreeNode* current = pending.back();
        pending.pop_back();
        fn(current, arg);
        if (current->cloneStatus != CloneCopyNode || intoCopies)
            PushChildren(pending, *current->children);
    }
}

TreeNode* FindNodeByLinkId(TreeNode* node, int id)
{
    std::vector<TreeNode*> pending{node};
    while (!pending.empty() && id != 0) {
        TreeNode* current = pending.back();
        pending.pop_back();
        if (current->GetLinkId0() == id || current->GetLinkId1() == id || current->GetLinkId2() == id)
            return current;
        if (current->cloneStatus != CloneCopyNode)
            PushChildren(pending, *current->children);
    }
    return nullptr;
}

long CountSubtreeNodes(TreeNode* node, bool intoCopies)
{
    long count = 0;
    WalkTreeWithSkip(node, [](TreeNode*, void* counter) { ++*static_cast<long*>(counter); }, &count, intoCopies);
    return count;
}

void NumberTerminalNodes(TreeNode* node)
{
    int number = 0;
    WalkTreeWithSkip(node, [](TreeNode* current, void* counter) {
        if (current->kind == TerminalNode)
            current->terminalNumber = static_cast<int16_t>(++*static_cast<int*>(counter));
    }, &number, true);
}

void WalkSubtreeByKind(TreeNode* node, NodeVisitor fn, void* arg, bool intoCopies)
{
    if (node == nullptr)
        return;
    std::vector<TreeNode*> pending{node};
    while (!pending.empty()) {
        TreeNode* current = pending.back();
        pending.pop_back();
        fn(current, arg);
        if (current->cloneStatus == CloneCopyNode && !intoCopies)
            continue;
        switch (current->kind) {
        case ChanceNode:
        case LabelNode:
            PushChildren(pending, *current->children);
            break;
        case DecisionNode:
        case ReversedDecisionNode:
        case LogicNode:
            if (current->optimal != nullptr)
                PushChildren(pending, *current->optimal);
            break;
        default:
            break;
        }
    }
}

bool IsOnOptimalPath(const TreeNode* node, bool allLevels)
{
    for (const TreeNode* child = node; child->parent != nullptr; child = child->parent) {
        const TreeNode* parent = child->parent;
        const bool choosing = parent->IsDecision() || parent->kind == LogicNode;
        if (choosing && parent->optimal != nullptr && !parent->optimal->Contains(child))
            return false;
        if (!allLevels)
            break;
    }
    return true;
}
