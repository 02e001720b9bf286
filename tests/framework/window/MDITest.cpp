#include "framework/dialog/Menu.h"
#include "framework/window/ChildLayout.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/IdleList.h"
#include "framework/window/MDIchildCL.h"
#include "framework/window/MDIframeCL.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// An MDI child that records its deletion and its close requests, answering what the test sets.
class RecordingChild : public MDIchildCL {
public:
    RecordingChild(MDIframeCL* frame, std::vector<std::string>* log, const char* name)
        : MDIchildCL(frame, new ChildLayout(10, 10, 200, 150, nullptr), WS_OVERLAPPEDWINDOW, name), log_(log),
          name_(name)
    {
    }
    ~RecordingChild() override { log_->push_back("delete " + name_); }
    long OnClose(WindowEvent*) override
    {
        log_->push_back("close " + name_);
        return closeAnswer;
    }
    long closeAnswer = 0;

private:
    std::vector<std::string>* log_;
    std::string name_;
};

class RecordingFrame : public MDIframeCL {
public:
    explicit RecordingFrame(std::vector<std::string>* log) : MDIframeCL(nullptr, 0, "frame"), log_(log) {}
    long OnClose(WindowEvent*) override
    {
        log_->push_back("close frame");
        return 1;
    }

private:
    std::vector<std::string>* log_;
};

// The tests show their frames.
class MDIframe : public testing::Test, private HoldsFocusTestLock {};

bool Contains(const std::vector<std::string>& log, const std::string& entry)
{
    return std::find(log.begin(), log.end(), entry) != log.end();
}

TEST_F(MDIframe, ClientFillsTheFrameAndChildrenAreCreatedHiddenAndActivated)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingFrame frame(&log);
    const HWND client = frame.ClientHandle();
    ASSERT_TRUE(IsWindow(client));
    EXPECT_EQ(GetDlgCtrlID(client), MDIframeCL::ClientId);
    EXPECT_EQ(app->MdiClient(), client);
    SendMessageA(frame.Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 300));
    RECT rect;
    GetWindowRect(client, &rect);
    EXPECT_EQ(rect.right - rect.left, 400);
    EXPECT_EQ(rect.bottom - rect.top, 300);
    frame.Show(SW_SHOWNOACTIVATE);
    EXPECT_EQ(frame.ActiveChild(), nullptr);

    RecordingTarget creation(&log, "create", 0);
    auto* first = new RecordingChild(&frame, &log, "first");
    first->AddHandler(&creation, &RecordingTarget::Handle, WM_CREATE);
    first->Create();
    EXPECT_EQ(log, (std::vector<std::string>{"create"}));
    EXPECT_EQ(GetParent(first->Handle()), client);
    EXPECT_FALSE(IsWindowVisible(first->Handle()));
    first->Show(SW_SHOW);
    auto* second = new RecordingChild(&frame, &log, "second");
    second->Create();
    second->Show(SW_SHOW);
    EXPECT_EQ(frame.ActiveChild(), second);
    first->Activate();
    EXPECT_EQ(frame.ActiveChild(), first);
    delete first;
    EXPECT_EQ(frame.ActiveChild(), second);
}

TEST_F(MDIframe, ChildDeletedWithItsWindowIsDeletedLaterByTheFrame)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingFrame frame(&log);
    auto* child = new RecordingChild(&frame, &log, "child");
    child->Create();
    child->SetStateBits(WindowCL::StateDeleteWithWindow);
    const HWND handle = child->Handle();
    SendMessageA(frame.ClientHandle(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(handle), 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_FALSE(Contains(log, "delete child"));
    EXPECT_TRUE(PumpMessagesUntil([&] { return Contains(log, "delete child"); }));
    EXPECT_TRUE(frame.Children().empty());
}

TEST_F(MDIframe, ChildThatRefusesToCloseStopsTheFramesClose)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingFrame frame(&log);
    auto* first = new RecordingChild(&frame, &log, "first");
    auto* second = new RecordingChild(&frame, &log, "second");
    first->Create();
    second->Create();
    first->closeAnswer = 1;
    EXPECT_EQ(SendMessageA(frame.Handle(), WM_CLOSE, 0, 0), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"close first"}));
    first->closeAnswer = 0;
    log.clear();
    SendMessageA(frame.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"close first", "close second", "close frame"}));
    EXPECT_TRUE(IsWindow(frame.Handle()));
}

// Runs a nested loop, as a modal dialog does, in which the frame is closed.
class NestedCloser : public EventTarget {
public:
    long Run(WindowEvent*)
    {
        PostMessageA(frame, WM_CLOSE, 0, 0);
        TheApp->RunMessageLoop();
        nestedEnded = true;
        return 1;
    }
    HWND frame = nullptr;
    bool nestedEnded = false;
};

TEST_F(MDIframe, DestroyingTheFrameEndsNestedAndOuterLoops)
{
    ScopedApplication app;
    auto* frame = new MDIframeCL(nullptr, 0, "frame");
    ASSERT_EQ(app->MainWindow(), frame);
    NestedCloser closer;
    closer.frame = frame->Handle();
    app->AddHandler(&closer, &NestedCloser::Run, WM_USER + 31);
    PostMessageA(frame->Handle(), WM_USER + 31, 0, 0);
    QuitAfter safety(20000, 99);
    app->RunMessageLoop();
    EXPECT_TRUE(closer.nestedEnded);
    EXPECT_EQ(app->ExitCode(), 0);
    EXPECT_FALSE(app->Idle()->IsEnabled());
    EXPECT_EQ(app->MainWindow(), nullptr);
    app->RemoveHandler(&closer, &NestedCloser::Run, WM_USER + 31);
    delete frame;
}

std::vector<std::string> BarTexts(HWND window)
{
    std::vector<std::string> texts;
    HMENU bar = GetMenu(window);
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        char text[100] = {};
        GetMenuStringA(bar, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        texts.push_back(text);
    }
    return texts;
}

// A menu of pop-ups with the given texts.
Menu* PopupsMenu(std::initializer_list<const char*> texts)
{
    auto* menu = new Menu();
    for (const char* text : texts) {
        Menu popup;
        menu->AppendPopup(popup, text);
    }
    return menu;
}

TEST_F(MDIframe, ActiveChildsMenuIsMergedBeforeTheTrailingItemAndLeavesWithIt)
{
    using Texts = std::vector<std::string>;
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingFrame frame(&log);
    HMENU bar = CreateMenu();
    for (const char* text : {"File", "Tree", "Options", "Window"})
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), text);
    SetMenu(frame.Handle(), bar);
    frame.Show(SW_SHOWNOACTIVATE);
    auto* first = new RecordingChild(&frame, &log, "first");
    first->SetMenuObject(PopupsMenu({"Edit", "View"}));
    first->Create();
    first->Show(SW_SHOW);
    const Texts withFirst{"File", "Tree", "Options", "Edit", "View", "Window"};
    EXPECT_TRUE(PumpMessagesUntil([&] { return BarTexts(frame.Handle()) == withFirst; }));

    auto* second = new RecordingChild(&frame, &log, "second");
    second->SetMenuObject(PopupsMenu({"Graph"}));
    second->Create();
    second->Show(SW_SHOW);
    const Texts withSecond{"File", "Tree", "Options", "Graph", "Window"};
    EXPECT_TRUE(PumpMessagesUntil([&] { return BarTexts(frame.Handle()) == withSecond; }));
    EXPECT_EQ(frame.MergedChild(), second);

    delete second;
    EXPECT_EQ(BarTexts(frame.Handle()), (Texts{"File", "Tree", "Options", "Window"}));
    EXPECT_TRUE(PumpMessagesUntil([&] { return BarTexts(frame.Handle()) == withFirst; }));
}

TEST_F(MDIframe, MenuMessagesReachTheActiveChildsMenuAfterTheFrames)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingFrame frame(&log);
    frame.Show(SW_SHOWNOACTIVATE);
    RecordingTarget childMenuHandler(&log, "child menu", 1);
    RecordingTarget frameHandler(&log, "frame list", 1);
    frame.AddHandler(&frameHandler, &RecordingTarget::Handle, WM_INITMENU);
    auto* child = new RecordingChild(&frame, &log, "child");
    auto* menu = new Menu();
    menu->OnInitMenu(&childMenuHandler, &RecordingTarget::Handle);
    child->SetMenuObject(menu);
    child->AddRoutingBits(WindowCL::RouteMenu);
    child->Create();
    SendMessageA(frame.Handle(), WM_INITMENU, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"frame list"}));
    child->Show(SW_SHOW);
    log.clear();
    EXPECT_EQ(SendMessageA(frame.Handle(), WM_INITMENU, 0, 0), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"child menu"}));
}

} // namespace
