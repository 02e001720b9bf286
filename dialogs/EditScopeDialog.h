#pragma once
// The Cut/Copy/Paste/Clear Options dialog (2401): which kind of object an Edit command acts on when several
// are offered. Kinds are the scope numbers 1 node, 2 subtree, 3 text, 4 note box, 5 arrow; the mask holds
// bit (1 << scope) of each kind offered.

#include "dialogs/PresentedDialog.h"

class EditScopeDialog : public PresentedDialog<EditScopeDialog> {
public:
    enum : unsigned { kTemplateId = 2401 };

    EditScopeDialog(unsigned command, unsigned mask) : command(command), mask(mask) {}
    // The chosen scope when it is offered; 0 when cancelled.
    int Run() { return Present() == IDOK && scope > 0 && scope < 32 && (mask & (1u << scope)) ? scope : 0; }

    unsigned command;
    unsigned mask;
    int scope = 0;
};
