#pragma once
// Change Payoff (template 31100): the payoffs of the selected terminal nodes, titled Enter Attributes under
// the Multi-Attribute method. OK stores them as one "Change Payoff" undo action.

#include "treewin/PayoffEditsWindow.h"

class EnterPayoffWindow : public PayoffEditsWindow {
public:

    EnterPayoffWindow(TreeWindow* tree, const NodeChildList& nodes);

    void OnTreeTitleChanged(const char* title) override;

protected:
    void NodeText(TreeNode* node, int payoff, zString& out) const override;
    zString Label(int payoff) const override;
    UndoAction* MakeAction(const char* const texts[4], const bool active[4]) override;
    const char* FormulaName() const override { return "payoff"; }
};
