#include "framework/window/FrameworkApp.h"
#include "framework/window/ResourceId.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class MessageLoopOnWindow : public testing::Test, protected AppWithFrame {};

const UINT StartModal = WM_USER + 1;
const UINT EndInside = WM_USER + 2;

// Runs a nested "modal" loop when asked, and ends it as told: by the application's quit or by a plain quit
// of the loop's own.
class ModalRunner : public EventTarget {
public:
    long RunNested(WindowEvent* event)
    {
        log.push_back("enter");
        TheApp->SetModalFlag(1);
        PostMessageA(event->window, EndInside, 0, 0);
        TheApp->RunMessageLoop();
        TheApp->SetModalFlag(0);
        log.push_back("leave");
        if (afterInner)
            PostQuitMessage(afterInner);
        return 1;
    }
    long End(WindowEvent*)
    {
        log.push_back("end");
        if (applicationQuit)
            TheApp->Quit();
        else
            PostQuitMessage(0);
        return 1;
    }

    bool applicationQuit = true;
    int afterInner = 0;
    std::vector<std::string> log;
};

TEST_F(MessageLoopOnWindow, ModalLoopPassesTheApplicationsQuitOn)
{
    ModalRunner runner;
    app->AddHandler(&runner, &ModalRunner::RunNested, StartModal);
    app->AddHandler(&runner, &ModalRunner::End, EndInside);
    PostMessageA(frame.Handle(), StartModal, 0, 0);
    QuitAfter safety(30000, 99);
    app->RunMessageLoop();
    EXPECT_EQ(app->ExitCode(), 0);
    EXPECT_EQ(runner.log, (std::vector<std::string>{"enter", "end", "leave"}));
    EXPECT_EQ(app->LoopDepth(), 0);
}

TEST_F(MessageLoopOnWindow, ModalLoopsOwnQuitEndsOnlyTheNestedLoop)
{
    ModalRunner runner;
    runner.applicationQuit = false;
    runner.afterInner = 4;
    app->AddHandler(&runner, &ModalRunner::RunNested, StartModal);
    app->AddHandler(&runner, &ModalRunner::End, EndInside);
    PostMessageA(frame.Handle(), StartModal, 0, 0);
    QuitAfter safety(30000, 99);
    app->RunMessageLoop();
    EXPECT_EQ(app->ExitCode(), 4);
    EXPECT_EQ(runner.log, (std::vector<std::string>{"enter", "end", "leave"}));
}

TEST(MessageLoop, OutermostLoopTakesTheApplicationsQuit)
{
    ScopedApplication app;
    app->Quit();
    app->RunMessageLoop();
    EXPECT_EQ(app->ExitCode(), 0);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

MSG KeyDown(HWND window, WPARAM key)
{
    MSG message{};
    message.hwnd = window;
    message.message = WM_KEYDOWN;
    message.wParam = key;
    message.lParam = 1;
    return message;
}

TEST_F(MessageLoopOnWindow, FrameAcceleratorsOnlyWhileTheFrameIsEnabled)
{
    ACCEL accelerator{FVIRTKEY, VK_F5, 900};
    HACCEL table = CreateAcceleratorTableA(&accelerator, 1);
    ASSERT_NE(table, nullptr);
    app->SetAcceleratorTable(table);

    MSG message = KeyDown(frame.Handle(), VK_F5);
    app->ProcessMessage(message);
    EXPECT_EQ(frame.commands, (std::vector<unsigned>{900}));

    EnableWindow(frame.Handle(), FALSE);
    message = KeyDown(frame.Handle(), VK_F5);
    app->ProcessMessage(message);
    EXPECT_EQ(frame.commands, (std::vector<unsigned>{900}));

    EnableWindow(frame.Handle(), TRUE);
    message = KeyDown(frame.Handle(), VK_F5);
    app->ProcessMessage(message);
    EXPECT_EQ(frame.commands, (std::vector<unsigned>{900, 900}));

    app->SetAcceleratorTable(nullptr);
    DestroyAcceleratorTable(table);
}

std::vector<WPARAM> MdiChildSysCommands;

// A bare MDI child that records its system commands instead of carrying them out.
LRESULT CALLBACK RecordingMdiChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOMMAND) {
        MdiChildSysCommands.push_back(wParam & 0xFFF0);
        return 0;
    }
    return DefMDIChildProcA(window, message, wParam, lParam);
}

// Holds the Ctrl key down in this thread's keyboard state for its scope.
class ControlKeyDown {
public:
    ControlKeyDown()
    {
        GetKeyboardState(saved_);
        BYTE keys[256];
        std::copy(saved_, saved_ + 256, keys);
        keys[VK_CONTROL] = 0x80;
        keys[VK_LCONTROL] = 0x80;
        SetKeyboardState(keys);
    }
    ~ControlKeyDown() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256];
};

TEST_F(MessageLoopOnWindow, MdiSystemKeysAreNotTranslatedWhileAModalDialogRuns)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA childClass{};
    childClass.lpfnWndProc = RecordingMdiChildProc;
    childClass.hInstance = instance;
    childClass.lpszClassName = "KivoTestMdiChild";
    ASSERT_TRUE(RegisterClassA(&childClass));
    CLIENTCREATESTRUCT clientCreate{nullptr, 1000};
    HWND client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 300, 300,
                                  frame.Handle(), nullptr, instance, &clientCreate);
    ASSERT_NE(client, nullptr);
    MDICREATESTRUCTA childCreate{"KivoTestMdiChild", "child", instance, 0, 0, 200, 200, WS_VISIBLE, 0};
    HWND child = reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&childCreate)));
    ASSERT_NE(child, nullptr);
    app->SetMdiClient(client);
    MdiChildSysCommands.clear();
    {
        ControlKeyDown control;
        MSG message = KeyDown(child, VK_F4);
        app->SetModalFlag(1);
        app->ProcessMessage(message);
        EXPECT_TRUE(MdiChildSysCommands.empty());
        app->SetModalFlag(0);
        message = KeyDown(child, VK_F4);
        app->ProcessMessage(message);
        EXPECT_EQ(MdiChildSysCommands, (std::vector<WPARAM>{SC_CLOSE}));
    }
    app->SetMdiClient(nullptr);
    DestroyWindow(client);
    UnregisterClassA("KivoTestMdiChild", instance);
}

// Counts the dialog-code questions that the dialog manager asks a window.
class DialogCodeCounter : public EventTarget {
public:
    long Count(WindowEvent*)
    {
        ++asked;
        return 0;
    }
    int asked = 0;
};

TEST_F(MessageLoopOnWindow, KeysGoToTheCurrentModelessDialogAlsoWhileModal)
{
    RecordingTopWindow dialog(nullptr, "dialog", WS_POPUP);
    dialog.Create();
    DialogCodeCounter counter;
    app->AddHandler(&counter, &DialogCodeCounter::Count, WM_GETDLGCODE);
    const struct {
        const char* what;
        HWND modeless;
        int modal;
        int asked;
    } rows[] = {{"no modeless dialog", nullptr, 0, 0},
                {"current modeless dialog", dialog.Handle(), 0, 1},
                {"current modeless dialog under a modal run", dialog.Handle(), 1, 1}};
    for (const auto& row : rows) {
        counter.asked = 0;
        app->SetModelessDialog(row.modeless);
        app->SetModalFlag(row.modal);
        EnableWindow(frame.Handle(), row.modal ? FALSE : TRUE);
        MSG message = KeyDown(dialog.Handle(), VK_TAB);
        app->ProcessMessage(message);
        EXPECT_EQ(counter.asked, row.asked) << row.what;
    }
    app->SetModalFlag(0);
    app->SetModelessDialog(nullptr);
    app->RemoveHandler(&counter, &DialogCodeCounter::Count, WM_GETDLGCODE);
    MSG leftover;
    while (PeekMessageA(&leftover, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
}

TEST(MessageLoop, ModelessDialogHandleThatIsNoLongerAWindowIsSkipped)
{
    ScopedApplication app;
    RecordingTopWindow target;
    target.Create();
    HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    app->SetModelessDialog(gone);
    MSG message{};
    message.hwnd = target.Handle();
    message.message = WM_COMMAND;
    message.wParam = 321;
    app->ProcessMessage(message);
    app->SetModelessDialog(nullptr);
    EXPECT_EQ(target.commands, (std::vector<unsigned>{321}));
}

TEST(ResourceLoading, AcceleratorsThatDoNotLoadLeaveNoTable)
{
    ScopedApplication app;
    EXPECT_EQ(app->LoadAccelerators(ResourceId(9999, nullptr)), 0);
    EXPECT_EQ(app->LoadAccelerators(ResourceId(103, "no_such_kivo_library.dll")), 0);
    // A library that loads but has no such table.
    EXPECT_EQ(app->LoadAccelerators(ResourceId(103, "kernel32.dll")), 0);
    EXPECT_EQ(app->AcceleratorTable(), nullptr);
}

} // namespace
