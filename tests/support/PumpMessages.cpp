#include "tests/support/PumpMessages.h"

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

void PumpMessagesFor(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    PumpMessagesUntil([&] { return GetTickCount() - start >= milliseconds; }, milliseconds + 1000);
}

bool DrainQuitMessage()
{
    MSG message;
    bool found = false;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        found = true;
    return found;
}
