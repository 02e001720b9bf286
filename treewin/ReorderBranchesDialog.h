#pragma once
// Reorder Branches (dialog 3335): the node's branches in a new order, as the old index of each new
// position.

#include "widgets/PresentedDialog.h"
#include "foundation/zString.h"

#include <vector>

struct TreeNode;

class ReorderBranchesDialog : public PresentedDialog<ReorderBranchesDialog> {
public:

    // Starts from the branches' present order.
    explicit ReorderBranchesDialog(const TreeNode& node);
    // True after OK with an order that names every branch once and changes it.
    bool Run();
    // Moves the branch at the position one place earlier (-1) or later (+1); false past either end.
    bool Move(int position, int step);

    int branches;
    // Each branch's text cut to 30 characters, by old index.
    std::vector<zString> texts;
    std::vector<int> order;
};
