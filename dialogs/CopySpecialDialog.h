#pragma once
// The Copy Special dialog (2680): what Copy Special puts on the clipboard for the selected node: its
// picture, the table of the result columns at the end nodes, or a link to its expected value, standard
// deviation or path probability.

#include "dialogs/PresentedDialog.h"

class TreeWindow;
struct TreeNode;

class CopySpecialDialog : public PresentedDialog<CopySpecialDialog> {
public:
    // The choices, by their buttons.
    enum Choice { Picture = 2681, ColumnsTable = 2682, ExpectedValueLink = 2683, StandardDeviationLink = 2684,
                  PathProbabilityLink = 2685 };

    // Offers what the node (none: nothing but what the window allows) and the window allow; the first offer
    // of picture and expected-value link is chosen at first.
    CopySpecialDialog(TreeNode* node, const TreeWindow& tree);
    // The command to carry out: 1216 the picture, ColumnsTable the columns' table, 1605, 1609 or 1606 a
    // link to that value; 0 when cancelled or when the choice is not offered.
    int Run();
    bool Offers(int choice) const;

    int choice;

private:
    bool picture_ = false;
    bool columns_ = false;
    bool links_[3] = {false, false, false};  // expected value, standard deviation, path probability
};
