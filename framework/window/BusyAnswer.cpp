#include "framework/window/BusyAnswer.h"

#include <windows.h>
#include <dde.h>

namespace {

int answering = 0;
DWORD lastAnswer = 0;

} // namespace

namespace {

// True at most once in kAnswerMilliseconds, so that a loop may ask at every turn.
bool TimeToAnswer()
{
    const DWORD now = GetTickCount();
    if (now - lastAnswer < kAnswerMilliseconds)
        return false;
    lastAnswer = now;
    return true;
}

} // namespace

void AnswerSentMessages()
{
    if (!TimeToAnswer())
        return;
    ++answering;
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    --answering;
}

void AnswerOtherPrograms()
{
    if (!TimeToAnswer())
        return;
    ++answering;
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    while (PeekMessageA(&message, nullptr, WM_DDE_FIRST, WM_DDE_LAST, PM_REMOVE))
        DispatchMessageA(&message);
    --answering;
}

bool AnsweringWhileBusy()
{
    return answering > 0;
}
