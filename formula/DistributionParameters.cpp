// Evaluation of a distribution's parameter formulas in the document that owns the distribution.

#include "formula/Distribution.h"

#include "formula/FormulaDocument.h"
#include "formula/FormulaRef.h"
#include "formula/ParseOnlyContext.h"
#include "formula/RunOutcome.h"

double Distribution::EvaluateParameter(Expression& expr, int i, RunFault* fault)
{
    if (useCached)
        return cached[i];
    double value = 0.0;
    if (!expr.GetConstant(&value)) {
        if (fault && *fault)
            return 0.0;
        // A distribution outside any document has no variables: each name gives a random value in [0, 1].
        EvalContextBase* context = owner != nullptr ? owner->NewParameterContext() : new ParseOnlyContext;
        // The formula's name in messages: argument "Std Dev" of Normal distribution.
        zString givenText;
        if (fault) {
            zString label;
            PlainLabel(i, label);
            givenText = "argument \"";
            givenText += label;
            givenText += "\" of ";
            givenText += Name();
            givenText += " distribution";
        }
        FormulaRef formula(context, 1, givenText.Text());
        value = formula.Evaluate(expr);
        if (formula.HasError()) {
            formula.ShowError(nullptr, 0);
            if (fault)
                fault->Set(formula.FailureCode());
        }
    }
    if (i < kCachedSlots)
        cached[i] = value;
    return value;
}
