// The built-in functions with their argument counts and errors, and the name registry.

#include "tests/formula/FormulaTestHelpers.h"

#include "formula/BuiltinRegistry.h"
#include "formula/FormulaErrors.h"
#include "formula/CalcState.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace {

struct FunctionCase {
    const char* text;
    double expected;
};

class BuiltinValues : public ::testing::TestWithParam<FunctionCase> {};

TEST_P(BuiltinValues, Value)
{
    const FunctionCase& c = GetParam();
    FormulaOutcome outcome = EvaluateOnce(c.text);
    EXPECT_EQ(0, outcome.error) << c.text;
    EXPECT_NEAR(c.expected, outcome.value, 1e-9 * std::fmax(1.0, std::fabs(c.expected))) << c.text;
}

// Expected values worked out by hand or in closed form.
INSTANTIATE_TEST_SUITE_P(
    Mathematics, BuiltinValues,
    ::testing::Values(FunctionCase{"Exp(1)", 2.718281828459045}, FunctionCase{"Ln(Exp(2))", 2.0},
                      FunctionCase{"Log(1000)", 3.0}, FunctionCase{"Sqrt(2.25)", 1.5}, FunctionCase{"Root(27; 3)", 3.0},
                      FunctionCase{"Abs(-4)", 4.0}, FunctionCase{"Min(3; -1; 2)", -1.0}, FunctionCase{"Max(3; -1; 2)", 3.0},
                      FunctionCase{"Sum()", 0.0}, FunctionCase{"Prod()", 1.0}, FunctionCase{"Prod(2; 3; 4)", 24.0},
                      FunctionCase{"Int(-2.7)", -2.0}, FunctionCase{"Int(2.7)", 2.0}, FunctionCase{"Average(1; 2; 6)", 3.0},
                      FunctionCase{"Round(2.5)", 3.0}, FunctionCase{"Round(-2.5)", -2.0}, FunctionCase{"Round(-2.7)", -2.0},
                      FunctionCase{"Floor(-2.7)", -3.0}, FunctionCase{"Ceiling(-2.7)", -2.0}, FunctionCase{"Pi()", 3.1415926535},
                      FunctionCase{"Stdev(2; 4)", 1.0}, FunctionCase{"Stdev(1; 2; 3; 4)", 1.118033988749895},
                      FunctionCase{"If(0.00000000001; 1; 2)", 2.0}, FunctionCase{"If(-1; 1; 2)", 1.0},
                      FunctionCase{"Choose(2; 10; 20; 30)", 20.0}, FunctionCase{"Choose(2.00005; 10; 20)", 20.0},
                      FunctionCase{"Modulo(-7; 3)", -1.0}, FunctionCase{"Modulo(7.9; 3.9)", 1.0},
                      FunctionCase{"Modulo(7; -1)", 0.0}, FunctionCase{"Modulo(-2147483648; -1)", 0.0},
                      FunctionCase{"Logit(1; 5; 6)", 0.0}, FunctionCase{"zzzzzTable(1; 2)", 0.0}));

INSTANTIATE_TEST_SUITE_P(
    FinanceAndMedicine, BuiltinValues,
    ::testing::Values(FunctionCase{"Annuity(0; 10)", 10.0}, FunctionCase{"Annuity(0.1; 10)", 6.144567105704685},
                      FunctionCase{"Annuity(-1; 0)", -1.0}, FunctionCase{"Compound(0.1; 2)", 1.21},
                      FunctionCase{"Compound(-1; 3)", 0.0}, FunctionCase{"FV(100; 1000; 0.1; 2)", 1210.0 + 210.0},
                      FunctionCase{"FV(100; 1000; 0; 5)", 1500.0}, FunctionCase{"NPV(0.1; 110; 121)", 200.0},
                      FunctionCase{"PMT(1000; 0.1; 2)", 576.1904761904762}, FunctionCase{"PMT(1000; 0; 4)", 250.0},
                      FunctionCase{"PV(100; 1210; 0.1; 2)", 1000.0 + 173.55371900826447},
                      FunctionCase{"PV(100; 500; 0; 3)", 800.0}, FunctionCase{"DEALE(0.5; 2)", 1.2642411176571153},
                      FunctionCase{"RateToProb(0.1; 1)", 0.09516258196404048},
                      FunctionCase{"ProbToRate(0.5; 2)", 0.34657359027997264},
                      FunctionCase{"UtilDiscount(10; 0.1; 2)", 10.0 / 1.21}, FunctionCase{"UtilDiscount(10; -1; 2)", 0.0},
                      FunctionCase{"OddsToProb(1)", 0.5}, FunctionCase{"ProbToOdds(0.5)", 1.0},
                      FunctionCase{"ProbFactor(0.5; 3)", 0.75}, FunctionCase{"ProbFactor(0.9; 0.5)", 0.45 / 0.55},
                      FunctionCase{"ProbFactor(1; 3)", 1.0}, FunctionCase{"ProbFactor(1; 0)", 0.0},
                      FunctionCase{"ProbFactor(0; 3)", 0.0}));

struct FunctionErrorCase {
    const char* text;
    int error;
    const char* argument;
};

class BuiltinErrors : public ::testing::TestWithParam<FunctionErrorCase> {};

TEST_P(BuiltinErrors, ErrorAndArgument)
{
    const FunctionErrorCase& c = GetParam();
    FormulaRef ref(new TestContext, 1, "payoff");
    ref.EvaluateText(c.text);
    EXPECT_EQ(c.error, ref.ErrorCode()) << c.text;
    EXPECT_STREQ(c.argument, ref.GetFormula().ErrorArg1().Text()) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuiltinErrors,
    ::testing::Values(
        FunctionErrorCase{"ln(0)", 12, "LN"}, FunctionErrorCase{"LN(0)", 12, "LN"}, FunctionErrorCase{"Ln(-1)", 12, "LN"},
        FunctionErrorCase{"Log(0)", 12, "LOG"}, FunctionErrorCase{"Sqrt(-1)", 13, "SQRT"},
        FunctionErrorCase{"Root(-8; 3)", 13, "ROOT"}, FunctionErrorCase{"Exp(1000)", 11, "EXP"},
        FunctionErrorCase{"Min()", 10, "MIN"}, FunctionErrorCase{"Max()", 10, "MAX"},
        FunctionErrorCase{"Average()", 10, "AVERAGE"}, FunctionErrorCase{"Stdev(5)", 10, "STDEV"},
        FunctionErrorCase{"Pi(1)", 10, "PI"}, FunctionErrorCase{"Exp(1; 2)", 10, "EXP"},
        FunctionErrorCase{"If(1; 2)", 10, "IF"}, FunctionErrorCase{"NPV(0.1)", 10, "NPV"},
        FunctionErrorCase{"Annuity(0.1; -1)", 11, "ANNUITY"}, FunctionErrorCase{"Annuity(-2; 1)", 11, "ANNUITY"},
        FunctionErrorCase{"Compound(-1; 0)", 11, "COMPOUND"}, FunctionErrorCase{"FV(1; 1; 1e300; 2)", 11, "FV"},
        FunctionErrorCase{"PMT(1000; -1; 2)", 11, "PMT"}, FunctionErrorCase{"PMT(1000; 0.1; 0)", 11, "PMT"},
        FunctionErrorCase{"PV(1; 1; -1; 2)", 11, "PV"}, FunctionErrorCase{"DEALE(0; 5)", 12, "DEALE"},
        FunctionErrorCase{"RateToProb(-1000; 1)", 11, "RATETOPROB"},
        FunctionErrorCase{"UtilDiscount(1; -1; 0)", 11, "UTILDISCOUNT"},
        FunctionErrorCase{"ProbToRate(1; 1)", 11, "PROBTORATE"}, FunctionErrorCase{"ProbToRate(0.5; 0)", 6, "PROBTORATE"},
        FunctionErrorCase{"Modulo(5; 0.5)", 11, "MODULO"}, FunctionErrorCase{"OddsToProb(0)", 12, "ODDSTOPROB"},
        FunctionErrorCase{"ProbToOdds(1.5)", 11, "PROBTOODDS"}, FunctionErrorCase{"ProbFactor(-0.1; 2)", 11, "PROBFACTOR"},
        FunctionErrorCase{"Logit(2; 0; 0)", 11, "LOGIT"}, FunctionErrorCase{"Choose(2.5; 10; 20; 30)", 20, ""},
        FunctionErrorCase{"Choose(3; 10; 20)", 20, ""}, FunctionErrorCase{"Choose(0; 10)", 20, ""},
        FunctionErrorCase{"Choose(1)", 10, "CHOOSE"}, FunctionErrorCase{"Unknown(1)", 9, "Unknown"},
        FunctionErrorCase{"DistSamp(99)", 17, "99"}, FunctionErrorCase{"Dist(1; 1; 0)", 19, "DIST"},
        FunctionErrorCase{"Sub(4)", 21, "4"}));

TEST(BuiltinFunctions, LinksAndDistributionsComeFromTheContext)
{
    TestContext* context = new TestContext;
    context->links[3] = 42.0;
    context->distributions[2] = 7.5;
    FormulaRef ref(context, 1, "payoff");
    EXPECT_DOUBLE_EQ(42.0, ref.EvaluateText("Sub(3.9)"));
    EXPECT_DOUBLE_EQ(7.5, ref.EvaluateText("DistSamp(2)"));
    ref.GetFormula().GetCalcState()->resample = 1;
    EXPECT_DOUBLE_EQ(-7.5, ref.EvaluateText("DistSamp(2.2)"));
    EXPECT_FALSE(ref.HasError());
}

TEST(BuiltinFunctions, RegistryFindsNamesRegardlessOfCase)
{
    struct NameCase {
        const char* name;
        int index;
    };
    const NameCase cases[] = {{"exp", 0},         {"EXP", 0},        {"Logit", 38},  {"probtorate", 33},
                              {"ZZZZZTABLE", 27}, {"choose", 31},    {"Exp2", -1},   {"", -1},
                              {"If", 18},         {"Ceiling", 14},   {"abs", 5},     {"PV", 24}};
    for (const NameCase& c : cases)
        EXPECT_EQ(c.index, FindBuiltinFunction(c.name)) << c.name;
    for (int i = 0; i < BuiltinFunctionCount; ++i) {
        zString name;
        GetBuiltinFunctionName(i, name);
        EXPECT_EQ(i, FindBuiltinFunction(name)) << name.Text();
    }
    zString name;
    GetBuiltinFunctionName(39, name);
    EXPECT_STREQ("", name.Text());
    EXPECT_EQ(kAnyArgCount, GetBuiltinArgCount(BuiltinSum));
    EXPECT_EQ(4, GetBuiltinArgCount(BuiltinPV));
    EXPECT_EQ(0, GetBuiltinArgCount(-1));
}

TEST(BuiltinFunctions, KeywordsAndTheirValues)
{
    EXPECT_EQ(0, FindKeyword("_STAGE"));
    EXPECT_EQ(7, FindKeyword("_TOTAL_EFF"));
    EXPECT_EQ(22, FindKeyword("DNORMAL"));
    EXPECT_EQ(36, FindKeyword("DWEIBULL"));
    EXPECT_EQ(-1, FindKeyword("_stage"));
    EXPECT_EQ(-1, FindKeyword(""));
    zString name;
    GetDistributionKeyword(5, name);
    EXPECT_STREQ("dChi2", name.Text());
    GetDistributionKeyword(16, name);
    EXPECT_STREQ("", name.Text());
    GetKeywordName(3, name);
    EXPECT_STREQ("_tunnel", name.Text());

    CalcState state;
    state.stageCounter = 4;
    state.previousStage = {1.0, 2.0, 3.0};
    state.total = {10.0, 20.0, 30.0};
    state.tunnelIndex = 2;
    const double expected[8] = {4.0, 3.0, 30.0, 3.0, 1.0, 2.0, 10.0, 20.0};
    for (int i = 0; i < 8; ++i)
        EXPECT_DOUBLE_EQ(expected[i], KeywordValue(i, &state)) << i;
    EXPECT_DOUBLE_EQ(1.0, KeywordValue(22, &state));
    EXPECT_DOUBLE_EQ(15.0, KeywordValue(36, &state));
    // Indexes past the table stay inside it.
    for (int index : {8, 21, 37, 42, 43, 1000, -1, -32768})
        EXPECT_DOUBLE_EQ(0.0, KeywordValue(index, &state)) << index;
}

TEST(BuiltinFunctions, MarkovKeywordsReadTheContextsCalculationState)
{
    FormulaRef ref(new TestContext, 1, "reward");
    CalcState* state = ref.GetFormula().GetCalcState();
    ASSERT_NE(nullptr, state);
    state->stageCounter = 3;
    state->total.value = 12.5;
    EXPECT_DOUBLE_EQ(3.0 + 12.5, ref.EvaluateText("_Stage + _Total_Reward"));
}

}  // namespace
