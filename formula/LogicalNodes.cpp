#include "formula/LogicalNodes.h"

#include "formula/FormulaErrors.h"

#include <cmath>

namespace {

const double kTruthTolerance = 1e-10;

double Truth(bool value)
{
    return value ? 1.0 : 0.0;
}

}  // namespace

double AndNode::Evaluate(Formula* f)
{
    if (!HasOperands())
        return ReportNodeError(f, FormulaSyntaxError);
    if (left->Evaluate(f) == 0.0)
        return 0.0;
    return Truth(right->Evaluate(f) != 0.0);
}

double OrNode::Evaluate(Formula* f)
{
    if (!HasOperands())
        return ReportNodeError(f, FormulaSyntaxError);
    if (left->Evaluate(f) != 0.0)
        return 1.0;
    return Truth(right->Evaluate(f) != 0.0);
}

double NotNode::Evaluate(Formula* f)
{
    if (!operand)
        return ReportNodeError(f, FormulaSyntaxError);
    return Truth(std::fabs(operand->Evaluate(f)) < kTruthTolerance);
}

double LessNode::Evaluate(Formula* f)
{
    if (!HasOperands())
        return ReportNodeError(f, FormulaSyntaxError);
    double a = left->Evaluate(f);
    return Truth(a < right->Evaluate(f));
}

double LessEqualNode::Evaluate(Formula* f)
{
    if (!HasOperands())
        return ReportNodeError(f, FormulaSyntaxError);
    double a = left->Evaluate(f);
    return Truth(a <= right->Evaluate(f));
}

double EqualNode::Evaluate(Formula* f)
{
    if (!HasOperands())
        return ReportNodeError(f, FormulaSyntaxError);
    double b = right->Evaluate(f);
    return Truth(std::fabs(left->Evaluate(f) - b) < kTruthTolerance);
}

double NotEqualNode::Evaluate(Formula* f)
{
    if (!HasOperands())
        return ReportNodeError(f, FormulaSyntaxError);
    double b = right->Evaluate(f);
    return Truth(std::fabs(left->Evaluate(f) - b) >= kTruthTolerance);
}

double GreaterEqualNode::Evaluate(Formula* f)
{
    if (!HasOperands())
        return ReportNodeError(f, FormulaSyntaxError);
    double a = left->Evaluate(f);
    return Truth(a >= right->Evaluate(f));
}

double GreaterNode::Evaluate(Formula* f)
{
    if (!HasOperands())
        return ReportNodeError(f, FormulaSyntaxError);
    double a = left->Evaluate(f);
    return Truth(a > right->Evaluate(f));
}
