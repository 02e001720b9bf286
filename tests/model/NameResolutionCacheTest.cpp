// A node's cached formula remembers where each name resolved; every change that can move the binding a name
// resolves to must be seen by the next evaluation of the same parse tree.

#include "model/EvalContext.h"
#include "formula/FormulaRef.h"
#include "foundation/MemoryStream.h"
#include "model/DocVariable.h"
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
    FormulaRef handle(new EvalContext(node->document, node), 1, "payoff");
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
        // Set up before the cache is warmed (it must not change what x*1 at T resolves to).
        std::function<void(CacheTree&)> prepare;
        std::function<void(CacheTree&)> apply;
        Outcome expected;
    };
    const auto none = [](CacheTree&) {};
    const Row rows[] = {
        {"nothing", none, none, {3.0, 0}},
        {"binding added between", none, [](CacheTree& c) { c.tree.Bind(c.n, "x", "5"); }, {5.0, 0}},
        {"binding added at the node", none, [](CacheTree& c) { c.tree.Bind(c.t, "x", "6"); }, {6.0, 0}},
        {"root definition changed", none, [](CacheTree& c) { c.tree.Root()->SetBinding("x", "7", false); },
         {7.0, 0}},
        {"root definition not constant", none,
         [](CacheTree& c) { c.tree.Root()->SetBinding("x", "2*4", false); }, {8.0, 0}},
        {"binding removed", none, [](CacheTree& c) { c.tree.Root()->RemoveBinding("x", false, false); },
         {0.0, 25}},
        {"node moved under a binding", [](CacheTree& c) { c.tree.Bind(c.m, "x", "9"); },
         [](CacheTree& c) {
             c.n->RemoveChild(c.t);
             c.m->InsertChildOrThrow(c.t, -1);
         },
         {9.0, 0}},
        {"binding renamed", [](CacheTree& c) { c.tree.Document().EnsureVariable("y", nullptr); },
         [](CacheTree& c) { c.tree.Root()->FindBinding("X", true)->SetName("y"); }, {0.0, 25}},
        {"root binding made braced", none,
         [](CacheTree& c) { c.tree.Root()->FindBinding("X", true)->SetName("{T} x"); }, {0.0, 25}},
        {"bindings copied from another node", [](CacheTree& c) { c.tree.Bind(c.m, "x", "4"); },
         [](CacheTree& c) { c.m->CopyBindingsTo(c.n, false); }, {4.0, 0}},
        {"root bindings moved away", none, [](CacheTree& c) { c.tree.Root()->CopyBindingsTo(c.m, true); },
         {0.0, 25}},
        {"root bindings list deleted", none,
         [](CacheTree& c) {
             c.tree.Root()->bindings = nullptr;
         },
         {0.0, 25}},
        {"children moved under a binding", [](CacheTree& c) { c.tree.Bind(c.m, "x", "9"); },
         [](CacheTree& c) { c.n->MoveChildrenTo(c.m, -1); }, {9.0, 0}},
        {"binding renamed to the name by the subtree walk", [](CacheTree& c) { c.tree.Bind(c.n, "z", "5"); },
         [](CacheTree& c) { c.n->RenameBindingInSubtree("z", "x"); }, {5.0, 0}},
        {"document variable removed", none,
         [](CacheTree& c) {
             DocVariable* variable = c.tree.Document().FindVariable("X", true);
             c.tree.Document().Variables.Remove(variable);
             delete variable;
         },
         {0.0, 24}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.change);
        MessageBoxRecorder boxes;
        CacheTree c;
        row.prepare(c);
        // The first evaluation parses; the second runs the cached tree and fills its name caches.
        ASSERT_EQ(EvaluatePayoff(c.t).value, 3.0);
        ASSERT_EQ(EvaluatePayoff(c.t).value, 3.0);
        row.apply(c);
        const Outcome outcome = EvaluatePayoff(c.t);
        EXPECT_EQ(outcome.errorCode, row.expected.errorCode);
        if (row.expected.errorCode == 0) {
            EXPECT_EQ(outcome.value, row.expected.value);
        }
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

// A variable record loaded again in place may come back under another name; its old name is then unknown.
TEST(NameResolutionCache, VariableRecordReloadedUnderAnotherName)
{
    MessageBoxRecorder boxes;
    MemoryStream written(100);
    DocVariable("y").Serialize(written);
    CacheTree c;
    ASSERT_EQ(EvaluatePayoff(c.t).value, 3.0);
    ASSERT_EQ(EvaluatePayoff(c.t).value, 3.0);
    MemoryStream reader(const_cast<uint8_t*>(written.Data()), written.Position(), false);
    c.tree.Document().FindVariable("X", true)->Serialize(reader);
    ASSERT_FALSE(reader.Failed());
    EXPECT_EQ(EvaluatePayoff(c.t).errorCode, 24);
}

}  // namespace
