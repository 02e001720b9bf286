#pragma once
// Shared helpers of the formula tests: evaluate a text or an expression on a test context.

#include "formula/Expression.h"
#include "formula/Formula.h"
#include "formula/FormulaRef.h"
#include "tests/formula/TestContext.h"

#include <string>
#include <utility>
#include <vector>

struct FormulaOutcome {
    double value;
    int error;
};

using Variables = std::vector<std::pair<std::string, double>>;

// Evaluates the text once (mode 1 evaluates, 0 only checks).
inline FormulaOutcome EvaluateOnce(const char* text, Variables variables = {}, int mode = 1)
{
    FormulaRef ref(new TestContext(std::move(variables)), mode, "payoff");
    double value = ref.EvaluateText(text);
    return {value, ref.ErrorCode()};
}

// Evaluates an expression (caching its tree when the parse succeeds).
inline FormulaOutcome EvaluateExpression(Expression& expression, Variables variables = {}, int mode = 1)
{
    FormulaRef ref(new TestContext(std::move(variables)), mode, "payoff");
    double value = ref.Evaluate(expression);
    return {value, ref.ErrorCode()};
}
