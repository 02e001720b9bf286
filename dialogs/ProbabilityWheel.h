#pragma once
// The probability wheel: the probabilities of a chance node's two to seven branches assessed as the slices
// of a pie. With the "Store value:" column each branch chooses where its value goes: a variable, "#" (the
// branch keeps the remainder) or " (Numerically)" (the branch's probability becomes the number).

#include "dialogs/PresentedDialog.h"
#include "foundation/NameList.h"

#include <vector>

class NumericFormat;
class TreeWindow;
struct TreeNode;

class ProbabilityWheelDialog : public PresentedDialog<ProbabilityWheelDialog> {
public:
    enum : unsigned { kTemplateId = 3300, kWheelArea = 3301, kLegendArea = 3302 };

    // One share and one name per branch; targets (one per branch) only with the store column.
    ProbabilityWheelDialog(std::vector<double> shares, const NameList& names, NameList* targets)
        : shares(std::move(shares)), names(names), targets(targets)
    {
    }
    // 1 on OK. A store target other than " (Numerically)" chosen for two branches is refused with a
    // message, and the dialog stays open. Without a presenter the pie shows on the screen, where dragging
    // a border between two slices moves it.
    int Run();

    std::vector<double> shares;
    const NameList& names;
    NameList* targets;
};

extern const char* const kStoreNumerically;

// The value as it shows with exactly `places` decimals (2 below 1) in the format (the default one when
// none is given): the text goes to `text` when given, the value read back from it is returned.
double RoundAsDisplayed(double value, zString* text, const NumericFormat* format, int places);

// Runs the wheel on the node's branches; on OK the new probabilities, and the variables chosen to hold
// them, become one "Probability Wheel" step of the tree's undo history. Nonzero on OK.
int OpenProbabilityWheel(TreeWindow* window, TreeNode* node);
