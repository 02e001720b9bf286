#include "analysis/ChooseCostEffectiveStrategy.h"

#include "analysis/CEPointList.h"

int ChooseCostEffectivePoint(const CEPointList& points, const CEChoiceLimits& limits)
{
    const bool payPositive = limits.willingnessToPay > 0.0;
    const CEPoint* previous = nullptr;
    int result = -1;
    for (int i = 0; i < points.Count(); ++i) {
        const CEPoint* p = points.Point(i);
        if (p->state == CEPoint::Dominated)
            continue;
        if (p->state == CEPoint::ExtendedDominated && limits.excludeExtended)
            continue;
        if (limits.useCostCeiling && p->cost > limits.costCeiling)
            break;
        if (limits.useEffectivenessFloor && p->effectiveness < limits.effectivenessFloor) {
            previous = p;
            continue;
        }
        if (!previous) {
            result = i;
            previous = p;
            continue;
        }
        const double effGain = p->effectiveness - previous->effectiveness;
        if (effGain > 0.0 && (!payPositive || (p->cost - previous->cost) / effGain < limits.willingnessToPay)) {
            result = i;
            previous = p;
        }
    }
    return result;
}
