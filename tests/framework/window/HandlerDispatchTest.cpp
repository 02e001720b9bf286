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

using Log = std::vector<std::string>;

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

// Two handlers of WM_USER, the newer answering newerAnswer; gives what Dispatch answered and who ran.
std::pair<long, Log> DispatchToOlderAndNewer(long newerAnswer)
{
    Log log;
    RecordingTarget older(&log, "older", 0);
    RecordingTarget newer(&log, "newer", newerAnswer);
    HandlerList list;
    for (RecordingTarget* target : {&older, &newer})
        list.Add(std::make_unique<HandlerDescriptor>(AsEventHandler(&RecordingTarget::Handle), target, WM_USER,
                                                     nullptr));
    WindowEvent event{0, 0, WM_USER, WindowA};
    const long answer = list.Dispatch(&event);
    return {answer, log};
}

TEST(HandlerList, NewestRunsFirstAndZeroLetsTheNextRun)
{
    EXPECT_EQ(DispatchToOlderAndNewer(0), std::make_pair(0L, Log{"newer", "older"}));
}

TEST(HandlerList, NonzeroResultStopsTheWalkWithOne)
{
    EXPECT_EQ(DispatchToOlderAndNewer(42), std::make_pair(1L, Log{"newer"}));
}

TEST(ApplicationHandlers, RemoveHandlerTakesOnlyTheNewestMatchOfThatTarget)
{
    ScopedApplication app;
    Log log;
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
    EXPECT_EQ(log, (Log{"o", "t"}));
    app->RemoveHandler(&target, &RecordingTarget::Handle, WM_USER);
    app->RemoveHandler(&target, &RecordingTarget::Handle, WM_USER);
    EXPECT_EQ(app->Handlers()->Count(), 2);
    log.clear();
    WindowEvent other1{0, 0, WM_USER + 1, WindowA};
    app->Handlers()->Dispatch(&other1);
    EXPECT_EQ(log, (Log{"t"}));
}

TEST(ApplicationHandlers, RemovingAHandlerNeverRemovesAnotherObjectsHandler)
{
    ScopedApplication app;
    Log log;
    RecordingTarget first(&log, "first", 0);
    RecordingTarget second(&log, "second", 0);
    app->AddHandler(&first, &RecordingTarget::Handle, WM_USER);
    app->AddHandler(&second, &RecordingTarget::Handle, WM_USER);
    app->RemoveHandler(&first, &RecordingTarget::Handle, WM_USER);
    WindowEvent event{0, 0, WM_USER, WindowA};
    app->Handlers()->Dispatch(&event);
    EXPECT_EQ(log, (Log{"second"}));
}

// An application and one created top window that records into the log.
class WindowHandlers : public testing::Test {
protected:
    void SetUp() override { window.Create(); }

    ScopedApplication app;
    Log log;
    RecordingTopWindow window{&log, "w"};
};

TEST_F(WindowHandlers, CloseHandlerWaitsForItsRouting)
{
    RecordingTarget handler(&log, "handler", 1);
    window.AddHandler(&handler, &RecordingTarget::Handle, WM_CLOSE);
    EXPECT_FALSE(window.ListsFirst(WM_CLOSE));
    EXPECT_EQ(SendMessageA(window.Handle(), WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(log, (Log{"OnClose w"}));
}

TEST_F(WindowHandlers, MessageHandlerRunsBeforeTheOperationAndAnswersOne)
{
    RecordingTarget handler(&log, "handler", 1);
    window.AddMessageHandler(&handler, &RecordingTarget::Handle, WM_CLOSE);
    EXPECT_TRUE(window.ListsFirst(WM_CLOSE));
    EXPECT_EQ(SendMessageA(window.Handle(), WM_CLOSE, 0, 0), 1);
    EXPECT_EQ(log, (Log{"handler"}));
}

TEST_F(WindowHandlers, TwoButtonHandlersRunNewestFirstWhenBothAnswerZero)
{
    RecordingTarget first(&log, "first", 0);
    RecordingTarget second(&log, "second", 0);
    window.AddMessageHandler(&first, &RecordingTarget::Handle, WM_LBUTTONDOWN);
    window.AddMessageHandler(&second, &RecordingTarget::Handle, WM_LBUTTONDOWN);
    SendMessageA(window.Handle(), WM_LBUTTONDOWN, 0, 0);
    EXPECT_EQ(log, (Log{"second", "first"}));
}

TEST_F(WindowHandlers, CommandFromAnAcceleratorReachesTheIdsHandler)
{
    RecordingTarget handler(&log, "cmd", 1);
    window.AddHandlerDescriptor(
        std::make_unique<HandlerDescriptor>(500u, AsEventHandler(&RecordingTarget::Handle), &handler, WM_COMMAND));
    SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(500, 1), 0);
    SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(501, 1), 0);
    EXPECT_EQ(log, (Log{"cmd"}));
    EXPECT_EQ(window.commands, (std::vector<unsigned>{501}));
}

TEST(WindowHandlersBeforeCreation, HandlerRegisteredBeforeCreationMatchesAnyWindow)
{
    ScopedApplication app;
    Log log;
    RecordingTopWindow window(&log, "w");
    RecordingTarget handler(&log, "early", 0);
    window.AddHandler(&handler, &RecordingTarget::Handle, WM_USER + 5);
    window.Create();
    WindowEvent fromElsewhere{0, 0, WM_USER + 5, WindowB};
    window.DispatchToLists(&fromElsewhere);
    EXPECT_EQ(log, (Log{"early"}));
}

TEST_F(WindowHandlers, ApplicationListIsConsultedAfterTheWindowsOwn)
{
    RecordingTarget own(&log, "own", 0);
    RecordingTarget global(&log, "app", 0);
    app->AddHandler(&global, &RecordingTarget::Handle, WM_USER + 9);
    window.AddHandler(&own, &RecordingTarget::Handle, WM_USER + 9);
    SendMessageA(window.Handle(), WM_USER + 9, 0, 0);
    EXPECT_EQ(log, (Log{"own", "app"}));
}

TEST_F(WindowHandlers, WindowRemoveHandlerLeavesOtherTargetsAlone)
{
    RecordingTarget first(&log, "first", 0);
    RecordingTarget second(&log, "second", 0);
    window.AddHandler(&first, &RecordingTarget::Handle, WM_USER + 3);
    window.AddHandler(&second, &RecordingTarget::Handle, WM_USER + 3);
    window.RemoveHandler(&first, &RecordingTarget::Handle, WM_USER + 3);
    SendMessageA(window.Handle(), WM_USER + 3, 0, 0);
    EXPECT_EQ(log, (Log{"second"}));
}

TEST_F(WindowHandlers, HandlerMayRemoveItselfDuringTheWalk)
{
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

TEST(WindowHandlersPerRow, HandlerThatDeletesItsWindowEndsTheDispatch)
{
    enum Where { General, Notification, Application };
    const struct {
        const char* what;
        UINT message;
        Where where;
        Log log;
    } rows[] = {{"close handler", WM_CLOSE, General, {"delete w"}},
                {"command handler", WM_COMMAND, General, {"delete w"}},
                {"notification handler", WM_COMMAND, Notification, {"delete w"}},
                {"application handler", WM_CLOSE, Application, {"older", "delete w"}}};
    for (const auto& row : rows) {
        ScopedApplication app;
        Log log;
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

TEST_F(WindowHandlers, CommandGoesToNotificationsThenGeneralThenApplicationThenTheOperation)
{
    RecordingTarget notification(&log, "notification", 0);
    RecordingTarget general(&log, "general", 0);
    RecordingTarget application(&log, "application", 0);
    const EventHandler handle = AsEventHandler(&RecordingTarget::Handle);
    window.AddNotificationHandler(std::make_unique<HandlerDescriptor>(40u, handle, &notification, WM_COMMAND));
    window.AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(40u, handle, &general, WM_COMMAND));
    app->AddHandler(&application, &RecordingTarget::Handle, WM_COMMAND);
    EXPECT_EQ(SendMessageA(window.Handle(), WM_COMMAND, 40, 0), 0);
    EXPECT_EQ(log, (Log{"notification", "general", "application"}));
    EXPECT_EQ(window.commands, (std::vector<unsigned>{40}));
}

TEST_F(WindowHandlers, NotificationThatTakesTheCommandEndsItsDispatch)
{
    RecordingTarget notification(&log, "notification", 1);
    RecordingTarget general(&log, "general", 1);
    const EventHandler handle = AsEventHandler(&RecordingTarget::Handle);
    window.AddNotificationHandler(std::make_unique<HandlerDescriptor>(40u, handle, &notification, WM_COMMAND));
    window.AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(40u, handle, &general, WM_COMMAND));
    EXPECT_EQ(SendMessageA(window.Handle(), WM_COMMAND, 40, 0), 0);
    EXPECT_EQ(log, (Log{"notification"}));
    EXPECT_TRUE(window.commands.empty());
}

TEST_F(WindowHandlers, NotificationListServesOnlyCommands)
{
    RecordingTarget notification(&log, "notification", 1);
    window.AddNotificationHandler(std::make_unique<HandlerDescriptor>(
        0u, 65535u, AsEventHandler(&RecordingTarget::Handle), &notification, WM_USER + 7));
    SendMessageA(window.Handle(), WM_USER + 7, 0, 0);
    EXPECT_TRUE(log.empty());
}

// The cursor and hit-test questions reach the lists only when routed to them, which nothing does by itself.
TEST(WindowHandlersPerRow, CursorAndHitTestQuestionsNeedTheirRouting)
{
    for (const UINT message : {WM_SETCURSOR, WM_NCHITTEST}) {
        ScopedApplication app;
        Log log;
        RecordingTopWindow window(&log, "w");
        window.Create();
        RecordingTarget handler(&log, "handler", 1);
        window.AddHandler(&handler, &RecordingTarget::Handle, message);
        SendMessageA(window.Handle(), message, reinterpret_cast<WPARAM>(window.Handle()), 0);
        EXPECT_TRUE(log.empty()) << message;
        window.RouteToListsFirst(message);
        EXPECT_EQ(SendMessageA(window.Handle(), message, reinterpret_cast<WPARAM>(window.Handle()), 0), 0)
            << message;
        EXPECT_EQ(log, (Log{"handler"})) << message;
    }
}

TEST_F(WindowHandlers, RemovingANotificationHandlerTakesThatDescriptorOnly)
{
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
    EXPECT_EQ(log, (Log{"click"}));
    EXPECT_EQ(window.commands, (std::vector<unsigned>{21}));
}

} // namespace
