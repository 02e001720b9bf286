#include "formula/ArithmeticNodes.h"

#include "formula/FormulaErrors.h"
#include "formula/FormulaMath.h"

double AddNode::Evaluate(Formula* f)
{
    if (!HasOperands())
        return ReportNodeError(f, FormulaSyntaxError);
    double a = left->Evaluate(f);
    return a + right->Evaluate(f);
}

double SubtractNode::Evaluate(Formula* f)
{
    if (!HasOperands())
        return ReportNodeError(f, FormulaSyntaxError);
    double a = left->Evaluate(f);
    return a - right->Evaluate(f);
}

double MultiplyNode::Evaluate(Formula* f)
{
    if (!HasOperands())
        return ReportNodeError(f, FormulaSyntaxError);
    double a = left->Evaluate(f);
    return a * right->Evaluate(f);
}

double DivideNode::Evaluate(Formula* f)
{
    if (!HasOperands())
        return ReportNodeError(f, FormulaSyntaxError);
    double divisor = right->Evaluate(f);
    double dividend = left->Evaluate(f);
    if (divisor == 0.0)
        return ReportNodeError(f, FormulaDivisionByZero);
    return dividend / divisor;
}

double PowerNode::Evaluate(Formula* f)
{
    if (!HasOperands())
        return ReportNodeError(f, FormulaSyntaxError);
    double exponent = right->Evaluate(f);
    double base = left->Evaluate(f);
    double result = 0.0;
    if (!CheckedPow(base, exponent, result))
        ReportNodeError(f, FormulaBadPower);
    return result;
}

double NegateNode::Evaluate(Formula* f)
{
    if (!operand)
        return ReportNodeError(f, FormulaSyntaxError);
    return -operand->Evaluate(f);
}

double UnaryPlusNode::Evaluate(Formula* f)
{
    if (!operand)
        return ReportNodeError(f, FormulaSyntaxError);
    return operand->Evaluate(f);
}
