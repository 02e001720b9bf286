#pragma once
// The Clones dialog (3610): the tree's clone masters, one row each ("3\tname"), and Destroy on the chosen
// one. Every change is made at once; the dialog closes without cancelling anything.

#include "dialogs/PresentedDialog.h"
#include "foundation/zString.h"

class NodeRefList;
class TreeWindow;

class ClonesDialog : public PresentedDialog<ClonesDialog> {
public:
    enum : unsigned { kTemplateId = 3610 };

    ClonesDialog(TreeWindow& tree, const NodeRefList& masters) : tree_(tree), masters_(masters) {}
    void Run() { Present(); }
    int Count() const;
    zString RowText(int row) const;
    // Destroys the row's clone after the tree's question; a row out of range does nothing.
    void Destroy(int row);

private:
    TreeWindow& tree_;
    const NodeRefList& masters_;
};
