#pragma once
// The probability wheel: the probabilities of a chance node's two to seven branches assessed as the slices
// of a pie. With the "Store value:" column each branch chooses where its value goes: a variable, "#" (the
// branch keeps the remainder) or " (Numerically)" (the branch's probability becomes the number).

#include "widgets/PresentedDialog.h"
#include "foundation/NameList.h"

#include <vector>

class DocVariableList;
class NumericFormat;
class TreeWindow;
struct TreeNode;

class ProbabilityWheelDialog : public PresentedDialog<ProbabilityWheelDialog> {
public:
    enum : unsigned {
        // The box that shows a slice's value while the button is down on it.
        kValueBox = 3305,
    };

    // One share and one name per branch; targets (one per branch) only with the store column, whose lists
    // offer the variables.
    ProbabilityWheelDialog(std::vector<double> shares, const NameList& names, NameList* targets,
                           const DocVariableList* variables = nullptr)
        : shares(std::move(shares)), names(names), targets(targets), variables(variables)
    {
    }
    // 1 on OK. A store target other than " (Numerically)" chosen for two branches is refused with a
    // message, and the dialog stays open. Without a presenter the wheel shows on the screen: dragging a
    // border between two slices moves it, a click on a slice shows its value ("Was: " and the value it
    // opened with for the right button), and a value typed into a branch's box resizes its slice.
    int Run();
    // The first branch whose store target repeats an earlier one's (" (Numerically)" aside), else -1.
    int RepeatedTarget() const;
    // Sets branch k's share (k below the last), the others giving or taking the difference: the last
    // branch alone, or with keepProportions every other branch in proportion. False, changing nothing,
    // when that leaves some slice narrower than the smallest.
    bool SetShare(size_t k, double share);
    // Moves border k (between branches k and k + 1) to the cumulative share, held between the limits
    // that keep every slice open; with keepProportions the slices on each side keep their proportions.
    void MoveBorder(size_t k, double cumulative);

    std::vector<double> shares;
    const NameList& names;
    NameList* targets;
    const DocVariableList* variables;
    // Enables "&Comment..." when it has a comment.
    TreeNode* node = nullptr;
    bool keepProportions = false;
    // The shares the dialog opened with.
    std::vector<double> opened;

private:
    int ShowOnScreen();
};

extern const char* const kStoreNumerically;

// "You may use "target" for storing only one probability."
void ShowRepeatedTarget(const zString& target);

// The value as it shows with exactly `places` decimals (2 below 1) in the format (the default one when
// none is given): the text goes to `text` when given, the value read back from it is returned.
double RoundAsDisplayed(double value, zString* text, const NumericFormat* format, int places);

// Runs the wheel on the node's branches; on OK the new probabilities, and the variables chosen to hold
// them, become one "Probability Wheel" step of the tree's undo history. Nonzero on OK.
int OpenProbabilityWheel(TreeWindow* window, TreeNode* node);

// The wheel of one probability (two slices) named by the label: the value, held within 0.05 to 0.95,
// is the first slice; on OK it takes that slice's new size. True on OK.
bool RunProbabilityWheelAt(double& value, const char* label);
