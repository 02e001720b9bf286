// Proposed formula texts reduced to numbers or parenthesised.

#include "model/ExpressionValueText.h"
#include "tests/model/TreeBuilder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ExpressionValueText, ConstantTextsBecomeNumbers)
{
    TreeBuilder tree;
    tree.Bind(tree.Root(), "p", "0.2");
    struct Row {
        const char* text;
        bool reduced;
        const char* result;
    } rows[] = {
        {"(0.3*0.5)", true, "0.15"}, {"1/3", true, "0.333333333"}, {"2+2", true, "4"},
        {"p*0.5", false, "p*0.5"},   {"1/0", false, "1/0"},        {"(", false, "("},
    };
    for (const Row& row : rows) {
        zString text(row.text);
        EXPECT_EQ(FormatExpressionValue(text, tree.Root()), row.reduced) << row.text;
        EXPECT_EQ(std::string(text.Text()), row.result) << row.text;
    }
}

TEST(ExpressionValueText, ParenthesizeUnlessNameOrNumber)
{
    TreeBuilder tree;
    tree.Window().EnsureVariable("Sens", nullptr);
    struct Row {
        const char* text;
        const char* result;
    } rows[] = {{"sens", "sens"}, {"0.25", "0.25"}, {"a+b", "(a+b)"}, {"", ""}, {"1-x", "(1-x)"}};
    for (const Row& row : rows) {
        zString text(row.text);
        ParenthesizeIfExpression(text, &tree.Window());
        EXPECT_EQ(std::string(text.Text()), row.result) << row.text;
    }
}

}  // namespace
