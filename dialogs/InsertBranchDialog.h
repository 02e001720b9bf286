#pragma once
// Insert Branch (dialog 2370): where the new branch goes relative to the node, by its four buttons: 37 "To
// &Left", 38 "&Above", 39 "To &Right", 40 "&Below".

#include "dialogs/PresentedDialog.h"

class InsertBranchDialog : public PresentedDialog<InsertBranchDialog> {
public:
    enum : unsigned { kTemplateId = 2370 };

    // The button pressed (37 to 40), or 0 when cancelled.
    int Run() { return Present() == IDOK && mode >= 37 && mode <= 40 ? mode : 0; }

    int mode = 0;
};
