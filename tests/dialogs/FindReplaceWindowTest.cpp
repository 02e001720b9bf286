// Find/Replace: the walk through the tree's fields in keyboard order, replacing, the empty find text, and the
// keys of the window.

#include "treewin/FindReplaceWindow.h"

#include "widgets/UndoHistory.h"
#include "framework/window/FrameworkApp.h"
#include "model/TreeNode.h"
#include "tests/support/FramedTreeWindow.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "framework/draw/LogicalUnits.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreePane.h"
#include "treewin/TreeStructureActions.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Where the node's branch, text and symbol show on the screen.
RECT NodeOnScreen(TreeWindow& window, const TreeNode* node)
{
    const NodeGeometry& g = node->Geometry();
    TreePane* pane = window.Pane();
    RECT spot = LogicalRectToPixels(LogicalRect{g.X, g.Y, g.SymbolX + kSymbolSize, g.YBottom}, *pane->CurrentDisplay());
    const POINT scroll = pane->ScrollOrigin();
    OffsetRect(&spot, -scroll.x, -scroll.y);
    MapWindowPoints(pane->Handle(), nullptr, reinterpret_cast<POINT*>(&spot), 2);
    return spot;
}

const char* const kNoUndoQuestion =
    "Replacing cannot be undone, and the undo history will be cleared. Do you want to continue?";

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

    // Probabilities are searched when asked for; Replace All rewrites names, lays the tree out anew and clears
    // the history.
    const float rightEdge = window.Layout().DrawingBounds.right;
    find->searchIn[1] = 1;
    find->findText = "0.7";
    EXPECT_TRUE(find->FindNext());
    EXPECT_EQ(find->field, FindReplaceWindow::NodeProbability);
    window.AddUndoAction(new TreeAddBranchAction(&window, tree.Root));
    find->findText = "A";
    find->replaceText = "Z wider than the page";
    find->matchCase = true;
    find->ReplaceAll();
    EXPECT_EQ(boxes.Last().text, kNoUndoQuestion);
    EXPECT_STREQ(a->text.Text(), "Z wider than the page");
    EXPECT_STREQ(a->GetChild(1)->text.Text(), "Z wider than the page2");
    EXPECT_GT(window.Layout().DrawingBounds.right, rightEdge);
    EXPECT_EQ(window.History().Count(), 0);
}

// Through the window's buttons: the first replacement asks, Cancel keeps tree and history; a variable's new
// name must pass the name rules.
TEST(FindReplaceWindow, ReplacingAsksOnceAndKeepsVariableNamesValid)
{
    FramedTreeWindow framed;
    MessageBoxRecorder& boxes = framed.boxes;
    TreeWindow& window = framed.window;
    TreeDocument& tree = framed.tree;
    tree.Root->SetBinding("rate", "0.1", false);
    TreeNode* leaf = tree.AddChild(tree.Root, TerminalNode, "rate x", "", "rate*2");
    window.OnCommand(1402);
    FindReplaceWindow* find = window.FindReplace;
    ASSERT_NE(find, nullptr);
    find->searchIn[2] = 1;
    find->SetItemText(Ctl::FindReplace::FindWhatEdit, "rate");
    find->SetItemText(Ctl::FindReplace::ReplaceWithEdit, "2r");
    window.AddUndoAction(new TreeAddBranchAction(&window, tree.Root));

    // Nothing to replace: a beep, no question and no message; the history stays.
    find->SetItemText(Ctl::FindReplace::FindWhatEdit, "none such");
    find->OnCommandId(Ctl::FindReplace::ReplaceAll, 0, nullptr);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(window.History().Count(), 1);
    EXPECT_STREQ(find->ItemText(Ctl::FindReplace::LastFindText).Text(), "(None)");

    find->SetItemText(Ctl::FindReplace::FindWhatEdit, "rate");
    boxes.Answer(IDCANCEL);
    find->OnCommandId(Ctl::FindReplace::ReplaceAll, 0, nullptr);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, kNoUndoQuestion);
    EXPECT_STREQ(leaf->text.Text(), "rate x");
    EXPECT_EQ(window.History().Count(), 1);

    // Agreed: the node name is rewritten, the binding's name "2r" is refused and Replace All stops there.
    find->OnCommandId(Ctl::FindReplace::ReplaceAll, 0, nullptr);
    EXPECT_STREQ(leaf->text.Text(), "2r x");
    EXPECT_STREQ(tree.Root->GetBinding(0)->name.Text(), "rate");
    EXPECT_EQ(boxes.Last().text, "The name \"2r\" is not a valid variable or table name. It must begin with a "
                                 "letter or underscore, and contain only letters, numbers, and underscores.");
    EXPECT_EQ(window.History().Count(), 0);

    // Not asked again; a valid name is taken.
    const size_t shown = boxes.Count();
    find->SetItemText(Ctl::FindReplace::ReplaceWithEdit, "r2");
    find->OnCommandId(Ctl::FindReplace::ReplaceAll, 0, nullptr);
    EXPECT_EQ(boxes.Count(), shown);
    EXPECT_STREQ(tree.Root->GetBinding(0)->name.Text(), "r2");
    EXPECT_STREQ(find->ItemText(Ctl::FindReplace::LastFindText).Text(), "Variable Name");
}

// Keys at the focus go through the program's message loop to the window: Enter finds, Tab moves on, Escape
// closes, also after a replacement; also after another window of the frame was active.
TEST(FindReplaceWindow, KeysOfTheProgramLoopFindMoveOnAndClose)
{
    FocusTestLock focus;
    FramedTreeWindow framed;
    framed.frame.Show(SW_SHOW);
    framed.window.Show(SW_SHOW);
    framed.tree.AddChild(framed.tree.Root, TerminalNode, "A1", "", "1");
    framed.window.OnCommand(1402);
    FindReplaceWindow* find = framed.window.FindReplace;
    ASSERT_NE(find, nullptr);
    const HWND findHandle = find->Handle();
    SetWindowTextA(find->Control(Ctl::FindReplace::FindWhatEdit), "a1");
    framed.window.Activate();
    find->Activate();
    SetFocus(find->Control(Ctl::FindReplace::FindWhatEdit));
    const auto press = [](UINT key) {
        PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            TheApp->ProcessMessage(message);
    };
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), find->Control(Ctl::FindReplace::ReplaceWithEdit));
    // The window stands over the node it is going to find; Find Next moves it off the node.
    const RECT nodeSpot = NodeOnScreen(framed.window, framed.tree.Root->GetChild(0));
    POINT corner{nodeSpot.left - 20, nodeSpot.top - 20};
    ScreenToClient(GetParent(findHandle), &corner);
    SetWindowPos(findHandle, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    press(VK_RETURN);
    EXPECT_STREQ(framed.window.CurrentNode() ? framed.window.CurrentNode()->text.Text() : "", "A1");
    RECT findPlace{}, overlap{};
    GetWindowRect(findHandle, &findPlace);
    EXPECT_FALSE(IntersectRect(&overlap, &findPlace, &nodeSpot));
    // Replace and its question leave the keys with the window: one Escape closes it.
    SetWindowTextA(find->Control(Ctl::FindReplace::ReplaceWithEdit), "B1");
    SendMessageA(find->Control(Ctl::FindReplace::Replace), BM_CLICK, 0, 0);
    EXPECT_EQ(framed.boxes.Last().text, kNoUndoQuestion);
    EXPECT_STREQ(framed.tree.Root->GetChild(0)->text.Text(), "B1");
    press(VK_ESCAPE);
    EXPECT_FALSE(IsWindow(findHandle) && IsWindowVisible(findHandle));
}

} // namespace
