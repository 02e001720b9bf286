#include "treewin/TreeChildWindow.h"

#include "model/DocumentVariableOps.h"
#include "model/TreeNode.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/window/MDIframeCL.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/TreeClipboard.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A bound window that depends on one object and writes its name into a log when it is destroyed.
class BoundWindow : public TreeChildWindow {
public:
    BoundWindow(TreeWindow* tree, const char* name, const void* object, std::vector<std::string>& log)
        : TreeChildWindow(tree, ResourceId(2000u, nullptr), true), name(name), object(object), log(log)
    {
    }
    ~BoundWindow() override { log.push_back(name); }
    bool DependsOn(const void* other) const override { return other == object; }

    std::string name;
    const void* object;
    std::vector<std::string>& log;
};

std::vector<std::string> Names(const TreeWindow& tree)
{
    std::vector<std::string> names;
    for (int i = 0; i < tree.ChildWindows().Count(); ++i)
        names.push_back(static_cast<BoundWindow*>(tree.ChildWindows().At(i))->name);
    return names;
}

TEST(TreeChildWindows, ClosedWithWhatTheyShowAndWithTheirTree)
{
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    const int node = 0, variable = 0;
    std::vector<std::string> closed;
    {
        TreeWindow tree;
        new BoundWindow(&tree, "a", &node, closed);
        new BoundWindow(&tree, "b", &variable, closed);
        new BoundWindow(&tree, "c", &node, closed);
        new BoundWindow(&tree, "d", &variable, closed);
        EXPECT_EQ(tree.Document().ChildWindowCount, 4);
        tree.CloseChildWindowsFor(&node);
        EXPECT_EQ(closed, (std::vector<std::string>{"a", "c"}));
        EXPECT_EQ(Names(tree), (std::vector<std::string>{"b", "d"}));
        EXPECT_EQ(tree.Document().ChildWindowCount, 2);
        // A refresh pause keeps them; the tree's destruction closes the rest though each leaves the list.
        tree.Document().SuspendChildRefresh = 1;
        tree.RefreshBoundWindows();
        EXPECT_EQ(Names(tree), (std::vector<std::string>{"b", "d"}));
        tree.Document().SuspendChildRefresh = 0;
        new BoundWindow(&tree, "e", &node, closed);
    }
    EXPECT_EQ(closed, (std::vector<std::string>{"a", "c", "b", "d", "e"}));
}

TEST(TreeChildWindows, ARefreshOfTheWholeTreeClosesThemAll)
{
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    const int node = 0;
    std::vector<std::string> closed;
    TreeWindow tree;
    new BoundWindow(&tree, "a", &node, closed);
    new BoundWindow(&tree, "b", &node, closed);
    tree.RefreshBoundWindows();
    EXPECT_EQ(closed, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(tree.Document().ChildWindowCount, 0);
}

// A pick of the tree's variables menu is typed into the field that had the focus.
TEST(TreeChildWindows, VariablesMenuPickTypedIntoTheFocusedField)
{
    FocusTestLock focus;
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    std::vector<std::string> closed;
    TreeWindow tree;
    tree.Document().EnsureVariable("COST", nullptr);
    auto* window = new BoundWindow(&tree, "a", nullptr, closed);
    EditCtrl* field = EditCtrl::FromTemplate(window, 2001);
    ASSERT_NE(field, nullptr);
    window->TrackFocus(field);
    SendMessageA(field->Handle(), WM_SETFOCUS, 0, 0);
    SendMessageA(window->Handle(), WM_COMMAND, Cmd::FirstVariable, 0);
    char text[32] = "";
    GetWindowTextA(field->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "COST");
    EXPECT_FALSE(window->InsertMenuPick(Cmd::FirstVariable + 5));
    // Insert Variable completes the name typed in that field.
    SetWindowTextA(field->Handle(), "1+CO");
    SendMessageA(field->Handle(), EM_SETSEL, 4, 4);
    SendMessageA(window->Handle(), WM_COMMAND, 1503, 0);
    GetWindowTextA(field->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "1+COST");
}

// Menu and key commands that the window does not take are the tree's; its controls' notifications are not.
TEST(TreeChildWindows, OtherCommandsGoToTheTree)
{
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    std::vector<std::string> closed;
    TreeWindow tree;
    auto* window = new BoundWindow(&tree, "a", nullptr, closed);
    const int before = TheTreeClipboard().Current(), next = (before + 1) % 4;
    SendMessageA(window->Handle(), WM_COMMAND, 1208 + next, reinterpret_cast<LPARAM>(window->Handle()));
    EXPECT_EQ(TheTreeClipboard().Current(), before);
    SendMessageA(window->Handle(), WM_COMMAND, 1208 + next, 0);
    EXPECT_EQ(TheTreeClipboard().Current(), next);
    TheTreeClipboard().SelectSlot(before);
    // Options (Delete Branch among them) are grayed here: a key's command is taken and does nothing.
    TreeNode* end = tree.Document().AddChild(tree.Document().Root, TerminalNode, "End", "", "1");
    tree.SelectNode(end, 0, nullptr, false);
    SendMessageA(window->Handle(), WM_COMMAND, 1413, 0);
    EXPECT_EQ(tree.Document().Root->childCount, 1);
}

} // namespace
