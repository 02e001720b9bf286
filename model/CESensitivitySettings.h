#pragma once
// The tree's cost-effectiveness settings: the willingness to pay, an optional cost ceiling and an optional
// effectiveness floor, and whether extended-dominated strategies are excluded from the recommendation.

#include "formula/Expression.h"

#include <cstdint>

class Archive;

class CESensitivitySettings {
public:
    CESensitivitySettings() { SetDefaults(); }

    // Willingness to pay 0, cost ceiling 20000, effectiveness floor 0.1; all three flags off.
    void SetDefaults();

    // Stored form (in a tree file only when it is newer than 3.5 beta 4):
    //   willingness to pay       expression
    //   cost ceiling             expression
    //   effectiveness floor      expression
    //   excludeExtended          16 bits (sign-extended when read)
    //   useCostCeiling           16 bits
    //   useEffectivenessFloor    16 bits
    void Serialize(Archive& archive);

    Expression willingnessToPay;
    Expression costCeiling;
    Expression effectivenessFloor;
    int32_t excludeExtended = 0;
    int32_t useCostCeiling = 0;
    int32_t useEffectivenessFloor = 0;
};
