#include "framework/window/ChildLayout.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/HandlerDescriptor.h"
#include "framework/window/PaneWindowCL.h"
#include "framework/window/ScrollBarState.h"
#include "framework/window/Scroller.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class PaneWindowOnWindow : public testing::Test, protected AppWithFrame {};

class RecordingPane : public PaneWindowCL {
public:
    explicit RecordingPane(WindowCL* parent)
        : PaneWindowCL(parent, new ChildLayout(0, 0, 120, 80, nullptr), WS_VISIBLE)
    {
    }
    long Paint(WindowEvent*) override
    {
        ++paints;
        hadContext = PaintContext() != nullptr;
        return 0;
    }
    long OnChar(WindowEvent* event) override
    {
        chars.push_back(static_cast<char>(event->wParam));
        return 1;
    }
    long OnCommand(WindowEvent* event) override
    {
        commands.push_back(event->message);
        return 1;
    }
    int paints = 0;
    bool hadContext = false;
    std::vector<UINT> commands;
    std::string chars;
};

class RecordingScroller : public Scroller {
public:
    using Scroller::Scroller;
    long OnScroll(WindowEvent* event) override
    {
        codes.push_back(LOWORD(event->wParam));
        return 1;
    }
    long Update(WindowEvent*) override
    {
        ++updates;
        return 0;
    }
    std::vector<unsigned> codes;
    int updates = 0;
};

TEST_F(PaneWindowOnWindow, TwoPanesShareOneRegisteredClass)
{
    auto* first = new RecordingPane(&frame);
    auto* second = new RecordingPane(&frame);
    ASSERT_NE(first->Handle(), nullptr);
    ASSERT_NE(second->Handle(), nullptr);
    const auto& names = app->RegisteredClasses();
    EXPECT_EQ(std::count(names.begin(), names.end(), "PaneWindowCL"), 1);
}

TEST(PaneWindow, ScrollCodesMoveThePanesOwnState)
{
    struct Row {
        WORD code;
        WORD thumb;
        int position;
        int previous;
    };
    const Row rows[] = {{SB_LINEDOWN, 0, 1, 0},  {SB_PAGEDOWN, 0, 11, 1}, {SB_THUMBTRACK, 40, 40, 1},
                        {SB_LINEUP, 0, 39, 40},  {SB_BOTTOM, 0, 100, 39}, {SB_PAGEDOWN, 0, 100, 100},
                        {SB_TOP, 0, 0, 100},     {SB_ENDSCROLL, 0, 0, 100}};
    ScopedApplication app;
    RecordingTopWindow frame;
    frame.Create();
    auto* pane = new RecordingPane(&frame);
    pane->SetVerticalState(new ScrollBarState(pane, SB_VERT));
    for (const Row& row : rows) {
        SendMessageA(pane->Handle(), WM_VSCROLL, MAKEWPARAM(row.code, row.thumb), 0);
        EXPECT_EQ(pane->VerticalState()->position, row.position) << row.code;
        EXPECT_EQ(pane->VerticalState()->previous, row.previous) << row.code;
    }
}

TEST_F(PaneWindowOnWindow, ScrollEventsAndSizeChangesReachTheScroller)
{
    auto* pane = new RecordingPane(&frame);
    RecordingScroller scroller(pane);
    pane->SetScroller(&scroller);
    SendMessageA(pane->Handle(), WM_HSCROLL, SB_LINEDOWN, 0);
    SendMessageA(pane->Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 50));
    EXPECT_EQ(scroller.codes, (std::vector<unsigned>{SB_LINEDOWN}));
    EXPECT_EQ(scroller.updates, 1);
    pane->SetScroller(nullptr);
}

TEST(PaneWindow, CharactersAndPaintingReachTheirOperations)
{
    FocusTestLock lock;
    ScopedApplication app;
    RecordingTopWindow frame;
    frame.Create();
    auto* pane = new RecordingPane(&frame);
    SendMessageA(pane->Handle(), WM_CHAR, 'k', 0);
    EXPECT_EQ(pane->chars, "k");
    ShowWindow(frame.Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(frame.Handle());
    pane->paints = 0;
    EXPECT_TRUE(IsWindowVisible(pane->Handle()));
    InvalidateRect(pane->Handle(), nullptr, TRUE);
    EXPECT_TRUE(PumpMessagesUntil([&] { return pane->paints >= 1; }));
    EXPECT_TRUE(pane->hadContext);
    EXPECT_EQ(pane->PaintContext(), nullptr);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(pane->Handle(), &update, FALSE));
}

TEST_F(PaneWindowOnWindow, CommandsAndSystemCommandsTakeTheCommandRoute)
{
    auto* pane = new RecordingPane(&frame);
    std::vector<std::string> log;
    RecordingTarget notification(&log, "notification", 0);
    RecordingTarget general(&log, "general", 0);
    RecordingTarget application(&log, "application", 0);
    const EventHandler handle = AsEventHandler(&RecordingTarget::Handle);
    for (UINT message : {WM_COMMAND, WM_SYSCOMMAND}) {
        pane->AddNotificationHandler(std::make_unique<HandlerDescriptor>(40u, handle, &notification, message));
        pane->AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(40u, handle, &general, message));
        app->AddHandler(&application, &RecordingTarget::Handle, message);
        log.clear();
        EXPECT_EQ(SendMessageA(pane->Handle(), message, 40, 0), 0);
        EXPECT_EQ(log, (std::vector<std::string>{"notification", "general", "application"})) << message;
    }
    EXPECT_EQ(pane->commands, (std::vector<UINT>{WM_COMMAND, WM_SYSCOMMAND}));
}

} // namespace
