#pragma once
// Undo actions of clones: making a node a clone master under a name and destroying it again, attaching
// nodes as copies of a master and detaching a copy. Nodes are kept as paths.

#include "treewin/TreeAction.h"

// "Create Clone" registers the node as a master under the name; "Destroy Clone" removes its entry and turns
// its copies into plain nodes. Each one's undo is the other's do; a destroy taken back makes the former
// copies copies again.
class TreeCloneMasterAction : public TreeAction {
public:
    // Create Clone with the name.
    TreeCloneMasterAction(TreeWindow* tree, TreeNode* node, const char* cloneName);
    // Destroy Clone of the node, a master.
    TreeCloneMasterAction(TreeWindow* tree, TreeNode* node);
    void Do() override { creates ? Create() : Destroy(); }
    void Undo() override { creates ? Destroy() : Create(); }

    zString path;
    zString cloneName;
    bool creates;
    // The copies the last destroy turned into plain nodes.
    NameList copyPaths;

private:
    void Create();
    void Destroy();
    void Refresh(TreeNode* node);
};

// "Attach Clone" makes every listed node a copy of the master; "Detach Clone" turns a copy back into a
// plain node, with a copy of the master's branches when asked. Each one's undo is the other's do.
class TreeAttachCloneAction : public TreeAction {
public:
    // Attach Clone of the nodes to the master.
    TreeAttachCloneAction(TreeWindow* tree, const NodeChildList& nodes, TreeNode* master);
    // Detach Clone of the copy.
    TreeAttachCloneAction(TreeWindow* tree, TreeNode* copy, bool keepSubtree);
    void Do() override { attaches ? Attach() : Detach(); }
    void Undo() override { attaches ? Detach() : Attach(); }

    NameList paths;
    zString masterPath;
    bool attaches;
    bool keepSubtree = false;

private:
    void Attach();
    void Detach();
    void Refresh(const NodeChildList& nodes, int mode);
};
