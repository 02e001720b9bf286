#include "formula/FormulaRef.h"

#include "formula/Formula.h"

FormulaRef::FormulaRef(EvalContextBase* context, int mode, const char* name)
    : formula(new Formula(context, mode, name))
{
}

FormulaRef::~FormulaRef()
{
    delete formula;
}

void FormulaRef::Reset(EvalContextBase* context, int mode, const char* name)
{
    formula->Init(context, mode, name);
}

double FormulaRef::Evaluate(Expression& expression)
{
    return formula->Evaluate(expression);
}

double FormulaRef::EvaluateText(const char* text)
{
    return formula->EvaluateText(text);
}

bool FormulaRef::HasError() const
{
    return formula->HasError();
}

int FormulaRef::ErrorCode() const
{
    return formula->Error();
}

OutcomeCode FormulaRef::FailureCode() const
{
    return formula->FailureCode();
}

bool FormulaRef::UsesVariables() const
{
    return formula->UsesVariables();
}

int FormulaRef::ShowError(TextField* edit, int selectNode)
{
    return formula->ReportError(edit, selectNode);
}
