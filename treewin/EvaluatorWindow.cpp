#include "treewin/EvaluatorWindow.h"

#include "formula/Expression.h"
#include "formula/FormulaRef.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/window/ResourceId.h"
#include "framework/window/WindowEvent.h"
#include "model/EvalContext.h"
#include "model/NodePath.h"
#include "model/TreeNode.h"
#include "treewin/TreeAction.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

namespace Ids = Ctl::Evaluator;

EvaluatorWindow::EvaluatorWindow(TreeWindow* tree, const NodeChildList& nodes)
    : TreeChildWindow(tree, ResourceId(DialogRes::Evaluator, nullptr), false)
{
    SetIconId(32011);  // not a resource id: an icon, which the generated names leave out
    FitToFrame();
    PlaceAt(0.65, 0.5);
    OnTreeTitleChanged(tree->Document().Title().Text());
    expression = EditCtrl::FromTemplate(this, Ids::ExpressionEdit);
    result = EditCtrl::FromTemplate(this, Ids::ResultEdit);
    if (expression != nullptr)
        TrackFocus(expression);
    SetNodes(nodes);
}

EvaluatorWindow::~EvaluatorWindow()
{
    if (Tree() != nullptr && Tree()->Evaluator == this)
        Tree()->Evaluator = nullptr;
}

void EvaluatorWindow::OnTreeTitleChanged(const char*)
{
    SetCaption(": Evaluator");
}

void EvaluatorWindow::SetNodes(const NodeChildList& nodes)
{
    nodePath.Clear();
    zString label("(none)");
    if (nodes.Count() > 1) {
        label = "(multiple)";
    } else if (nodes.Count() == 1) {
        RecordPath(nodes.At(0), nodePath);
        nodes.At(0)->GetShortText(label, 30);
    }
    if (Handle() != nullptr)
        SetItemText(Ids::NodeText, label.Text());
    if (result != nullptr)
        result->SetText("");
}

TreeNode* EvaluatorWindow::Node() const
{
    TreeNode* root = Tree()->Document().Root;
    TreeNode* node = nodePath.IsEmpty() ? nullptr : FindNodeByPath(root, nodePath.Text());
    return node != nullptr ? node : root;
}

void EvaluatorWindow::Calculate()
{
    if (expression == nullptr || result == nullptr)
        return;
    ::Expression formula;
    formula.SetText(expression->GetText().Text());
    FormulaRef evaluation(new EvalContext(&Tree()->Document(), Node()), 1, nullptr);
    const double value = evaluation.Evaluate(formula);
    if (evaluation.ShowError(expression, 0) != 0)
        return;
    zString text;
    FormatNumber(DefaultNumericFormat, value, text, false, false, -9);
    result->SetText(text.Text());
}

void EvaluatorWindow::InsertText(const char* text, bool)
{
    if (expression == nullptr || text == nullptr || *text == '\0')
        return;
    expression->ReplaceSelection(text);
    SetFocus(expression->Handle());
}

long EvaluatorWindow::OnCommandId(unsigned id, unsigned code, HWND control)
{
    // The result never shows the value of an expression changed since.
    if (id == Ids::ExpressionEdit && code == EN_CHANGE && result != nullptr)
        result->SetText("");
    // Enter in the window calculates as the button does.
    if (id != Ids::Calculate && id != IDOK)
        return TreeChildWindow::OnCommandId(id, code, control);
    Calculate();
    if (expression != nullptr)
        SetFocus(expression->Handle());
    return 1;
}
