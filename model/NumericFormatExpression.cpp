#include "model/NumericFormatExpression.h"

#include "model/EvalContext.h"
#include "formula/FormulaRef.h"
#include "foundation/NumericFormat.h"
#include "foundation/StringHelpers.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

bool FormatExpressionValue(zString& text, TreeNode* node)
{
    FormulaRef formula(new EvalContext(node ? node->document : nullptr, node), 1, nullptr);
    double value = formula.EvaluateText(text.Text());
    if (formula.HasError() || formula.UsesVariables())
        return false;
    FormatNumber(DefaultNumericFormat, value, text, false, false, -9);
    return true;
}

void ParenthesizeIfExpression(zString& text, TreeDocument* document)
{
    if (text.IsEmpty())
        return;
    if (document && document->HasVariable(text.Text(), false))
        return;
    double value = 0.0;
    int error = 0;
    ParseNumber(text.Text(), value, error);
    if (error)
        Parenthesize(text);
}
