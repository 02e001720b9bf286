#pragma once
// The Node Links dialog (2690): the node's published values (expected value, standard deviation, path
// probability) with the item name of each one's link, "DDE_" and its id, and a button that breaks the
// link at once. There is no cancelling a break.

#include "widgets/PresentedDialog.h"
#include "foundation/zString.h"

struct TreeNode;
class TreeDocument;

class NodeLinksDialog : public PresentedDialog<NodeLinksDialog> {
public:
    enum Row { ExpectedValueRow = 0, StandardDeviationRow = 1, PathProbabilityRow = 2 };

    NodeLinksDialog(TreeNode& node, TreeDocument& document);
    void Run();
    // The row's link id, 0 when the value has no link.
    int LinkId(int row) const;
    // "DDE_" and the id; empty without a link.
    zString ItemName(int row) const;
    // Releases the row's link item from the document; nothing without a link.
    void Break(int row);

private:
    TreeNode& node_;
    TreeDocument& document_;
};
