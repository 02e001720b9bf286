#pragma once
// Rankings (dialog 3029): the branches of a rolled-back node from best to worst.

#include "dialogs/PresentedDialog.h"
#include "foundation/zString.h"

struct TreeNode;

class RankingsDialog : public PresentedDialog<RankingsDialog> {
public:
    enum : unsigned { kTemplateId = 3029 };
    // The value column is headed by the label, "Value" when none is given.
    explicit RankingsDialog(TreeNode* node, const char* label = nullptr)
        : node(node), valueLabel(label != nullptr ? label : "Value")
    {
        Present();
    }

    TreeNode* node;
    zString valueLabel;
};
