#include "tests/support/PumpMessages.h"

#include <map>

namespace {

// The quit code of each running QuitAfter timer.
std::map<UINT_PTR, int>& QuitCodes()
{
    static std::map<UINT_PTR, int> codes;
    return codes;
}

void CALLBACK PostQuitOnTimer(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    auto found = QuitCodes().find(timer);
    if (found == QuitCodes().end())
        return;
    const int code = found->second;
    QuitCodes().erase(found);
    PostQuitMessage(code);
}

} // namespace

bool PumpMessagesUntil(const std::function<bool()>& condition, DWORD deadline)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return condition();
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
            if (condition())
                return true;
        }
        if (GetTickCount() - start >= deadline)
            return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool PumpMessagesUntilEvery(DWORD interval, const std::function<bool()>& condition, DWORD deadline)
{
    bool checked = false;
    DWORD last = 0;
    bool held = false;
    PumpMessagesUntil(
        [&] {
            if (checked && GetTickCount() - last < interval)
                return false;
            checked = true;
            last = GetTickCount();
            held = condition();
            return held;
        },
        deadline);
    return held;
}

void PumpMessagesFor(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    // Until the queue is empty too: a thread held up for longer than the time still handles what was queued.
    PumpMessagesUntil(
        [&] {
            MSG pending;
            return GetTickCount() - start >= milliseconds && !PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE);
        },
        milliseconds + 1000);
}

bool DrainQuitMessage()
{
    MSG message;
    bool found = false;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        found = true;
    return found;
}

QuitAfter::QuitAfter(UINT milliseconds, int code) : timer_(SetTimer(nullptr, 0, milliseconds, PostQuitOnTimer))
{
    QuitCodes()[timer_] = code;
}

QuitAfter::~QuitAfter()
{
    KillTimer(nullptr, timer_);
    QuitCodes().erase(timer_);
}
