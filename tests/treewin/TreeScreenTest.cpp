// What the tree window shows on the screen is what it paints afresh: after every step a person takes through
// the main frame's menus, the keyboard and the mouse, the screen equals a full repaint.

#include "widgets/InPlaceEdit.h"
#include "app/MainFrame.h"
#include "dialogs/HookedDialog.h"
#include "treewin/ChangeNodeTypeDialog.h"
#include "treewin/EnterPayoffWindow.h"
#include "framework/dialog/FileDialogs.h"
#include "framework/window/FrameworkApp.h"
#include "model/TreeNode.h"
#include "tests/support/FramedTreeWindow.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreePane.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD)
{
    EndMenu();
}

// The program's main frame with a person's hands: menu commands, key presses at the focus, clicks on the
// tree's pane.
class ScreenSession : public ::testing::Test {
protected:
    ScreenSession()
    {
        frame = new MainFrame;
        frame->EndStartup();
        frame->Show(SW_SHOW);
        const char* temp = std::getenv("TEMP");
        path = std::string(temp ? temp : ".") + "\\kivo_screen.tre";
    }
    ~ScreenSession() override
    {
        while (!TreeWindow::OpenWindows().empty())
            delete TreeWindow::OpenWindows().back();
        delete frame;
        std::remove(path.c_str());
    }
    // Hands every queued message to the program's own message processing (accelerators, dialog keys) until
    // none is left.
    void PumpUntilIdle()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ASSERT_NE(message.message, static_cast<UINT>(WM_QUIT));
            app->ProcessMessage(message);
        }
    }
    // A menu command, as the frame receives it.
    void Command(unsigned id)
    {
        PostMessageA(frame->Handle(), WM_COMMAND, id, 0);
        PumpUntilIdle();
    }
    // A key pressed and released at the focused window, with Shift or Ctrl held; the program's message
    // processing turns the key-down into a character or a command.
    void Press(UINT key, UINT held = 0, UINT alsoHeld = 0)
    {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = held == VK_SHIFT || alsoHeld == VK_SHIFT ? 0x80 : 0;
        keys[VK_CONTROL] = held == VK_CONTROL || alsoHeld == VK_CONTROL ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
        PumpUntilIdle();
        PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001);
        PumpUntilIdle();
        keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    }
    void Type(const char* text)
    {
        for (; *text; ++text) {
            const SHORT key = VkKeyScanA(*text);
            Press(LOBYTE(key), (key & 0x100) != 0 ? VK_SHIFT : 0);
        }
    }
    TreeWindow& Tree() const { return *dynamic_cast<TreeWindow*>(frame->ActiveChild()); }
    TreeNode* Node(std::initializer_list<int> path) const
    {
        TreeNode* node = Tree().Document().Root;
        for (int child : path)
            node = node->GetChild(child);
        return node;
    }
    // A left click on the pane at the middle of the rectangle (inches). Two presses closer together than a
    // hand can make them count as one: each click comes a little after the one before.
    void Click(const LogicalRect& rect, WPARAM keys = 0)
    {
        while (GetTickCount() - lastClick <= 20) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            PumpUntilIdle();
        }
        TreePane& pane = *Tree().Pane();
        pane.PushDrawingScale();
        const RECT client = pane.DrawingToClient(LogicalRectToPixels(rect, *pane.CurrentDisplay()));
        pane.PopDrawingScale();
        const LPARAM at = MAKELPARAM((client.left + client.right) / 2, (client.top + client.bottom) / 2);
        SendMessageA(pane.Handle(), WM_LBUTTONDOWN, keys | MK_LBUTTON, at);
        SendMessageA(pane.Handle(), WM_LBUTTONUP, keys, at);
        lastClick = GetTickCount();
        PumpUntilIdle();
    }
    void ClickNode(std::initializer_list<int> path, WPARAM keys = 0) { Click(SymbolRect(Node(path)), keys); }
    // Two clicks within the double-click time.
    void DoubleClick(const LogicalRect& rect)
    {
        Click(rect);
        Click(rect);
    }
    // The root's two branches made terminal, with a payoff of 80 typed into the Enter Payoff window.
    void MakeBranchesTerminal()
    {
        auto terminal = ChangeNodeTypeDialog::SetPresenter([](ChangeNodeTypeDialog& d) {
            d.kind = TerminalNode;
            return IDOK;
        });
        ClickNode({0});
        ClickNode({1}, MK_SHIFT);
        Command(1405);
        Type("80");
        SendMessageA(frame->ActiveChild()->Handle(), WM_COMMAND, IDOK, 0);
        PumpUntilIdle();
        ChangeNodeTypeDialog::SetPresenter(terminal);
        zString entered;
        Node({0})->GetPayoffText(entered, Tree().Document().CalcPrefs.CurrentPayoff);
        EXPECT_STREQ(entered.Text(), "80");
    }
    EnterPayoffWindow* PayoffWindow() const { return dynamic_cast<EnterPayoffWindow*>(frame->ActiveChild()); }
    void ClickEmpty() { Click(LogicalRect{0.05f, 0.05f, 0.05f, 0.05f}); }
    std::string Text(std::initializer_list<int> path) const { return Node(path)->text.Text(); }
    bool ScrollsVertically() const
    {
        int low = 0, high = 0;
        GetScrollRange(Tree().Pane()->Handle(), SB_VERT, &low, &high);
        return high > low;
    }

    FocusTestLock focus;
    ScopedApplication app;
    MainFrame* frame;
    MessageBoxRecorder boxes;
    std::string path;
    DWORD lastClick = 0;
};

} // namespace

// The check itself: a shown tree passes; pixels drawn on the screen without an invalidation fail it.
TEST(TreeScreen, TheCheckCatchesPixelsNoPaintWouldDraw)
{
    FocusTestLock focus;
    FramedTreeWindow t;
    t.frame.Show(SW_SHOW);
    t.tree.AddChild(t.tree.Root, TerminalNode, "Only");
    t.window.Redraw();
    t.window.Show(SW_MAXIMIZE);
    // Raised first: pixels drawn where another process's window lay would never reach the screen.
    ScreenOnTop raised(t.frame.Handle());
    ExpectScreenEqualsRepaint(t.frame.Handle());

    HDC screen = GetDC(t.window.Pane()->Handle());
    RECT stale{5, 5, 25, 15};
    FillRect(screen, &stale, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(t.window.Pane()->Handle(), screen);
    EXPECT_NONFATAL_FAILURE(ExpectScreenEqualsRepaint(t.frame.Handle()), "The screen differs from a full repaint");
    ExpectScreenEqualsRepaint(t.frame.Handle());
}

// The name editor that Add Branches and a committed name leave open stands where the relaid tree puts the
// name, shows a long name from its start and shrinks back when a typed line break is taken out again.
TEST_F(ScreenSession, TheNameEditorFollowsTheRelaidTree)
{
    auto editor = [this] {
        HWND edit = Tree().InPlaceEditor != nullptr ? Tree().InPlaceEditor->Handle() : nullptr;
        RECT rect{};
        GetWindowRect(edit, &rect);
        return rect;
    };
    // The editor's bottom and the bottom of the node's name where the tree now lays it out, in the pane's
    // pixels (an empty name's editor rises a line from there).
    auto bottoms = [this, &editor](std::initializer_list<int> path) {
        TreePane& pane = *Tree().Pane();
        RECT shown = editor();
        MapWindowPoints(nullptr, pane.Handle(), reinterpret_cast<POINT*>(&shown), 2);
        pane.PushDrawingScale();
        const RECT name = pane.DrawingToClient(LogicalRectToPixels(NameRect(Tree(), Node(path)), *pane.CurrentDisplay()));
        pane.PopDrawingScale();
        return std::make_pair(shown.bottom, name.bottom);
    };
    auto firstCharacterShows = [this] {
        const LRESULT at = SendMessageA(Tree().InPlaceEditor->Handle(), EM_POSFROMCHAR, 0, 0);
        return static_cast<short>(LOWORD(at)) >= 0;
    };
    Command(1101);
    ClickNode({});
    Type("Treatment choice");
    Command(1403);
    ASSERT_NE(Tree().InPlaceEditor, nullptr);
    EXPECT_STREQ(Tree().InPlaceEditor->GetText().Text(), "Treatment choice");
    EXPECT_TRUE(firstCharacterShows());
    const auto root = bottoms({});
    EXPECT_NEAR(root.first, root.second, 1);
    ExpectScreenEqualsRepaint(frame->Handle());

    // A name of two lines committed moves the next branch down; its editor opens where it now stands.
    ClickNode({0});
    Type("Success");
    Press(VK_RETURN);
    Type("rate");
    ClickNode({1});
    ASSERT_NE(Tree().InPlaceEditor, nullptr);
    const auto next = bottoms({1});
    EXPECT_NEAR(next.first, next.second, 1);
    ExpectScreenEqualsRepaint(frame->Handle());

    Type("No");
    const RECT oneLine = editor();
    Press(VK_RETURN);
    EXPECT_GT(editor().bottom - editor().top, oneLine.bottom - oneLine.top);
    Press(VK_BACK);
    EXPECT_EQ(editor().bottom - editor().top, oneLine.bottom - oneLine.top);
    ExpectScreenEqualsRepaint(frame->Handle());
}

// The name editor that stays open after an edit, in a maximised tree that was never repainted since, is
// drawn as a full repaint draws it: over the name's place, never crossed by a branch line.
TEST_F(ScreenSession, TheOpenNameEditorIsDrawnAsARepaintDrawsIt)
{
    struct Step {
        const char* name;
        std::function<void()> act;
    } steps[] = {
        {"Add Branches on a new tree's root",
         [&] {
             Command(1101);
             SendMessageA(GetParent(Tree().Handle()), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(Tree().Handle()), 0);
             PumpUntilIdle();
             ClickNode({});
             Press('A', VK_CONTROL);
         }},
        {"Right, then Add Branches", [&] {
             Press(VK_RIGHT);
             Press('A', VK_CONTROL);
         }},
        {"a name typed and committed by Right", [&] {
             Type("Treatment");
             Press(VK_RIGHT);
         }},
        {"a long name committed by Left", [&] {
             Type("Treatment choice");
             Press(VK_LEFT);
         }},
        {"Alt+D opening the Display menu, closed again", [&] {
             RECT before{};
             GetWindowRect(Tree().InPlaceEditor->Handle(), &before);
             const UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseMenu);
             BYTE keys[256];
             GetKeyboardState(keys);
             keys[VK_MENU] = 0x80;
             SetKeyboardState(keys);
             PostMessageA(GetFocus(), WM_SYSKEYDOWN, 'D', 0x20000001);
             PumpUntilIdle();
             keys[VK_MENU] = 0;
             SetKeyboardState(keys);
             KillTimer(nullptr, timer);
             ASSERT_NE(Tree().InPlaceEditor, nullptr);
             RECT after{};
             GetWindowRect(Tree().InPlaceEditor->Handle(), &after);
             EXPECT_TRUE(EqualRect(&before, &after));
         }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        ASSERT_NE(Tree().InPlaceEditor, nullptr);
        // A line of text high, above the node's branch line; an empty name's frame clear of the symbol.
        HWND edit = Tree().InPlaceEditor->Handle();
        TreePane& pane = *Tree().Pane();
        RECT shown{};
        GetWindowRect(edit, &shown);
        MapWindowPoints(nullptr, pane.Handle(), reinterpret_cast<POINT*>(&shown), 2);
        HDC dc = GetDC(edit);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(edit, WM_GETFONT, 0, 0)));
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(edit, dc);
        pane.PushDrawingScale();
        const RECT symbol =
            pane.DrawingToClient(LogicalRectToPixels(SymbolRect(Tree().CurrentNode()), *pane.CurrentDisplay()));
        pane.PopDrawingScale();
        EXPECT_GE(shown.bottom - shown.top, metrics.tmHeight);
        EXPECT_LT(shown.bottom, (symbol.top + symbol.bottom) / 2);
        if (Tree().CurrentNode()->text.IsEmpty())
            EXPECT_LT(shown.right + InPlaceEdit::FrameMargin, symbol.left);
        ExpectScreenEqualsRepaint(frame->Handle());
    }
}

TEST_F(ScreenSession, EveryStepLeavesTheScreenAsARepaintWouldDrawIt)
{
    auto terminal = ChangeNodeTypeDialog::SetPresenter([](ChangeNodeTypeDialog& d) {
        d.kind = TerminalNode;
        return IDOK;
    });
    auto files = SetFileDialogPresenter([this](OPENFILENAMEA& dialog, bool) {
        std::snprintf(dialog.lpstrFile, dialog.nMaxFile, "%s", path.c_str());
        return 1;
    });
    struct Step {
        const char* name;
        std::function<void()> act;
    };
    int stepsBeforeTyping = 0;
    const std::vector<Step> steps = {
        {"a new tree has its root selected and its name open",
         [&] {
             Command(1101);
             EXPECT_EQ(Tree().CurrentNode(), Node({}));
             ASSERT_NE(Tree().InPlaceEditor, nullptr);
             EXPECT_EQ(GetFocus(), Tree().InPlaceEditor->Handle());
         }},
        {"Delete in the name editor deletes a character; Ctrl+A there adds branches, as the menu says",
         [&] {
             Type("Choice");
             SendMessageA(GetFocus(), EM_SETSEL, 0, 0);
             Press(VK_DELETE);
             Press('A', VK_CONTROL);
             ClickEmpty();
             EXPECT_EQ(Text({}), "hoice");
             EXPECT_EQ(Node({})->childCount, 2);
         }},
        {"select the root of two branches",
         [&] {
             ClickNode({});
         }},
        {"type a long name of two lines",
         [&] {
             ClickNode({0});
             Type("A much");
             Press(VK_RETURN);
             Type("longer name");
         }},
        {"commit it by a click beside the tree",
         [&] {
             ClickEmpty();
             EXPECT_EQ(Text({0}), "A much\r\nlonger name");
         }},
        {"Tab under a decision says why and leaves the name open for typing",
         [&] {
             ClickNode({1});
             Press(VK_TAB);
             ASSERT_EQ(boxes.Count(), 1u);
             EXPECT_EQ(boxes.Last().text, "You may only assign a probability to a branch emanating from a chance node.");
             stepsBeforeTyping = Tree().History().Count();
             Type("Other");
         }},
        {"Escape while typing keeps the pane, drops the text and leaves no step to undo",
         [&] {
             Press(VK_ESCAPE);
             ASSERT_NE(Tree().Pane(), nullptr);
             EXPECT_TRUE(IsChild(Tree().Handle(), Tree().Pane()->Handle()));
             EXPECT_EQ(Tree().InPlaceEditor, nullptr);
             EXPECT_EQ(Text({1}), "");
             EXPECT_EQ(Tree().History().Count(), stepsBeforeTyping);
         }},
        {"add branches under it",
         [&] {
             ClickNode({0});
             Command(1403);
         }},
        {"type a probability",
         [&] {
             ClickNode({0, 0});
             Press(VK_TAB);
             Type("0.25");
             Press(VK_TAB);
             ClickNode({0, 1});
             Press(VK_TAB);
             Type("0.75");
         }},
        {"Shift+Home selects in the probability, Tab goes back to the name",
         [&] {
             Press(VK_HOME, VK_SHIFT);
             Type("0.75");
             Press(VK_TAB);
             EXPECT_EQ(Tree().CurrentNode(), Node({0, 1}));
             EXPECT_EQ(Tree().EditField, 1);
         }},
        {"Ctrl+Shift+Home selects in the name and stays there",
         [&] {
             Press(VK_HOME, VK_SHIFT, VK_CONTROL);
             Type("Later");
             Press(VK_TAB);
             EXPECT_EQ(Tree().CurrentNode(), Node({0, 1}));
             EXPECT_EQ(Text({0, 1}), "Later");
         }},
        {"make three branches terminal",
         [&] {
             ClickNode({1});
             ClickNode({0, 0}, MK_SHIFT);
             ClickNode({0, 1}, MK_SHIFT);
             Command(1405);
         }},
        {"give them a payoff in the window that opened",
         [&] {
             Type("10");
             SendMessageA(frame->ActiveChild()->Handle(), WM_COMMAND, IDOK, 0);
             PumpUntilIdle();
         }},
        {"roll back by Ctrl+R",
         [&] {
             Press('R', VK_CONTROL);
             EXPECT_TRUE(Tree().Document().IsRolledBack());
         }},
        {"roll back off",
         [&] {
             Command(1612);
             EXPECT_FALSE(Tree().Document().IsRolledBack());
         }},
        {"collapse",
         [&] {
             ClickNode({0});
             Command(1315);
         }},
        {"expand", [&] { Command(1316); }},
        {"zoom in", [&] { Command(1350); }},
        {"zoom out", [&] { Command(1351); }},
        {"undo", [&] { Command(1201); }},
        {"redo", [&] { Command(1219); }},
        {"copy and paste a subtree",
         [&] {
             ClickNode({0});
             Command(1203);
             ClickNode({0, 1});
             Command(1204);
         }},
        {"save, close and open", [&] {
             Command(1105);
             Command(1107);
             Command(1103);
         }},
        {"grow the tree taller than its window",
         [&] {
             ClickNode({});
             // How many branches fill the window depends on the tree fonts in the preferences store, which
             // the program started by other tests saves with its own defaults.
             for (int i = 0; i < 100 && !ScrollsVertically(); ++i)
                 Command(1403);
             EXPECT_TRUE(ScrollsVertically());
         }},
        {"save, close and open the tall tree",
         [&] {
             Command(1104);
             Command(1107);
             Command(1103);
             EXPECT_TRUE(ScrollsVertically());
         }},
        {"close", [&] { Command(1107); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        ExpectScreenEqualsRepaint(frame->Handle());
    }
    ChangeNodeTypeDialog::SetPresenter(terminal);
    SetFileDialogPresenter(files);
}

// The keyboard and the mouse stay with the tree: Escape closing a name leaves the arrows and Home there, a
// double click on a terminal's payoff opens its Enter Payoff window, and Ctrl+Y brings that window back in
// front of the maximised tree.
TEST_F(ScreenSession, KeysAndClicksReachTheTreeAndItsWindows)
{
    Command(1101);
    Command(1403);
    const int last = Tree().Document().DisplayPrefs.AddAbove ? 0 : 1;
    struct Case {
        UINT key;
        TreeNode* expected;
    } cases[] = {{VK_RIGHT, Node({last})}, {UINT(last == 0 ? VK_DOWN : VK_UP), Node({1 - last})}, {VK_HOME, Node({})}};
    for (const Case& c : cases) {
        Press(VK_ESCAPE);
        EXPECT_EQ(Tree().InPlaceEditor, nullptr);
        Press(c.key);
        EXPECT_EQ(Tree().CurrentNode(), c.expected) << c.key;
    }

    MakeBranchesTerminal();
    ClickEmpty();
    TreeWindow& tree = Tree();
    DoubleClick(RollBackBoxRect(tree, Node({0})));
    EnterPayoffWindow* payoff = PayoffWindow();
    ASSERT_NE(payoff, nullptr);

    tree.Activate();
    SendMessageA(GetParent(tree.Handle()), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(tree.Handle()), 0);
    PumpUntilIdle();
    ASSERT_EQ(Tree().CurrentNode(), Node({0}));
    boxes.Clear();
    boxes.Answer(IDYES);
    Press('Y', VK_CONTROL);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(PayoffWindow(), payoff);
    EXPECT_TRUE(IsWindowVisible(payoff->Handle()));
    EXPECT_EQ(GetWindow(GetParent(payoff->Handle()), GW_CHILD), payoff->Handle());
}

// Decimal places changed in the Preferences widen the rolled-back tree's boxes for the longer results.
TEST_F(ScreenSession, RollBackBoxesFollowTheDecimalPlaces)
{
    Command(1101);
    Command(1403);
    MakeBranchesTerminal();
    Press('R', VK_CONTROL);
    ASSERT_TRUE(Tree().Document().IsRolledBack());
    const LogicalRect before = RollBackBoxRect(Tree(), Node({}));
    ModalDialogDriver driver;
    driver
        .Then([](DialogFrameCL& dialog) {
            HWND list = GetDlgItem(dialog.Handle(), Ctl::Preferences::CategoryList);
            SendMessageA(list, LB_SETCURSEL, 1, 0);
            SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(Ctl::Preferences::CategoryList, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
            HWND page = dynamic_cast<HookedDialog&>(dialog).Page()->Handle();
            SendMessageA(GetDlgItem(page, Ctl::CalculationMethodPage::SetNumericFormat), BM_CLICK, 0, 0);
        })
        .Type(Ctl::NumericFormattingPreferences::DecimalPlacesEdit, "4")
        .Press(IDOK)
        .Press(IDOK);
    Command(1308);
    EXPECT_TRUE(driver.Finished());
    const LogicalRect after = RollBackBoxRect(Tree(), Node({}));
    EXPECT_GT(after.right - after.left, before.right - before.left + 0.1f);
    ExpectScreenEqualsRepaint(frame->Handle());
}
