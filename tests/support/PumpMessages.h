#pragma once
// Test helpers for window tests: pump this thread's messages until a condition holds or a deadline passes.
// Deadlines are generous because the tests run under Wine on loaded machines; a condition that holds
// returns at once, so generous deadlines cost nothing when things work.

#include <windows.h>

#include <functional>

// Long enough for a loaded machine; short enough that a broken test still ends.
const DWORD DefaultPumpDeadline = 20000;

// Dispatches messages until the condition holds (checked after every message and between waits) or the
// deadline (milliseconds) passes; answers the condition. A WM_QUIT met on the way is posted again and ends
// the pumping, so that the loop it was meant for still sees it.
bool PumpMessagesUntil(const std::function<bool()>& condition, DWORD deadline = DefaultPumpDeadline);

// As PumpMessagesUntil, checking the condition at most once in each interval: for a check that costs other
// processes something (a DDE connect sends its request to every top-level window of the display).
bool PumpMessagesUntilEvery(DWORD interval, const std::function<bool()>& condition,
                            DWORD deadline = DefaultPumpDeadline);

// Dispatches messages for the given time, and until nothing is left queued (for up to a second more).
void PumpMessagesFor(DWORD milliseconds);

// Takes a pending WM_QUIT off this thread's queue; answers whether there was one.
bool DrainQuitMessage();

// Posts WM_QUIT with a code from a thread timer once the given time has passed, so that a message loop under
// test ends even when the code under test fails to end it. The timer is killed when the object goes.
class QuitAfter {
public:
    QuitAfter(UINT milliseconds, int code);
    QuitAfter(const QuitAfter&) = delete;
    QuitAfter& operator=(const QuitAfter&) = delete;
    ~QuitAfter();

private:
    UINT_PTR timer_;
};
