// The flattened steps of a cached tree against the tree walk itself: the same values, the same first error
// and the same names looked up in the same order, for every kind of node, for lazy branches, for the
// subtrees left to the tree, and without a Formula.

#include "tests/formula/FormulaTestHelpers.h"

#include "foundation/RandomGenerator.h"
#include "formula/ArithmeticNodes.h"
#include "formula/BuiltinRegistry.h"
#include "formula/CallNodes.h"
#include "formula/CompiledFormula.h"
#include "formula/FormulaErrors.h"
#include "formula/OperandNodes.h"
#include "formula/CalcState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

// A test context that also records the names it is asked for.
class RecordingContext : public TestContext {
public:
    explicit RecordingContext(const Variables& values) : TestContext(values) { AddTable("Rates", {{1, 10}, {2, 20}}); }

    double VariableValue(const zString& upperName) override
    {
        asked.push_back(upperName.Text());
        return TestContext::VariableValue(upperName);
    }

    std::vector<std::string> asked;
};

struct Outcome {
    double value;
    int error;
    std::string argument;
    std::vector<std::string> asked;
};

Outcome EvaluateOn(const Variables& values, bool flattened, ParseNode& tree, const CompiledFormula& compiled)
{
    // Names after an error and some built-ins draw random values: both runs draw from the same sequence.
    SeedRandom(1234);
    RecordingContext* context = new RecordingContext(values);
    FormulaRef ref(context, 1, "payoff");
    ref.GetFormula().GetCalcState()->stageCounter = 3;
    double value = flattened ? compiled.Evaluate(&ref.GetFormula()) : tree.Evaluate(&ref.GetFormula());
    return {value, ref.ErrorCode(), ref.GetFormula().ErrorArg1().Text(), context->asked};
}

bool SameValue(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

std::string Nested(const char* open, const char* close, int depth)
{
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += open;
    text += "a";
    for (int i = 0; i < depth; ++i)
        text += close;
    return text;
}

std::string LongSum(int count)
{
    std::string text = "Sum(a";
    for (int i = 1; i < count; ++i)
        text += "; b*" + std::to_string(i);
    return text + ")";
}

TEST(CompiledFormula, StepsEvaluateAsTheTree)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::string> texts = {
        "a + b*2 - a/b", "a - b - 3", "(a - b) * (b - a)", "a/b", "b/a", "a^b", "b^a", "a^2^b", "-(b^a)",
        "Ln(a)/Sqrt(b)", "Sqrt(b)^Ln(a)", "Ln(a) - Sqrt(b)", "Ln(a) = Sqrt(b)", "Ln(a) <> Sqrt(b)",
        "Ln(a) < Sqrt(b)", "a < b", "a <= b", "a > b", "a >= b", "a = b", "a <> b", "1<2=a",
        "a & Ln(b)", "a | Ln(b)", "a & b | !a & !b", "!a", "-a", "+a", "--+a", "!(a - b)",
        "If(a; Ln(b); Sqrt(b))", "If(a - b; 1/a; 1/b) + If(b; a; 0)", "Choose(a; b; 1/b; 3)",
        "Max(a; Min(b; 3); Abs(-a))", "Sum() + Prod() + Pi()", "Rates[a] + Rates[1; b]",
        "a + missing + b", "_stage * a + dNormal + _tunnel", "Exp(a*b) + Modulo(a; b)",
        "Stdev(a; b; a*b) + Average(a; b)",
        Nested("-(", ")", 100), Nested("a+(", ")", 80), Nested("If(a;", ";b)", 70), LongSum(40), LongSum(31),
    };
    const std::vector<Variables> assignments = {
        {{"a", 2}, {"b", 3}},   {{"a", 0}, {"b", 0}},        {{"a", 1e-11}, {"b", -1}}, {{"a", -2}, {"b", 0.5}},
        {{"a", 1}, {"b", 1}},   {{"a", 4.5}, {"b", -0.25}},  {{"a", nan}, {"b", 2}},    {{"a", 1e300}, {"b", 1e300}},
    };
    for (const std::string& text : texts) {
        Expression expression(text.c_str());
        RecordingContext* parsing = new RecordingContext({{"a", 1}, {"b", 2}, {"missing", 0}});
        FormulaRef ref(parsing, 1, "payoff");
        ref.Evaluate(expression);
        ASSERT_TRUE(expression.HasParseTree()) << text;
        ParseNode& tree = *expression.GetParseTree();
        CompiledFormula compiled(tree);
        for (const Variables& values : assignments) {
            Outcome walked = EvaluateOn(values, false, tree, compiled);
            Outcome flat = EvaluateOn(values, true, tree, compiled);
            std::string where = text + " with a = " + std::to_string(values[0].second);
            EXPECT_TRUE(SameValue(walked.value, flat.value)) << where << ": " << walked.value << " " << flat.value;
            EXPECT_EQ(walked.error, flat.error) << where;
            EXPECT_EQ(walked.argument, flat.argument) << where;
            EXPECT_EQ(walked.asked, flat.asked) << where;
        }
    }
}

// A small kept formula is walked at first and flattened once it has been evaluated often: every evaluation
// gives the value of the variables at that time, and a divisor of zero is reported each time it occurs.
TEST(CompiledFormula, ASmallFormulaEvaluatedOftenFollowsItsVariables)
{
    Expression expression("1/(x-y)");
    auto* context = new TestContext({{"x", 1}, {"y", 0}});
    FormulaRef ref(context, 1, "payoff");
    for (int i = 0; i < 100; ++i) {
        const double y = i % 7 == 3 ? 1.0 : i % 5;
        context->Set("y", y);
        ref.GetFormula().Restart();
        const double value = ref.Evaluate(expression);
        if (y == 1.0) {
            EXPECT_EQ(ref.ErrorCode(), FormulaDivisionByZero) << i;
            EXPECT_EQ(value, 0.0) << i;
        } else {
            EXPECT_EQ(ref.ErrorCode(), 0) << i;
            EXPECT_EQ(value, 1.0 / (1.0 - y)) << i;
        }
    }
}

TEST(CompiledFormula, WithoutAFormulaNothingIsReportedAndNamesAreRandom)
{
    Expression expression("If(x; y/z; 2) + Ln(z) + (y & x) + Sum(x; y) + z^-1 + 1/(z-1)");
    FormulaRef ref(new TestContext({{"x", 1}, {"y", 2}, {"z", 2}}), 1, "payoff");
    ref.Evaluate(expression);
    ASSERT_TRUE(expression.HasParseTree());
    CompiledFormula compiled(*expression.GetParseTree());
    for (int i = 0; i < 100; ++i) {
        double value = compiled.Evaluate(nullptr);
        EXPECT_FALSE(std::isnan(value));
    }
    Expression name("x");
    ref.Evaluate(name);
    CompiledFormula random(*name.GetParseTree());
    for (int i = 0; i < 100; ++i) {
        double value = random.Evaluate(nullptr);
        EXPECT_GE(value, 0.0);
        EXPECT_LE(value, 1.0);
    }
}

TEST(CompiledFormula, DamagedNodesAreLeftToTheTree)
{
    AddNode lonely;
    lonely.AddOperand(new ConstantNode(1.0));
    FunctionCallNode shortIf(BuiltinIf);
    shortIf.AddOperand(new ConstantNode(1.0));
    FunctionCallNode shortChoose(BuiltinChoose);
    shortChoose.AddOperand(new ConstantNode(1.0));
    struct DamagedCase {
        ParseNode* node;
        int error;
    };
    const DamagedCase cases[] = {{&lonely, FormulaSyntaxError}, {&shortIf, FormulaWrongArgCount},
                                 {&shortChoose, FormulaBadChooseIndex}};
    for (const DamagedCase& c : cases) {
        CompiledFormula compiled(*c.node);
        FormulaRef ref(new TestContext, 1, "payoff");
        EXPECT_DOUBLE_EQ(0.0, compiled.Evaluate(&ref.GetFormula()));
        EXPECT_EQ(c.error, ref.ErrorCode());
        EXPECT_DOUBLE_EQ(0.0, compiled.Evaluate(nullptr));
    }
}

// The steps belong to the cached tree: a new text, a new tree or a copy never runs the old steps.
TEST(CompiledFormula, StepsFollowTheCachedTree)
{
    TestContext* context = new TestContext({{"a", 3}});
    FormulaRef ref(context, 1, "payoff");
    Expression expression("a + 1");
    EXPECT_DOUBLE_EQ(4.0, ref.Evaluate(expression));
    EXPECT_DOUBLE_EQ(4.0, ref.Evaluate(expression));
    Expression copy(expression);
    expression.SetText("a * 10");
    EXPECT_DOUBLE_EQ(30.0, ref.Evaluate(expression));
    EXPECT_DOUBLE_EQ(30.0, ref.Evaluate(expression));
    EXPECT_DOUBLE_EQ(4.0, ref.Evaluate(copy));
    copy = expression;
    EXPECT_DOUBLE_EQ(30.0, ref.Evaluate(copy));
    expression.SetNumber(7.0);
    EXPECT_DOUBLE_EQ(7.0, ref.Evaluate(expression));
    expression.DropParseTree();
    EXPECT_DOUBLE_EQ(7.0, ref.Evaluate(expression));
    EXPECT_DOUBLE_EQ(7.0, ref.Evaluate(expression));
    EXPECT_FALSE(ref.HasError());
}

}  // namespace
