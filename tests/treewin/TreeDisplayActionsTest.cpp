// Collapsing, expanding and skipping generations: each done, undone and redone twice, with the tree's
// outline and every node's collapsed flag and column shift compared each time.

#include "treewin/TreeDisplayActions.h"
#include "treewin/TreeWindow.h"

#include "model/TreeNode.h"
#include "model/TreeOutline.h"
#include "model/TreeWalks.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

std::string State(TreeWindow& window)
{
    zString out;
    WriteTreeOutline(window.Document().Root, out);
    std::string flags;
    ForEachInSubtree(window.Document().Root, [&flags](TreeNode* node) {
        flags += " c" + std::to_string(node->collapsed) + "s" + std::to_string(node->columnShift);
    });
    return std::string(out.Text()) + flags;
}

// A list of one node, for the actions' constructors.
struct ListOf {
    explicit ListOf(TreeNode* node) { nodes.Add(node); }
    operator const NodeChildList&() const { return nodes; }
    NodeChildList nodes{4, Ownership::Borrows};
};

// Root "R" with "A" (children "A1" and "A2", the first with a child "X") and "B".
struct Tree {
    TreeWindow window;
    TreeNode* a;
    TreeNode* a1;
    Tree()
    {
        TreeDocument& tree = window.Document();
        a = tree.AddChild(tree.Root, ChanceNode, "A");
        a1 = tree.AddChild(a, ChanceNode, "A1", "0.3");
        tree.AddChild(a1, TerminalNode, "X", "1", "1");
        tree.AddChild(a, TerminalNode, "A2", "0.7", "2");
        tree.AddChild(tree.Root, TerminalNode, "B", "", "5");
    }
};

} // namespace

TEST(TreeDisplayAction, EachChangeUndoesAndRedoesToItsOutline)
{
    struct Case {
        const char* name;
        std::function<void(Tree&)> prepare;
        std::function<UndoAction*(Tree&)> make;
        const char* flagsAfter;  // root, A, A1, X, A2, B
    } cases[] = {
        {"collapse", [](Tree&) {}, [](Tree& t) { return new TreeCollapseSubtreeAction(&t.window, ListOf(t.a)); },
         " c0s0 c1s0 c0s0 c0s0 c0s0 c0s0"},
        // Once: A opens, and its child with children shows collapsed.
        {"expand once", [](Tree& t) { t.a->collapsed = 1; },
         [](Tree& t) { return new TreeExpandSubtreeAction(&t.window, ListOf(t.a), false); },
         " c0s0 c0s0 c1s0 c0s0 c0s0 c0s0"},
        {"expand entire", [](Tree& t) { t.a->collapsed = t.a1->collapsed = 1; },
         [](Tree& t) { return new TreeExpandSubtreeAction(&t.window, ListOf(t.a), true); },
         " c0s0 c0s0 c0s0 c0s0 c0s0 c0s0"},
        {"skip", [](Tree&) {}, [](Tree& t) { return new TreeSkipGenerationAction(&t.window, ListOf(t.a1), 1); },
         " c0s0 c0s0 c0s1 c0s0 c0s0 c0s0"},
        {"unskip", [](Tree& t) { t.a1->columnShift = 2; },
         [](Tree& t) { return new TreeSkipGenerationAction(&t.window, ListOf(t.a1), -1); },
         " c0s0 c0s0 c0s1 c0s0 c0s0 c0s0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tree t;
        c.prepare(t);
        const std::string before = State(t.window);
        t.window.AddUndoAction(c.make(t));
        const std::string after = State(t.window);
        EXPECT_EQ(after.substr(after.size() - 30), c.flagsAfter);
        for (int round = 0; round < 2; ++round) {
            t.window.Undo();
            EXPECT_EQ(State(t.window), before);
            t.window.Redo();
            EXPECT_EQ(State(t.window), after);
        }
    }
}

// Unskipping a node that was never skipped changes nothing, and taking it back does not skip it.
TEST(TreeDisplayAction, UnskipAtColumnZeroUndoesToZero)
{
    Tree t;
    t.window.AddUndoAction(new TreeSkipGenerationAction(&t.window, ListOf(t.a), -1));
    EXPECT_EQ(t.a->columnShift, 0);
    t.window.Undo();
    EXPECT_EQ(t.a->columnShift, 0);
    t.window.Redo();
    EXPECT_EQ(t.a->columnShift, 0);
}
