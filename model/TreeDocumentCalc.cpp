// The calculation-method rules of a tree window: which direction the optimal path takes, which payoff is
// the cost, the multi-attribute weights, and the comparison that picks the better of two values.

#include "formula/Expression.h"
#include "formula/NameResolution.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

#include <cstdio>

namespace {

int PayoffIndex(int payoff)
{
    if (payoff < 0)
        return 0;
    return payoff > 3 ? 3 : payoff;
}

}  // namespace

CalculationRevision TreeDocument::Revision() const
{
    CalculationRevision revision;
    revision.formulas = Expression::LastTreeSerial();
    revision.names = ResolutionGenerations::Names();
    revision.tables = ResolutionGenerations::Tables();
    revision.tableContents = ResolutionGenerations::TableContents();
    revision.edits = EditCount;
    return revision;
}

int TreeDocument::OptimalPathDirection() const
{
    switch (CalcPrefs.CalcMethod) {
    case PayoffMethod:
        return CalcPrefs.OptPath[PayoffIndex(CalcPrefs.CurrentPayoff)] == 1 ? 1 : 0;
    case CostEffectivenessMethod:
        return 0;
    case BenefitCostMethod:
        return 1;
    case MultiAttributeMethod:
        return CalcPrefs.MultiAttrOptPath == 1 ? 1 : 0;
    default:
        return 1;
    }
}

bool TreeDocument::IsPayoffMaximized(int payoff) const
{
    return CalcPrefs.OptPath[PayoffIndex(payoff)] == 1;
}

void TreeDocument::StatusIndicatorTexts(zString& risk, zString& method) const
{
    risk = CalcPrefs.UseUtility != 0 ? "RISK" : "";
    char text[32] = "";
    switch (CalcPrefs.CalcMethod) {
    case PayoffMethod:
        std::snprintf(text, sizeof text, "Payoff %d", CalcPrefs.CurrentPayoff + 1);
        break;
    case CostEffectivenessMethod:
        std::snprintf(text, sizeof text, "C/E, %d/%d", CostPayoffIndex() + 1, CalcPrefs.CEEffPayoff + 1);
        break;
    case BenefitCostMethod:
        std::snprintf(text, sizeof text, "B-C, %d-%d", CalcPrefs.BCBenefitPayoff + 1, CostPayoffIndex() + 1);
        break;
    case MultiAttributeMethod:
        std::snprintf(text, sizeof text, "MultiAttr");
        break;
    default:
        break;
    }
    method = text;
}

int TreeDocument::CostPayoffIndex() const
{
    return CalcPrefs.CalcMethod == BenefitCostMethod ? CalcPrefs.BCCostPayoff : CalcPrefs.CECostPayoff;
}

bool TreeDocument::GetMultiAttrWeight(int payoff, Expression& out) const
{
    out.Assign(CalcPrefs.MultiAttrWeight[PayoffIndex(payoff)]);
    return !out.IsEmpty();
}

bool TreeDocument::GetMultiAttrWeight(int payoff, zString& out) const
{
    out = CalcPrefs.MultiAttrWeight[PayoffIndex(payoff)].Text();
    return !out.IsEmpty();
}

double TreeDocument::BetterValue(const TreeNode* node, double a, double b) const
{
    return BetterValueOfKind(node != nullptr ? node->kind : 0, a, b);
}

double TreeDocument::BetterValueOfKind(int32_t kind, double a, double b) const
{
    bool maximize = IsMaximizing();
    if (kind == ReversedDecisionNode)
        maximize = !maximize;
    if (maximize)
        return a < b ? b : a;
    return a <= b ? a : b;
}

bool TreeDocument::IsBetter(const TreeNode* node, double a, double b) const
{
    bool maximize = IsMaximizing();
    if (node != nullptr && node->kind == ReversedDecisionNode)
        maximize = !maximize;
    return maximize ? a >= b : a <= b;
}
