#include "model/LegacyFormulaConversion.h"
#include "model/LegacyTreeText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ConversionCase {
    const char* older;
    const char* current;
};

TEST(LegacyFormulaConversion, FunctionsKeywordsAndOperators)
{
    const ConversionCase cases[] = {
        {"NOT(a)", "!(a)"},
        {"not (a > 1) ! b", "! (a > 1) | b"},
        {"'a", "!a"},
        {"NOTE + NOT", "NOTE + NOT"},
        {"MAX(a, b)", "MAX(a; b)"},
        {"PICK(1,2,3)", "Choose(1;2;3)"},
        {"Multiway(x, 1, 2)", "Choose(x; 1; 2)"},
        {"TENX(2)", "10^(2)"},
        {"PASSBIND(x)", "(x)"},
        {"DEALE2(a,b)", "DEALE(a;b)"},
        {"prob(r) + RATE(p)", "RateToProb(r) + ProbToRate(p)"},
        {"mod(7, 2)", "Modulo(7; 2)"},
        {"m.CYCLE + m.cycsum + m.CUMSUM", "_stage + _stage_reward + _total_reward"},
        {"TRUE & false", "1 & 0"},
        {"   x", "x"},
        {"rate.x * rate.xy", "rate_x * rate.xy"},
        {"averyveryverylongname + 2.5e10", "averyver + 2.5e10"},
    };
    const NamePairs renamed = {{"rate.x", "rate_x"}};
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(c.older);
        LegacyConversionMasks masks;
        EXPECT_EQ(ConvertLegacyFormula(c.older, renamed, true, masks), c.current);
    }
}

TEST(LegacyFormulaConversion, ConvertedNotIsNeverAnOr)
{
    LegacyConversionMasks masks;
    EXPECT_EQ(ConvertLegacyFormula("NOT(a)", {}, false, masks), "!(a)");
    EXPECT_EQ(masks.functions, 1u << 4);
    EXPECT_EQ(masks.syntax, 0u);
    EXPECT_EQ(ConvertLegacyFormula("NOT(a) ! b", {}, false, masks), "!(a) | b");
    EXPECT_EQ(masks.syntax, 1u);
}

TEST(LegacyFormulaText, DualPairsAndNegation)
{
    std::string first;
    std::string second;
    EXPECT_TRUE(SplitDualPair("Dual( a+1 , f(b, c) )", first, second));
    EXPECT_EQ(first, "a+1");
    EXPECT_EQ(second, "f(b, c)");
    EXPECT_TRUE(SplitDualPair("DUAL(t[1;2]; 3)", first, second));
    EXPECT_EQ(first, "t[1;2]");
    EXPECT_FALSE(SplitDualPair("Dual(1, 2, 3)", first, second));
    EXPECT_FALSE(SplitDualPair("Dual(1)", first, second));
    EXPECT_FALSE(SplitDualPair("Dual(1, 2", first, second));
    const ConversionCase negations[] = {{"5", "-5"}, {"-2.5", "2.5"}, {"1e3", "-1e3"}, {"a+1", "-(a+1)"}, {"-x", "-(-x)"}};
    for (const ConversionCase& c : negations)
        EXPECT_EQ(NegateFormula(c.older), c.current) << c.older;
}

}  // namespace
