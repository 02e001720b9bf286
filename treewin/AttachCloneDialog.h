#pragma once
// The Attach Clone chooser (dialog 2125): which of the tree's clone masters a node is to copy, by its
// position in the list of names.

#include "widgets/PresentedDialog.h"
#include "foundation/NameList.h"

class AttachCloneDialog : public PresentedDialog<AttachCloneDialog> {
public:

    explicit AttachCloneDialog(const NameList& names) : names(names) {}
    // The chosen position, or -1 when cancelled.
    // On the screen the first row is chosen at first.
    int Run();

    const NameList& names;
    int choice = 0;
};
