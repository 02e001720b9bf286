#pragma once
// What a tree document tells the window that shows it.

class DocVariable;
class NodeChildList;
struct TreeNode;

class TreeDocumentView {
public:
    virtual ~TreeDocumentView() = default;
    // The document's variables were added, renamed or deleted.
    virtual void VariablesChanged() = 0;
    // The windows bound to the variable must close: it is about to be deleted (its bindings still in the
    // tree) or swept by an analysis.
    virtual void CloseVariableWindows(const DocVariable&) {}
    // A variable was renamed: the windows that show its name or formulas using it follow.
    virtual void VariableRenamed(const char*, const char*) {}
    // The person agreed to create the variable a formula names: the view makes it (it may first ask for its
    // properties, and the person may still decline). The record made, or null.
    virtual DocVariable* CreateAskedVariable(const char*) = 0;
    // The tree must be laid out again.
    virtual void LayoutChanged() {}
    // The node must be measured again (mode: 0 the node alone, 1 with its subtree, 2 its children and then
    // the node); the layout follows with the next LayoutChanged or drawing.
    virtual void NodeChanged(TreeNode*, int) {}
    // An analysis points at these nodes (the optimal path after a roll back, the node a failure concerns,
    // the nodes a stored analysis was run on): the window selects them.
    virtual void PointAt(const NodeChildList&) {}
    // Many nodes are about to be told changed one by one (begin), or they have been (end): the view may keep
    // what measuring needs ready in between. Calls pair up and do not nest.
    virtual void NodeChangesBegin() {}
    virtual void NodeChangesEnd() {}
    // The tree published a new text for its link id (after a roll back); clients that follow it get it.
    virtual void LinkValueChanged(int, const char*) {}
    // A link that the tree's formulas read took a new value.
    virtual void LinkedValueArrived() {}
    // Values read from spreadsheet cells were bound at the node: it is drawn again.
    virtual void SpreadsheetValuesBound(TreeNode*) {}
    // 1 when no window of the view edits the item named by the key (a variable's name or a fixed "***"
    // key) at the node; otherwise 0, after asking (with ask) whether that window should come to the top.
    virtual int AcceptsEdit(TreeNode*, const char*, bool) { return 1; }
    // The calculation preferences that the status indicators name changed.
    virtual void StatusIndicatorsChanged() {}
    // The shape of the tree is about to change: told while the document has temporary value holders, and
    // always when a subtree (leaving, else null) is about to leave the tree.
    virtual void ShapeChanging(const TreeNode*) {}
};
