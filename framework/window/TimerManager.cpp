#include "framework/window/TimerManager.h"

#include "foundation/SystemClock.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/Timer.h"
#include "framework/window/TopWindow.h"

#include <algorithm>

namespace {

DWORD SystemTicks()
{
    return MillisecondTicks();
}

TickSource CurrentTickSource = nullptr;

// Elapsed time in unsigned arithmetic, so that the tick counter's wrap after 49.7 days changes nothing.
bool IntervalElapsed(const Timer* timer, DWORD now)
{
    return now - timer->StartTick() >= timer->Interval();
}

} // namespace

TimerManager::~TimerManager()
{
    if (started_ && timerWindow_ && IsWindow(timerWindow_))
        KillTimer(timerWindow_, SystemTimerId);
}

DWORD TimerManager::Now()
{
    return CurrentTickSource ? CurrentTickSource() : SystemTicks();
}

TickSource TimerManager::SetTickSource(TickSource source)
{
    TickSource previous = CurrentTickSource;
    CurrentTickSource = source;
    return previous;
}

void TimerManager::StartSystemTimer()
{
    if (started_ || !TheApp || !TheApp->MainWindow())
        return;
    HWND window = TheApp->MainWindow()->Handle();
    if (window && SetTimer(window, SystemTimerId, SystemTimerPeriod, nullptr)) {
        timerWindow_ = window;
        started_ = true;
    }
}

void TimerManager::Add(Timer* timer)
{
    StartSystemTimer();
    if (timer->Repeats())
        repeating_.PushFront(timer);
    else
        oneShot_.PushFront(timer);
}

void TimerManager::Remove(Timer* timer)
{
    auto same = [timer](Timer* entry) { return entry == timer; };
    if (!repeating_.RemoveFirst(same))
        oneShot_.RemoveFirst(same);
}

void TimerManager::Tick(WindowEvent*)
{
    const DWORD now = Now();
    {
        WalkableList<Timer*>::Walk walk(oneShot_);
        while (Timer** entry = walk.Next()) {
            Timer* timer = *entry;
            if (IntervalElapsed(timer, now)) {
                // Off the list before the call: a timer function that runs a nested loop must not be
                // called again by the ticks of that loop.
                walk.RemoveCurrent();
                timer->Fire();
            }
        }
    }
    WalkableList<Timer*>::Walk walk(repeating_);
    while (Timer** entry = walk.Next()) {
        Timer* timer = *entry;
        if (!IntervalElapsed(timer, now) || std::find(running_.begin(), running_.end(), timer) != running_.end())
            continue;
        timer->Restart(now);
        // The timer may stop and delete itself while it runs: it is only compared, never used, afterwards.
        running_.push_back(timer);
        timer->Fire();
        running_.erase(std::find(running_.begin(), running_.end(), timer));
    }
}
