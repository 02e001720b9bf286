// Structure edits of a tree: each is done, undone and redone with the tree's outline compared each time.

#include "treewin/TreeStructureActions.h"
#include "treewin/TreeWindow.h"

#include "widgets/UndoHistory.h"
#include "model/TreeNode.h"
#include "model/TreeOutline.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

std::string Outline(TreeWindow& window)
{
    zString out;
    WriteTreeOutline(window.Document().Root, out);
    return out.Text();
}

// Root "R" (decision) with chance "A" (children "A1", "A2" at 0.3 / 0.7) and terminal "B".
void Build(TreeDocument& tree)
{
    tree.Root->SetKind(DecisionNode, false);
    tree.Root->SetText("R", false);
    TreeNode* a = tree.AddChild(tree.Root, ChanceNode, "A");
    tree.AddChild(a, TerminalNode, "A1", "0.3", "1");
    tree.AddChild(a, TerminalNode, "A2", "0.7", "2");
    tree.AddChild(tree.Root, TerminalNode, "B", "", "5");
}

TEST(TreeStructureAction, EachEditUndoesToTheOldOutlineAndRedoesToTheNew)
{
    using Make = std::function<UndoAction*(TreeWindow&, TreeNode* a)>;
    struct Case {
        const char* name;
        Make make;
        int rootChildren;  // after the edit
    } cases[] = {
        {"insert to left of root", [](TreeWindow& w, TreeNode*) {
             return new TreeInsertBranchAction(&w, w.Document().Root, TreeInsertBranchAction::ToLeft); }, 1},
        {"insert above", [](TreeWindow& w, TreeNode* a) {
             return new TreeInsertBranchAction(&w, a, TreeInsertBranchAction::Above); }, 3},
        {"insert to right", [](TreeWindow& w, TreeNode* a) {
             return new TreeInsertBranchAction(&w, a, TreeInsertBranchAction::ToRight); }, 2},
        {"insert below", [](TreeWindow& w, TreeNode* a) {
             return new TreeInsertBranchAction(&w, a, TreeInsertBranchAction::Below); }, 3},
        {"delete branch", [](TreeWindow& w, TreeNode* a) { return new TreeDeleteBranchAction(&w, a); }, 3},
        {"add branches above", [](TreeWindow& w, TreeNode*) {
             return new TreeAddBranchesAction(&w, w.Document().Root); }, 4},
        {"add branch above", [](TreeWindow& w, TreeNode*) { return new TreeAddBranchAction(&w, w.Document().Root); }, 3},
        {"change to terminal", [](TreeWindow& w, TreeNode* a) {
             NodeChildList nodes(4, Ownership::Borrows);
             nodes.Add(a);
             return new TreeChangeNodeTypeAction(&w, nodes, TerminalNode); }, 2},
        {"reorder", [](TreeWindow& w, TreeNode*) {
             return new TreeReorderBranchesAction(&w, w.Document().Root, {1, 0}); }, 2},
        {"force path", [](TreeWindow& w, TreeNode* a) { return new TreeForcePathAction(&w, a->GetChild(1)); }, 2},
        {"change optimal path", [](TreeWindow& w, TreeNode*) {
             NodeChildList nodes(4, Ownership::Borrows);
             nodes.Add(w.Document().Root);
             return new TreeChangeOptimalPathAction(&w, nodes, ReversedDecisionNode); }, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TreeWindow window;
        TreeDocument& tree = window.Document();
        tree.DisplayPrefs.AddAbove = 1;
        tree.DisplayPrefs.BranchesPerNode = 2;
        Build(tree);
        const std::string before = Outline(window);
        window.AddUndoAction(c.make(window, tree.Root->GetChild(0)));
        const std::string after = Outline(window);
        EXPECT_NE(after, before);
        EXPECT_EQ(tree.Root->childCount, c.rootChildren);
        for (int round = 0; round < 2; ++round) {
            tree.SetModified(0);
            window.Undo();
            EXPECT_EQ(Outline(window), before);
            EXPECT_EQ(tree.Modified, 1);
            window.Redo();
            EXPECT_EQ(Outline(window), after);
        }
    }
}

TEST(TreeStructureAction, EditsLandWhereTheWindowSays)
{
    TreeWindow window;
    TreeDocument& tree = window.Document();
    Build(tree);
    TreeNode* oldRoot = tree.Root;
    window.AddUndoAction(new TreeInsertBranchAction(&window, oldRoot, TreeInsertBranchAction::ToLeft));
    EXPECT_EQ(tree.Root->GetChild(0), oldRoot);
    window.Undo();
    EXPECT_EQ(tree.Root, oldRoot);
    EXPECT_EQ(oldRoot->parent, nullptr);

    // Deleting moves the branches up in the node's place; the root cannot be deleted.
    window.AddUndoAction(new TreeDeleteBranchAction(&window, tree.Root->GetChild(0)));
    EXPECT_STREQ(tree.Root->GetChild(0)->text.Text(), "A1");
    EXPECT_STREQ(tree.Root->GetChild(1)->text.Text(), "A2");
    const std::string deleted = Outline(window);
    window.AddUndoAction(new TreeDeleteBranchAction(&window, tree.Root));
    EXPECT_EQ(Outline(window), deleted);

    // One branch added below, then the kind change empties the probabilities and undo brings them back.
    tree.DisplayPrefs.AddAbove = 0;
    TreeNode* b = tree.Root->GetChild(2);
    window.AddUndoAction(new TreeAddBranchAction(&window, b));
    EXPECT_EQ(b->childCount, 1);
    window.Undo();
    window.Undo();
    window.Undo();
    TreeNode* a = tree.Root->GetChild(0);
    NodeChildList nodes(4, Ownership::Borrows);
    nodes.Add(a);
    window.AddUndoAction(new TreeChangeNodeTypeAction(&window, nodes, DecisionNode));
    zString probability;
    a->GetChild(0)->GetProbabilityText(probability);
    EXPECT_STREQ(probability.Text(), "");
    window.Undo();
    a->GetChild(1)->GetProbabilityText(probability);
    EXPECT_STREQ(probability.Text(), "0.7");
    EXPECT_EQ(a->kind, ChanceNode);

    // A forced path is not taken back once the parent's branches changed.
    window.AddUndoAction(new TreeForcePathAction(&window, a->GetChild(0)));
    tree.AddChild(a, TerminalNode, "A3", "");
    window.Undo();
    EXPECT_EQ(a->kind, LogicNode);
    a->GetChild(0)->GetProbabilityText(probability);
    EXPECT_STREQ(probability.Text(), "1");
}

// A tree changed outside the history: an undo that no longer finds its node changes nothing and drops the
// history, and the node a refused removal holds is freed with it.
TEST(TreeStructureAction, AnUndoWhoseNodeIsGoneIsRefused)
{
    TreeWindow window;
    TreeDocument& tree = window.Document();
    Build(tree);
    // The branches "A" gave up, then "B" with the branch added to it, go behind the history's back.
    window.AddUndoAction(new TreeDeleteBranchAction(&window, tree.Root->GetChild(0)));
    for (int taken : {2, 1}) {
        for (int i = 0; i < taken; ++i) {
            TreeNode* gone = tree.Root->GetChild(0);
            tree.Root->RemoveChild(gone);
            delete gone;
        }
        const std::string outline = Outline(window);
        tree.SetModified(0);
        window.Undo();
        EXPECT_EQ(Outline(window), outline);
        EXPECT_EQ(tree.Modified, 0);
        EXPECT_EQ(window.History().Count(), 0);
        if (tree.Root->childCount > 0)
            window.AddUndoAction(new TreeAddBranchAction(&window, tree.Root->GetChild(0)));
    }
}

}  // namespace
