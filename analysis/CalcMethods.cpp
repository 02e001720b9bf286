#include "analysis/CalcMethods.h"

#include "foundation/ValueTriple.h"
#include "model/EvalContext.h"
#include "formula/FormulaRef.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

#include <cmath>

namespace {

constexpr double kNegligible = 1e-10;

double WeightedSum(TreeDocument* document, TreeNode* node, PayoffEvaluator evaluator, RunFault* error)
{
    double sum = 0.0;
    for (int i = 0; i < kPayoffCount && !*error; ++i) {
        Expression& weightFormula = document->CalcPrefs.MultiAttrWeight[i];
        if (weightFormula.IsEmpty())
            continue;
        FormulaRef formula(new EvalContext(document, node), 1, "multi-attribute weighting factor");
        const double weight = formula.Evaluate(weightFormula);
        if (formula.HasError()) {
            formula.ShowError(nullptr, 1);
            error->Set(OutcomeCode::FormulaFailed);
            break;
        }
        if (std::fabs(weight) >= kNegligible)
            sum += weight * evaluator(node, error, i);
    }
    return sum;
}

}  // namespace

double ComputeMultiAttributeValue(TreeDocument* document, TreeNode* node, PayoffEvaluator evaluator, RunFault* error)
{
    const TreeCalcPrefs& prefs = document->CalcPrefs;
    switch (prefs.CalcMethod) {
    case PayoffMethod:
        return evaluator(node, error, prefs.CurrentPayoff);
    case CostEffectivenessMethod: {
        const double cost = evaluator(node, error, document->CostPayoffIndex());
        node->triple.cost = cost;
        if (*error)
            return 0.0;
        const double effectiveness = evaluator(node, error, prefs.CEEffPayoff);
        node->triple.effectiveness = effectiveness;
        return std::fabs(effectiveness) < kNegligible ? kNoRatio : cost / effectiveness;
    }
    case BenefitCostMethod: {
        const double benefit = evaluator(node, error, prefs.BCBenefitPayoff);
        if (*error)
            return benefit;
        return benefit - evaluator(node, error, document->CostPayoffIndex());
    }
    case MultiAttributeMethod:
        return WeightedSum(document, node, evaluator, error);
    default:
        return 0.0;
    }
}
