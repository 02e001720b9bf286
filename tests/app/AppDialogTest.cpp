#include "widgets/AppDialog.h"
#include "widgets/HelpContext.h"
#include "widgets/OnlineHelp.h"
#include "app/StartProgram.h"
#include "framework/dialog/FormattedEdit.h"
#include "framework/dialog/PopupMenu.h"
#include "framework/window/FrameworkApp.h"
#include "tests/support/DialogControls.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/PumpMessages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

class AppDialogOnScreen : public testing::Test, protected OnScreen {};
class OnlineHelpOnScreen : public testing::Test, protected OnScreen {};
class AppDialogOnWindow : public testing::Test, protected AppWithFrame {};
class OnlineHelpOnWindow : public testing::Test, protected AppWithFrame {};

constexpr unsigned kFieldsDialog = 61320;
constexpr unsigned kPlainDialog = 61321;

class HookedDialog : public AppDialog {
public:
    explicit HookedDialog(unsigned id) : AppDialog(id) {}
    int OkPreCheck() override { return preCheck; }
    int OkResult() override { return okResult; }
    int preCheck = 0;
    int okResult = 1;
};

struct ViewerCall {
    std::string path;
    UINT command;
    ULONG_PTR value;
};

// Records what help would open instead of starting WinHelp.
class HelpRecorder {
public:
    HelpRecorder()
        : previous_(SetHelpViewer([this](HWND, const char* path, UINT command, ULONG_PTR value) {
              calls.push_back({path, command, value});
              return TRUE;
          }))
    {
    }
    ~HelpRecorder() { SetHelpViewer(previous_); }
    std::vector<ViewerCall> calls;

private:
    HelpViewer previous_;
};

void Click(AppDialog& dialog, unsigned id)
{
    SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

TEST_F(AppDialogOnWindow, ChainAndHelpContextFollowNestedDialogs)
{
    HelpContextScope outside(7);
    {
        AppDialog outer(kFieldsDialog);
        EXPECT_EQ(CurrentHelpContext(), static_cast<int>(kFieldsDialog));
        {
            AppDialog inner(kPlainDialog);
            EXPECT_EQ(AppDialog::OpenDialogs(), &inner);
            // Without a Help button the context stays the outer dialog's.
            EXPECT_EQ(CurrentHelpContext(), static_cast<int>(kFieldsDialog));
        }
        EXPECT_EQ(AppDialog::OpenDialogs(), &outer);
    }
    EXPECT_EQ(AppDialog::OpenDialogs(), nullptr);
    EXPECT_EQ(CurrentHelpContext(), 7);
}

TEST_F(AppDialogOnScreen, OkProtocolFollowsPreCheckAndResultHook)
{
    struct Row {
        int preCheck;
        int okResult;
        const char* typed;
        bool open;
        int result;
        double stored;
    } rows[] = {
        {0, 1, "2.5", false, 1, 2.5},
        {0, 1, "12", true, 0, 1.0},    // out of range: refused, the dialog stays
        {1, 1, "2.5", true, 0, 1.0},   // the pre-check keeps it open
        {2, 1, "12", false, 1, 1.0},   // skips validating and storing
        {3, 1, "2.5", false, 0, 1.0},  // ends at once
        {0, 0, "2.5", true, 0, 2.5},   // stored, but the result hook keeps it open
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed + std::to_string(row.preCheck) + std::to_string(row.okResult));
        MessageBoxRecorder boxes;
        double value = 1.0;
        int count = 3;
        HookedDialog dialog(kFieldsDialog);
        dialog.preCheck = row.preCheck;
        dialog.okResult = row.okResult;
        dialog.AddRealField(101, &value, 0.0, 10.0);
        dialog.AddIntegerField(102, &count, 1, 5);
        dialog.Show(SW_SHOWNORMAL);
        SetWindowTextA(dialog.FindChild(101)->Handle(), row.typed);
        Click(dialog, IDOK);
        EXPECT_EQ(IsWindowVisible(dialog.Handle()) != 0, row.open);
        EXPECT_EQ(dialog.Result(), row.result);
        EXPECT_EQ(value, row.stored);
        EXPECT_EQ(count, 3);
    }
}

TEST_F(AppDialogOnScreen, PickedMenuTextGoesIntoTheTrackedField)
{
    AppDialog dialog(kFieldsDialog);
    PopupMenu names(0, 0, &dialog, ResourceId(61322u, nullptr));
    dialog.AddMenuButton(&names);
    // No tracked field yet: nothing is taken.
    EXPECT_EQ(dialog.OnMenuItemPicked(4001), 0);
    WindowCL* first = dialog.FindChild(101);
    WindowCL* second = dialog.FindChild(102);
    dialog.TrackFocus(first);
    dialog.TrackFocus(second);
    EXPECT_EQ(dialog.TrackedControl(), first);
    dialog.Show(SW_SHOWNORMAL);
    SetFocus(second->Handle());
    EXPECT_EQ(dialog.TrackedControl(), second);
    EXPECT_EQ(dialog.OnMenuItemPicked(4002), 0); // an empty item text inserts nothing
    EXPECT_EQ(dialog.OnMenuItemPicked(4003), 0); // not in any menu
    Click(dialog, 4001);
    char text[20] = {};
    GetWindowTextA(second->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "Alpha");
    EXPECT_EQ(GetFocus(), second->Handle());
}

TEST_F(AppDialogOnWindow, ResizeKeepsTheDimensionGivenAsZeroOrLess)
{
    AppDialog dialog(kPlainDialog);
    RECT before;
    GetClientRect(dialog.Handle(), &before);
    dialog.ResizeInDialogUnits(-1, 135);
    RECT after;
    GetClientRect(dialog.Handle(), &after);
    EXPECT_EQ(after.right, before.right);
    // 135 dialog units: more than three times the template's 40.
    EXPECT_GT(after.bottom, before.bottom * 3);
    dialog.ResizeInDialogUnits(60, 0);
    GetClientRect(dialog.Handle(), &before);
    EXPECT_EQ(before.bottom, after.bottom);
    EXPECT_LT(before.right, after.right);
}

TEST_F(OnlineHelpOnWindow, OpensTheFileOfTheHelpDirectoryOrSaysItIsMissing)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    TheProgram()->SetDirectory((std::string(temp) + "kivohelp\\").c_str());
    const std::string helpDirectory = std::string(temp) + "kivohelp\\Help\\";
    EXPECT_EQ(helpDirectory, HelpDirectory());
    const std::string helpFile = helpDirectory + HelpFileName;
    DeleteFileA(helpFile.c_str());
    HelpRecorder help;
    {
        MessageBoxRecorder boxes;
        ShowHelpContents();
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text,
                  "The help file is not available. It belongs in the folder Help beside the program:\n" + helpFile);
        EXPECT_EQ(boxes.Last().style, static_cast<unsigned>(MB_OK | MB_ICONASTERISK));
    }
    EXPECT_TRUE(help.calls.empty());
    CreateDirectoryA((std::string(temp) + "kivohelp").c_str(), nullptr);
    CreateDirectoryA(helpDirectory.c_str(), nullptr);
    std::fclose(std::fopen(helpFile.c_str(), "wb"));
    {
        AppDialog dialog(kFieldsDialog);
        Click(dialog, HelpButtonId);
    }
    ShowHelpForContext();
    QuitHelp();
    ASSERT_EQ(help.calls.size(), 3u);
    EXPECT_EQ(help.calls[0].path, helpFile);
    EXPECT_EQ(help.calls[0].command, static_cast<UINT>(HELP_CONTEXT));
    EXPECT_EQ(help.calls[0].value, kFieldsDialog);
    EXPECT_EQ(help.calls[1].command, static_cast<UINT>(HELP_CONTENTS));
    EXPECT_EQ(help.calls[2].path, HelpFileName);
    EXPECT_EQ(help.calls[2].command, static_cast<UINT>(HELP_QUIT));
    DeleteFileA(helpFile.c_str());
    TheProgram()->SetDirectory("");
}

HWND menuOwner = nullptr;
int menuStep = 0;

// While a menu is tracked: F1 released, then the menu closed.
void CALLBACK MenuSteps(HWND, UINT, UINT_PTR, DWORD)
{
    if (menuStep++ == 0) {
        PostMessageA(menuOwner, WM_KEYDOWN, VK_F1, 1);
        PostMessageA(menuOwner, WM_KEYUP, VK_F1, 0xC0000001);
    } else
        EndMenu();
}

// F1 pressed inside a dialog or a menu reaches the frame as its Help command; the release of an F1 pressed
// before the dialog came (the F1 that opened it) does not.
TEST_F(OnlineHelpOnScreen, F1InDialogsAndMenusBecomesTheFrameHelpCommand)
{
    // The menu is tracked only while the frame is the foreground window.
    frame.Show(SW_SHOWNORMAL);
    InstallHelpHook();
    HelpRecorder help;
    {
        AppDialog dialog(kFieldsDialog);
        ModalDialogDriver driver;
        driver.Then([](DialogFrameCL& running) {
                  const HWND field = running.FindChild(101)->Handle();
                  SetFocus(field);
                  PostMessageA(field, WM_KEYUP, VK_F1, 0xC0000001);
                  PostMessageA(field, WM_KEYDOWN, VK_F1, 1);
                  PostMessageA(field, WM_KEYUP, VK_F1, 0xC0000001);
              })
            .Press(IDCANCEL);
        dialog.RunModal();
        EXPECT_TRUE(PumpMessagesUntil([&] { return !frame.commands.empty(); }));
    }
    ASSERT_EQ(frame.commands.size(), 1u);
    EXPECT_EQ(frame.commands[0], Cmd::HelpOnContext);
    // A menu: the key arrives while the menu is being tracked, then the menu is closed.
    PopupMenu names(0, 0, &frame, ResourceId(61322u, nullptr));
    SetForegroundWindow(frame.Handle());
    menuOwner = frame.Handle();
    menuStep = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, MenuSteps);
    names.Track();
    KillTimer(nullptr, timer);
    EXPECT_TRUE(PumpMessagesUntil([&] { return frame.commands.size() == 2; }));
    EXPECT_EQ(frame.commands.back(), Cmd::HelpOnContext);
    RemoveHelpHook();
}

} // namespace
