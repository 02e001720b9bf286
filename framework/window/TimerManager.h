#pragma once
// Multiplexes every framework timer onto one system timer (id 1, 100 ms) on the main window; each WM_TIMER
// that reaches a framework window runs the tick, which calls the timers whose interval has elapsed.

#include "framework/window/WalkableList.h"
#include "framework/window/WindowEvent.h"

#include <vector>

class Timer;

// Where timers read the time; GetTickCount unless a test sets another clock.
using TickSource = DWORD (*)();

class TimerManager {
public:
    static const UINT_PTR SystemTimerId = 1;
    static const UINT SystemTimerPeriod = 100;

    TimerManager() = default;
    TimerManager(const TimerManager&) = delete;
    TimerManager& operator=(const TimerManager&) = delete;
    ~TimerManager();

    // Starts the system timer the first time; puts the timer at the front of its list.
    void Add(Timer* timer);
    // Starts the system timer on the main window, once that window exists; called again when the main
    // window has been created, for timers made before it.
    void StartSystemTimer();
    // Takes the timer out of the repeating list, else out of the one-shot list; absent is harmless.
    void Remove(Timer* timer);
    // Calls every timer whose interval has elapsed: one-shot timers leave the list, repeating ones restart.
    void Tick(WindowEvent* event);

    bool Started() const { return started_; }
    int Count() const { return oneShot_.Count() + repeating_.Count(); }

    static DWORD Now();
    // Replaces the clock; returns the previous one. Null restores GetTickCount.
    static TickSource SetTickSource(TickSource source);

private:
    WalkableList<Timer*> oneShot_;
    WalkableList<Timer*> repeating_;
    // The repeating timers whose functions are running now: a nested message loop inside a timer's
    // function must not call that timer again.
    std::vector<const Timer*> running_;
    bool started_ = false;
    HWND timerWindow_ = nullptr;
};
