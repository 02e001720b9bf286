#pragma once
// The Cut/Copy/Paste/Clear Options dialog (2401): which kind of object an Edit command acts on when several
// are offered. Kinds are the scope numbers 1 node, 2 subtree, 3 text, 4 note box, 5 arrow; the mask holds
// bit (1 << scope) of each kind offered.

#include "widgets/PresentedDialog.h"

class EditScopeDialog : public PresentedDialog<EditScopeDialog> {
public:
    enum : unsigned { kButtons = 4 };

    // `tree` names the scopes of a tree window, else those of an influence diagram.
    EditScopeDialog(unsigned command, unsigned mask, bool tree = true) : command(command), mask(mask), tree(tree) {}
    // The chosen scope when it is offered; 0 when cancelled. On the screen the first offered scope is
    // chosen at first.
    int Run();
    // "Cut", "Copy", "Paste" or "Clear", then " Options".
    const char* Caption() const;
    // The scope's button label.
    const char* Label(int scope) const;

    unsigned command;
    unsigned mask;
    bool tree;
    int scope = 0;
};
