// The program's help window on the help file the build puts beside the program: opened by a dialog's Help
// button, by F1 in a dialog and on a highlighted menu item, searched through its index and its text, and
// closed when help quits or by Escape.

#include "dialogs/NumericFormatDialog.h"
#include "foundation/NumericFormat.h"
#include "widgets/AppDialog.h"
#include "widgets/HelpWindow.h"
#include "app/MainFrame.h"
#include "widgets/MessageBoxes.h"
#include "widgets/OnlineHelp.h"
#include "app/StartProgram.h"
#include "widgets/ProgramDialog.h"
#include "foundation/FilePath.h"
#include "framework/window/FrameworkApp.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace Help = Ctl::HelpWindow;

std::string ControlText(unsigned id)
{
    char text[256] = {};
    GetWindowTextA(HelpWindow::Open()->Control(id), text, sizeof text);
    return text;
}

// The title the open help window shows, or "(closed)".
std::string ShownTitle()
{
    return HelpWindow::Open() ? ControlText(Help::TopicTitle) : "(closed)";
}

HWND menuOwner = nullptr;
int menuStep = 0;

// While a menu is tracked: Down highlights the first item, F1 is released, then the menu closes.
void CALLBACK MenuSteps(HWND, UINT, UINT_PTR, DWORD)
{
    const int step = menuStep++;
    if (step == 0)
        PostMessageA(menuOwner, WM_KEYDOWN, VK_DOWN, 1);
    else if (step == 1) {
        PostMessageA(menuOwner, WM_KEYDOWN, VK_F1, 1);
        PostMessageA(menuOwner, WM_KEYUP, VK_F1, 0xC0000001);
    } else
        EndMenu();
}

// While a message box shows: F1 is pressed at it once it is up; once help has opened, Escape at the focus
// closes help, then Enter at the focus closes the box. After five seconds the box is closed by hand.
int boxStep = 0;
std::string helpTitleInBox;
bool boxClosedByHand = false;
void CALLBACK BoxSteps(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = FindWindowA(nullptr, "F1 in a box");
    if (box == nullptr)
        return;
    HWND button = GetDlgItem(box, IDOK);
    if (boxStep++ == 0) {
        PostMessageA(button, WM_KEYDOWN, VK_F1, 1);
        PostMessageA(button, WM_KEYUP, VK_F1, 0xC0000001);
    } else if (boxStep > 100) {
        boxClosedByHand = true;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    } else if (HelpWindow::Open() != nullptr && helpTitleInBox.empty()) {
        helpTitleInBox = ShownTitle();
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
    } else if (HelpWindow::Open() == nullptr && !helpTitleInBox.empty()) {
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
    }
}

class HelpWindowTest : public ::testing::Test, private HoldsFocusTestLock {
protected:
    HelpWindowTest()
    {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, sizeof path);
        zString directory;
        FilePath(path).GetDirectory(directory);
        TheProgram()->SetDirectory(directory);
        frame = new MainFrame;
        frame->EndStartup();
        frame->Show(SW_SHOWNOACTIVATE);
    }
    ~HelpWindowTest() override
    {
        QuitHelp();
        delete frame;
        TheProgram()->SetDirectory("");
    }

    // Waits until the help window shows the title.
    bool WaitForTitle(const std::string& title)
    {
        return PumpMessagesUntil([&] { return ShownTitle() == title; });
    }
    void Click(WindowCL& window, unsigned id)
    {
        SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    }
    // Types the text at the focus through the program's message processing (dialog keys, accelerators).
    void Type(const char* text)
    {
        for (; *text; ++text) {
            const UINT key = LOBYTE(VkKeyScanA(*text));
            for (const auto& [message, flags] : {std::pair<UINT, LPARAM>{WM_KEYDOWN, 1}, {WM_KEYUP, 0xC0000001}}) {
                PostMessageA(GetFocus(), message, key, flags);
                MSG queued;
                while (PeekMessageA(&queued, nullptr, 0, 0, PM_REMOVE))
                    app->ProcessMessage(queued);
            }
        }
    }
    // Picks the line of the help window's list that reads the text.
    void PickLine(const char* text)
    {
        HWND list = HelpWindow::Open()->Control(Help::TopicList);
        const LRESULT line = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
        ASSERT_NE(line, LB_ERR) << text;
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
        SendMessageA(HelpWindow::Open()->Handle(), WM_COMMAND, MAKEWPARAM(Help::TopicList, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
    }

    ScopedApplication app;
    MainFrame* frame;
};

TEST_F(HelpWindowTest, HelpButtonsOfBothDialogKindsOpenTheirTopicAndQuittingCloses)
{
    {
        ProgramDialog copyGraph(DialogRes::CopyGraph);
        Click(copyGraph, HelpButtonId);
        EXPECT_EQ(ShownTitle(), "Copy Graph");
        EXPECT_EQ(HelpWindow::Open()->ShownContexts(), std::vector<int>{static_cast<int>(DialogRes::CopyGraph)});
        EXPECT_NE(ControlText(Help::TopicText).find("spreadsheet"), std::string::npos);
    }
    {
        AppDialog axis(DialogRes::Axis);
        Click(axis, HelpButtonId);
        EXPECT_EQ(ShownTitle(), "Axis");
    }
    // Without a dialog the context is gone: help opens on the contents, the topic stays.
    PostMessageA(frame->Handle(), WM_COMMAND, Cmd::HelpContents, 0);
    EXPECT_TRUE(PumpMessagesUntil([] { return HelpWindow::Open()->CurrentMode() == HelpWindow::Mode::Contents; }));
    QuitHelp();
    EXPECT_EQ(ShownTitle(), "(closed)");
}

TEST_F(HelpWindowTest, F1InADialogAndOnAHighlightedMenuItemOpensItsTopic)
{
    InstallHelpHook();
    {
        AppDialog axis(DialogRes::Axis);
        ModalDialogDriver driver;
        driver.Then([](DialogFrameCL& running) {
                  HWND field = running.FindChild(Ctl::Axis::TopEdit)->Handle();
                  SetFocus(field);
                  PostMessageA(field, WM_KEYDOWN, VK_F1, 1);
                  PostMessageA(field, WM_KEYUP, VK_F1, 0xC0000001);
              })
            .Then([](DialogFrameCL& running) {
                SendMessageA(running.Handle(), WM_COMMAND, IDCANCEL, 0);
            });
        axis.RunModal();
        EXPECT_TRUE(WaitForTitle("Axis")) << ShownTitle();
    }
    // Numeric Formatting opened by a cost-effectiveness tree's chooser: F1 opens the chooser's topic.
    QuitHelp();
    {
        NumericFormat ratio, cost, effectiveness;
        ModalDialogDriver driver;
        driver.Click(Ctl::NumericFormatting::Cost)
            .Then([](DialogFrameCL&) { RealInput::Keys("F1"); })
            .Then([](DialogFrameCL&) { PumpMessagesUntil([] { return HelpWindow::Open() != nullptr; }); })
            .Press(IDCANCEL)
            .Press(IDCANCEL);
        RunNumericFormatPrefsDialog(ratio, cost, effectiveness, 0, 1);
        EXPECT_TRUE(WaitForTitle("Numeric Formatting choice")) << ShownTitle();
    }
    QuitHelp();
    // The Window menu as the frame shows it.
    HMENU bar = GetMenu(frame->Handle());
    HMENU windowMenu = GetSubMenu(bar, GetMenuItemCount(bar) - 2);
    SetForegroundWindow(frame->Handle());
    menuOwner = frame->Handle();
    menuStep = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, MenuSteps);
    TrackPopupMenu(windowMenu, TPM_LEFTALIGN, 10, 10, 0, frame->Handle(), nullptr);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(WaitForTitle("Cascade")) << ShownTitle();
    // A message box whose help context has no topic: help opens on its contents and its first topic, Escape
    // closes help and Enter the box.
    QuitHelp();
    const MessageBoxPresenter recorded = SetMessageBoxPresenter(nullptr);
    boxStep = 0;
    const UINT_PTR boxTimer = SetTimer(nullptr, 0, 50, BoxSteps);
    PresentMessageBox(MessageBoxRequest{"F1 in a box", "Press F1.", MB_OK, 99999});
    KillTimer(nullptr, boxTimer);
    SetMessageBoxPresenter(recorded);
    EXPECT_EQ(helpTitleInBox, "Using help");
    EXPECT_FALSE(boxClosedByHand);
    RemoveHelpHook();
}

TEST_F(HelpWindowTest, IndexAndSearchFindATopicByAWord)
{
    PostMessageA(frame->Handle(), WM_COMMAND, Cmd::HelpSearchForHelpOn, 0);
    ASSERT_TRUE(PumpMessagesUntil([] { return HelpWindow::Open() != nullptr; }));
    HelpWindow& help = *HelpWindow::Open();
    EXPECT_EQ(help.CurrentMode(), HelpWindow::Mode::Index);
    // Typing goes to "Find:" and moves the index to the first key word that begins with the text.
    EXPECT_EQ(GetFocus(), help.Control(Help::FindEdit));
    Type("torn");
    EXPECT_EQ(ControlText(Help::FindEdit), "torn");
    HWND list = help.Control(Help::TopicList);
    char top[128] = {};
    SendMessageA(list, LB_GETTEXT, SendMessageA(list, LB_GETTOPINDEX, 0, 0), reinterpret_cast<LPARAM>(top));
    EXPECT_STREQ(top, "Tornado Diagram");
    // Enter opens the topic the list has come to.
    Type("\r");
    EXPECT_EQ(ShownTitle(), "Tornado Diagram");
    EXPECT_NE(HelpWindow::Open(), nullptr);
    // The search lists the topics whose text holds every word.
    Click(help, Help::Search);
    SetWindowTextA(help.Control(Help::FindEdit), "willingness PAY");
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 1);
    PickLine("Cost-Effectiveness Parameters");
    EXPECT_EQ(ShownTitle(), "Cost-Effectiveness Parameters");
    SetWindowTextA(help.Control(Help::FindEdit), "willingness nothingofthekind");
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
    // The command line's options are explained.
    SetWindowTextA(help.Control(Help::FindEdit), "illegal command");
    PickLine("Command-line options");
    EXPECT_EQ(ShownTitle(), "Command-line options");
    // Escape in the field, through the program's message loop, closes the window.
    SetFocus(help.Control(Help::FindEdit));
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        TheApp->ProcessMessage(message);
    EXPECT_EQ(HelpWindow::Open(), nullptr);
}

} // namespace
