#include "framework/window/FrameworkApp.h"
#include "framework/window/ResourceId.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

namespace {

// Posts WM_QUIT with a code from a thread timer, so that a loop that failed to end still ends.
class SafetyQuit {
public:
    SafetyQuit(UINT milliseconds, int code)
    {
        code_ = code;
        id_ = SetTimer(nullptr, 0, milliseconds, Fire);
    }
    ~SafetyQuit() { KillTimer(nullptr, id_); }

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        PostQuitMessage(code_);
    }
    static int code_;
    UINT_PTR id_;
};
int SafetyQuit::code_ = 0;

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

TEST(MessageLoop, ModalLoopPassesTheApplicationsQuitOn)
{
    ScopedApplication app;
    RecordingTopWindow frame;
    frame.Create();
    ModalRunner runner;
    app->AddHandler(&runner, &ModalRunner::RunNested, StartModal);
    app->AddHandler(&runner, &ModalRunner::End, EndInside);
    PostMessageA(frame.Handle(), StartModal, 0, 0);
    SafetyQuit safety(15000, 99);
    app->RunMessageLoop();
    EXPECT_EQ(app->ExitCode(), 0);
    EXPECT_EQ(runner.log, (std::vector<std::string>{"enter", "end", "leave"}));
    EXPECT_EQ(app->LoopDepth(), 0);
}

TEST(MessageLoop, ModalLoopsOwnQuitEndsOnlyTheNestedLoop)
{
    ScopedApplication app;
    RecordingTopWindow frame;
    frame.Create();
    ModalRunner runner;
    runner.applicationQuit = false;
    runner.afterInner = 4;
    app->AddHandler(&runner, &ModalRunner::RunNested, StartModal);
    app->AddHandler(&runner, &ModalRunner::End, EndInside);
    PostMessageA(frame.Handle(), StartModal, 0, 0);
    SafetyQuit safety(15000, 99);
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

TEST(MessageLoop, FrameAcceleratorsOnlyWhileTheFrameIsEnabled)
{
    ScopedApplication app;
    RecordingTopWindow frame;
    frame.Create();
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

TEST(MessageLoop, KeysGoToTheCurrentModelessDialog)
{
    ScopedApplication app;
    HWND dialog = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(dialog, nullptr);
    CurrentModelessDialog = dialog;
    MSG message = KeyDown(dialog, VK_TAB);
    app->ProcessMessage(message);
    CurrentModelessDialog = nullptr;
    DestroyWindow(dialog);
    // A dialog handle that no longer names a window is skipped.
    CurrentModelessDialog = dialog;
    message = KeyDown(nullptr, VK_TAB);
    app->ProcessMessage(message);
    CurrentModelessDialog = nullptr;
    SUCCEED();
}

TEST(ResourceLoading, AcceleratorsThatDoNotLoadLeaveNoTable)
{
    ScopedApplication app;
    EXPECT_EQ(app->LoadAccelerators(ResourceId(103, nullptr)), 0);
    EXPECT_EQ(app->LoadAccelerators(ResourceId(103, "no_such_kivo_library.dll")), 0);
    EXPECT_EQ(app->AcceleratorTable(), nullptr);
}

} // namespace
