#pragma once
// How a tree is calculated: the calculation method, which payoff plays which part, the optimal-path
// directions, multi-attribute weights, the number formats of the payoffs and methods and the roll-back
// choices. A new record takes the user's saved preferences; a tree file replaces them by its own.

#include "formula/Expression.h"
#include "foundation/NumericFormat.h"
#include "foundation/PreferenceRecord.h"

#include <cstdint>

// The calculation method; its number is what tree files, the preferences and scripts keep.
enum class CalcMethodKind : int32_t { Payoff = 0, CostEffectiveness = 1, BenefitCost = 2, MultiAttribute = 3 };
constexpr CalcMethodKind PayoffMethod = CalcMethodKind::Payoff;
constexpr CalcMethodKind CostEffectivenessMethod = CalcMethodKind::CostEffectiveness;
constexpr CalcMethodKind BenefitCostMethod = CalcMethodKind::BenefitCost;
constexpr CalcMethodKind MultiAttributeMethod = CalcMethodKind::MultiAttribute;
// The method of a stored number; false for a number that names none.
bool CalcMethodFromNumber(int number, CalcMethodKind& method);

// The choices of "Roll back calculates:".
enum RollBackCalculates : int32_t {
    RollBackExpectedValues = 0,
    RollBackPathProbabilities = 1,
    RollBackPayoffsOnly = 2,
    RollBackMaximin = 3,
};

// Format error of a preference record whose values are out of range.
constexpr uint32_t FormatBadTreePrefs = 23;

struct TreeCalcPrefs : PreferenceRecord {
    // Defaults, then the saved preferences.
    TreeCalcPrefs();

    bool FromText(const char* text, int flag, const VersionRecord& version) override;
    const char* ClassName() const override { return "TreeCalcPrefs"; }
    void ReadProfile() override;
    void WriteProfile() override;
    void Serialize(Archive& archive, const VersionRecord& version) override;
    void SetDefaults() override;

    // The format of the current method (the current payoff's under the Payoff method).
    const NumericFormat& CurrentNumericFormat() const;
    NumericFormat& CurrentNumericFormat();
    // The payoff's format; an index out of range gives the first payoff's.
    NumericFormat& PayoffFormat(int payoff) { return PayoffFormats[payoff >= 0 && payoff < 4 ? payoff : 0]; }
    // The effectiveness payoff's format as cost-effectiveness shows it: effectiveness is no money, so no
    // currency; a units text of its own stays.
    NumericFormat EffectivenessFormat() const;

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
    NumericFormat PayoffFormats[4];
    int32_t OptPath[4];
    int32_t MultiAttrOptPath;
    int32_t CostEffOptPath;
    int32_t BenCostOptPath;
    CalcMethodKind CalcMethod;
    Expression MultiAttrWeight[4];
    NumericFormat CostEffFormat;
    NumericFormat MultiAttrFormat;
    NumericFormat BenCostFormat;
};
