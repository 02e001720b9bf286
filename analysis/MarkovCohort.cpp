#include "analysis/MarkovCohort.h"

#include "app/MessageBoxes.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

double MarkovCohortValue(TreeNode* node, int* error, int)
{
    if (*error != 0)
        return 0.0;
    *error = 1;
    zString name;
    node->GetShortText(name, 30);
    zString message("Markov cohort analysis is not available. Unable to evaluate Markov node \"");
    message += name;
    message += "\".";
    ShowErrorBox(nullptr, message.Text(), -1);
    if (node->window != nullptr)
        node->window->SelectNode(node, 1, nullptr, false);
    return 0.0;
}
