#include "framework/window/BusyAnswer.h"

#include <windows.h>

namespace {

int answering = 0;
DWORD lastAnswer = 0;

} // namespace

void AnswerSentMessages()
{
    const DWORD now = GetTickCount();
    if (now - lastAnswer < kAnswerMilliseconds)
        return;
    lastAnswer = now;
    ++answering;
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    --answering;
}

bool AnsweringWhileBusy()
{
    return answering > 0;
}
