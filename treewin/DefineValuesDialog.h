#pragma once
// Define Values (dialog 2179): the variables (or tables) to define, whether as the tree's default ("&Default
// for Tree") or "At &Selected Node(s)", and, for several nodes, whether each node gets a window of its own
// ("Use a &different definition at each node"). New variables (in Variable Properties) and tables are made,
// a variable's or table's properties edited, and items deleted, from the dialog.

#include "widgets/PresentedDialog.h"
#include "foundation/NameList.h"

#include "CommandIds.h"

class TreeWindow;

class DefineValuesDialog : public PresentedDialog<DefineValuesDialog> {
public:

    DefineValuesDialog(TreeWindow& window, int selectedCount, int flag)
        : window(window), selectedCount(selectedCount), flag(flag) {}
    // 1 when closed with at least one item chosen; on the screen without a presenter.
    int Run();

    TreeWindow& window;
    int selectedCount;
    int flag;
    bool defaultForTree = false;
    bool windowPerNode = false;
    // The chosen lines' texts.
    NameList chosen;
};
