#pragma once
// A software timer: calls a member function of its target every interval (milliseconds) on the
// application's one 100 ms system timer. The timer runs from construction until Stop.

#include "framework/window/EventTarget.h"

using TimerFunction = void (EventTarget::*)();

class Timer {
public:
    // A repeating timer unless repeating is 0 (then it fires once and leaves the manager).
    Timer(EventTarget* target, TimerFunction function, DWORD interval, int repeating = 1);
    template <class T>
    Timer(T* target, void (T::*function)(), DWORD interval, int repeating = 1)
        : Timer(static_cast<EventTarget*>(target), static_cast<TimerFunction>(function), interval, repeating)
    {
    }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    // Stops the timer, so that a forgotten Stop never leaves the manager calling a deleted timer.
    ~Timer();

    void Stop();

    void Fire() { (target_->*function_)(); }
    DWORD Interval() const { return interval_; }
    DWORD StartTick() const { return startTick_; }
    void Restart(DWORD now) { startTick_ = now; }
    int Repeats() const { return repeating_; }

private:
    EventTarget* target_;
    TimerFunction function_;
    DWORD interval_;
    DWORD startTick_ = 0;
    int repeating_;
};
