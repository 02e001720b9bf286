#pragma once
// Design Custom Interface (dialog 3510): the tree's custom interface as its designer lays it out (the
// parameters offered to the end user, the Basic or Extended form, the comment), edited in the settings in
// place.

#include "dialogs/PresentedDialog.h"

class CustomInterfaceSettings;
class TreeWindow;

class CustomInterfaceDialog : public PresentedDialog<CustomInterfaceDialog> {
public:
    enum : unsigned { kTemplateId = 3510 };

    CustomInterfaceDialog(TreeWindow& tree, CustomInterfaceSettings& settings) : tree(tree), settings(settings) {}
    // True after OK.
    bool Run() { return Present() == IDOK; }

    TreeWindow& tree;
    CustomInterfaceSettings& settings;
};
