#include "model/TreeCalcPrefs.h"

void TreeCalcPrefs::SetDefaults()
{
    RollBackCalculatesKey = RollBackExpectedValues;
    UseUtility = 0;
    CalcComplementaryProbs = 0;
    CurrentPayoff = 0;
    BCCostPayoff = 1;
    BCBenefitPayoff = 0;
    CECostPayoff = 0;
    CEEffPayoff = 1;
    AllowTermNodeNameAsPayoff = 0;
    MarkovMonteFastTerm = 1;
    FastRollBack = 0;
    for (int32_t& direction : OptPath)
        direction = 1;
    MultiAttrOptPath = 1;
    CostEffOptPath = 0;
    BenCostOptPath = 1;
    CalcMethod = PayoffMethod;
    for (Expression& weight : MultiAttrWeight)
        weight.SetText("");
}
