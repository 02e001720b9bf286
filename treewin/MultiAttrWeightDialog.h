#pragma once
// Multi-Attribute Weighting (dialog 3200): the four weights w1..w4 of the payoff
// w1 * Attribute 1 + w2 * Attribute 2 + w3 * Attribute 3 + w4 * Attribute 4, in edits 3201-3204.

#include "widgets/PresentedDialog.h"
#include "foundation/zString.h"

#include "CommandIds.h"

class TreeWindow;

class MultiAttrWeightDialog : public PresentedDialog<MultiAttrWeightDialog> {
public:

    // Loads the tree's four weight texts.
    explicit MultiAttrWeightDialog(TreeWindow* window);
    // 1 on OK; on the screen without a presenter.
    int Run();

    TreeWindow* window;
    zString weights[4];
};

// Runs the dialog on the tree's weights; on OK they take the four texts and the tree is modified. Returns
// whether OK was chosen.
int OpenMultiAttributeWeighting(TreeWindow* window);
