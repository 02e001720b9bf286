#pragma once
// The Clones dialog (3610): the tree's clone masters, one row each ("3\tname"); Properties edits a row's
// index and description (Clone Properties, 3620), Destroy destroys its clone. Every change is made at once;
// the dialog closes without cancelling anything.

#include "widgets/PresentedDialog.h"
#include "foundation/zString.h"

class NodeRefList;
class TreeWindow;
struct NodeRef;

class ClonesDialog : public PresentedDialog<ClonesDialog> {
public:

    ClonesDialog(TreeWindow& tree, NodeRefList& masters) : tree_(tree), masters_(masters) {}
    void Run();
    int Count() const;
    zString RowText(int row) const;
    // Destroys the row's clone after the tree's question; a row out of range does nothing.
    void Destroy(int row);
    // Clone Properties on the row's entry; after OK the entry's new row (the tree is modified), else -1.
    int Edit(int row);

private:
    TreeWindow& tree_;
    NodeRefList& masters_;
};

// Clone Properties (3620): a new index (1 to 32000, not used by another entry) and description of one clone.
class ClonePropsDialog : public PresentedDialog<ClonePropsDialog> {
public:

    // The entry is out of the registry while it is edited.
    ClonePropsDialog(TreeWindow& tree, NodeRef& entry, const NodeRefList& masters);
    // Shows the dialog; on OK every node of the clone, master and copies, takes the new index, and the entry
    // takes both fields. True then.
    bool Run();
    // The index is free in the registry.
    bool IndexIsFree() const;

    int newIndex;
    zString description;
    bool accepted = false;

private:
    TreeWindow& tree_;
    NodeRef& entry_;
    const NodeRefList& masters_;
};
