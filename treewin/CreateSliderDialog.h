#pragma once
// Create Slider (dialog 2140): the variable ("&Variable:"), the number of intervals (3 to 100) and the low
// and high values of a slider over the chosen nodes.

#include "widgets/PresentedDialog.h"
#include "foundation/zString.h"

#include <string>
#include <vector>

class NodeChildList;
class TreeDocument;
class TreeNode;

class CreateSliderDialog : public PresentedDialog<CreateSliderDialog> {
public:

    // Offers the document's variables defined at every one of the nodes, the first chosen with its stored
    // range at the first node.
    CreateSliderDialog(TreeDocument* document, const NodeChildList& nodes);
    // 1 on OK with a variable, 3 to 100 intervals and low below high. With no variable to offer it says so
    // and runs nothing; a range that is not one is refused and the dialog stays open (a presenter's answer
    // is refused with the same word).
    int Run();
    // The stored range of the chosen variable at the first node, in low and high.
    void LoadRange();

    TreeDocument* document;
    TreeNode* firstNode;
    std::vector<std::string> names;

    zString variable;
    int intervals = 4;
    double low = 0.0;
    double high = 0.0;
};
