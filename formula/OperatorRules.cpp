#include "formula/OperatorRules.h"

#include "formula/Formula.h"
#include "formula/FormulaMath.h"
#include "formula/FormulaToken.h"

#include <cstdint>

namespace {

constexpr BinaryOperatorRule kBinaryOperators[] = {
    {'|', NodeOr, 1},
    {'&', NodeAnd, 2},
    {'<', NodeLess, 3},
    {'=', NodeEqual, 3},
    {'>', NodeGreater, 3},
    {TokenLessEqual, NodeLessEqual, 3},
    {TokenGreaterEqual, NodeGreaterEqual, 3},
    {TokenNotEqual, NodeNotEqual, 3},
    {'+', NodeAdd, 4},
    {'-', NodeSubtract, 4},
    {'*', NodeMultiply, 5},
    {'/', NodeDivide, 5},
    {'^', NodePower, 6},
};

// The index of each token's rule in the table above, -1 for other tokens: the parser asks for every token.
struct TokenRuleIndex {
    int8_t of[TokenNotEqual + 1];
};

constexpr TokenRuleIndex MakeTokenRuleIndex()
{
    TokenRuleIndex index{};
    for (int8_t& entry : index.of)
        entry = -1;
    for (int i = 0; i < static_cast<int>(sizeof kBinaryOperators / sizeof kBinaryOperators[0]); ++i)
        index.of[kBinaryOperators[i].token] = static_cast<int8_t>(i);
    return index;
}

constexpr TokenRuleIndex kTokenRuleIndex = MakeTokenRuleIndex();

}  // namespace

const BinaryOperatorRule* FindBinaryOperator(int token)
{
    if (token < 0 || token > TokenNotEqual || kTokenRuleIndex.of[token] < 0)
        return nullptr;
    return &kBinaryOperators[kTokenRuleIndex.of[token]];
}

int PrefixOperatorCode(int token)
{
    switch (token) {
    case '-': return NodeNegate;
    case '+': return NodeUnaryPlus;
    case '!': return NodeNot;
    default: return 0;
    }
}

// At parse time a negative base is error 7 before anything is computed, and the value stays the base; in
// check-only mode the base is made positive first. A failed power is error 7 with the computed value.
double ApplyParsePower(double base, double exponent, Formula* f)
{
    if (base < 0.0) {
        if (!f || !f->IsParseOnly()) {
            ReportNodeError(f, FormulaBadPower);
            return base;
        }
        base = -base;
    }
    double result = 0.0;
    if (!CheckedPow(base, exponent, result))
        ReportNodeError(f, FormulaBadPower);
    return result;
}
