#pragma once
// Change Node Type (dialog 2070): the kind the selected nodes are to take.

#include "widgets/PresentedDialog.h"

class NodeChildList;
class TreeWindow;

class ChangeNodeTypeDialog : public PresentedDialog<ChangeNodeTypeDialog> {
public:

    // The nodes' common kind is chosen at first (none when they differ). A kind is not offered when a node
    // cannot take it: Markov and decision below a Markov node, terminal with branches, label with two or
    // more; Markov, logic and label not at all with the short menus.
    // Each offered kind shows its symbol as the window draws it.
    ChangeNodeTypeDialog(TreeWindow& window, const NodeChildList& nodes);
    // The chosen kind (1 to 7), or -1 when cancelled.
    int Run();
    TreeWindow& Window() const { return window_; }
    bool Offers(int kind) const;
    // Whether the kind's button shows at all.
    bool Shows(int kind) const;

    int kind = -1;

private:
    TreeWindow& window_;
    unsigned offered_ = 0; // bit (1 << kind) of each kind offered
    bool shortMenus_;
};
