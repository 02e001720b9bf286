#include "framework/window/CommandHandlerDescriptor.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/HandlerList.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

namespace {

struct MatchCase {
    const char* what;
    unsigned low, high;
    HWND descriptorWindow;
    UINT eventMessage;
    WPARAM eventWParam;
    HWND eventWindow;
    bool matches;
};

const HWND WindowA = reinterpret_cast<HWND>(0x100);
const HWND WindowB = reinterpret_cast<HWND>(0x200);

class HandlerMatch : public testing::TestWithParam<MatchCase> {};

TEST_P(HandlerMatch, ComparesMessageLowWordRangeAndWindow)
{
    const MatchCase& c = GetParam();
    EventTarget target;
    HandlerDescriptor descriptor(c.low, c.high, nullptr, &target, WM_COMMAND);
    descriptor.window = c.descriptorWindow;
    WindowEvent event{0, c.eventWParam, c.eventMessage, c.eventWindow};
    EXPECT_EQ(descriptor.Match(&event), c.matches) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HandlerMatch,
    testing::Values(MatchCase{"id inside range", 100, 200, nullptr, WM_COMMAND, 150, WindowA, true},
                    MatchCase{"range ends are inclusive", 100, 200, nullptr, WM_COMMAND, 200, WindowA, true},
                    MatchCase{"below range", 100, 200, nullptr, WM_COMMAND, 99, WindowA, false},
                    MatchCase{"other message", 100, 200, nullptr, WM_SYSCOMMAND, 150, WindowA, false},
                    MatchCase{"accelerator: high word 1 is ignored", 150, 150, nullptr, WM_COMMAND,
                              MAKEWPARAM(150, 1), WindowA, true},
                    MatchCase{"window 0 matches any window", 0, 65535, nullptr, WM_COMMAND, 1, WindowB, true},
                    MatchCase{"own window only", 0, 65535, WindowA, WM_COMMAND, 1, WindowB, false},
                    MatchCase{"own window", 0, 65535, WindowA, WM_COMMAND, 1, WindowA, true}));

TEST(CommandHandlerDescriptor, MatchesOnlyItsNotificationAndControl)
{
    EventTarget target;
    const HWND control = reinterpret_cast<HWND>(0x300);
    CommandHandlerDescriptor descriptor(12, control, 1, nullptr, &target);
    WindowEvent notification1{reinterpret_cast<LPARAM>(control), MAKEWPARAM(12, 1), WM_COMMAND, WindowA};
    WindowEvent notification0{reinterpret_cast<LPARAM>(control), MAKEWPARAM(12, 0), WM_COMMAND, WindowA};
    WindowEvent otherControl{0x400, MAKEWPARAM(12, 1), WM_COMMAND, WindowA};
    EXPECT_TRUE(descriptor.Match(&notification1));
    EXPECT_FALSE(descriptor.Match(&notification0));
    EXPECT_FALSE(descriptor.Match(&otherControl));
}

TEST(HandlerList, NewestRunsFirstAndZeroLetsTheNextRun)
{
    std::vector<std::string> log;
    RecordingTarget older(&log, "older", 0);
    RecordingTarget newer(&log, "newer", 0);
    HandlerList list;
    list.Add(std::make_unique<HandlerDescriptor>(AsEventHandler(&RecordingTarget::Handle), &older, WM_USER,
                                                 nullptr));
    list.Add(std::make_unique<HandlerDescriptor>(AsEventHandler(&RecordingTarget::Handle), &newer, WM_USER,
                                                 nullptr));
    WindowEvent event{0, 0, WM_USER, WindowA};
    EXPECT_EQ(list.Dispatch(&event), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"newer", "older"}));
}

TEST(HandlerList, NonzeroResultStopsTheWalkWithOne)
{
    std::vector<std::string> log;
    RecordingTarget older(&log, "older", 0);
    RecordingTarget newer(&log, "newer", 42);
    HandlerList list;
    list.Add(std::make_unique<HandlerDescriptor>(AsEventHandler(&RecordingTarget::Handle), &older, WM_USER,
                                                 nullptr));
    list.Add(std::make_unique<HandlerDescriptor>(AsEventHandler(&RecordingTarget::Handle), &newer, WM_USER,
                                                 nullptr));
    WindowEvent event{0, 0, WM_USER, WindowA};
    EXPECT_EQ(list.Dispatch(&event), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"newer"}));
}

TEST(ApplicationHandlers, RemoveHandlerTakesOnlyTheNewestMatchOfThatTarget)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingTarget target(&log, "t", 0);
    RecordingTarget other(&log, "o", 0);
    // Newest first: t (newest), o, t (oldest). Removing t must take the newest one, leaving o before t.
    app->AddHandler(&target, &RecordingTarget::Handle, WM_USER);
    app->AddHandler(&other, &RecordingTarget::Handle, WM_USER);
    app->AddHandler(&target, &RecordingTarget::Handle, WM_USER);
    app->AddHandler(&target, &RecordingTarget::Handle, WM_USER + 1);
    app->RemoveHandler(&target, &RecordingTarget::Handle, WM_USER);
    EXPECT_EQ(app->Handlers()->Count(), 3);
    WindowEvent event{0, 0, WM_USER, WindowA};
    app->Handlers()->Dispatch(&event);
    EXPECT_EQ(log, (std::vector<std::string>{"o", "t"}));
    app->RemoveHandler(&target, &RecordingTarget::Handle, WM_USER);
    app->RemoveHandler(&target, &RecordingTarget::Handle, WM_USER);
    EXPECT_EQ(app->Handlers()->Count(), 2);
    log.clear();
    WindowEvent other1{0, 0, WM_USER + 1, WindowA};
    app->Handlers()->Dispatch(&other1);
    EXPECT_EQ(log, (std::vector<std::string>{"t"}));
}

TEST(ApplicationHandlers, RemovingAHandlerNeverRemovesAnotherObjectsHandler)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingTarget first(&log, "first", 0);
    RecordingTarget second(&log, "second", 0);
    app->AddHandler(&first, &RecordingTarget::Handle, WM_USER);
    app->AddHandler(&second, &RecordingTarget::Handle, WM_USER);
    app->RemoveHandler(&first, &RecordingTarget::Handle, WM_USER);
    WindowEvent event{0, 0, WM_USER, WindowA};
    app->Handlers()->Dispatch(&event);
    EXPECT_EQ(log, (std::vector<std::string>{"second"}));
}

TEST(WindowHandlers, CloseHandlerWaitsForItsRouting)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingTopWindow window(&log, "w");
    window.Create();
    RecordingTarget handler(&log, "handler", 1);
    window.AddHandler(&handler, &RecordingTarget::Handle, WM_CLOSE);
    EXPECT_FALSE(window.ListsFirst(WM_CLOSE));
    EXPECT_EQ(SendMessageA(window.Handle(), WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"OnClose w"}));
}

TEST(WindowHandlers, MessageHandlerRunsBeforeTheOperationAndAnswersOne)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingTopWindow window(&log, "w");
    window.Create();
    RecordingTarget handler(&log, "handler", 1);
    window.AddMessageHandler(&handler, &RecordingTarget::Handle, WM_CLOSE);
    EXPECT_TRUE(window.ListsFirst(WM_CLOSE));
    EXPECT_EQ(SendMessageA(window.Handle(), WM_CLOSE, 0, 0), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"handler"}));
}

TEST(WindowHandlers, TwoButtonHandlersRunNewestFirstWhenBothAnswerZero)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingTopWindow window(&log, "w");
    window.Create();
    RecordingTarget first(&log, "first", 0);
    RecordingTarget second(&log, "second", 0);
    window.AddMessageHandler(&first, &RecordingTarget::Handle, WM_LBUTTONDOWN);
    window.AddMessageHandler(&second, &RecordingTarget::Handle, WM_LBUTTONDOWN);
    SendMessageA(window.Handle(), WM_LBUTTONDOWN, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"second", "first"}));
}

TEST(WindowHandlers, CommandFromAnAcceleratorReachesTheIdsHandler)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingTopWindow window(&log, "w");
    window.Create();
    RecordingTarget handler(&log, "cmd", 1);
    window.AddHandlerDescriptor(
        std::make_unique<HandlerDescriptor>(500u, AsEventHandler(&RecordingTarget::Handle), &handler, WM_COMMAND));
    SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(500, 1), 0);
    SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(501, 1), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"cmd"}));
    EXPECT_EQ(window.commands, (std::vector<unsigned>{501}));
}

TEST(WindowHandlers, HandlerRegisteredBeforeCreationMatchesAnyWindow)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingTopWindow window(&log, "w");
    RecordingTarget handler(&log, "early", 0);
    window.AddHandler(&handler, &RecordingTarget::Handle, WM_USER + 5);
    window.Create();
    WindowEvent fromElsewhere{0, 0, WM_USER + 5, WindowB};
    window.DispatchToLists(&fromElsewhere);
    EXPECT_EQ(log, (std::vector<std::string>{"early"}));
}

TEST(WindowHandlers, ApplicationListIsConsultedAfterTheWindowsOwn)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingTopWindow window(&log, "w");
    window.Create();
    RecordingTarget own(&log, "own", 0);
    RecordingTarget global(&log, "app", 0);
    app->AddHandler(&global, &RecordingTarget::Handle, WM_USER + 9);
    window.AddHandler(&own, &RecordingTarget::Handle, WM_USER + 9);
    SendMessageA(window.Handle(), WM_USER + 9, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"own", "app"}));
}

TEST(WindowHandlers, WindowRemoveHandlerLeavesOtherTargetsAlone)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingTopWindow window(&log, "w");
    window.Create();
    RecordingTarget first(&log, "first", 0);
    RecordingTarget second(&log, "second", 0);
    window.AddHandler(&first, &RecordingTarget::Handle, WM_USER + 3);
    window.AddHandler(&second, &RecordingTarget::Handle, WM_USER + 3);
    window.RemoveHandler(&first, &RecordingTarget::Handle, WM_USER + 3);
    SendMessageA(window.Handle(), WM_USER + 3, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"second"}));
}

TEST(WindowHandlers, HandlerMayRemoveItselfDuringTheWalk)
{
    ScopedApplication app;
    RecordingTopWindow window;
    window.Create();
    struct SelfRemover : EventTarget {
        WindowCL* window = nullptr;
        int calls = 0;
        long Handle(WindowEvent*)
        {
            ++calls;
            window->RemoveHandler(this, &SelfRemover::Handle, WM_USER + 4);
            return 0;
        }
    } remover;
    remover.window = &window;
    window.AddHandler(&remover, &SelfRemover::Handle, WM_USER + 4);
    SendMessageA(window.Handle(), WM_USER + 4, 0, 0);
    SendMessageA(window.Handle(), WM_USER + 4, 0, 0);
    EXPECT_EQ(remover.calls, 1);
}

// Deletes a window from inside one of its handlers and answers 0, so that the dispatch would go on.
struct WindowDeleter : EventTarget {
    WindowCL* window = nullptr;
    long Handle(WindowEvent*)
    {
        delete window;
        return 0;
    }
};

TEST(WindowHandlers, HandlerThatDeletesItsWindowEndsTheDispatch)
{
    enum Where { General, Notification, Application };
    const struct {
        const char* what;
        UINT message;
        Where where;
        std::vector<std::string> log;
    } rows[] = {{"close handler", WM_CLOSE, General, {"delete w"}},
                {"command handler", WM_COMMAND, General, {"delete w"}},
                {"notification handler", WM_COMMAND, Notification, {"delete w"}},
                {"application handler", WM_CLOSE, Application, {"older", "delete w"}}};
    for (const auto& row : rows) {
        ScopedApplication app;
        std::vector<std::string> log;
        auto* window = new RecordingTopWindow(&log, "w");
        window->Create();
        RecordingTarget older(&log, "older", 0);
        RecordingTarget application(&log, "application", 0);
        WindowDeleter deleter;
        deleter.window = window;
        app->AddHandler(&application, &RecordingTarget::Handle, row.message);
        window->AddMessageHandler(&older, &RecordingTarget::Handle, row.message);
        if (row.where == General)
            window->AddMessageHandler(&deleter, &WindowDeleter::Handle, row.message);
        else if (row.where == Notification)
            window->AddNotificationHandler(std::make_unique<HandlerDescriptor>(
                0u, AsEventHandler(&WindowDeleter::Handle), &deleter, row.message));
        else
            app->AddHandler(&deleter, &WindowDeleter::Handle, row.message);
        const HWND handle = window->Handle();
        SendMessageA(handle, row.message, 0, 0);
        EXPECT_FALSE(IsWindow(handle)) << row.what;
        EXPECT_EQ(log, row.log) << row.what;
    }
}

TEST(WindowHandlers, CommandGoesToNotificationsThenGeneralThenApplicationThenTheOperation)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingTopWindow window(&log, "w");
    window.Create();
    RecordingTarget notification(&log, "notification", 0);
    RecordingTarget general(&log, "general", 0);
    RecordingTarget application(&log, "application", 0);
    const EventHandler handle = AsEventHandler(&RecordingTarget::Handle);
    window.AddNotificationHandler(std::make_unique<HandlerDescriptor>(40u, handle, &notification, WM_COMMAND));
    window.AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(40u, handle, &general, WM_COMMAND));
    app->AddHandler(&application, &RecordingTarget::Handle, WM_COMMAND);
    EXPECT_EQ(SendMessageA(window.Handle(), WM_COMMAND, 40, 0), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"notification", "general", "application"}));
    EXPECT_EQ(window.commands, (std::vector<unsigned>{40}));
}

TEST(WindowHandlers, NotificationThatTakesTheCommandEndsItsDispatch)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingTopWindow window(&log, "w");
    window.Create();
    RecordingTarget notification(&log, "notification", 1);
    RecordingTarget general(&log, "general", 1);
    const EventHandler handle = AsEventHandler(&RecordingTarget::Handle);
    window.AddNotificationHandler(std::make_unique<HandlerDescriptor>(40u, handle, &notification, WM_COMMAND));
    window.AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(40u, handle, &general, WM_COMMAND));
    EXPECT_EQ(SendMessageA(window.Handle(), WM_COMMAND, 40, 0), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"notification"}));
    EXPECT_TRUE(window.commands.empty());
}

TEST(WindowHandlers, NotificationListServesOnlyCommands)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingTopWindow window(&log, "w");
    window.Create();
    RecordingTarget notification(&log, "notification", 1);
    window.AddNotificationHandler(std::make_unique<HandlerDescriptor>(
        0u, 65535u, AsEventHandler(&RecordingTarget::Handle), &notification, WM_USER + 7));
    SendMessageA(window.Handle(), WM_USER + 7, 0, 0);
    EXPECT_TRUE(log.empty());
}

// The cursor and hit-test questions reach the lists only when routed to them, which nothing does by itself.
TEST(WindowHandlers, CursorAndHitTestQuestionsNeedTheirRouting)
{
    for (const UINT message : {WM_SETCURSOR, WM_NCHITTEST}) {
        ScopedApplication app;
        std::vector<std::string> log;
        RecordingTopWindow window(&log, "w");
        window.Create();
        RecordingTarget handler(&log, "handler", 1);
        window.AddHandler(&handler, &RecordingTarget::Handle, message);
        SendMessageA(window.Handle(), message, reinterpret_cast<WPARAM>(window.Handle()), 0);
        EXPECT_TRUE(log.empty()) << message;
        window.RouteToListsFirst(message);
        EXPECT_EQ(SendMessageA(window.Handle(), message, reinterpret_cast<WPARAM>(window.Handle()), 0), 0)
            << message;
        EXPECT_EQ(log, (std::vector<std::string>{"handler"})) << message;
    }
}

TEST(WindowHandlers, RemovingANotificationHandlerTakesThatDescriptorOnly)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingTopWindow window(&log, "w");
    window.Create();
    RecordingTarget clicks(&log, "click", 1);
    const EventHandler handle = AsEventHandler(&RecordingTarget::Handle);
    const HWND first = reinterpret_cast<HWND>(0x510);
    const HWND second = reinterpret_cast<HWND>(0x520);
    auto firstButton = std::make_unique<CommandHandlerDescriptor>(21, first, BN_CLICKED, handle, &clicks);
    const HandlerDescriptor* firstDescriptor = firstButton.get();
    window.AddNotificationHandler(std::move(firstButton));
    window.AddNotificationHandler(std::make_unique<CommandHandlerDescriptor>(22, second, BN_CLICKED, handle, &clicks));
    window.RemoveNotificationHandler(firstDescriptor);
    SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(21, BN_CLICKED), reinterpret_cast<LPARAM>(first));
    SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(22, BN_CLICKED), reinterpret_cast<LPARAM>(second));
    EXPECT_EQ(log, (std::vector<std::string>{"click"}));
    EXPECT_EQ(window.commands, (std::vector<unsigned>{21}));
}

} // namespace
