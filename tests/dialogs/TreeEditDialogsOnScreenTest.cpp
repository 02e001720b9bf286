// The tree editing dialogs on the screen, answered as a person would from the tree window's commands.

#include "model/MarkovInfo.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "tests/support/ModalDialogDriver.h"
#include "treewin/TreeWindow.h"
#include "tests/support/DialogControls.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Branches(const TreeNode* node)
{
    std::string out;
    for (int i = 0; i < node->childCount; ++i)
        out += std::string(i > 0 ? "," : "") + node->GetChild(i)->text.Text();
    return out;
}

} // namespace

TEST(TreeEditDialogsOnScreen, InsertReorderChangeTypeAndJumpReshapeTheTree)
{
    OnScreen screen;
    TreeWindow window;
    TreeDocument& document = window.Document();
    TreeNode* root = document.Root;
    TreeNode* a = document.AddChild(root, ChanceNode, "A");
    TreeNode* b = document.AddChild(root, TerminalNode, "B", "", "5");
    window.SelectNode(b, 1, nullptr, false);
    ModalDialogDriver insert;
    insert
        .Then([](DialogFrameCL& dialog) {
            // An end node takes nothing to its right: To Left is the default.
            EXPECT_FALSE(Enabled(dialog, 2373));
            EXPECT_EQ(SendMessageA(dialog.FindChild(2371)->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
        })
        .Press(2372)
        .Press(IDOK);
    window.OnCommand(1404);
    EXPECT_TRUE(insert.Finished());
    ASSERT_EQ(Branches(root), "A,,B");

    window.SelectNode(root, 1, nullptr, false);
    ModalDialogDriver reorder;
    reorder.Then([](DialogFrameCL& dialog) { EXPECT_FALSE(Enabled(dialog, 3337)); })
        .Press(3338)
        .Press(3338)
        .Then([](DialogFrameCL& dialog) {
            EXPECT_TRUE(Enabled(dialog, 3337));
            EXPECT_FALSE(Enabled(dialog, 3338));
        })
        .Press(IDOK);
    window.OnCommand(1418);
    EXPECT_TRUE(reorder.Finished());
    EXPECT_EQ(Branches(root), ",B,A");
    window.Undo();
    EXPECT_EQ(Branches(root), "A,,B");

    window.SelectNode(a, 1, nullptr, false);
    ModalDialogDriver change;
    change.Press(2073).Press(IDOK);
    window.OnCommand(1405);
    EXPECT_TRUE(change.Finished());
    EXPECT_EQ(a->kind, DecisionNode);

    // An end node deep in a Markov model takes the state chosen in Jump To.
    TreeNode* markov = document.AddChild(root, MarkovNode, "M");
    TreeNode* stay = document.AddChild(document.AddChild(markov, ChanceNode, "Well"), ChanceNode, "Stay");
    document.AddChild(markov, TerminalNode, "Sick");
    window.SelectNode(stay, 1, nullptr, false);
    ModalDialogDriver jump;
    jump.Press(2072).Press(IDOK).Then([](DialogFrameCL& dialog) {
        HWND list = dialog.FindChild(2126)->Handle();
        SendMessageA(list, LB_SETCURSEL, 1, 0);
        SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(2126, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
    });
    window.OnCommand(1405);
    EXPECT_TRUE(jump.Finished());
    EXPECT_EQ(stay->kind, TerminalNode);
    EXPECT_STREQ(stay->markovInfo->jumpName.Text(), "Sick");
}
