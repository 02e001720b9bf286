// Change Values of a custom interface on the screen, as its end user meets it.

#include "treewin/ChangeValuesDialog.h"
#include "treewin/ProbabilityWheel.h"
#include "framework/dialog/DialogFrameCL.h"
#include "model/CustomInterfaceSettings.h"
#include "model/DocVariable.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "tests/support/DescendantControl.h"
#include "tests/support/FramedTreeWindow.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScreenCheck.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr unsigned kEditor = 3586, kFirstSwitch = 6800, kWheel = 3584, kAllDefaults = 3583;

// A probability with a comment, a whole number, a switch and a parameter whose variable lost its definition.
class ChangeValuesOnScreen : public testing::Test, private HoldsFocusTestLock, protected FramedTreeWindow {
protected:
    ChangeValuesOnScreen()
    {
        tree.CustomInterface = std::make_unique<CustomInterfaceSettings>();
        const struct { const char* name; double low, high, fallback, current; int16_t integer, onOff, wheel; } rows[] = {
            {"p", 0, 1, 0.5, 0.2, 0, 0, 1}, {"n", 1, 10, 3, 4, 1, 0, 0}, {"s", 0, 1, 1, 1, 0, 1, 0},
            {"gone", 0, 1, 0, 0, 0, 0, 0}};
        for (const auto& row : rows) {
            window.Document().EnsureVariable(row.name, nullptr);
            if (row.name != std::string("gone"))
                tree.Root->SetBinding(row.name, "1", false);
            auto* parameter = new CustomInterfaceParameter{row.name, "Use it"};
            parameter->low = row.low;
            parameter->high = row.high;
            parameter->defaultValue = row.fallback;
            parameter->currentValue = row.current;
            parameter->integerOnly = row.integer;
            parameter->onOffSwitch = row.onOff;
            parameter->wheelAllowed = row.wheel;
            tree.CustomInterface->Add(parameter);
        }
        window.Document().FindVariable("p", false)->comment = "The chance of success.";
    }
    std::string Definition(const char* name) const
    {
        return tree.Root->FindBinding(name, false)->definition.Text().Text();
    }
    static HWND Find(HWND parent, unsigned id) { return FindDescendant(parent, id); }
    static std::string Text(HWND control)
    {
        char text[64] = "";
        GetWindowTextA(control, text, sizeof text);
        return text;
    }
    // The editor's top in the rows' pane, or -1 without an editor.
    static int EditorTop(DialogFrameCL& dialog)
    {
        const HWND editor = Find(dialog.Handle(), kEditor);
        if (editor == nullptr)
            return -1;
        RECT rect;
        GetWindowRect(editor, &rect);
        MapWindowPoints(nullptr, GetParent(editor), reinterpret_cast<POINT*>(&rect), 2);
        return rect.top;
    }
    static void Tab(DialogFrameCL& dialog) { SendMessageA(Find(dialog.Handle(), kEditor), WM_KEYDOWN, VK_TAB, 0); }
};

TEST_F(ChangeValuesOnScreen, RowsEditorsSwitchesAndTheWheel)
{
    HWND pane = nullptr;
    LPARAM firstBox = 0;
    ModalDialogDriver person;
    person.Then([&](DialogFrameCL& dialog) {
        // The first row's editor; a value outside its range is refused and the editor stays.
        EXPECT_EQ(EditorTop(dialog), 2);
        pane = GetParent(Find(dialog.Handle(), kEditor));
        RECT box;
        GetWindowRect(Find(dialog.Handle(), kEditor), &box);
        MapWindowPoints(nullptr, pane, reinterpret_cast<POINT*>(&box), 2);
        firstBox = MAKELPARAM(box.left + 5, box.top + 5);
        EXPECT_EQ(Text(Find(dialog.Handle(), kEditor)), "0.2");
        SetWindowTextA(Find(dialog.Handle(), kEditor), "1.5");
        Tab(dialog);
    });
    person.Then([&](DialogFrameCL& dialog) {
        EXPECT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(EditorTop(dialog), 2);
        SetWindowTextA(Find(dialog.Handle(), kEditor), "0.250");
        Tab(dialog);
    });
    person.Then([&](DialogFrameCL& dialog) {
        // Rows are 25 pixels apart; Tab onto the switch opens no editor.
        EXPECT_EQ(EditorTop(dialog), 27);
        EXPECT_EQ(Text(Find(dialog.Handle(), kEditor)), "4");
        Tab(dialog);
    });
    person.Then([&](DialogFrameCL& dialog) {
        EXPECT_EQ(EditorTop(dialog), -1);
        const HWND check = Find(dialog.Handle(), kFirstSwitch + 2);
        EXPECT_EQ(Text(check), "Use it");
        SendMessageA(check, BM_SETCHECK, BST_UNCHECKED, 0);
        // Back to the first row by a click on its box: the value as typed, and the wheel offered.
        SendMessageA(pane, WM_LBUTTONDOWN, MK_LBUTTON, firstBox);
        EXPECT_EQ(Text(Find(dialog.Handle(), kEditor)), "0.250");
        EXPECT_TRUE(IsWindowEnabled(dialog.Control(kWheel)));
        ExpectScreenEqualsRepaint(dialog.Handle());
        SendMessageA(dialog.Handle(), WM_COMMAND, kWheel, 0);
    });
    person.Then([&](DialogFrameCL& wheel) {
        SetWindowTextA(Find(wheel.Handle(), DialogRes::SnapshotFormat), "0.4");
        SendMessageA(wheel.Handle(), WM_COMMAND, IDOK, 0);
    });
    person.Then([&](DialogFrameCL& dialog) {
        EXPECT_EQ(Text(Find(dialog.Handle(), kEditor)), "0.40");
        SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
    });
    window.OnCommand(Cmd::CustomInterfaceChangeValues);
    EXPECT_TRUE(person.Finished());
    EXPECT_EQ(Definition("p") + " " + Definition("n") + " " + Definition("s"), "0.40 4 0");
    // The parameter with nothing to write is named.
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_NE(boxes.Last().text.find("\"gone\""), std::string::npos);

    // All Defaults then OK: each default, with up to nine decimals.
    tree.CustomInterface->At(0)->defaultValue = 0.123456789012;
    ModalDialogDriver defaults;
    defaults.Press(kAllDefaults).Then([](DialogFrameCL& dialog) {
        EXPECT_EQ(Text(Find(dialog.Handle(), kEditor)), "0.123457");
        SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
    });
    window.OnCommand(Cmd::CustomInterfaceChangeValues);
    EXPECT_TRUE(defaults.Finished());
    EXPECT_EQ(Definition("p") + " " + Definition("n") + " " + Definition("s"), "0.123456789 3 1");
}

// More rows than the pane shows: its scroll bar moves rows, switches and the open editor together, and a
// click on a row scrolled into view selects that row.
TEST_F(ChangeValuesOnScreen, RowsScrollWithTheirEditor)
{
    for (int i = 0; i < 12; ++i) {
        const std::string name = "x" + std::to_string(i);
        window.Document().EnsureVariable(name.c_str(), nullptr);
        tree.Root->SetBinding(name.c_str(), "0.5", false);
        auto* parameter = new CustomInterfaceParameter{name.c_str(), ""};
        parameter->high = 1;
        parameter->currentValue = 0.5;
        tree.CustomInterface->Add(parameter);
    }
    const int rows = tree.CustomInterface->Count();
    ModalDialogDriver person;
    person.Then([&](DialogFrameCL& dialog) {
        const HWND pane = GetParent(Find(dialog.Handle(), kEditor));
        ASSERT_TRUE(GetWindowLongA(pane, GWL_STYLE) & WS_VSCROLL);
        RECT client;
        GetClientRect(pane, &client);
        ASSERT_LT(client.bottom, 25 * rows);
        RECT box;
        GetWindowRect(Find(dialog.Handle(), kEditor), &box);
        MapWindowPoints(nullptr, pane, reinterpret_cast<POINT*>(&box), 2);
        SendMessageA(pane, WM_VSCROLL, SB_BOTTOM, 0);
        const int top = 25 * rows - client.bottom;
        SendMessageA(pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.left + 5, 25 * (rows - 1) + 10 - top));
        EXPECT_EQ(EditorTop(dialog), 25 * (rows - 1) + 2 - top);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), static_cast<int>(kEditor));
        ExpectScreenEqualsRepaint(dialog.Handle());
        SendMessageA(pane, WM_VSCROLL, SB_TOP, 0);
        EXPECT_EQ(EditorTop(dialog), 25 * (rows - 1) + 2);
        ExpectScreenEqualsRepaint(dialog.Handle());
        SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
    });
    window.OnCommand(Cmd::CustomInterfaceChangeValues);
    EXPECT_TRUE(person.Finished());
}

// The Extended form sets the selected node's own variables: those with a number, a range and a description.
TEST_F(ChangeValuesOnScreen, ExtendedFormForTheSelectedNode)
{
    tree.CustomInterface->options.extended = 1;
    DocVariable* p = window.Document().FindVariable("p", false);
    p->hasRange = 1;
    p->high.value = 1;
    p->shortDescription = "Success";
    TreeNode* a = tree.AddChild(tree.Root, TerminalNode, "Arm A");
    TreeNode* b = tree.AddChild(tree.Root, TerminalNode, "Arm B");
    a->SetBinding("p", "0.2", false);
    a->SetBinding("n", "2", false);
    b->SetBinding("p", "rate", false);
    window.Selection.Add(b);
    window.OnCommand(Cmd::OptionsMimicRunTime);
    window.OnCommand(Cmd::CustomInterfaceChangeValues);
    window.OnCommand(Cmd::OptionsMimicRunTime);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "None of the variables at the selected node may be edited using the Extended Custom Interface.\n\n "
              "Designer note: For a variable to be editable using the Extended Custom Interface, it must have a "
              "description and a range (both assigned in the Variable Properties dialog box or the Exteded "
              "Parameters dialog box). Also, the definition must be numeric.");
    window.Selection.RemoveAll();
    window.Selection.Add(a);
    ModalDialogDriver person;
    person.Then([](DialogFrameCL& dialog) {
        char caption[64] = "";
        GetDlgItemTextA(dialog.Handle(), 3585, caption, sizeof caption);
        EXPECT_STREQ(caption, "Node: Arm A");
        EXPECT_FALSE(IsWindowVisible(dialog.Control(kAllDefaults)));
        EXPECT_TRUE(IsWindowEnabled(dialog.Control(kWheel)));
        SetWindowTextA(Find(dialog.Handle(), kEditor), "0.35");
        Tab(dialog);
        EXPECT_EQ(Text(Find(dialog.Handle(), kEditor)), "0.35");
    });
    person.Press(IDOK);
    window.OnCommand(Cmd::CustomInterfaceChangeValues);
    EXPECT_TRUE(person.Finished());
    EXPECT_STREQ(a->FindBinding("p", false)->definition.Text().Text(), "0.35");
    EXPECT_EQ(Definition("p"), "1");
}

} // namespace
