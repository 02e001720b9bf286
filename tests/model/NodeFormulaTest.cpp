// The window's shared formula evaluator: each evaluation is its own task, whatever ran before it and under
// whichever role.

#include "formula/Expression.h"
#include "formula/FormulaRef.h"
#include "foundation/RandomGenerator.h"
#include "model/EvalContext.h"
#include "model/NodeFormula.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

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
            RunFault error;
            const double value = EvaluateNodeFormula(t, formula, row.role, &error, false);
            EXPECT_EQ(error.Code(), row.message != nullptr ? OutcomeCode::FormulaFailed : OutcomeCode::Done);
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
            RunFault error;
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
            RunFault error;
            bool usesVariables = !row.usesVariables;
            EXPECT_EQ(EvaluateNodeFormula(t, formula, "payoff", &error, false, &usesVariables), row.value) << round;
            EXPECT_EQ(usesVariables, row.usesVariables) << round;
            EXPECT_FALSE(error);
        }
    }
}

// Kept formulas evaluated at their node again and again, while the numbers their names are bound to change
// and a binding moves, give bit for bit what a fresh copy of their tree gives in a task of its own, with the
// same error and the same use of variables.
TEST(NodeFormulaEvaluator, KeptFormulasMatchAFreshTree)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double special[][2] = {{0, 0}, {1e-11, -1}, {-2, 0.5}, {nan, 2}, {1e300, 1e300}, {-1, 0}, {2, 3}};
    const char* const texts[] = {"a + b*2 - a/b", "b/a", "b^a", "a^0.5", "-(b^a)", "a & b | !a & !b", "!a", "b",
                                 "a = b", "If(a; 1/a; b)", "a*b + Abs(a)", "a + _stage", "a + c", "a/(b - 1) + a",
                                 "(a + b)*(a - b)/(b + 1) - a*a + If(a > b; b^2; a <> b) - (a | b/a)"};
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    for (const char* name : {"a", "b", "c"})
        tree.Bind(tree.Root(), name, name[0] == 'c' ? "a*2" : "3");
    RandomGenerator random(17);
    for (const char* text : texts) {
        TreeNode* t = tree.Terminal(tree.Root(), "T", "", text);
        RunFault error;
        EvaluateNodeFormula(t, t->Payoff(0), "payoff", &error, true);
        for (int round = 0; round < 40; ++round) {
            const double a = round < 7 ? special[round][0] : random.Next() / 8192.0 - 2.0;
            const double b = round < 7 ? special[round][1] : random.Next() % 5 - 2.0;
            tree.Root()->FindBinding("A", true)->definition.SetNumber(a);
            tree.Root()->FindBinding("B", true)->definition.SetNumber(b);
            if (round == 30)
                t->SetBinding("b", "0.5", false);
            SCOPED_TRACE(std::string(text) + " round " + std::to_string(round));
            // After an error names give random values: both evaluations draw the same ones.
            SeedRandom(round);
            error.Clear();
            bool usesVariables = false;
            const double value = EvaluateNodeFormula(t, t->Payoff(0), "payoff", &error, true, &usesVariables);
            Expression fresh(t->Payoff(0));
            FormulaRef task(new EvalContext(&tree.Document(), t), 1, "payoff");
            SeedRandom(round);
            const double expected = task.Evaluate(fresh);
            EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << value << " " << expected;
            EXPECT_EQ(static_cast<bool>(error), task.HasError());
            EXPECT_EQ(usesVariables, task.UsesVariables());
        }
    }
}

// Formulas reading a name that nodes here and there bind anew, evaluated at the nodes of a tree walked from
// node to child, sibling, parent or anywhere at random, give what a task of their own gives at each node.
TEST(NodeFormulaEvaluator, NamesResolveFromEachNodeOfAWalk)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    tree.Bind(tree.Root(), "x", "1");
    RandomGenerator random(5);
    std::vector<TreeNode*> nodes{tree.Root()};
    for (int i = 1; i < 60; ++i) {
        TreeNode* node = tree.Add(nodes[random.Next() % nodes.size()], ChanceNode, "N");
        if (random.Next() % 4 == 0)
            node->SetBinding("x", std::to_string(i + 1).c_str(), false);
        nodes.push_back(node);
    }
    Expression formulas[] = {Expression("x*2"), Expression("x + x*x - x/2 + x*3 - 1")};
    TreeNode* at = tree.Root();
    for (int step = 0; step < 600; ++step) {
        const uint32_t move = random.Next() % 4;
        if (move == 0 && at->childCount > 0)
            at = at->GetChild(static_cast<int>(random.Next() % at->childCount));
        else if (move == 1 && at->parent != nullptr)
            at = at->parent->GetChild(static_cast<int>(random.Next() % at->parent->childCount));
        else if (move == 2 && at->parent != nullptr)
            at = at->parent;
        else
            at = nodes[random.Next() % nodes.size()];
        Expression& formula = formulas[step % 2];
        RunFault error;
        const double value = EvaluateNodeFormula(at, formula, "payoff", &error, true);
        Expression fresh(formula.Text().Text());
        FormulaRef task(new EvalContext(&tree.Document(), at), 1, "payoff");
        ASSERT_EQ(value, task.Evaluate(fresh)) << "step " << step;
    }
}

}  // namespace
