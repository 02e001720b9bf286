#include "model/ExpressionValueText.h"

#include "formula/EvalContext.h"
#include "formula/FormulaRef.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatParsing.h"
#include "foundation/NumericFormatting.h"
#include "foundation/StringHelpers.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

bool FormatExpressionValue(zString& text, TreeNode* node)
{
    TreeWindow* window = node != nullptr ? node->window : nullptr;
    FormulaRef handle(new EvalContext(window, node), 1, nullptr);
    const double value = handle.EvaluateText(text.Text());
    if (handle.HasError() || handle.UsesVariables())
        return false;
    FormatNumber(DefaultNumericFormat, value, text, false, false, -9);
    return true;
}

void ParenthesizeIfExpression(zString& text, TreeWindow* window)
{
    if (text.IsEmpty())
        return;
    if (window != nullptr && window->HasVariable(text.Text(), false))
        return;
    double value = 0.0;
    int error = 0;
    ParseNumber(text.Text(), value, error);
    if (error == 0)
        return;
    Parenthesize(text);
}
