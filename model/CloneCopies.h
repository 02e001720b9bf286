#pragma once
// Clones: a master subtree kept identical at several places of the tree. A clone copy is a node whose
// children are a copy of its master's children; the master and the copy keep their own name, probability
// and kind.

struct TreeNode;
class NodeChildList;

// The nearest ancestor (not the node) that is a clone master, else null.
TreeNode* CloneMasterAbove(const TreeNode* node);
// Every node with copy status and the id, in pre-order, the contents of copies included.
void CollectCloneCopies(TreeNode* root, int id, NodeChildList& list);
// True when node cannot become a copy of master without containing itself: node is the master or lies
// inside it, or the master's subtree holds a copy of a master at or above node.
bool CopyWouldContainItself(const TreeNode* node, const TreeNode* master);
// node becomes a copy of master (nothing when master is null), then the copies of masters at or above node
// are refreshed when refreshAbove (a whole-tree refresh reaches them anyway). A copy that would contain
// itself is refused: false, and node is left as it was.
bool CopyCloneMaster(TreeNode* node, TreeNode* master, NodeChildList* list, bool refreshAbove = true);
// Refreshes every copy (found without entering copies) of node when it is a master and of every master
// above it, adding each to list when given. True when any master was found.
bool UpdateCopiesOfMastersAbove(TreeNode* node, NodeChildList* list);
// Refreshes every copy in the subtree from its registered master, descending into the refreshed copies.
// The copies of masters above each refreshed copy follow when refreshAbove and node is not the root.
void UpdateCloneCopies(TreeNode* node, bool refreshAbove = true);

using CounterpartFunction = void (*)(TreeNode* counterpart, TreeNode* node, void* arg);
// Repeats a change of node at its counterpart in every copy of every master above it (nearest first), and
// from each counterpart on, so copies nested in copies follow. Nothing without a window.
void ForEachCloneCounterpart(TreeNode* node, CounterpartFunction fn, void* arg);
