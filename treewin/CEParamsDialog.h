#pragma once
// Cost-Effectiveness Parameters (dialog 4390): the willingness to pay and, each switched on or off, a
// minimum effectiveness and a maximum cost, as formula texts. The tree's settings change only on OK.

#include "widgets/PresentedDialog.h"
#include "foundation/zString.h"

class TreeWindow;

class CEParamsDialog : public PresentedDialog<CEParamsDialog> {
public:

    // Loads the tree's settings.
    explicit CEParamsDialog(TreeWindow* window);
    // 1 on OK; on the screen without a presenter, where OK stays refused while a formula in use does not
    // parse.
    int Run();

    TreeWindow* window;
    zString willingness;
    zString minimum;
    zString maximum;
    int useMinimum = 0;
    int useMaximum = 0;
};

// Runs the dialog on the tree's settings; on OK they take its values (a formula switched off becomes 0) and
// the tree is modified. Returns whether OK was chosen.
int OpenCEParameters(TreeWindow* window);
