#pragma once
// Define Values (dialog 2179): the variables (or tables) to define, whether as the tree's default ("&Default
// for Tree") or "At &Selected Node(s)", and, for several nodes, whether each node gets a window of its own
// ("Use a &different definition at each node"). New variables (in Variable Properties) and tables are made,
// a variable's or table's properties edited, and items deleted, from the dialog.

#include "dialogs/PresentedDialog.h"
#include "foundation/NameList.h"

#include "CommandIds.h"

class TreeWindow;

class DefineValuesDialog : public PresentedDialog<DefineValuesDialog> {
public:
    enum : unsigned { kTemplateId = 2179, kList = 2171, kPropertiesButton = 2172, kDeleteButton = 2173,
                      kNewButton = 2174, kValueButton = 2176, kInformation = 2177, kShowTablesCheck = 2178 };
    enum : unsigned {
        kNewVariable = Cmd::DefineValuesNewVariable,
        kNewTable = Cmd::DefineValuesNewTable,
        kAtSelectedNodes = Cmd::DefineValuesAtSelectedNodes,
        kDefaultForTree = Cmd::DefineValuesTreeDefault
    };

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
