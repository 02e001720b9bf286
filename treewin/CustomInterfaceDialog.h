#pragma once
// Design Custom Interface (dialog 3510): the tree's custom interface as its designer lays it out (the
// parameters offered to the end user, the Basic or Extended form, the comment), edited in the settings in
// place.

#include "widgets/PresentedDialog.h"

class CustomInterfaceSettings;
class TreeWindow;

class CustomInterfaceDialog : public PresentedDialog<CustomInterfaceDialog> {
public:

    CustomInterfaceDialog(TreeWindow& tree, CustomInterfaceSettings& settings) : tree(tree), settings(settings) {}
    // True after the presenter's OK. On the screen the dialogs it opens edit the settings in place and mark
    // the tree modified as they change it; the choice of Basic or Extended is kept however it ends.
    bool Run();

    TreeWindow& tree;
    CustomInterfaceSettings& settings;
};
