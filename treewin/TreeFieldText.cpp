// What an in-place edit of a tree leaves behind: the typed text put into its field.

#include "treewin/TreeWindow.h"

#include "analysis/RollBack.h"
#include "foundation/NumericFormatting.h"
#include "model/NoteBox.h"
#include "model/TreeNode.h"

void TreeWindow::SetFieldText(int field, const zString& text, bool check)
{
    if (field == 3) {
        if (SelectedNote != nullptr)
            SelectedNote->text = text;
        return;
    }
    TreeNode* node = CurrentNode();
    if (node == nullptr)
        return;
    if (field == 1) {
        node->SetText(text.Text(), true);
    } else if (field == 4) {
        node->SetText2(text.Text(), true);
    } else if (field == 2) {
        node->SetProbabilityText(text.Text(), true);
        if (!check || text.IsEmpty() || text.Text()[0] == '#')
            return;
        RunFault error;
        {
            InPlaceEditHold evaluating;
            BranchProbability(node, &error, false);
        }
        if (!error && document.CalcPrefs.CalcComplementaryProbs)
            CompleteSiblingProbability(node);
    }
}

// When exactly one sibling of the typed branch has no probability, it gets one minus the others, provided
// each of them evaluates without variables and they sum to at most one.
void TreeWindow::CompleteSiblingProbability(TreeNode* node)
{
    TreeNode* parent = node->parent;
    if (parent == nullptr)
        return;
    TreeNode* empty = nullptr;
    int emptyCount = 0;
    for (int i = 0; i < parent->childCount; ++i) {
        if (parent->GetChild(i)->IsProbabilityEmpty()) {
            empty = parent->GetChild(i);
            ++emptyCount;
        }
    }
    if (emptyCount != 1 || empty == node)
        return;
    double sum = 0.0;
    for (int i = 0; i < parent->childCount; ++i) {
        TreeNode* child = parent->GetChild(i);
        if (child == empty)
            continue;
        RunFault error;
        int usesVariables = 0;
        sum += BranchProbabilityEx(child, &error, &usesVariables);
        if (error || usesVariables != 0)
            return;
    }
    if (sum > 1.0)
        return;
    zString text;
    FormatNumber(document.CalcPrefs.CurrentNumericFormat(), 1.0 - sum, text, false, false, DigitsOfFormatTrimmed);
    empty->SetProbabilityText(text.Text(), true);
    RedrawNode(empty, 0);
    RedrawNode(node, 0);
}
