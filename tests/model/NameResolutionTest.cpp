// How names in a node's formulas resolve up the tree.

#include "model/EvalContext.h"
#include "formula/Formula.h"
#include "formula/FormulaRef.h"
#include "model/NodeFormula.h"
#include "model/VariableDefinition.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

namespace {

struct Result {
    double value;
    int errorCode;
};

Result Evaluate(TreeNode* node, const char* text)
{
    Expression formula(text);
    FormulaRef handle(new EvalContext(node->document, node), 1, "payoff");
    const double value = handle.Evaluate(formula);
    return {value, handle.ErrorCode()};
}

// root binds x = 3; N binds x = x*2; N's child and N's sibling evaluate x.
TEST(NameResolution, BindingShadowsAndSelfReferenceReadsAbove)
{
    TreeBuilder tree;
    tree.Bind(tree.Root(), "x", "3");
    TreeNode* n = tree.Add(tree.Root(), ChanceNode, "N");
    tree.Bind(n, "x", "x*2");
    TreeNode* child = tree.Terminal(n, "child", "1", "x");
    TreeNode* sibling = tree.Terminal(tree.Root(), "sibling", "", "x");
    EXPECT_EQ(Evaluate(child, "x").value, 6.0);
    EXPECT_EQ(Evaluate(sibling, "x").value, 3.0);
    EXPECT_EQ(Evaluate(child, "x + x").value, 12.0);
}

TEST(NameResolution, DefinitionNamesResolveFromTheEvaluatingNode)
{
    TreeBuilder tree;
    tree.Bind(tree.Root(), "x", "y");
    tree.Bind(tree.Root(), "y", "1");
    TreeNode* n = tree.Add(tree.Root(), ChanceNode, "N");
    tree.Bind(n, "y", "2");
    TreeNode* child = tree.Terminal(n, "child", "1", "x");
    TreeNode* sibling = tree.Terminal(tree.Root(), "sibling", "", "x");
    EXPECT_EQ(Evaluate(child, "x").value, 2.0);
    EXPECT_EQ(Evaluate(sibling, "x").value, 1.0);
}

TEST(NameResolution, SelfReferenceAtTheRootIsAnErrorNotARecursion)
{
    struct Row {
        bool knownVariable;
        int errorCode;
    } rows[] = {{true, 25}, {false, 24}};
    for (const Row& row : rows) {
        TreeBuilder tree;
        tree.Root()->SetBinding("x", "x+1", false);
        if (row.knownVariable)
            tree.Document().EnsureVariable("x", nullptr);
        TreeNode* leaf = tree.Terminal(tree.Root(), "leaf", "", "x");
        EXPECT_EQ(Evaluate(leaf, "x").errorCode, row.errorCode);
    }
}

TEST(NameResolution, MutualDefinitionsAtOneNodeEndInAnError)
{
    TreeBuilder tree;
    tree.Bind(tree.Root(), "a", "b");
    tree.Bind(tree.Root(), "b", "a");
    TreeNode* leaf = tree.Terminal(tree.Root(), "leaf", "", "a");
    EXPECT_EQ(Evaluate(leaf, "a").errorCode, 25);
}

TEST(NameResolution, TrialVariableGivesItsStoredValue)
{
    TreeBuilder tree;
    DocVariable* rate = tree.Document().EnsureVariable("{T} Rate", nullptr);
    ASSERT_NE(rate, nullptr);
    EXPECT_EQ(rate->name, "Rate");
    EXPECT_EQ(rate->tFlag, 1);
    rate->tValue3 = 0.25f;
    TreeNode* leaf = tree.Terminal(tree.Root(), "leaf", "", "rate");
    const Result result = Evaluate(leaf, "rate*4");
    EXPECT_EQ(result.errorCode, 0);
    EXPECT_EQ(result.value, 1.0);
}

TEST(NameResolution, BracedBindingSetsTheTrialValue)
{
    TreeBuilder tree;
    DocVariable* rate = tree.Document().EnsureVariable("{T} Rate", nullptr);
    TreeNode* node = tree.Add(tree.Root(), ChanceNode, "n");
    node->SetBinding("{T} Rate", "0.5*3", false);
    ASSERT_TRUE(node->LastBindingIsBraced());
    EXPECT_TRUE(node->EvaluateBracedBindings());
    EXPECT_EQ(rate->tValue3, 1.5f);
    // A braced binding is no definition of the name for formulas.
    rate->tValue3 = 7.0f;
    EXPECT_EQ(Evaluate(node, "rate").value, 7.0);
}

TEST(NameResolution, WithoutWindowUnboundNamesAreRandom)
{
    TreeNode loose(nullptr);
    for (int i = 0; i < 20; ++i) {
        const Result result = Evaluate(&loose, "unbound");
        EXPECT_EQ(result.errorCode, 0);
        EXPECT_GE(result.value, 0.0);
        EXPECT_LE(result.value, 1.0);
    }
}

TEST(NameResolution, BoundNameMissingFromTheVariableListIsUnrecognized)
{
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    TreeNode* leaf = tree.Terminal(tree.Root(), "leaf", "", "ghost");
    leaf->SetBinding("ghost", "1", false);
    RunFault error;
    EvaluateNodeFormula(leaf, leaf->Payoff(0), "payoff", &error, false);
    EXPECT_TRUE(error);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Unrecognized variable \"ghost\". Unable to evaluate payoff of node \"leaf\".");
    EXPECT_EQ(boxes.Last().caption, "Parser Error");
    EXPECT_TRUE(tree.IsNodeSelected(leaf));
}

}  // namespace
