#include "model/TreeWalks.h"

#include "model/TreeNode.h"

#include <vector>

namespace {

// Pre-order from the top, children pushed so that the first child is visited first. visit(node) answers true
// to stop at that node, which is returned; below(node) names the list walked under it (null for none).
template <typename Visit, typename Below>
TreeNode* WalkPreOrder(TreeNode* top, Visit visit, Below below)
{
    if (top == nullptr)
        return nullptr;
    std::vector<TreeNode*> pending{top};
    while (!pending.empty()) {
        TreeNode* current = pending.back();
        pending.pop_back();
        if (visit(current))
            return current;
        if (const NodeChildList* list = below(current)) {
            for (int i = list->Count() - 1; i >= 0; --i)
                pending.push_back(list->At(i));
        }
    }
    return nullptr;
}

// Every child, below a clone copy only with intoCopies.
const NodeChildList* AllChildren(const TreeNode* node, bool intoCopies)
{
    return node->cloneStatus != CloneCopyNode || intoCopies ? node->children.get() : nullptr;
}

}  // namespace

void WalkTreeWithSkip(TreeNode* node, NodeVisitor fn, void* arg, bool intoCopies)
{
    WalkPreOrder(node, [&](TreeNode* current) { fn(current, arg); return false; },
                 [&](const TreeNode* current) { return AllChildren(current, intoCopies); });
}

TreeNode* FindNodeByLinkId(TreeNode* node, int id)
{
    if (id == 0)
        return nullptr;
    return WalkPreOrder(
        node,
        [id](TreeNode* current) {
            return current->GetLinkId0() == id || current->GetLinkId1() == id || current->GetLinkId2() == id;
        },
        [](const TreeNode* current) { return AllChildren(current, false); });
}

long CountSubtreeNodes(TreeNode* node, bool intoCopies)
{
    long count = 0;
    WalkTreeWithSkip(node, [](TreeNode*, void* counter) { ++*static_cast<long*>(counter); }, &count, intoCopies);
    return count;
}

void NumberTerminalNodes(TreeNode* node, std::vector<TreeNode*>* renumbered)
{
    int number = 0;
    WalkPreOrder(node, [&](TreeNode* current) {
        if (current->kind == TerminalNode) {
            const auto next = static_cast<int16_t>(++number);
            if (current->terminalNumber != next && renumbered != nullptr)
                renumbered->push_back(current);
            current->terminalNumber = next;
        }
        return false;
    }, [](const TreeNode* current) { return AllChildren(current, true); });
}

void WalkSubtreeByKind(TreeNode* node, NodeVisitor fn, void* arg, bool intoCopies)
{
    WalkPreOrder(node, [&](TreeNode* current) { fn(current, arg); return false; },
                 [&](const TreeNode* current) -> const NodeChildList* {
                     if (current->cloneStatus == CloneCopyNode && !intoCopies)
                         return nullptr;
                     switch (current->kind) {
                     case ChanceNode:
                     case LabelNode:
                         return current->children.get();
                     case DecisionNode:
                     case ReversedDecisionNode:
                     case LogicNode:
                         return current->optimal.get();
                     default:
                         return nullptr;
                     }
                 });
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
