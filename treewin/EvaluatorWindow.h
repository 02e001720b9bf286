#pragma once
// The Evaluator (template 31103): a formula typed in "E&xpression:" is evaluated at the selected node, with
// the node's variables in force, and its value shown in "&Result:". A tree has at most one; it edits no
// item of any node, and the tree forgets it when it is destroyed.

#include "foundation/zString.h"
#include "treewin/TreeChildWindow.h"

class EditCtrl;
class NodeChildList;

class EvaluatorWindow : public TreeChildWindow {
public:

    EvaluatorWindow(TreeWindow* tree, const NodeChildList& nodes);
    ~EvaluatorWindow() override;

    // The node is the only one of the list (none for an empty list or several nodes); the result clears.
    void SetNodes(const NodeChildList& nodes);
    // Evaluates the expression at the node (the root without one): the value in the result, or the
    // formula's message and the result left as it was.
    void Calculate();
    void InsertText(const char* text, bool withParentheses) override;
    // Calculate (31008, or Enter); a change of the expression clears the result.
    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    void OnTreeTitleChanged(const char* title) override;

    // The node expressions are evaluated at, found by its path: the root when there is none.
    TreeNode* Node() const;
    EditCtrl* Expression() const { return expression; }
    EditCtrl* Result() const { return result; }

private:
    // Empty when no node or several are selected.
    zString nodePath;
    EditCtrl* expression = nullptr;
    EditCtrl* result = nullptr;
};
