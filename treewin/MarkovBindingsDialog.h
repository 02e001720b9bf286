#pragma once
// Markov Bindings (dialog 4350): the Markov bindings kept at a node, added, edited and deleted in place.

#include "widgets/PresentedDialog.h"

class MarkovBindingList;
struct TreeNode;

class MarkovBindingsDialog : public PresentedDialog<MarkovBindingsDialog> {
public:

    MarkovBindingsDialog(TreeNode* node, MarkovBindingList& bindings) : node(node), bindings(bindings) {}
    // True after OK when the bindings changed; on the screen without a presenter.
    bool Run();

    TreeNode* node;
    MarkovBindingList& bindings;
    bool changed = false;
};
