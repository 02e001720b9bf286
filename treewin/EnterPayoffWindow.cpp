#include "treewin/EnterPayoffWindow.h"

#include "model/TreeNode.h"
#include "treewin/TreeValueActions.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <string>

EnterPayoffWindow::EnterPayoffWindow(TreeWindow* tree, const NodeChildList& nodes)
    : PayoffEditsWindow(tree, DialogRes::EnterPayoff, false, nodes, "***enterPay")
{
    SetIconId(32016);
    PlaceAt(0.4, 0.5);
    OnTreeTitleChanged(tree->Document().Title().Text());
    ShowNodeLabel();
    BuildEdits(false);
}

void EnterPayoffWindow::OnTreeTitleChanged(const char*)
{
    const bool attributes = Tree()->Document().CalcPrefs.CalcMethod == MultiAttributeMethod;
    SetCaption(attributes ? ": Enter Attributes" : ": Enter Payoff");
}

void EnterPayoffWindow::NodeText(TreeNode* node, int payoff, zString& out) const
{
    node->GetPayoffText(out, payoff);
}

zString EnterPayoffWindow::Label(int payoff) const
{
    const TreeDocument& document = Tree()->Document();
    const CalcMethodKind method = document.CalcPrefs.CalcMethod;
    const std::string number = std::to_string(payoff + 1);
    if (method == MultiAttributeMethod)
        return zString(("Attr &" + number + ":").c_str());
    if (method == CostEffectivenessMethod || method == BenefitCostMethod) {
        if (payoff == document.CostPayoffIndex())
            return zString("&Cost:");
        const int other = method == CostEffectivenessMethod ? document.CalcPrefs.CEEffPayoff
                                                            : document.CalcPrefs.BCBenefitPayoff;
        if (payoff == other)
            return zString(method == CostEffectivenessMethod ? "&Effect:" : "&Benefit:");
    }
    return zString(("Payoff &" + number + ":").c_str());
}

UndoAction* EnterPayoffWindow::MakeAction(const char* const texts[4], const bool active[4])
{
    return new TreeChangePayoffAction(Tree(), Nodes(), texts, active);
}
