#pragma once
// A node-bound window with one formula edit per payoff (31011-31014, labels 31032-31035): the payoffs
// (Enter Payoff) and the Markov transition rewards. Only the payoffs a change of the nodes sets are shown;
// each shows the text the nodes share, or nothing when two of them differ: such a field, left empty and
// untouched, keeps each node's own text.

#include "treewin/NodeValueWindow.h"

class PayoffEditsWindow : public NodeValueWindow {
public:

    bool Apply(bool commit) override;
    void RenameVariable(const char* oldName, const char* newName) override;

protected:
    PayoffEditsWindow(TreeWindow* tree, unsigned templateId, bool counted, const NodeChildList& nodes,
                      const char* key);
    // Binds, fills, labels and focuses the edits; skipEmpty leaves nodes without a text out of the
    // common text.
    void BuildEdits(bool skipEmpty);
    // The node's text of the payoff.
    virtual void NodeText(TreeNode* node, int payoff, zString& out) const = 0;
    // The label of the payoff's edit.
    virtual zString Label(int payoff) const = 0;
    // The undo action that stores the texts of the active payoffs.
    virtual class UndoAction* MakeAction(const char* const texts[4], const bool active[4]) = 0;
    // The formula name errors are reported under.
    virtual const char* FormulaName() const = 0;

private:
    EditCtrl* edits[4] = {nullptr, nullptr, nullptr, nullptr};
    bool active[4] = {false, false, false, false};
    bool mixed[4] = {false, false, false, false};
};
