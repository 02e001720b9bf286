// A node's cached formula remembers where each name resolved; every change that can move the binding a name
// resolves to must be seen by the next evaluation of the same parse tree.

#include "formula/EvalContext.h"
#include "formula/FormulaRef.h"
#include "model/NodeFormula.h"
#include "model/VariableDefinition.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Outcome {
    double value;
    int errorCode;
};

// The node's payoff 0 evaluated through its own cached tree (the value after an error is not meaningful).
Outcome EvaluatePayoff(TreeNode* node)
{
    FormulaRef handle(new EvalContext(node->window, node), 1, "payoff");
    const double value = handle.Evaluate(node->Payoff(0));
    return {value, handle.ErrorCode()};
}

// root binds x = 3; the terminal T under N under the root evaluates x*1; M is a sibling of N.
struct CacheTree {
    CacheTree()
    {
        tree.Bind(tree.Root(), "x", "3");
        n = tree.Add(tree.Root(), ChanceNode, "N");
        m = tree.Add(tree.Root(), ChanceNode, "M");
        t = tree.Terminal(n, "T", "1", "x*1");
    }
    TreeBuilder tree;
    TreeNode* n;
    TreeNode* m;
    TreeNode* t;
};

TEST(NameResolutionCache, ChangesAfterAFirstEvaluationAreSeen)
{
    struct Row {
        const char* change;
        std::function<void(CacheTree&)> apply;
        Outcome expected;
    };
    const Row rows[] = {
        {"nothing", [](CacheTree&) {}, {3.0, 0}},
        {"binding added between", [](CacheTree& c) { c.tree.Bind(c.n, "x", "5"); }, {5.0, 0}},
        {"binding added at the node", [](CacheTree& c) { c.tree.Bind(c.t, "x", "6"); }, {6.0, 0}},
        {"root definition changed", [](CacheTree& c) { c.tree.Root()->SetBinding("x", "7", false); }, {7.0, 0}},
        {"root definition not constant", [](CacheTree& c) { c.tree.Root()->SetBinding("x", "2*4", false); },
         {8.0, 0}},
        {"binding removed", [](CacheTree& c) { c.n->RemoveBinding("x", false, false); }, {3.0, 0}},
        {"node moved under a binding",
         [](CacheTree& c) {
             c.tree.Bind(c.m, "x", "9");
             c.n->RemoveChild(c.t);
             c.m->InsertChild(c.t, -1);
         },
         {9.0, 0}},
        {"binding renamed",
         [](CacheTree& c) {
             c.tree.Window().EnsureVariable("y", nullptr);
             c.tree.Root()->FindBinding("X", true)->SetName("y");
         },
         {0.0, 25}},
        {"document variable removed",
         [](CacheTree& c) {
             DocVariable* variable = c.tree.Window().FindVariable("X", true);
             c.tree.Window().Variables.Remove(variable);
             delete variable;
         },
         {0.0, 24}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.change);
        MessageBoxRecorder boxes;
        CacheTree c;
        // The first evaluation parses; the second runs the cached tree and fills its name caches.
        ASSERT_EQ(EvaluatePayoff(c.t).value, 3.0);
        ASSERT_EQ(EvaluatePayoff(c.t).value, 3.0);
        row.apply(c);
        const Outcome outcome = EvaluatePayoff(c.t);
        EXPECT_EQ(outcome.errorCode, row.expected.errorCode);
        if (row.expected.errorCode == 0)
            EXPECT_EQ(outcome.value, row.expected.value);
    }
}

// The same definition tree resolves from each evaluating node, however often it is evaluated.
TEST(NameResolutionCache, DefinitionTreeFollowsTheEvaluatingNode)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    tree.Bind(tree.Root(), "x", "y");
    tree.Bind(tree.Root(), "y", "1");
    TreeNode* n = tree.Add(tree.Root(), ChanceNode, "N");
    tree.Bind(n, "y", "2");
    TreeNode* child = tree.Terminal(n, "child", "1", "x");
    TreeNode* sibling = tree.Terminal(tree.Root(), "sibling", "", "x");
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(EvaluatePayoff(child).value, 2.0);
        EXPECT_EQ(EvaluatePayoff(sibling).value, 1.0);
    }
}

// Bindings inserted or taken out through the plain list operations are seen too.
TEST(NameResolutionCache, PlainListOperationsOnBindingsAreSeen)
{
    MessageBoxRecorder boxes;
    CacheTree c;
    c.tree.Bind(c.n, "z", "1");
    auto* closer = new VariableDefinition("x", "5");
    // The first evaluation parses; the second runs the cached tree and fills its name caches.
    ASSERT_EQ(EvaluatePayoff(c.t).value, 3.0);
    ASSERT_EQ(EvaluatePayoff(c.t).value, 3.0);
    ASSERT_TRUE(c.n->bindings->InsertAt(0, closer)); // "X" sorts before "Z"
    EXPECT_EQ(EvaluatePayoff(c.t).value, 5.0);
    c.n->bindings->RemoveAt(c.n->bindings->IndexOf(closer));
    delete closer;
    EXPECT_EQ(EvaluatePayoff(c.t).value, 3.0);
}

}  // namespace
