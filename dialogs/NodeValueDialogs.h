#pragma once
// The dialogs of the quick node answers: the node value in words (template 2120), the over/under target
// (3210) and result (3215), and the EVPI questions: chance nodes that may be the same event (3390), the
// decision node the value is taken at (3420) and the choice among the decision nodes above (3380).

#include "analysis/OverUnderAnalysis.h"
#include "model/NodeChildList.h"

class TreeDocument;
struct TreeNode;


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
