// The grammar: precedence and associativity, numbers with the locale's decorations, names, arguments and
// the syntax errors and limits of the parser.

#include "tests/formula/FormulaTestHelpers.h"

#include "formula/FormulaErrors.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ValueCase {
    const char* text;
    double expected;
};

class ParserValues : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ParserValues, FirstEvaluationAndCachedTreeAgree)
{
    const ValueCase& c = GetParam();
    Variables variables = {{"x", 2.0}, {"rate", 0.5}, {"x1", 7.0}, {"x_y", 3.0}};
    FormulaOutcome once = EvaluateOnce(c.text, variables);
    EXPECT_EQ(0, once.error) << c.text;
    EXPECT_DOUBLE_EQ(c.expected, once.value) << c.text;

    Expression expression(c.text);
    FormulaOutcome first = EvaluateExpression(expression, variables);
    ASSERT_EQ(0, first.error) << c.text;
    ASSERT_TRUE(expression.HasParseTree()) << c.text;
    FormulaOutcome later = EvaluateExpression(expression, variables);
    EXPECT_EQ(0, later.error) << c.text;
    EXPECT_DOUBLE_EQ(c.expected, later.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Precedence, ParserValues,
    ::testing::Values(ValueCase{"2^3^2", 64.0}, ValueCase{"2+3*4", 14.0}, ValueCase{"(2+3)*4", 20.0},
                      ValueCase{"10-4-3", 3.0}, ValueCase{"64/4/2", 8.0}, ValueCase{"1<2=1", 1.0},
                      ValueCase{"3>2>1", 0.0}, ValueCase{"1|0&0", 1.0}, ValueCase{"(1|0)&0", 0.0},
                      ValueCase{"2^-1", 0.5}, ValueCase{"-(2^2)", -4.0}, ValueCase{"!0&1", 1.0},
                      ValueCase{"!(0&1)", 1.0}, ValueCase{"!1|1", 1.0}, ValueCase{"--3", 3.0},
                      ValueCase{"+-+3", -3.0}, ValueCase{"1+2<4", 1.0}, ValueCase{"2*3^2", 18.0},
                      ValueCase{"1<=1", 1.0}, ValueCase{"2>=3", 0.0}, ValueCase{"1<>1", 0.0},
                      ValueCase{"1=1.00000000001", 1.0}, ValueCase{"1<>1.001", 1.0},
                      ValueCase{" 1 +\t2 ", 3.0}));

INSTANTIATE_TEST_SUITE_P(
    Numbers, ParserValues,
    ::testing::Values(ValueCase{"$1,000", 1000.0}, ValueCase{"1,000.5K", 1000500.0}, ValueCase{"2.5K", 2500.0},
                      ValueCase{"3M", 3e6}, ValueCase{"2b", 2e9}, ValueCase{"50%", 0.5}, ValueCase{".5", 0.5},
                      ValueCase{"5.", 5.0}, ValueCase{"1e3", 1000.0}, ValueCase{"1.5e-2", 0.015},
                      ValueCase{"2E+2", 200.0}, ValueCase{"Sum(1,2,3)", 123.0}));

INSTANTIATE_TEST_SUITE_P(
    NamesAndCalls, ParserValues,
    ::testing::Values(ValueCase{"x*rate", 1.0}, ValueCase{"X*RATE", 1.0}, ValueCase{"x1+x_y", 10.0},
                      ValueCase{"Sum(1;2;3)", 6.0}, ValueCase{"sum(1; 2 ;3)", 6.0}, ValueCase{"PI()", 3.1415926535},
                      ValueCase{"Max(x; Min(4; x1); -1)", 4.0}, ValueCase{"If(x>1; 10; 20)", 10.0},
                      ValueCase{"Choose(2; 10; 20; 30)", 20.0}, ValueCase{"dWeibull", 15.0},
                      ValueCase{"DNORMAL+_stage", 1.0}, ValueCase{"_tunnel", 1.0}));

struct ErrorCase {
    const char* text;
    int error;
};

class ParserErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ParserErrors, ReportTheFirstError)
{
    const ErrorCase& c = GetParam();
    Expression expression(c.text);
    FormulaOutcome outcome = EvaluateExpression(expression, {{"x", 2.0}});
    EXPECT_EQ(c.error, outcome.error) << c.text;
    EXPECT_FALSE(expression.HasParseTree()) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, ParserErrors,
    ::testing::Values(ErrorCase{"1+", 1}, ErrorCase{"(1", 1}, ErrorCase{"1)", 1}, ErrorCase{"1 2", 1},
                      ErrorCase{"1\n", 1}, ErrorCase{"1+\n2", 1}, ErrorCase{"x1()", 1}, ErrorCase{"t[]", 1},
                      ErrorCase{"2pi", 1}, ErrorCase{"1e3K", 1}, ErrorCase{"1.2.3", 1}, ErrorCase{",", 1},
                      ErrorCase{"1+,", 1}, ErrorCase{"1K%", 1}, ErrorCase{"#", 1}, ErrorCase{"\"a\"", 1}, ErrorCase{"$", 1},
                      ErrorCase{"5 %", 1}, ErrorCase{"Sum(1;)", 1}, ErrorCase{"Sum(;1)", 1},
                      ErrorCase{"Sum(1]", 1}, ErrorCase{"*2", 1}, ErrorCase{"1=<2", 1}, ErrorCase{"@", 1},
                      ErrorCase{"\xE9t\xE9", 1}, ErrorCase{"x.b", 1}));

INSTANTIATE_TEST_SUITE_P(
    Semantic, ParserErrors,
    ::testing::Values(ErrorCase{"", 2}, ErrorCase{"1/0", 6}, ErrorCase{"1/0.00000000001", 6},
                      ErrorCase{"-2^2", 7}, ErrorCase{"(-8)^(1/3)", 7}, ErrorCase{"0^-1", 7},
                      ErrorCase{"10^400", 7}, ErrorCase{"1/0+Unknown(1)", 6}, ErrorCase{"Unknown(1)+1/0", 9},
                      ErrorCase{"Pi", 24}, ErrorCase{"dChi2", 24}, ErrorCase{"y", 24}, ErrorCase{"Pi(1)", 10},
                      ErrorCase{"If(1; 2; 1/0)", 6}, ErrorCase{"nosuch[1]", 14}, ErrorCase{"1/0 )", 6}));

TEST(Parser, ValuesBeyondTheOverflowLimitAreErrorsOfTheParse)
{
    const ErrorCase cases[] = {{"1e22", 4}, {"-1e22", 4}, {"Inf()*2-Inf()*2", 4}, {"1e21", 0}, {"-1e21", 0}};
    for (const ErrorCase& c : cases)
        EXPECT_EQ(c.error, EvaluateOnce(c.text).error) << c.text;
}

TEST(Parser, ParseOnlyModeMakesNegativeBasesPositive)
{
    FormulaOutcome checked = EvaluateOnce("-2^2", {}, 0);
    EXPECT_EQ(0, checked.error);
    EXPECT_DOUBLE_EQ(4.0, checked.value);
    FormulaOutcome evaluated = EvaluateOnce("-2^2", {}, 1);
    EXPECT_EQ(FormulaBadPower, evaluated.error);
    EXPECT_DOUBLE_EQ(-2.0, evaluated.value);
}

TEST(Parser, ParseOnlyModeGivesNamesAndFunctionsRandomValuesInTheUnitRange)
{
    for (const char* text : {"undefinedName", "Sum(5; 6)", "Exp(1)+0"}) {
        FormulaOutcome outcome = EvaluateOnce(text, {}, 0);
        EXPECT_EQ(0, outcome.error) << text;
        EXPECT_GE(outcome.value, 0.0) << text;
        EXPECT_LE(outcome.value, 1.0) << text;
    }
}

TEST(Parser, DeepNestingEndsInASyntaxErrorAtTheStackLimit)
{
    struct NestingCase {
        std::string open;
        std::string close;
        int depth;
        int error;
    };
    const NestingCase cases[] = {
        {"(", ")", 9990, 0},      {"(", ")", 10000, 1}, {"-", "", 9990, 0},      {"-", "", 20000, 1},
        {"Abs(", ")", 3300, 0},   {"Abs(", ")", 4000, 1}, {"1+(", ")", 3000, 0}, {"1+(", ")", 100000, 1},
    };
    for (const NestingCase& c : cases) {
        std::string text;
        for (int i = 0; i < c.depth; ++i)
            text += c.open;
        text += "1";
        for (int i = 0; i < c.depth; ++i)
            text += c.close;
        Expression expression(text.c_str());
        FormulaOutcome first = EvaluateExpression(expression);
        EXPECT_EQ(c.error, first.error) << c.open << " x " << c.depth;
        if (c.error == 0) {
            ASSERT_TRUE(expression.HasParseTree());
            Expression copy(expression);
            FormulaOutcome later = EvaluateExpression(copy);
            EXPECT_EQ(0, later.error);
            EXPECT_DOUBLE_EQ(first.value, later.value);
        }
    }
}

TEST(Parser, LongFlatFormulaParsesWithoutLimit)
{
    std::string text = "0";
    for (int i = 0; i < 20000; ++i)
        text += "+1";
    FormulaOutcome outcome = EvaluateOnce(text.c_str());
    EXPECT_EQ(0, outcome.error);
    EXPECT_DOUBLE_EQ(20000.0, outcome.value);
}

TEST(Parser, NamesAreLookedUpOncePerReferenceAndMatchRegardlessOfCase)
{
    TestContext* context = new TestContext({{"Cost", 5.0}});
    FormulaRef ref(context, 1, "payoff");
    EXPECT_DOUBLE_EQ(15.0, ref.EvaluateText("cost + COST + CoSt"));
    EXPECT_EQ(3, context->lookups);
    EXPECT_TRUE(ref.UsesVariables());
}

TEST(Parser, KeywordsAreNotVariables)
{
    FormulaRef ref(new TestContext, 1, "payoff");
    EXPECT_DOUBLE_EQ(1.0, ref.EvaluateText("_TUNNEL"));
    EXPECT_FALSE(ref.UsesVariables());
}

}  // namespace
