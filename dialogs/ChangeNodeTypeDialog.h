#pragma once
// Change Node Type (dialog 2070): the kind the selected nodes are to take and, for end nodes, the four
// payoff texts when the dialog gives them.

#include "dialogs/PresentedDialog.h"
#include "foundation/zString.h"

class ChangeNodeTypeDialog : public PresentedDialog<ChangeNodeTypeDialog> {
public:
    enum : unsigned { kTemplateId = 2070 };

    // The chosen kind (1 to 7), or -1 when cancelled.
    int Run() { return Present() == IDOK && kind >= 1 && kind <= 7 ? kind : -1; }

    int kind = -1;
    bool payoffsGiven = false;
    zString payoffs[4];
};
