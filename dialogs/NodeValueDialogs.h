#pragma once
// The dialogs of the quick node answers: the node value in words (template 2120), the over/under target
// (3210) and result (3215), and the EVPI questions: chance nodes that may be the same event (3390), the
// decision node the value is taken at (3420) and the choice among the decision nodes above (3380).

#include "analysis/OverUnderAnalysis.h"
#include "model/NodeChildList.h"

class TreeDocument;
struct TreeNode;

enum : unsigned {
    kNodeValueTemplate = 2120,
    kNodeValueText = 2121,
    kOptimalChoiceText = 2122,
    kOverUnderTemplate = 3210,
    kLowerRangeCheck = 3211,
    kTargetField = 3212,
    kOverUnderResultTemplate = 3215,
    kBelowValueText = 3213,
    kAboveValueText = 3214,
    kAboveLabel = 3216,
    kBelowLabel = 3217,
    kEvpiNodesTemplate = 3390,
    kEvpiNodesList = 3391,
    kEvpiDecisionTemplate = 3420,
    kEvpiDecisionText = 3421,
    kOtherNodeButton = 3422,
    kEvpiLevelTemplate = 3380,
    kEvpiLevelList = 3281,
};

// One value of the selected nodes in words, for a node value command (1605, 1606, 1609, 1618); the optimal
// list names the optimal choice of a single decision node under Expected Value.
class NodeValueDialog {
public:
    NodeValueDialog(TreeDocument* document, int command, double value, const NodeChildList& nodes,
                    const NodeChildList* optimal)
        : document(document), command(command), value(value), nodes(nodes), optimal(optimal)
    {
    }
    // Shows the value until the person closes the dialog.
    void Run() const;

private:
    TreeDocument* document;
    int command;
    double value;
    const NodeChildList& nodes;
    const NodeChildList* optimal;
};

// The over/under command for the node: asks the target and computes (nothing after a refused risk check or
// Cancel).
class OverUnderDialog {
public:
    static void Run(TreeNode* node);
};

// Shows node values, over/under results and EVPI values in these dialogs, and asks the EVPI questions here.
void InstallNodeValueDialogs();
