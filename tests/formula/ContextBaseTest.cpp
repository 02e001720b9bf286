// The context base and the parse-only context: what a formula that stands nowhere gets for names, links,
// distributions, keywords and tables.

#include "formula/BuiltinRegistry.h"
#include "formula/Formula.h"
#include "formula/FormulaErrors.h"
#include "formula/FormulaRef.h"
#include "formula/ParseOnlyContext.h"
#include "formula/CalcState.h"

#include <gtest/gtest.h>

namespace {

TEST(ContextBase, ParseOnlyContextGivesEveryNameARandomValueWithoutError)
{
    FormulaRef ref(new ParseOnlyContext, 1, "payoff");
    for (int i = 0; i < 200; ++i) {
        double value = ref.EvaluateText("anything + ELSE_1");
        ASSERT_FALSE(ref.HasError());
        EXPECT_GE(value, 0.0);
        EXPECT_LE(value, 2.0);
    }
    EXPECT_TRUE(ref.UsesVariables());
}

TEST(ContextBase, BaseAnswersForLinksDistributionsKeywordsAndTables)
{
    struct BaseCase {
        const char* text;
        double value;
        int error;
        const char* argument;
    };
    const BaseCase cases[] = {
        {"Sub(3)", 0.0, 0, ""},
        {"_stage + _total_reward + _tunnel", 1.0, 0, ""},  // a fresh zeroed calculation state: tunnel index 0
        {"dGamma", 8.0, 0, ""},
        {"DistSamp(1)", 0.0, FormulaUndefinedDistribution, "1"},
        {"NoSuchTableAnywhere[1]", 0.0, FormulaUnknownTable, "NoSuchTableAnywhere"},
    };
    for (const BaseCase& c : cases) {
        FormulaRef ref(new ParseOnlyContext, 1, "payoff");
        EXPECT_DOUBLE_EQ(c.value, ref.EvaluateText(c.text)) << c.text;
        EXPECT_EQ(c.error, ref.ErrorCode()) << c.text;
        EXPECT_STREQ(c.argument, ref.GetFormula().ErrorArg1().Text()) << c.text;
    }
}

TEST(ContextBase, CalculationStateIsMadeOnceAndKeptPerContext)
{
    ParseOnlyContext* context = new ParseOnlyContext;
    FormulaRef ref(context, 1, "reward");
    CalcState* state = context->GetCalcState();
    ASSERT_NE(nullptr, state);
    EXPECT_EQ(state, context->GetCalcState());
    EXPECT_EQ(state, ref.GetFormula().GetCalcState());
    EXPECT_EQ(0, context->VariableCount());
    EXPECT_EQ(&ref.GetFormula(), context->GetFormula());
}

}  // namespace
