#include "tests/support/ProgramLoop.h"

#include "framework/window/FrameworkApp.h"
#include "framework/window/IdleList.h"

bool RunProgramLoopUntil(const std::function<bool()>& condition, DWORD deadline)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= deadline)
            return false;
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return condition();
            }
            TheApp->ProcessMessage(message);
            continue;
        }
        IdleList* idle = TheApp->Idle();
        if (idle != nullptr && idle->Count() >= 1)
            idle->Run();
        else
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}
