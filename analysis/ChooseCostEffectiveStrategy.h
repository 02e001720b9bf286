#pragma once
// The recommended strategy among cost-effectiveness points: walking the frontier in ascending cost, the
// last strategy whose incremental ratio against the previous admissible one stays below the willingness to
// pay (or, with a willingness to pay of 0 or less, the most effective admissible strategy), within the
// optional cost ceiling and effectiveness floor.

#include "formula/RunOutcome.h"
#include <cstdint>

class CEPointList;
class CESensitivitySettings;
class TreeDocument;

// The settings with their formulas evaluated.
struct CEChoiceLimits {
    double willingnessToPay = 0.0;
    int32_t excludeExtended = 0;
    int32_t useCostCeiling = 0;
    double costCeiling = 0.0;
    int32_t useEffectivenessFloor = 0;
    double effectivenessFloor = 0.0;
};

// The list position of the recommended point in a sorted, dominance-marked list, or -1.
int ChooseCostEffectivePoint(const CEPointList& points, const CEChoiceLimits& limits);

// Evaluates the settings' formulas at the tree's root ("willingness to pay", "maximum cost value",
// "minimum effectiveness value"); a formula error is reported by its message, sets *error and gives -1.
// Otherwise the position chosen by ChooseCostEffectivePoint.
int ChooseCostEffectiveStrategy(CESensitivitySettings& settings, const CEPointList& points, TreeDocument* tree,
                                RunFault* error);
