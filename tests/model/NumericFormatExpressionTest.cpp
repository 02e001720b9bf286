#include "model/NumericFormatExpression.h"

#include "foundation/LocaleChars.h"
#include "model/TreeNode.h"
#include "tests/support/MessageBoxRecorder.h"
#include "model/TreeDocument.h"

#include <gtest/gtest.h>

namespace {

class FormulaTexts : public testing::Test {
protected:
    void SetUp() override { LocaleChars::Create(true); }
    MessageBoxRecorder boxes;
};

TEST_F(FormulaTexts, ConstantFormulasBecomeTheirNumber)
{
    struct Row { const char* text; const char* expected; };
    const Row rows[] = {{"2*3", "6"}, {"1/3", "0.333333333"}, {"(1+1)/8", "0.25"}, {"-4", "-4"}, {"1e-3", "0.001"}};
    for (const Row& row : rows) {
        zString text(row.text);
        EXPECT_TRUE(FormatExpressionValue(text, nullptr)) << row.text;
        EXPECT_STREQ(text.Text(), row.expected);
    }
}

TEST_F(FormulaTexts, FormulasWithVariablesOrErrorsStay)
{
    TreeDocument document;
    document.EnsureVariable("pSick", "0.5");
    const char* const rows[] = {"pSick*2", "1/0", "2*", "unknown+1"};
    for (const char* row : rows) {
        zString text(row);
        EXPECT_FALSE(FormatExpressionValue(text, document.Root)) << row;
        EXPECT_STREQ(text.Text(), row);
    }
}

TEST_F(FormulaTexts, OnlyExpressionsAreBracketed)
{
    TreeDocument document;
    document.EnsureVariable("Cost", nullptr);
    struct Row { const char* text; const char* expected; };
    const Row rows[] = {
        {"Cost", "Cost"}, {"COST", "COST"}, {"Cost+1", "(Cost+1)"}, {"12", "12"}, {"$1,200", "$1,200"},
        {"", ""},         {"-3", "-3"},     {"a*b", "(a*b)"},
    };
    for (const Row& row : rows) {
        zString text(row.text);
        ParenthesizeIfExpression(text, &document);
        EXPECT_STREQ(text.Text(), row.expected) << row.text;
    }
    zString withoutWindow("Cost");
    ParenthesizeIfExpression(withoutWindow, nullptr);
    EXPECT_STREQ(withoutWindow.Text(), "(Cost)");
}

} // namespace
