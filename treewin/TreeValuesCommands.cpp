// The Values menu of a tree window and the commands that build values and branches: each value window edits
// one item of one node, so a window opens only when no other window edits that item at the chosen nodes.

#include "treewin/TreeWindow.h"

#include "widgets/InPlaceEdit.h"
#include "treewin/BayesDialogs.h"
#include "treewin/CreateSliderDialog.h"
#include "treewin/DefineNewVariableDialog.h"
#include "formula/RunOutcome.h"
#include "treewin/VariablePropertiesDialog.h"
#include "treewin/DefineValuesDialog.h"
#include "treewin/TableGraphWindow.h"
#include "treewin/DefineVariableWindow.h"
#include "treewin/DistributeChildrenDialog.h"
#include "treewin/DistributionPicker.h"
#include "treewin/DistributionsDialog.h"
#include "treewin/EnterPayoffWindow.h"
#include "treewin/EvaluatorWindow.h"
#include "treewin/InsertVariableDialog.h"
#include "treewin/MarkovValueWindows.h"
#include "treewin/MultiAttrWeightDialog.h"
#include "treewin/NodeCommentWindow.h"
#include "treewin/ProbabilityWheel.h"
#include "treewin/TablesUsedDialog.h"
#include "treewin/VariablesWindow.h"
#include "formula/Distribution.h"
#include "foundation/MessageBoxes.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "model/DocVariable.h"
#include "model/NameRules.h"
#include "model/TreeNode.h"
#include "treewin/SliderWindow.h"
#include "treewin/TreeCommandHandlers.h"

#include "CommandIds.h"

#include <memory>
#include <string>

namespace {

NodeChildList& OneNode(NodeChildList& list, TreeNode* node)
{
    list.Add(node);
    return list;
}

// Shows the new window and leaves it in the tree's list of bound windows, which it joined when made.
void ShowValueWindow(NodeValueWindow* window)
{
    window->Show(-1);
}

} // namespace

using Handlers = TreeWindow::CommandHandlers;

void Handlers::DefineValues(TreeWindow& tree) { tree.DefineValues(); }

void Handlers::ChangePayoff(TreeWindow& tree)
{
    if (tree.CheckEditConflict(tree.Selection, "***enterPay", true))
        ShowValueWindow(new EnterPayoffWindow(&tree, tree.Selection));
}

void Handlers::MarkovStateInformation(TreeWindow& tree)
{
    if (tree.CheckEditConflict(tree.Selection, "***markovRewards", true))
        ShowValueWindow(new MarkovRewardsWindow(&tree, tree.Selection));
}

void Handlers::MarkovTermination(TreeWindow& tree)
{
    if (tree.Selection.Count() == 0)
        return;
    NodeChildList first(1, Ownership::Borrows);
    if (tree.CheckEditConflict(OneNode(first, tree.Selection.At(0)), "***markovTerm", true))
        ShowValueWindow(new MarkovTerminationWindow(&tree, first));
}

void Handlers::InsertVariable(TreeWindow& tree) { InsertVariableName(&tree, tree.InPlaceEditor); }

void Handlers::OpenOrCloseEvaluator(TreeWindow& tree)
{
    if (tree.Evaluator == nullptr)
        OpenEvaluator(tree);
    else
        delete tree.Evaluator;
}

void Handlers::ShowOrHideVariablesWindow(TreeWindow& tree)
{
    if (tree.VariablesView == nullptr)
        OpenVariablesWindow(tree);
    else
        delete tree.VariablesView;
}

// Opens the Variables window, or brings the open one to the top.
void Handlers::ShowVariablesWindow(TreeWindow& tree)
{
    if (tree.VariablesView == nullptr)
        OpenVariablesWindow(tree);
    else
        BringWindowToTop(tree.VariablesView->Handle());
}

void Handlers::CreateSlider(TreeWindow& tree) { tree.CreateSlider(); }

void Handlers::MarkovTransitionRewards(TreeWindow& tree)
{
    if (tree.CheckEditConflict(tree.Selection, "***markovToll", true))
        ShowValueWindow(new MarkovTollWindow(&tree, tree.Selection));
}

void Handlers::ProbabilityWheel(TreeWindow& tree)
{
    if (tree.Selection.Count() > 0)
        OpenProbabilityWheel(&tree, tree.Selection.At(0));
}

void Handlers::MultiAttributeWeights(TreeWindow& tree) { OpenMultiAttributeWeighting(&tree); }
void Handlers::Distributions(TreeWindow& tree) { DistributionsDialog(&tree, false).Run(); }
void Handlers::TablesUsed(TreeWindow& tree) { ShowTablesUsed(tree.document.Root); }
void Handlers::VariablesReport(TreeWindow& tree) { VariablesWindow::CopyAsText(tree.document.Root, &tree); }
void Handlers::OpenEvaluator(TreeWindow& tree)
{
    tree.Evaluator = new EvaluatorWindow(&tree, tree.Selection);
    tree.Evaluator->Show(-1);
}

void TreeWindow::SyncEvaluatorWindow()
{
    if (Evaluator != nullptr && document.SuspendVariablesSync == 0)
        Evaluator->SetNodes(Selection);
}

void Handlers::OpenVariablesWindow(TreeWindow& tree)
{
    tree.VariablesView = new VariablesWindow(&tree, tree.Selection);
    tree.VariablesView->Show(-1);
}

void TreeWindow::SyncVariablesWindow()
{
    if (VariablesView != nullptr && document.SuspendVariablesSync == 0)
        VariablesView->SetNodes(Selection);
}

void TreeWindow::DefineValues()
{
    const NodeChildList& selection = Selection;
    DefineValuesDialog dialog(*this, selection.Count(), 1);
    if (!dialog.Run())
        return;
    const int count = dialog.chosen.Count();
    const bool single = count == 1;
    bool conflict = false;
    for (int i = 0; i < count; ++i) {
        zString name(*dialog.chosen.At(i));
        NormalizeVariableName(name);
        if (name.IsEmpty())
            continue;
        // A name that is no variable is a lookup table: its window opens.
        if (document.FindVariable(name.Text(), false) == nullptr) {
            OpenTableGraph(name.Text());
            continue;
        }
        NodeChildList root(1, Ownership::Borrows);
        const NodeChildList& nodes = dialog.defaultForTree ? OneNode(root, document.Root) : selection;
        if (!CheckEditConflict(nodes, name.Text(), single)) {
            conflict = true;
            continue;
        }
        if (dialog.defaultForTree || !dialog.windowPerNode) {
            ShowValueWindow(new DefineVariableWindow(this, nodes, name.Text()));
            continue;
        }
        for (int n = 0; n < selection.Count(); ++n) {
            NodeChildList one(1, Ownership::Borrows);
            ShowValueWindow(new DefineVariableWindow(this, OneNode(one, selection.At(n)), name.Text()));
        }
    }
    if (conflict && !single)
        ShowInfoBox(nullptr, "One or more of the selected variables is currently being edited in another window.", 0);
}

void TreeWindow::CreateSlider()
{
    NodeChildList nodes(4, Ownership::Borrows);
    nodes.AssignShallow(Selection);
    if (nodes.Count() == 0)
        nodes.Add(document.Root);
    CreateSliderDialog dialog(&document, nodes);
    if (!dialog.Run())
        return;
    if (!CheckEditConflict(nodes, dialog.variable.Text(), true))
        return;
    if (DocVariable* variable = document.FindVariable(dialog.variable.Text(), false)) {
        variable->low.value = dialog.low;
        variable->low.text.Clear();
        variable->high.value = dialog.high;
        variable->high.text.Clear();
        variable->hasRange = 1;
    }
    (new SliderWindow(this, nodes, dialog.variable.Text(), dialog.low, dialog.high, dialog.intervals))->Show(-1);
}

void TreeWindow::OpenNodeValueWindow(TreeNode* node, const char* name)
{
    NodeChildList one(1, Ownership::Borrows);
    if (CheckEditConflict(OneNode(one, node), name, true))
        ShowValueWindow(new DefineVariableWindow(this, one, name));
}

void Handlers::NodeComment(TreeWindow& tree)
{
    TreeNode* node = tree.CurrentNode();
    NodeChildList one(1, Ownership::Borrows);
    if (node == nullptr || !tree.CheckEditConflict(OneNode(one, node), "***node comment", true))
        return;
    const bool wasEmpty = node->ExtraListEmpty();
    const bool opens = ValidateNodeComment(node);
    // Throwing an old comment out takes the node's comment flag away.
    if (node->ExtraListEmpty() != wasEmpty)
        tree.InvalidateAll();
    if (opens)
        ShowValueWindow(new NodeCommentWindow(&tree, node));
}

void TreeWindow::DefineNewVariable()
{
    TreeNode* node = CurrentNode();
    if (node == nullptr)
        return;
    zString name("NewVar");
    DefineNewVariableDialog dialog(document, name);
    if (!dialog.Run())
        return;
    document.EnsureVariable(name.Text(), nullptr);
    OpenNodeValueWindow(node, name.Text());
}

DocVariable* TreeWindow::CreateAskedVariable(const char* name)
{
    OutcomeScopePause dialogOwnBoxes;
    VariablePropertiesDialog properties(*this, name);
    properties.RunModal();
    return properties.AppliedName().IsEmpty() ? nullptr : document.FindVariable(name, false);
}

void TreeWindow::DistributeChildren()
{
    TreeNode* node = CurrentNode();
    if (node == nullptr)
        return;
    if (document.Variables.Count() == 0) {
        ShowErrorBox(nullptr,
                     "No variables are defined to hold the values of the distribution. Please create one first.",
                     30011);
        return;
    }
    DistributeChildrenDialog first(document.Variables);
    if (!first.Run() || first.variableIndex < 0 || first.variableIndex >= document.Variables.Count())
        return;
    std::unique_ptr<Distribution> distribution(RunDistributionPicker(this, nullptr, false));
    if (distribution == nullptr)
        return;
    DistributeChildrenRangesDialog ranges(*distribution, first.count);
    const size_t count = static_cast<size_t>(first.count);
    if (!ranges.Run() || ranges.probabilities.size() < count || ranges.boundaries.size() <= count)
        return;
    if (!node->CheckRoomForChildren(first.count))
        return;
    // The new branches cannot be taken back: the history goes, after the person agrees.
    if (AskOkCancel(nullptr, "Distributing the children cannot be undone, and the undo history will be cleared. "
                             "Do you want to continue?", 0, 3) != 1)
        return;
    const zString variable(document.Variables.At(first.variableIndex)->name);
    const NumericFormat& format = document.CalcPrefs.CurrentNumericFormat();
    for (int i = 0; i < first.count; ++i) {
        auto* child = new TreeNode(&document);
        node->InsertChildOrThrow(child, -1);
        zString text;
        FormatNumber(format, ranges.RangeValue(i), text, true, false, -9);
        child->SetBinding(variable.Text(), text.Text(), false);
        child->SetText(("Node " + std::to_string(i + 1)).c_str(), false);
        if (i == first.count - 1)
            text = "#";
        else
            FormatNumber(format, ranges.probabilities[i], text, false, false,
                         static_cast<int16_t>(-format.ExtendedProbDigits()));
        child->SetProbabilityText(text.Text(), false);
    }
    ClearUndoHistory();
    RedrawNode(node, 2);
    SetModified(1);
}

void Handlers::BayesRevision(TreeWindow& tree)
{
    TreeNode* node = tree.CurrentNode();
    if (node == nullptr)
        return;
    ReviseWithBayes(node);
    tree.RedrawNode(node, 1);
}
