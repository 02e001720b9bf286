#include "treewin/PayoffRangeDialog.h"

#include "analysis/ProbabilityVerification.h"
#include "widgets/ProgramDialog.h"
#include "foundation/NumericFormatting.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include "CommandIds.h"

namespace {

// Each value as a payoff in the tree's number format.
void ShowOnScreen(const PayoffRangeDialog& range)
{
    ProgramDialog dialog(DialogRes::PayoffRange);
    const unsigned ids[] = {Ctl::PayoffRange::HighestText, Ctl::PayoffRange::LowestText};
    const double values[] = {range.highest, range.lowest};
    for (int i = 0; i < 2; ++i) {
        zString text;
        FormatNumber(range.node->document->NumberFormat(), values[i], text, true, true, DigitsOfFormat);
        dialog.SetItemText(ids[i], text.Text());
    }
    dialog.Run();
}

}  // namespace

bool PayoffRangeDialog::Run()
{
    if (CheckRiskPreference(node->document, nullptr) != 1)
        return false;
    shown = true;
    if (HasPresenter())
        Present();
    else
        ShowOnScreen(*this);
    return true;
}
