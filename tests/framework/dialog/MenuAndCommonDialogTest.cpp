#include "framework/dialog/ColorDialog.h"
#include "framework/dialog/FileDialogs.h"
#include "framework/dialog/FontWidthTable.h"
#include "framework/dialog/Menu.h"
#include "framework/dialog/PopupMenu.h"
#include "framework/draw/BitmapDisplay.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/MenuItemState.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

TEST(Menus, NewestHandlerRunsFirstAndOneAnsweringZeroLetsTheOlderRun)
{
    ScopedApplication app;
    RecordingTopWindow top;
    top.Create();
    Menu* bar = Menu::MenuBar(&top, ResourceId(61500u, nullptr));
    top.SetMenuObject(bar);
    ASSERT_EQ(GetMenu(top.Handle()), bar->Handle());
    std::vector<std::string> log;
    RecordingTarget older(&log, "older", 1);
    RecordingTarget newer(&log, "newer", 0);
    bar->OnCommand(501, &older, &RecordingTarget::Handle);
    bar->OnCommand(501, &newer, &RecordingTarget::Handle);
    SendMessageA(top.Handle(), WM_COMMAND, 501, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"newer", "older"}));
    // Handled by the menu: the window's own command operation never saw it.
    EXPECT_TRUE(top.commands.empty());
    EXPECT_EQ(bar->CheckItem(502, 1), 1);
    EXPECT_TRUE(MenuItemChecked(bar->Handle(), 502));
    EXPECT_EQ(bar->CheckItem(999, 1), 0);
}

TEST(Menus, DeletingAMenuLeavesAnotherBarAndOutlivesItsOwner)
{
    ScopedApplication app;
    RecordingTopWindow top;
    top.Create();
    Menu* first = Menu::MenuBar(&top, ResourceId(61500u, nullptr));
    HMENU other = CreateMenu();
    SetMenu(top.Handle(), other);
    delete first;
    EXPECT_EQ(GetMenu(top.Handle()), other);

    auto owner = std::make_unique<RecordingTopWindow>();
    owner->Create();
    Menu* orphan = Menu::MenuBar(owner.get(), ResourceId(61500u, nullptr));
    HMENU handle = orphan->Handle();
    DestroyWindow(owner->Handle());
    delete orphan;
    EXPECT_FALSE(IsMenu(handle));
}

void CALLBACK EndMenuOnTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    EndMenu();
}

TEST(Menus, PopupMenuShowsAtTheClientPointAndGetsCommandsFirstWhileItLives)
{
    FocusTestLock lock;
    ScopedApplication app;
    RecordingTopWindow top;
    top.Create();
    MoveWindow(top.Handle(), 100, 200, 300, 300, FALSE);
    POINT origin{0, 0};
    ClientToScreen(top.Handle(), &origin);
    std::vector<std::string> log;
    RecordingTarget chosen(&log, "popup", 1);
    {
        PopupMenu popup(10, 20, &top, ResourceId(61500u, nullptr));
        EXPECT_EQ(popup.ScreenPoint().x, origin.x + 10);
        EXPECT_EQ(popup.ScreenPoint().y, origin.y + 20);
        ASSERT_NE(popup.Handle(), nullptr);
        EXPECT_EQ(GetMenuItemID(popup.Handle(), 1), 502u);
        popup.OnCommand(502, &chosen, &RecordingTarget::Handle);
        // The menu closes itself at once: only its registration as the current pop-up menu matters here.
        SetTimer(nullptr, 0, 50, EndMenuOnTimer);
        popup.Track();
        SendMessageA(top.Handle(), WM_COMMAND, 502, 0);
        EXPECT_EQ(log, std::vector<std::string>{"popup"});
        EXPECT_TRUE(top.commands.empty());
    }
    SendMessageA(top.Handle(), WM_COMMAND, 502, 0);
    EXPECT_EQ(top.commands, std::vector<unsigned>{502});
}

// Answers the next system dialog of this thread from a timer, as a person would.
class SystemDialogDriver {
public:
    explicit SystemDialogDriver(std::function<void(HWND)> answer)
    {
        Answer() = std::move(answer);
        timer_ = SetTimer(nullptr, 0, 100, &SystemDialogDriver::Tick);
    }
    ~SystemDialogDriver() { KillTimer(nullptr, timer_); }

private:
    static std::function<void(HWND)>& Answer()
    {
        static std::function<void(HWND)> answer;
        return answer;
    }
    static BOOL CALLBACK FindDialog(HWND window, LPARAM found)
    {
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (std::string(name) == "#32770" && IsWindowVisible(window)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
        if (dialog && Answer()) {
            std::function<void(HWND)> answer = std::move(Answer());
            Answer() = nullptr;
            answer(dialog);
        }
    }

    UINT_PTR timer_;
};

TEST(CommonDialogs, ColourDialogAnswersTheChoiceOrTheInitialColour)
{
    FocusTestLock lock;
    ScopedApplication app;
    RecordingTopWindow top;
    top.Create();
    const Colour initial{10, 20, 30, 0};
    ColorDialogResult result;
    {
        SystemDialogDriver driver([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); });
        ShowColorDialog(result, top.Handle(), initial);
    }
    EXPECT_EQ(result.chosen, 1);
    EXPECT_EQ(result.colour.ToColorRef(), initial.ToColorRef());
    {
        SystemDialogDriver driver([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
        ShowColorDialog(result, top.Handle(), Colour{1, 2, 3, 0});
    }
    EXPECT_EQ(result.chosen, 0);
    EXPECT_EQ(result.colour.ToColorRef(), RGB(1, 2, 3));
}

TEST(CommonDialogs, SaveAndOpenDialogsFilledByATimerAnswerTheTypedPath)
{
    FocusTestLock lock;
    ScopedApplication app;
    RecordingTopWindow top;
    top.Create();
    char directory[MAX_PATH];
    GetTempPathA(sizeof directory, directory);
    const std::string path = std::string(directory) + "kivo-dialog-" + std::to_string(GetCurrentProcessId()) + ".tre";
    const char* const filters[] = {"Trees (*.tre)", "*.tre", nullptr};
    auto typeAndConfirm = [&](HWND dialog) {
        // The explorer-style dialogs keep the file name in a combo box (0x47c), older ones in an edit (0x480).
        if (!SetDlgItemTextA(dialog, 0x47c, path.c_str()))
            SetDlgItemTextA(dialog, 0x480, path.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    };
    FileDialogResult saved;
    {
        SystemDialogDriver driver(typeAndConfirm);
        ShowSaveFileDialog(saved, top.Handle(), "Save", "*.tre", filters);
    }
    EXPECT_EQ(saved.chosen, 1);
    EXPECT_STRCASEEQ(saved.path, path.c_str());

    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    FileDialogResult opened;
    {
        SystemDialogDriver driver(typeAndConfirm);
        ShowOpenFileDialog(opened, top.Handle(), "Open", "*.tre", filters);
    }
    DeleteFileA(path.c_str());
    EXPECT_EQ(opened.chosen, 1);
    EXPECT_STRCASEEQ(opened.path, path.c_str());
}

TEST(FontWidthTable, MeasuresTheDisplaysCurrentFont)
{
    BitmapDisplay display(10, 10);
    FontWidthTable plain{};
    FontWidthTable::Build(plain, display);
    HFONT big = CreateFontA(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ old = SelectObject(display.DeviceContext(), big);
    FontWidthTable large{};
    FontWidthTable::Build(large, display);
    SIZE word{};
    GetTextExtentPoint32A(display.DeviceContext(), "Wi", 2, &word);
    SelectObject(display.DeviceContext(), old);
    DeleteObject(big);
    EXPECT_GT(large.height, plain.height);
    EXPECT_GT(large.widths['W'], large.widths['i']);
    EXPECT_EQ(large.widths['W'] + large.widths['i'], word.cx);
}

} // namespace
