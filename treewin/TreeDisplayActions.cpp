#include "treewin/TreeDisplayActions.h"

#include "model/CloneCopies.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "treewin/TreeWindow.h"

namespace {

// Sets the node's collapsed flag and the same at its clone counterparts, which join the redraw list.
void SetCollapsedFlag(TreeNode* node, uint8_t flag, NodeChildList& redrawn)
{
    node->collapsed = flag;
    struct Change {
        uint8_t flag;
        NodeChildList* redrawn;
    } change{flag, &redrawn};
    ForEachCloneCounterpart(node, [](TreeNode* counterpart, TreeNode*, void* arg) {
        auto* state = static_cast<Change*>(arg);
        counterpart->collapsed = state->flag;
        if (!state->redrawn->Contains(counterpart))
            state->redrawn->Add(counterpart);
    }, &change);
}

bool MayCollapse(const TreeNode* node)
{
    return node->cloneStatus != CloneCopyNode && node->childCount > 0;
}

// Redraws the listed nodes (with their counterparts) whole and selects the listed ones.
void RedrawAndSelect(TreeWindow& tree, const NodeChildList& nodes, NodeChildList& redrawn)
{
    for (int i = 0; i < nodes.Count(); ++i)
        if (!redrawn.Contains(nodes.At(i)))
            redrawn.Add(nodes.At(i));
    tree.ClearSelection();
    tree.RedrawNodes(redrawn, 1);
    tree.SelectNodes(nodes);
}

} // namespace

TreeCollapseSubtreeAction::TreeCollapseSubtreeAction(TreeWindow* tree, const NodeChildList& nodes)
    : TreeAction(tree, "Collapse Subtree")
{
    RecordPaths(nodes, paths);
}

void TreeCollapseSubtreeAction::SetCollapsed(uint8_t flag)
{
    NodeChildList nodes(4, Ownership::Borrows);
    ResolvePaths(paths, nodes);
    NodeChildList redrawn(4, Ownership::Borrows);
    for (int i = 0; i < nodes.Count(); ++i)
        SetCollapsedFlag(nodes.At(i), flag, redrawn);
    RedrawAndSelect(*tree, nodes, redrawn);
}

TreeExpandSubtreeAction::TreeExpandSubtreeAction(TreeWindow* tree, const NodeChildList& nodes, bool entireSubtree)
    : TreeAction(tree, "Expand Subtree Once"), entireSubtree(entireSubtree)
{
    RecordPaths(nodes, paths);
    std::vector<TreeNode*> covered;
    Covered(nodes, covered);
    for (TreeNode* node : covered)
        wasCollapsed.push_back(entireSubtree ? node->collapsed != 0 : node->collapsed != 0 && MayCollapse(node));
}

void TreeExpandSubtreeAction::Covered(const NodeChildList& nodes, std::vector<TreeNode*>& out) const
{
    for (int i = 0; i < nodes.Count(); ++i) {
        TreeNode* node = nodes.At(i);
        if (entireSubtree) {
            WalkTreeWithSkip(node, [](TreeNode* each, void* list) {
                static_cast<std::vector<TreeNode*>*>(list)->push_back(each);
            }, &out, false);
        } else {
            for (int k = 0; k < node->childCount; ++k)
                out.push_back(node->GetChild(k));
        }
    }
}

void TreeExpandSubtreeAction::Do()
{
    NodeChildList nodes(4, Ownership::Borrows);
    ResolvePaths(paths, nodes);
    std::vector<TreeNode*> covered;
    Covered(nodes, covered);
    NodeChildList redrawn(4, Ownership::Borrows);
    for (TreeNode* node : covered)
        SetCollapsedFlag(node, entireSubtree ? 0 : MayCollapse(node) ? 1 : 0, redrawn);
    for (int i = 0; i < nodes.Count(); ++i)
        SetCollapsedFlag(nodes.At(i), 0, redrawn);
    RedrawAndSelect(*tree, nodes, redrawn);
}

void TreeExpandSubtreeAction::Undo()
{
    NodeChildList nodes(4, Ownership::Borrows);
    ResolvePaths(paths, nodes);
    std::vector<TreeNode*> covered;
    Covered(nodes, covered);
    NodeChildList redrawn(4, Ownership::Borrows);
    // A tree changed since the bits were taken keeps what it shows: the bits would fall on other nodes.
    if (covered.size() == wasCollapsed.size())
        for (size_t i = 0; i < covered.size(); ++i)
            SetCollapsedFlag(covered[i], wasCollapsed[i] && MayCollapse(covered[i]) ? 1 : 0, redrawn);
    for (int i = 0; i < nodes.Count(); ++i)
        SetCollapsedFlag(nodes.At(i), 1, redrawn);
    RedrawAndSelect(*tree, nodes, redrawn);
}

TreeSkipGenerationAction::TreeSkipGenerationAction(TreeWindow* tree, const NodeChildList& nodes, int direction)
    : TreeAction(tree, direction > 0 ? "Skip Generation" : "Unskip Generation"), direction(direction),
      moved(static_cast<size_t>(nodes.Count()), true)
{
    RecordPaths(nodes, paths);
}

void TreeSkipGenerationAction::Do()
{
    NodeChildList nodes(4, Ownership::Borrows);
    for (int i = 0; i < paths.Count(); ++i) {
        TreeNode* node = ResolvePath(*paths.At(i));
        if (node == nullptr)
            continue;
        nodes.Add(node);
        if (direction < 0) {
            moved[static_cast<size_t>(i)] = node->columnShift > 0;
            node->PopColumnShift(true);
        } else if (moved[static_cast<size_t>(i)]) {
            node->PushColumnShift(true);
        }
    }
    direction = -direction;
    tree->ClearSelection();
    tree->RedrawNodes(nodes, 0);
    tree->SelectNodes(nodes);
}
