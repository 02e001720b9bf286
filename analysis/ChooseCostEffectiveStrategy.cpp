#include "analysis/ChooseCostEffectiveStrategy.h"

#include "model/CESensitivitySettings.h"
#include "model/EvalContext.h"
#include "formula/FormulaRef.h"

namespace {

// Evaluates one setting at the tree's root; a failure shows the formula's message, which names the setting
// and not the root (the settings belong to the whole tree).
bool EvaluateSetting(Expression& expression, TreeDocument* tree, const char* formulaName, double& value)
{
    EvalContext* context = new EvalContext(tree, nullptr);
    context->noNodeInMessages = 1;
    FormulaRef formula(context, 1, formulaName);
    value = formula.Evaluate(expression);
    if (!formula.HasError())
        return true;
    formula.ShowError(nullptr, 0);
    return false;
}

}  // namespace

int ChooseCostEffectiveStrategy(CESensitivitySettings& settings, const CEPointList& points, TreeDocument* tree,
                                RunFault* error)
{
    if (error && *error)
        return -1;
    CEChoiceLimits limits;
    limits.excludeExtended = settings.excludeExtended;
    limits.useCostCeiling = settings.useCostCeiling;
    limits.useEffectivenessFloor = settings.useEffectivenessFloor;
    bool ok = EvaluateSetting(settings.willingnessToPay, tree, "willingness to pay", limits.willingnessToPay);
    if (ok && limits.useCostCeiling)
        ok = EvaluateSetting(settings.costCeiling, tree, "maximum cost value", limits.costCeiling);
    if (ok && limits.useEffectivenessFloor)
        ok = EvaluateSetting(settings.effectivenessFloor, tree, "minimum effectiveness value", limits.effectivenessFloor);
    if (!ok) {
        if (error)
            error->Set(OutcomeCode::FormulaFailed);
        return -1;
    }
    return ChooseCostEffectivePoint(points, limits);
}
