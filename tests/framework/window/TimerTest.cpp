#include "framework/window/FrameworkApp.h"
#include "framework/window/Timer.h"
#include "framework/window/TimerManager.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

DWORD FakeNow = 0;

DWORD FakeClock()
{
    return FakeNow;
}

// Puts the timers on a clock the test sets, for the test's scope.
class FakeClockScope {
public:
    explicit FakeClockScope(DWORD start)
    {
        FakeNow = start;
        previous_ = TimerManager::SetTickSource(FakeClock);
    }
    ~FakeClockScope() { TimerManager::SetTickSource(previous_); }

private:
    TickSource previous_;
};

class Counter : public EventTarget {
public:
    Counter(std::vector<std::string>* log = nullptr, std::string name = "") : log_(log), name_(std::move(name)) {}
    void Count()
    {
        ++count;
        depthAtFire = TheApp->LoopDepth();
        if (log_)
            log_->push_back(name_);
        if (onFire)
            onFire();
    }
    int count = 0;
    int depthAtFire = 0;
    std::function<void()> onFire;

private:
    std::vector<std::string>* log_;
    std::string name_;
};

void Tick()
{
    TheApp->Timers()->Tick(nullptr);
}

void TickAt(DWORD now)
{
    FakeNow = now;
    Tick();
}

// Ticks every 100 ms from 100 to 1000 and gives the count then.
int CountAfterASecond(Counter& counter)
{
    for (DWORD now = 100; now <= 1000; now += 100)
        TickAt(now);
    return counter.count;
}

class TimerOnWindow : public testing::Test, protected AppWithFrame {};

TEST(Timer, FiresOnTheFirstTickAtOrAfterItsIntervalThenEveryInterval)
{
    ScopedApplication app;
    FakeClockScope clock(5000);
    Counter counter;
    Timer timer(&counter, &Counter::Count, 1000);
    struct Step {
        DWORD now;
        int count;
    };
    const Step steps[] = {{5100, 0}, {5900, 0}, {6000, 1}, {6100, 1}, {6900, 1}, {7000, 2},
                          {8500, 3}, {9400, 3}, {9500, 4}};
    for (const Step& step : steps) {
        TickAt(step.now);
        EXPECT_EQ(counter.count, step.count) << "at " << step.now;
    }
    timer.Stop();
}

TEST(Timer, KeepsWorkingAcrossTheTickCountersWrap)
{
    ScopedApplication app;
    FakeClockScope clock(0xFFFFFF00u);
    Counter counter;
    Timer timer(&counter, &Counter::Count, 500);
    TickAt(0xFFFFFF64u);
    EXPECT_EQ(counter.count, 0);
    TickAt(0x000000F3u);
    EXPECT_EQ(counter.count, 0);
    TickAt(0x000000F4u);
    EXPECT_EQ(counter.count, 1);
    timer.Stop();
}

TEST(Timer, TimersMadeOneAfterTheOtherFireInReverseOrderWithinOneTick)
{
    ScopedApplication app;
    FakeClockScope clock(1000);
    std::vector<std::string> log;
    Counter first(&log, "first");
    Counter second(&log, "second");
    Timer a(&first, &Counter::Count, 500);
    Timer b(&second, &Counter::Count, 500);
    TickAt(1500);
    EXPECT_EQ(log, (std::vector<std::string>{"second", "first"}));
}

TEST(Timer, TimerStoppedInItsOwnFunctionIsNotCalledAgain)
{
    ScopedApplication app;
    FakeClockScope clock(0);
    Counter counter;
    Timer timer(&counter, &Counter::Count, 100);
    counter.onFire = [&] { timer.Stop(); };
    EXPECT_EQ(CountAfterASecond(counter), 1);
    EXPECT_EQ(app->Timers()->Count(), 0);
}

TEST(Timer, OneShotTimerFiresOnceAndLeaves)
{
    ScopedApplication app;
    FakeClockScope clock(0);
    Counter counter;
    Timer timer(&counter, &Counter::Count, 200, 0);
    EXPECT_EQ(CountAfterASecond(counter), 1);
    EXPECT_EQ(app->Timers()->Count(), 0);
}

TEST(Timer, DeletedTimerLeavesTheManager)
{
    ScopedApplication app;
    FakeClockScope clock(0);
    Counter counter;
    {
        Timer timer(&counter, &Counter::Count, 100);
        EXPECT_EQ(app->Timers()->Count(), 1);
    }
    EXPECT_EQ(app->Timers()->Count(), 0);
    TickAt(500);
    EXPECT_EQ(counter.count, 0);
}

TEST_F(TimerOnWindow, RunsOnTheSystemTimerOfTheMainWindow)
{
    Counter counter;
    Timer timer(&counter, &Counter::Count, 200);
    EXPECT_TRUE(app->Timers()->Started());
    EXPECT_TRUE(PumpMessagesUntil([&] { return counter.count >= 2; }));
    timer.Stop();
    // The one system timer: id 1 on the main window, still running with no framework timer left.
    EXPECT_TRUE(KillTimer(frame.Handle(), TimerManager::SystemTimerId));
}

TEST_F(TimerOnWindow, TimerMessagesOfAnyIdOnAnyFrameworkWindowRunTheTick)
{
    RecordingTopWindow other(nullptr, "other");
    other.Create();
    FakeClockScope clock(1000);
    Counter counter;
    Timer timer(&counter, &Counter::Count, 300);
    FakeNow = 1300;
    SendMessageA(other.Handle(), WM_TIMER, 77, 0);
    EXPECT_EQ(counter.count, 1);
    FakeNow = 1600;
    SendMessageA(frame.Handle(), WM_TIMER, TimerManager::SystemTimerId, 0);
    EXPECT_EQ(counter.count, 2);
    timer.Stop();
}

TEST_F(TimerOnWindow, TimerMessageBeforeAnyTimerDoesNothing)
{
    EXPECT_EQ(app->Timers(), nullptr);
    EXPECT_EQ(SendMessageA(frame.Handle(), WM_TIMER, 5, 0), 0);
    EXPECT_EQ(app->Timers(), nullptr);
}

// Runs a nested message loop that ends when the timer has fired three times.
class NestedLoopRunner : public EventTarget {
public:
    long Run(WindowEvent*)
    {
        TheApp->SetModalFlag(1);
        TheApp->RunMessageLoop();
        TheApp->SetModalFlag(0);
        PostQuitMessage(6);
        return 1;
    }
};

TEST_F(TimerOnWindow, FiresInsideNestedLoops)
{
    Counter counter;
    int firesInNestedLoop = 0;
    counter.onFire = [&] {
        if (TheApp->LoopDepth() == 2 && ++firesInNestedLoop == 3)
            PostQuitMessage(0);
    };
    Timer timer(&counter, &Counter::Count, 100);
    NestedLoopRunner runner;
    app->AddHandler(&runner, &NestedLoopRunner::Run, WM_USER + 20);
    PostMessageA(frame.Handle(), WM_USER + 20, 0, 0);
    QuitAfter safety(30000, 99);
    app->RunMessageLoop();
    EXPECT_EQ(app->ExitCode(), 6);
    EXPECT_EQ(firesInNestedLoop, 3);
    timer.Stop();
}

TEST(Timer, TimerMadeBeforeTheMainWindowStartsWithIt)
{
    ScopedApplication app;
    RecordingTopWindow frame;
    Counter counter;
    Timer timer(&counter, &Counter::Count, 100);
    EXPECT_FALSE(app->Timers()->Started());
    frame.Create();
    EXPECT_TRUE(app->Timers()->Started());
    EXPECT_TRUE(PumpMessagesUntil([&] { return counter.count >= 1; }));
    timer.Stop();
}

TEST_F(TimerOnWindow, RepeatingTimerIsNotEnteredAgainFromANestedLoopInItsOwnFunction)
{
    Counter outer;
    Counter inner;
    Timer outerTimer(&outer, &Counter::Count, 100);
    Timer innerTimer(&inner, &Counter::Count, 100);
    bool nestedLoopDone = false;
    outer.onFire = [&] {
        if (outer.count > 1)
            return;
        const int innerBefore = inner.count;
        inner.onFire = [&, innerBefore] {
            if (inner.count == innerBefore + 3)
                PostQuitMessage(0);
        };
        QuitAfter safety(20000, 99);
        TheApp->RunMessageLoop();
        nestedLoopDone = true;
    };
    EXPECT_TRUE(PumpMessagesUntil([&] { return nestedLoopDone; }));
    EXPECT_EQ(app->ExitCode(), 0);
    EXPECT_EQ(outer.count, 1);
    outerTimer.Stop();
    innerTimer.Stop();
}

} // namespace
