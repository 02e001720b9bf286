// The error table word for word, the composed message with the formula's role and node, the first error
// kept, the message box and its suppression.

#include "tests/formula/FormulaTestHelpers.h"

#include "formula/FormulaErrors.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct MessageCase {
    int code;
    const char* arg1;
    const char* arg2;
    const char* expected;
};

class ErrorMessages : public ::testing::TestWithParam<MessageCase> {};

std::string MessageFor(int code, const char* arg1, const char* arg2, const char* name, const char* nodeText)
{
    TestContext* context = new TestContext;
    context->nodeText = nodeText ? nodeText : "";
    FormulaRef ref(context, 1, name);
    zString first(arg1 ? arg1 : "");
    zString second(arg2 ? arg2 : "");
    ref.GetFormula().SetError(code, arg1 ? &first : nullptr, arg2 ? &second : nullptr);
    zString message;
    ref.GetFormula().BuildErrorMessage(message);
    return message.Text();
}

TEST_P(ErrorMessages, TableTextWithArguments)
{
    const MessageCase& c = GetParam();
    EXPECT_EQ(std::string(c.expected) + " Unable to evaluate given text.", MessageFor(c.code, c.arg1, c.arg2, nullptr, "N"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErrorMessages,
    ::testing::Values(
        MessageCase{1, nullptr, nullptr, "Syntax error."},
        MessageCase{2, nullptr, nullptr, "There is an empty formula."},
        MessageCase{3, nullptr, nullptr, "There is a self-referential (recursive) formula."},
        MessageCase{4, nullptr, nullptr, "Numeric overflow."},
        MessageCase{6, nullptr, nullptr, "Division by zero."},
        MessageCase{7, nullptr, nullptr, "Bad arguments using power operator (^)."},
        MessageCase{8, nullptr, nullptr, "Bad function grouping or stacking."},
        MessageCase{9, "Unknown", nullptr, "Unrecognized function \"Unknown\"."},
        MessageCase{10, "PI", nullptr, "Wrong number of arguments to function \"PI\"."},
        MessageCase{11, "PMT", nullptr, "Argument out of range in function \"PMT\"."},
        MessageCase{12, "LN", nullptr, "Cannot have a negative or zero argument to function \"LN\"."},
        MessageCase{13, "SQRT", nullptr, "Cannot have a negative argument to function \"SQRT\"."},
        MessageCase{14, "Rates", nullptr, "Unrecognized table \"Rates\"."},
        MessageCase{15, "Rates", nullptr, "Table lookup in table \"Rates\" generated an error."},
        MessageCase{16, "Rates", nullptr, "Wrong number of lookup arguments to table \"Rates\"."},
        MessageCase{17, "99", nullptr, "Undefined distribution index DistSamp(99)."},
        MessageCase{18, "3", nullptr, "Invalid distribution: DistSamp(3)."},
        MessageCase{19, nullptr, nullptr, "Bad description of distribution in function \"DIST\"."},
        MessageCase{20, nullptr, nullptr, "Non-integral or out-of-range index to function \"CHOOSE\"."},
        MessageCase{21, "4", nullptr, "Undefined link number SUB(4)."},
        MessageCase{22, "4", nullptr, "Link item SUB(4) empty or not found."},
        MessageCase{23, "4", nullptr,
                    "Unable to parse text of link item SUB(4). See the Links dialog for the actual text."},
        MessageCase{24, "cost", nullptr, "Unrecognized variable \"cost\"."},
        MessageCase{25, "cost", nullptr, "No definition found for variable \"cost\"."},
        MessageCase{26, "Anything at all.", nullptr, "Anything at all."},
        MessageCase{27, "cost", "B2",
                    "Unable to set cell value in bi-directional link. Cell: \"B2\". Variable: \"cost\"."},
        MessageCase{28, "cost", "B2",
                    "Unable to retrieve cell value in bi-directional link. Cell: \"B2\". Variable: \"cost\"."},
        MessageCase{40, nullptr, nullptr,
                    "Unknown parser error number (40). Please report this number to Morlund Software."},
        MessageCase{-3, nullptr, nullptr,
                    "Unknown parser error number (-3). Please report this number to Morlund Software."}));

TEST(ErrorMessages, TableHoldsTwentyNineEntries)
{
    EXPECT_STREQ("", FormulaErrorText(0));
    EXPECT_STREQ("", FormulaErrorText(5));
    EXPECT_NE(nullptr, FormulaErrorText(28));
    EXPECT_EQ(nullptr, FormulaErrorText(29));
}

TEST(ErrorMessages, SyntaxErrorsSayWhere)
{
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"(Pi()*2", "Syntax error at character 1: \"(\" is not closed."},
        {"1 + Max(1; (2)", "Syntax error at character 8: \"(\" is not closed."},
        {"T[1", "Syntax error at character 2: \"[\" is not closed."},
        {"2*3)", "Syntax error at character 4: \")\" closes no \"(\"."},
        {"Max(1]", "Syntax error at character 6: \"]\" does not close the \"(\" at character 4."},
        {"2  3", "Syntax error at character 4."},
        {"2*", "Syntax error at the end of the formula."},
    };
    for (const auto& c : cases) {
        FormulaRef ref(new TestContext, 1, "payoff");
        ref.EvaluateText(c.text);
        zString message;
        ref.GetFormula().BuildErrorMessage(message);
        EXPECT_EQ(std::string(c.expected) + " Unable to evaluate payoff.", message.Text()) << c.text;
    }
}

TEST(ErrorMessages, MessageNamesTheRoleAndTheNode)
{
    EXPECT_EQ("Division by zero. Unable to evaluate payoff of node \"Treat now\".",
              MessageFor(6, nullptr, nullptr, "payoff", "Treat now"));
    EXPECT_EQ("Division by zero. Unable to evaluate probability.", MessageFor(6, nullptr, nullptr, "probability", nullptr));
    EXPECT_EQ("Division by zero. Unable to evaluate given text.", MessageFor(6, nullptr, nullptr, "", "Treat now"));
}

TEST(ErrorMessages, OnlyTheFirstErrorIsKept)
{
    FormulaRef ref(new TestContext, 1, "payoff");
    ref.EvaluateText("1/0 + Unknown(2)");
    EXPECT_EQ(FormulaDivisionByZero, ref.ErrorCode());
    EXPECT_DOUBLE_EQ(0.0, ref.EvaluateText("1+1"));
    EXPECT_EQ(FormulaDivisionByZero, ref.ErrorCode());
    ref.Reset(new TestContext, 1, "payoff");
    EXPECT_FALSE(ref.HasError());
    EXPECT_DOUBLE_EQ(2.0, ref.EvaluateText("1+1"));
}

TEST(ErrorMessages, ArgumentsBelongToTheirTask)
{
    FormulaRef ref(new TestContext, 1, "payoff");
    EXPECT_STREQ("", ref.GetFormula().ErrorArg1().Text());
    ref.EvaluateText("Unknown(1)");
    EXPECT_STREQ("Unknown", ref.GetFormula().ErrorArg1().Text());
    ref.Reset(new TestContext, 1, "payoff");
    EXPECT_STREQ("", ref.GetFormula().ErrorArg1().Text());
    ref.EvaluateText("1/0");
    zString message;
    ref.GetFormula().BuildErrorMessage(message);
    EXPECT_STREQ("Division by zero. Unable to evaluate payoff.", message.Text());
    ref.Reset(new TestContext, 1, "payoff");
    zString variable("cost");
    zString cell("B2");
    ref.GetFormula().SetError(FormulaCellGetFailed, &variable, &cell);
    EXPECT_STREQ("cost", ref.GetFormula().ErrorArg1().Text());
    EXPECT_STREQ("B2", ref.GetFormula().ErrorArg2().Text());
    ref.GetFormula().Restart();
    ref.EvaluateText("Sqrt(-1)");
    EXPECT_STREQ("SQRT", ref.GetFormula().ErrorArg1().Text());
    EXPECT_STREQ("", ref.GetFormula().ErrorArg2().Text());
}

TEST(ErrorMessages, ShowErrorUsesTheParserErrorBox)
{
    MessageBoxRecorder recorder;
    TestContext* context = new TestContext;
    context->nodeText = "Surgery";
    FormulaRef ref(context, 1, "payoff");
    EXPECT_EQ(0, ref.ShowError(nullptr, 1));
    ref.EvaluateText("Ln(0)");
    EXPECT_EQ(1, ref.ShowError(nullptr, 1));
    ASSERT_EQ(1u, recorder.Count());
    EXPECT_EQ("Parser Error", recorder.Last().caption);
    EXPECT_EQ(30013, recorder.Last().help);
    EXPECT_EQ("Cannot have a negative or zero argument to function \"LN\". Unable to evaluate payoff of node "
              "\"Surgery\".",
              recorder.Last().text);
}

TEST(ErrorMessages, SilentErrorsAndSuppressionShowNothing)
{
    MessageBoxRecorder recorder;
    FormulaRef silent(new TestContext, 1, "payoff");
    silent.GetFormula().SetError(FormulaSilentError);
    EXPECT_EQ(1, silent.ShowError(nullptr, 0));

    FormulaRef batch(new TestContext, 1, "payoff");
    batch.EvaluateText("1/0");
    {
        HostSilence quiet(Silence::FormulaMessages);
        EXPECT_EQ(1, batch.ShowError(nullptr, 0));
    }
    EXPECT_EQ(0u, recorder.Count());
    EXPECT_EQ(1, batch.ShowError(nullptr, 0));
    EXPECT_EQ(1u, recorder.Count());
}

TEST(ErrorMessages, EmptyTextsAreErrorTwo)
{
    FormulaRef ref(new TestContext, 1, "payoff");
    Expression empty;
    EXPECT_DOUBLE_EQ(0.0, ref.Evaluate(empty));
    EXPECT_EQ(FormulaEmpty, ref.ErrorCode());
    FormulaRef text(new TestContext, 1, "payoff");
    EXPECT_DOUBLE_EQ(0.0, text.EvaluateText(nullptr));
    EXPECT_EQ(FormulaEmpty, text.ErrorCode());
}

}  // namespace
