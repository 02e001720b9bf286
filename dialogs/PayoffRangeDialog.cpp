#include "dialogs/PayoffRangeDialog.h"

#include "analysis/ProbabilityVerification.h"
#include "model/TreeNode.h"

PayoffRangeDialog::PayoffRangeDialog(TreeNode* node, double lowest, double highest)
    : node(node), lowest(lowest), highest(highest)
{
    if (CheckRiskPreference(node->document, nullptr) != 1)
        return;
    shown = true;
    Present();
}
