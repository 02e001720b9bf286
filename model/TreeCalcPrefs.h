#pragma once
// How a tree is calculated: the calculation method, which payoff plays which part, the optimal-path
// directions, multi-attribute weights and the roll-back choices.

#include "formula/Expression.h"

#include <cstdint>

enum CalcMethodKind : int32_t {
    PayoffMethod = 0,
    CostEffectivenessMethod = 1,
    BenefitCostMethod = 2,
    MultiAttributeMethod = 3,
};

// The choices of "Roll back calculates:".
enum RollBackCalculates : int32_t {
    RollBackExpectedValues = 0,
    RollBackPathProbabilities = 1,
    RollBackPayoffsOnly = 2,
    RollBackMaximin = 3,
};

struct TreeCalcPrefs {
    TreeCalcPrefs() { SetDefaults(); }
    void SetDefaults();

    int32_t RollBackCalculatesKey;
    uint8_t UseUtility;
    uint8_t CalcComplementaryProbs;
    int8_t CurrentPayoff;
    int8_t BCCostPayoff;
    int8_t BCBenefitPayoff;
    int8_t CECostPayoff;
    int8_t CEEffPayoff;
    uint8_t AllowTermNodeNameAsPayoff;
    uint8_t MarkovMonteFastTerm;
    uint8_t FastRollBack;
    int32_t OptPath[4];
    int32_t MultiAttrOptPath;
    int32_t CostEffOptPath;
    int32_t BenCostOptPath;
    int32_t CalcMethod;
    Expression MultiAttrWeight[4];
};
