// Definitions of Variable on the screen, as "View Definitions" opens it.

#include "framework/dialog/DialogFrameCL.h"
#include "model/DocumentVariableOps.h"
#include "model/TreeNode.h"
#include "tests/support/FramedTreeWindow.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScreenCheck.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

class DefinitionsOnScreen : public testing::Test, private HoldsFocusTestLock, protected FramedTreeWindow {};

std::string Cell(HWND list, int row, int column)
{
    char text[128] = "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

TEST_F(DefinitionsOnScreen, ARowPerDefinitionInItsColumns)
{
    window.Document().EnsureVariable("rate", nullptr);
    tree.Root->SetBinding("rate", "0.5", false);
    tree.AddChild(tree.Root, ChanceNode, "Arm A")->SetBinding("rate", "rate*2", false);
    tree.AddChild(tree.Root, ChanceNode, "Arm B")->SetBinding("rate", "0.25", false);
    ModalDialogDriver person;
    person.Then([](DialogFrameCL& dialog) {
        char caption[64] = "";
        GetWindowTextA(dialog.Handle(), caption, sizeof caption);
        EXPECT_STREQ(caption, "Definitions of Variable \"rate\"");
        const HWND list = dialog.Control(2181);
        ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3);
        EXPECT_EQ(Cell(list, 1, 0) + "|" + Cell(list, 1, 2), "Arm A|rate*2");
        EXPECT_EQ(Cell(list, 2, 1), "$0.250"); // in the tree's number format
        ExpectScreenEqualsRepaint(dialog.Handle());
        SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
    });
    ShowVariableDefinitions(tree, "rate");
    EXPECT_TRUE(person.Finished());
    // Defined nowhere: the notice alone.
    ShowVariableDefinitions(tree, "nowhere");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The variable \"nowhere\" has not been defined anywhere in the subtree. ");
}

} // namespace
