#pragma once
// Define Values (dialog 2179): the variables (or tables) to define, whether as the tree's default ("&Default
// for Tree") or "At &Selected Node(s)", and, for several nodes, whether each node gets a window of its own
// ("Use a &different definition at each node").

#include "dialogs/PresentedDialog.h"
#include "foundation/NameList.h"

class DefineValuesDialog : public PresentedDialog<DefineValuesDialog> {
public:
    enum : unsigned { kTemplateId = 2179 };

    DefineValuesDialog(int selectedCount, int flag) : selectedCount(selectedCount), flag(flag) {}
    // 1 when closed with at least one item chosen.
    int Run() { return Present() == IDOK && chosen.Count() > 0 ? 1 : 0; }

    int selectedCount;
    int flag;
    bool defaultForTree = false;
    bool windowPerNode = false;
    NameList chosen;
};
