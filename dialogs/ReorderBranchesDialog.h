#pragma once
// Reorder Branches (dialog 3335): the node's branches in a new order, as the old index of each new
// position.

#include "dialogs/PresentedDialog.h"

#include <algorithm>
#include <vector>

class ReorderBranchesDialog : public PresentedDialog<ReorderBranchesDialog> {
public:
    enum : unsigned { kTemplateId = 3335 };

    explicit ReorderBranchesDialog(int branches) : branches(branches) {}
    // True after OK with an order that names every branch once and changes it.
    bool Run()
    {
        if (Present() != IDOK || static_cast<int>(order.size()) != branches)
            return false;
        std::vector<int> sorted(order);
        std::sort(sorted.begin(), sorted.end());
        for (int i = 0; i < branches; ++i)
            if (sorted[static_cast<size_t>(i)] != i)
                return false;
        return !std::is_sorted(order.begin(), order.end());
    }

    int branches;
    std::vector<int> order;
};
