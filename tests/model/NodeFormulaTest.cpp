// The window's shared formula evaluator: each evaluation is its own task, whatever ran before it and under
// whichever role.

#include "formula/Expression.h"
#include "model/NodeFormula.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(NodeFormulaEvaluator, EachEvaluationStartsAfresh)
{
    struct Row {
        const char* role;
        const char* formula;
        double value;
        const char* message;  // null: no error
    } rows[] = {
        {"payoff", "1/0", 0.0, "Division by zero. Unable to evaluate payoff of node \"T\"."},
        {"payoff", "x*2", 6.0, nullptr},
        {"probability", "foo(1)", 0.0, "Unrecognized function \"foo\". Unable to evaluate probability of node \"T\"."},
        {"probability", "x+1", 4.0, nullptr},
        {"payoff", "y", 0.0, "Unrecognized variable \"y\". Unable to evaluate payoff of node \"T\"."},
        {"payoff", "x", 3.0, nullptr},
    };
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    tree.Bind(tree.Root(), "x", "3");
    TreeNode* t = tree.Terminal(tree.Root(), "T", "", "0");
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.role) + " " + row.formula);
        Expression formula(row.formula);
        // Twice: the first evaluation parses, the second runs the kept tree.
        for (int round = 0; round < 2; ++round) {
            const size_t before = boxes.Count();
            int error = 0;
            const double value = EvaluateNodeFormula(t, formula, row.role, &error, false);
            EXPECT_EQ(error, row.message != nullptr ? 1 : 0);
            if (row.message == nullptr) {
                EXPECT_EQ(value, row.value);
                EXPECT_EQ(boxes.Count(), before);
            } else {
                ASSERT_EQ(boxes.Count(), before + 1);
                EXPECT_EQ(boxes.Last().text, row.message);
            }
        }
    }
    // More roles than the evaluator keeps handles for: each message still names its own role.
    static const char* const roles[] = {"payoff", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r9", "probability"};
    Expression failing("1/0");
    for (int round = 0; round < 2; ++round) {
        for (const char* role : roles) {
            int error = 0;
            EvaluateNodeFormula(t, failing, role, &error, false);
            EXPECT_EQ(boxes.Last().text, std::string("Division by zero. Unable to evaluate ") + role + " of node \"T\".");
        }
    }
}

// A formula kept as a plain number is read without an evaluation, until its text or its number changes.
TEST(NodeFormulaEvaluator, AKeptNumberFollowsItsFormula)
{
    TreeBuilder tree;
    tree.Bind(tree.Root(), "x", "3");
    TreeNode* t = tree.Terminal(tree.Root(), "T", "", "0");
    Expression formula("0.25");
    const struct {
        const char* text;  // null: SetNumber(7)
        double value;
        bool usesVariables;
    } rows[] = {{"0.25", 0.25, false}, {"x", 3.0, true}, {nullptr, 7.0, false}, {"x+1", 4.0, true}};
    for (const auto& row : rows) {
        if (row.text != nullptr)
            formula.SetText(row.text);
        else
            formula.SetNumber(7.0);
        for (int round = 0; round < 3; ++round) {
            int error = 0;
            bool usesVariables = !row.usesVariables;
            EXPECT_EQ(EvaluateNodeFormula(t, formula, "payoff", &error, false, &usesVariables), row.value) << round;
            EXPECT_EQ(usesVariables, row.usesVariables) << round;
            EXPECT_EQ(error, 0);
        }
    }
}

}  // namespace
