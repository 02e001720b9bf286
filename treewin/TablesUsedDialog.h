#pragma once
// Tables Used (dialog 4360): the lookup tables the tree's formulas name, those found on this computer in
// list 4361 and those missing in list 4363.

#include "widgets/PresentedDialog.h"
#include "foundation/NameList.h"

struct TreeNode;

class TablesUsedDialog : public PresentedDialog<TablesUsedDialog> {
public:

    TablesUsedDialog(const NameList& found, const NameList& missing) : found(found), missing(missing) {}
    // Shows the lists; on the screen without a presenter.
    void Run();

    const NameList& found;
    const NameList& missing;
};

// Finds every table named in the formulas of the tree under the root (a formula that does not parse is
// searched by its text) and shows them, or "No tables are used in this tree." when there are none.
void ShowTablesUsed(TreeNode* root);
