#pragma once
// Payoff Range (dialog 2385): the highest and lowest potential value below a node.

#include "widgets/PresentedDialog.h"

struct TreeNode;

class PayoffRangeDialog : public PresentedDialog<PayoffRangeDialog> {
public:
    PayoffRangeDialog(TreeNode* node, double lowest, double highest) : node(node), lowest(lowest), highest(highest) {}
    // Shown only when the tree's risk preference function passes its check; true then.
    bool Run();

    TreeNode* node;
    double lowest;
    double highest;
    bool shown = false;
};
