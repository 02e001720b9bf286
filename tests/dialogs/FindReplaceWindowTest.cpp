// Find/Replace: the walk through the tree's fields in keyboard order, replacing, and the empty find text.

#include "dialogs/FindReplaceWindow.h"

#include "app/UndoHistory.h"
#include "model/TreeNode.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/TreeStructureActions.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FindReplaceWindow, FindsInKeyboardOrderAndReplacesWithoutUndo)
{
    ScopedApplication app;
    MessageBoxRecorder boxes;
    TreeWindow window;
    TreeDocument& tree = window.Document();
    tree.Root->SetText("R", false);
    TreeNode* a = tree.AddChild(tree.Root, ChanceNode, "A");
    tree.AddChild(a, TerminalNode, "A1", "0.3", "1");
    tree.AddChild(a, TerminalNode, "A2", "0.7", "2");
    tree.AddChild(tree.Root, TerminalNode, "B", "", "5");
    window.OnCommand(1402);
    FindReplaceWindow* find = window.FindReplace;
    ASSERT_NE(find, nullptr);
    window.OnCommand(1402);
    EXPECT_EQ(window.FindReplace, find);

    // Empty, the find text is asked for; then every node name holding "a", the root last, until none is left.
    EXPECT_FALSE(find->FindNext());
    EXPECT_EQ(boxes.Last().text, "Please enter the text to find.");
    find->findText = "a";
    std::string found;
    while (find->FindNext())
        found += std::string(window.CurrentNode()->text.Text()) + " ";
    EXPECT_EQ(found, "A1 A2 A ");

    // Probabilities are searched when asked for; Replace All rewrites names and clears the history.
    find->searchIn[1] = 1;
    find->findText = "0.7";
    EXPECT_TRUE(find->FindNext());
    EXPECT_EQ(find->field, FindReplaceWindow::NodeProbability);
    window.AddUndoAction(new TreeAddBranchAction(&window, tree.Root));
    find->findText = "A";
    find->replaceText = "Z";
    find->matchCase = true;
    find->ReplaceAll();
    EXPECT_STREQ(a->text.Text(), "Z");
    EXPECT_STREQ(a->GetChild(1)->text.Text(), "Z2");
    EXPECT_EQ(window.History().Count(), 0);
}

} // namespace
