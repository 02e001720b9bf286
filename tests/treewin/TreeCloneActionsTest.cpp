// Clone actions: each done, undone and redone twice, with the outline, every node's clone state and the
// clone registry compared each time.

#include "treewin/TreeClipboard.h"
#include "treewin/TreeClipboardActions.h"
#include "treewin/TreeCloneActions.h"
#include "treewin/TreeStructureActions.h"
#include "treewin/TreeWindow.h"

#include "model/CloneCopies.h"
#include "model/NodeRef.h"
#include "model/TreeNode.h"
#include "model/TreeOutline.h"
#include "model/TreeWalks.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

std::string State(TreeWindow& window)
{
    TreeDocument& document = window.Document();
    zString out;
    WriteTreeOutline(document.Root, out);
    std::string state = out.Text();
    ForEachInSubtree(document.Root, [&state](TreeNode* node) {
        state += " " + std::to_string(node->cloneStatus) + ":" + std::to_string(node->cloneId);
    });
    for (int i = 0; i < document.CloneMasters.Count(); ++i)
        state += std::string(" ") + document.CloneMasters.At(i)->name.Text();
    return state;
}

// Root "R" with "A" (children "A1", "A2"), "B" and "C"; "A" is the master "Alpha" and "C" its copy.
struct Tree {
    TreeWindow window;
    TreeNode* a;
    TreeNode* b;
    TreeNode* c;
    Tree()
    {
        TreeDocument& tree = window.Document();
        a = tree.AddChild(tree.Root, ChanceNode, "A");
        tree.AddChild(a, TerminalNode, "A1", "0.3", "1");
        tree.AddChild(a, TerminalNode, "A2", "0.7", "2");
        b = tree.AddChild(tree.Root, ChanceNode, "B");
        c = tree.AddChild(tree.Root, ChanceNode, "C");
        window.Document().AddCloneMaster(a, "Alpha");
        CopyCloneMaster(c, a, nullptr);
    }
};

} // namespace

TEST(TreeCloneAction, EachEditUndoesAndRedoesToItsState)
{
    struct Case {
        const char* name;
        std::function<UndoAction*(Tree&)> make;
    } cases[] = {
        {"create", [](Tree& t) { return new TreeCloneMasterAction(&t.window, t.b, "Beta"); }},
        {"destroy with a copy", [](Tree& t) { return new TreeCloneMasterAction(&t.window, t.a); }},
        {"attach", [](Tree& t) {
             NodeChildList nodes(4, Ownership::Borrows);
             nodes.Add(t.b);
             return new TreeAttachCloneAction(&t.window, nodes, t.a); }},
        {"detach keeping", [](Tree& t) { return new TreeAttachCloneAction(&t.window, t.c, true); }},
        {"detach", [](Tree& t) { return new TreeAttachCloneAction(&t.window, t.c, false); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Tree t;
        const std::string before = State(t.window);
        t.window.AddUndoAction(c.make(t));
        const std::string after = State(t.window);
        EXPECT_NE(after, before);
        for (int round = 0; round < 2; ++round) {
            t.window.Undo();
            EXPECT_EQ(State(t.window), before);
            t.window.Redo();
            EXPECT_EQ(State(t.window), after);
        }
    }
}

TEST(TreeCloneAction, CopiesFollowWhatTheActionsMake)
{
    Tree t;
    t.window.AddUndoAction(new TreeCloneMasterAction(&t.window, t.a));
    EXPECT_EQ(t.c->cloneStatus, NotCloned);
    EXPECT_EQ(t.c->childCount, 0);
    EXPECT_STREQ(static_cast<TreeCloneMasterAction*>(t.window.CurrentUndoAction())->cloneName.Text(), "Alpha");
    t.window.Undo();

    // Detaching with the branches kept leaves a plain node with its own copy of them.
    t.window.AddUndoAction(new TreeAttachCloneAction(&t.window, t.c, true));
    EXPECT_EQ(t.c->cloneStatus, NotCloned);
    ASSERT_EQ(t.c->childCount, 2);
    EXPECT_STREQ(t.c->GetChild(1)->text.Text(), "A2");
}

// Edits of a master's branches reach its copies, also when undone and redone.
TEST(TreeCloneAction, CopiesTakeTheMastersNewShape)
{
    const struct {
        const char* name;
        std::function<UndoAction*(Tree&)> make;
        int branches;  // of the master and the copy afterwards
    } cases[] = {
        {"add branch", [](Tree& t) { return new TreeAddBranchAction(&t.window, t.a); }, 3},
        {"delete branch", [](Tree& t) { return new TreeDeleteBranchAction(&t.window, t.a->GetChild(0)); }, 1},
        {"cut node", [](Tree& t) { return new TreeCutNodeAction(&t.window, t.a->GetChild(1), true); }, 1},
        {"paste node", [](Tree& t) {
             TheTreeClipboard().Store(t.b, -1);
             NodeChildList targets(4, Ownership::Borrows);
             targets.Add(t.a);
             return new TreePasteAction(&t.window, targets); }, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Tree t;
        t.window.AddUndoAction(c.make(t));
        for (int round = 0; round < 2; ++round) {
            EXPECT_EQ(t.a->childCount, c.branches);
            EXPECT_EQ(t.c->childCount, c.branches);
            t.window.Undo();
            EXPECT_EQ(t.c->childCount, 2);
            t.window.Redo();
        }
    }
    TheTreeClipboard().Store(nullptr, -1);
}
