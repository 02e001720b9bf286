#pragma once
// Insert Branch (dialog 2370): where the new branch goes relative to the node, by its four buttons: 37 "To
// &Left", 38 "&Above", 39 "To &Right", 40 "&Below".

#include "widgets/PresentedDialog.h"

struct TreeNode;

class InsertBranchDialog : public PresentedDialog<InsertBranchDialog> {
public:
    enum : int { ToLeft = 37, Above = 38, ToRight = 39, Below = 40 };

    // To the right by default; an end node or a clone copy takes nothing to its right, and a node without a
    // parent or under a label node nothing above or below.
    explicit InsertBranchDialog(const TreeNode& node);
    // The button pressed (37 to 40), or 0 when cancelled.
    int Run();
    bool Offers(int position) const;

    int mode;

private:
    bool right_;
    bool aboveBelow_;
};
