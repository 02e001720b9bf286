#pragma once
// The tree window's clone commands (TreeCloneCommands.cpp).

#include <cstdint>

class NodeChildList;
class TreeWindow;
class zString;
struct TreeNode;

namespace TreeClones {

// Before a cut or clear that takes clone masters with it: asks, then removes them with their copies and
// clears the undo history; 0 when the user cancels.
int ConfirmCloneMasterLoss(TreeWindow& tree, TreeNode* node);
// The master to attach to: the only one, or the one chosen among several; null when none.
TreeNode* ChooseCloneMaster(const TreeWindow& tree);
// 1 when no node of the targets would contain itself as a copy of the master: none is the master or
// lies below it, and the master holds no copy of a master at or above one (attaching would recurse).
int CanAttachClone(const NodeChildList& targets, const TreeNode* master);
// The check of the Create Clone prompt for the window: 0, after saying so, when a master has the name.
int IsNewCloneName(const zString& name, int32_t window);
// Create Clone: the node's clone master is destroyed after asking, or a plain node becomes a master under
// the name asked for.
void CreateOrDestroyClone(TreeWindow& tree, TreeNode* node);
// Attach Clone: a copy is detached (keeping an editable copy or not, as asked), or the selection becomes
// copies of the chosen master.
void AttachOrDetachClone(TreeWindow& tree, TreeNode* node);

} // namespace TreeClones
