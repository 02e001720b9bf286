#pragma once
// Payoff Range (dialog 2385): the highest and lowest potential value below a node.

#include "dialogs/PresentedDialog.h"

struct TreeNode;

class PayoffRangeDialog : public PresentedDialog<PayoffRangeDialog> {
public:
    enum : unsigned { kTemplateId = 2385 };
    // Shown only when the tree's risk preference function passes its check.
    PayoffRangeDialog(TreeNode* node, double lowest, double highest);

    TreeNode* node;
    double lowest;
    double highest;
    bool shown = false;
};
