// The first evaluation (computed while parsing) and later evaluations (the cached tree) differ where the
// language says so: lazy If and Choose in the tree, exact zero tests in the tree against 1e-10 while
// parsing, no sign test of a power's base in the tree, and no overflow test after a tree evaluation.

#include "tests/formula/FormulaTestHelpers.h"

#include "formula/ArithmeticNodes.h"
#include "formula/BuiltinRegistry.h"
#include "formula/CallNodes.h"
#include "formula/FormulaErrors.h"
#include "formula/OperandNodes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct PathCase {
    const char* text;
    Variables atParse;   // values while the tree is built
    FormulaOutcome first;
    Variables later;     // values of the later evaluation of the cached tree
    FormulaOutcome cached;
};

class EvaluationPaths : public ::testing::TestWithParam<PathCase> {};

TEST_P(EvaluationPaths, FirstAndCachedEvaluations)
{
    const PathCase& c = GetParam();
    Expression expression(c.text);
    FormulaOutcome first = EvaluateExpression(expression, c.atParse);
    EXPECT_EQ(c.first.error, first.error) << c.text;
    EXPECT_DOUBLE_EQ(c.first.value, first.value) << c.text;
    ASSERT_TRUE(expression.HasParseTree()) << c.text;
    FormulaOutcome later = EvaluateExpression(expression, c.later);
    EXPECT_EQ(c.cached.error, later.error) << c.text;
    if (std::isnan(c.cached.value))
        EXPECT_TRUE(std::isnan(later.value)) << c.text;
    else
        EXPECT_DOUBLE_EQ(c.cached.value, later.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EvaluationPaths,
    ::testing::Values(
        // If: every argument counts while parsing; the tree evaluates only the chosen branch.
        PathCase{"If(x; 1; 1/x)", {{"x", 2}}, {1, 0}, {{"x", 0}}, {0, FormulaDivisionByZero}},
        PathCase{"If(x; 1; 1/x)", {{"x", 2}}, {1, 0}, {{"x", 2}}, {1, 0}},
        PathCase{"If(x; 1; y)", {{"x", 1}, {"y", 0}}, {1, 0}, {{"x", 1}}, {1, 0}},
        // Choose: the tree truncates the index without testing its fraction.
        PathCase{"Choose(k; 10; 20; 30)", {{"k", 2}}, {20, 0}, {{"k", 2.7}}, {20, 0}},
        PathCase{"Choose(k; 10; 20; 30)", {{"k", 2}}, {20, 0}, {{"k", 4}}, {0, FormulaBadChooseIndex}},
        PathCase{"Choose(k; 10; 20; 30)", {{"k", 2}}, {20, 0}, {{"k", 0.5}}, {0, FormulaBadChooseIndex}},
        // Zero tests: 1e-10 while parsing, exactly 0 in the tree.
        PathCase{"0.00000000001 & 1", {}, {0, 0}, {}, {1, 0}},
        PathCase{"a | 0", {{"a", 0.00000000001}}, {0, 0}, {{"a", 0.00000000001}}, {1, 0}},
        PathCase{"1/d", {{"d", 1}}, {1, 0}, {{"d", 0.00000000001}}, {1e11, 0}},
        PathCase{"1/d", {{"d", 1}}, {1, 0}, {{"d", 0}}, {0, FormulaDivisionByZero}},
        PathCase{"!a", {{"a", 1}}, {0, 0}, {{"a", 0.00000000001}}, {1, 0}},
        // Powers: the tree does not test the sign of the base.
        PathCase{"b^2", {{"b", 2}}, {4, 0}, {{"b", -2}}, {4, 0}},
        PathCase{"b^0.5", {{"b", 4}}, {2, 0}, {{"b", -4}}, {NAN, FormulaBadPower}},
        // Overflow: an error of the parse only; the cached tree gives the value.
        PathCase{"1e22", {}, {1e22, FormulaOverflow}, {}, {1e22, 0}},
        PathCase{"x*1e20", {{"x", 100}}, {1e22, FormulaOverflow}, {{"x", 100}}, {1e22, 0}}));

// The cached If takes its first branch only, so a variable of the other branch is never looked up.
TEST(EvaluationPaths, LazyTreeDoesNotLookUpTheOtherBranch)
{
    Expression expression("If(x; 1; missing)");
    ASSERT_EQ(0, EvaluateExpression(expression, {{"x", 1}, {"missing", 0}}).error);
    TestContext* context = new TestContext({{"x", 1}});
    FormulaRef ref(context, 1, "payoff");
    EXPECT_DOUBLE_EQ(1.0, ref.Evaluate(expression));
    EXPECT_FALSE(ref.HasError());
    EXPECT_EQ(1, context->lookups);
}

TEST(EvaluationPaths, TreeWithoutFormulaReportsNothingAndNamesAreRandom)
{
    Expression expression("x / 0.5 + Sqrt(y) + Choose(1; z; 3)");
    ASSERT_EQ(0, EvaluateExpression(expression, {{"x", 1}, {"y", 4}, {"z", 2}}).error);
    for (int i = 0; i < 50; ++i) {
        double value = expression.GetParseTree()->Evaluate(nullptr);
        EXPECT_GE(value, 0.0);
        EXPECT_LE(value, 4.0);
    }
    Expression name("q");
    EvaluateExpression(name, {{"q", 5}});
    double random = name.GetParseTree()->Evaluate(nullptr);
    EXPECT_GE(random, 0.0);
    EXPECT_LE(random, 1.0);
}

TEST(EvaluationPaths, DamagedNodesReportMissingOperandsAndCloneSafely)
{
    AddNode lonely;
    lonely.AddOperand(new ConstantNode(1.0));  // fills the right operand only
    FormulaRef ref(new TestContext, 1, "payoff");
    EXPECT_DOUBLE_EQ(0.0, lonely.Evaluate(&ref.GetFormula()));
    EXPECT_EQ(FormulaSyntaxError, ref.ErrorCode());
    ParseNode* copy = lonely.Clone();
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(nullptr, copy->GetOperand(0));
    EXPECT_NE(nullptr, copy->GetOperand(1));
    delete copy;

    FunctionCallNode shortIf(BuiltinIf);
    shortIf.AddOperand(new ConstantNode(1.0));
    FormulaRef second(new TestContext, 1, "payoff");
    EXPECT_DOUBLE_EQ(0.0, shortIf.Evaluate(&second.GetFormula()));
    EXPECT_EQ(FormulaWrongArgCount, second.ErrorCode());
    EXPECT_DOUBLE_EQ(0.0, shortIf.Evaluate(nullptr));
}

std::string Repeated(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

// Trees tens of thousands of levels deep (each level used to take native stack frames to evaluate, copy and
// delete, and 40,000 terms overflowed it): first evaluation, cached tree, a copy, and the tree walked alone.
TEST(EvaluationPaths, DeepTreesEvaluateCopyAndDelete)
{
    struct DeepCase {
        std::string text;
        FormulaOutcome outcome;
    };
    const DeepCase cases[] = {
        {"x" + Repeated("+x", 99999), {50000.0, 0}},
        {"2" + Repeated("^1", 99999), {2.0, 0}},
        {Repeated("-", 9990) + "x", {0.5, 0}},
        {Repeated("!(", 4000) + "x" + Repeated(")", 4000), {1.0, 0}},
        {Repeated("If(x;", 1500) + "x" + Repeated(";0)", 1500), {0.5, 0}},
        {"x" + Repeated("+x", 99999) + "+", {0.0, FormulaSyntaxError}},
    };
    for (const DeepCase& c : cases) {
        Expression expression(c.text.c_str());
        FormulaOutcome first = EvaluateExpression(expression, {{"x", 0.5}});
        EXPECT_EQ(c.outcome.error, first.error) << c.text.substr(0, 20);
        if (c.outcome.error != 0) {
            EXPECT_FALSE(expression.HasParseTree());
            continue;
        }
        EXPECT_DOUBLE_EQ(c.outcome.value, first.value) << c.text.substr(0, 20);
        ASSERT_TRUE(expression.HasParseTree());
        FormulaOutcome cached = EvaluateExpression(expression, {{"x", 0.5}});
        EXPECT_EQ(0, cached.error);
        EXPECT_DOUBLE_EQ(c.outcome.value, cached.value) << c.text.substr(0, 20);
        Expression copy(expression);
        expression.DropParseTree();
        FormulaRef ref(new TestContext({{"x", 0.5}}), 1, "payoff");
        EXPECT_DOUBLE_EQ(c.outcome.value, copy.GetParseTree()->Evaluate(&ref.GetFormula())) << c.text.substr(0, 20);
        EXPECT_DOUBLE_EQ(c.outcome.value, ref.Evaluate(copy)) << c.text.substr(0, 20);
    }
}

TEST(EvaluationPaths, NodeBuildingAndOperandAccess)
{
    Expression expression("a - b");
    EvaluateExpression(expression, {{"a", 5}, {"b", 3}});
    ParseNode* tree = expression.GetParseTree();
    ASSERT_EQ(NodeSubtract, tree->TypeCode());
    EXPECT_EQ(GroupArithmetic, tree->Group());
    EXPECT_EQ(2, tree->OperandCount());
    EXPECT_STREQ("A", static_cast<NameNode*>(tree->GetOperand(0))->Name().Text());
    EXPECT_STREQ("B", static_cast<NameNode*>(tree->GetOperand(5))->Name().Text());

    Expression call("Sum(1; 2; 3)");
    EvaluateExpression(call);
    ParseNode* sum = call.GetParseTree();
    ASSERT_EQ(NodeFunctionCall, sum->TypeCode());
    EXPECT_EQ(3, sum->OperandCount());
    // Arguments are counted from the last one written.
    EXPECT_DOUBLE_EQ(3.0, static_cast<ConstantNode*>(sum->GetOperand(0))->Value());
    EXPECT_DOUBLE_EQ(1.0, static_cast<ConstantNode*>(sum->GetOperand(2))->Value());
    EXPECT_EQ(nullptr, sum->GetOperand(3));

    struct GroupCase {
        int code;
        int group;
    };
    const GroupCase groups[] = {{1, 4}, {2, 1}, {8, 1}, {9, 2}, {11, 2}, {12, 3}, {17, 3}, {18, 4}, {19, 5}, {22, 5}};
    for (const GroupCase& g : groups) {
        ParseNode* node = MakeParseNode(g.code);
        ASSERT_NE(nullptr, node);
        EXPECT_EQ(g.code, node->TypeCode());
        EXPECT_EQ(g.group, node->Group()) << g.code;
        delete node;
    }
    EXPECT_EQ(nullptr, MakeParseNode(0));
    EXPECT_EQ(nullptr, MakeParseNode(23));
}

TEST(EvaluationPaths, TablesAtParseTimeAndInTheTree)
{
    TestContext* context = new TestContext({{"x", 1.5}});
    context->AddTable("Rates", {{1, 10}, {2, 20}, {3, 30}});
    FormulaRef ref(context, 1, "payoff");
    Expression lookup("rates[x] + RATES[1; 2]");
    EXPECT_DOUBLE_EQ(15.0 + 30.0, ref.Evaluate(lookup));
    EXPECT_FALSE(ref.HasError());
    ASSERT_TRUE(lookup.HasParseTree());
    context->Set("x", 2.5);
    EXPECT_DOUBLE_EQ(25.0 + 30.0, ref.Evaluate(lookup));

    struct TableCase {
        const char* text;
        int error;
        const char* argument;
    };
    const TableCase cases[] = {{"Rates[1; 2; 3]", FormulaTableArgCount, "Rates"},
                               {"Other[1]", FormulaUnknownTable, "Other"},
                               {"Strict[9]", FormulaTableLookupFailed, "Strict"}};
    for (const TableCase& c : cases) {
        TestContext* tables = new TestContext;
        tables->AddTable("Rates", {{1, 10}});
        tables->AddTable("Strict", {{1, 10}}).SetOffEdgeIsError(true);
        FormulaRef check(tables, 1, "payoff");
        check.EvaluateText(c.text);
        EXPECT_EQ(c.error, check.ErrorCode()) << c.text;
        EXPECT_STREQ(c.argument, check.GetFormula().ErrorArg1().Text()) << c.text;
    }
}

TEST(EvaluationPaths, VariableMemoKeepsOneValuePerNameAndNode)
{
    FormulaRef ref(new TestContext, 1, "payoff");
    Formula& formula = ref.GetFormula();
    int found = 0;
    double value = 0.0;
    VariableMemo* record = formula.MemoLookup("X", nullptr, &found, &value);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(0, found);
    formula.MemoStore(record, 4.5, 1);
    EXPECT_EQ(nullptr, formula.MemoLookup("X", nullptr, &found, &value));
    EXPECT_EQ(1, found);
    EXPECT_DOUBLE_EQ(4.5, value);
    VariableMemo* other = formula.MemoLookup("Y", nullptr, &found, &value);
    formula.MemoStore(other, 1.0, 0);
    VariableMemo* again = formula.MemoLookup("Y", nullptr, &found, &value);
    EXPECT_NE(nullptr, again);
    EXPECT_EQ(0, found);
    ref.Reset(new TestContext, 1, "payoff");
    EXPECT_NE(nullptr, ref.GetFormula().MemoLookup("X", nullptr, &found, &value));
}

}  // namespace
