#pragma once
// The base of the modeless windows that edit a formula-valued property of tree nodes (definitions, payoffs,
// Markov settings): a window bound to the tree that holds the nodes it edits and a key naming what it
// edits, so that one item of one node is edited in one window only. OK (or Enter in a formula edit) stores
// the fields through one undo action of the tree and closes the window; a formula with a syntax error
// keeps it open. The formula menus sit on the statics 31003-31006 and 31031 where the template has them.

#include "foundation/zString.h"
#include "model/NodeChildList.h"
#include "treewin/TreeChildWindow.h"

#include <vector>

class EditCtrl;
class MenuButton;

class NodeValueWindow : public TreeChildWindow {
public:

    // Built from the template for a copy of the node list; a counted window raises the tree's count of
    // bound windows while it lives.
    NodeValueWindow(TreeWindow* tree, unsigned templateId, bool counted, const NodeChildList& nodes,
                    const char* key);

    // The key and the text are equal after both are upper-cased.
    bool MatchesKey(const char* text) const;
    // The key matches, and the node is one of the window's (a null node: the window has none).
    bool Matches(const TreeNode* node, const char* key) const override;
    // The window closes with any of its nodes and with the variable its key names.
    bool DependsOn(const void* object) const override;

    // Show Nodes selects the window's nodes; Distribution inserts the DistSamp call of a chosen distribution;
    // OK applies and closes when that succeeds; Cancel closes; Help opens the windows' topic.
    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    // Only the Define Variable window answers true.
    virtual bool IsDefinitionWindow() const { return false; }
    // The value the window's formula gives, and what it is the value of; none here.
    virtual double CurrentValue() { return 0.0; }
    virtual void ValueLabel(zString& out) const {}
    // Checks the fields and, with commit, stores them in the tree as one undo action; false (the error
    // shown on its field) when a field does not parse.
    virtual bool Apply(bool commit) = 0;
    // A field typed and not yet taken with OK is taken now (the window stays). The tree ends these edits
    // before it is written or closed.
    bool EndEdit() override;
    // Closing by the window's frame or the program's end takes what was typed, as OK does; Cancel and
    // Escape drop it. A field that does not parse keeps the window open.
    int QueryClose(const char* question) override;

    const NodeChildList& Nodes() const { return nodes; }
    const zString& Key() const { return key; }
    // The text parses as a formula (names need not resolve); otherwise the error is shown on the edit.
    static bool Parses(const zString& text, EditCtrl* edit, const char* formulaName);

protected:
    // The edit control of the template id, its focus tracked for the inserting commands.
    EditCtrl* BindEdit(unsigned id);
    // The node label: "(multiple)", the node's short text, or "(none) Default Definition for Document" for
    // the root alone or no node (Show Nodes is then disabled).
    void ShowNodeLabel();
    // Marks the tree modified and applies the action through the tree's undo history.
    void Store(class UndoAction* action);
    // Gives the edit its whole text selected and the focus.
    static void FocusWhole(EditCtrl* edit);
    // Enter in the edit applies and closes the window when that succeeds; Escape closes it.
    void HookFormulaKeys(EditCtrl* edit);
    // Whole-word uses of the old name in the edit's text, in any letter case, become the new name.
    static void RenameInEdit(EditCtrl* edit, const char* oldName, const char* newName);
    // The payoffs a change of the nodes sets: all four for one node; for several the current payoff
    // (Simple), cost and effectiveness or benefit (Cost-Effectiveness, Benefit-Cost), or all four
    // (Multi-Attribute).
    void ActivePayoffs(bool active[4]) const;

    // The key names another item (a renamed variable).
    void SetKey(const char* text) { key = text; }
    // Whether a field was typed into since it was filled or last taken: the edits' modified flags; a window
    // that keeps typed texts beyond its edits (another page) answers for those too.
    virtual bool Edited() const;

private:
    long OnFormulaKey(WindowEvent* event);
    // Closes the window through the frame, as Cancel does.
    void Close();

    NodeChildList nodes{4, Ownership::Borrows};
    std::vector<HWND> boundEdits_;
    // OK, Cancel or Escape closes the window: nothing more to take.
    bool closing_ = false;
    zString key;
};
