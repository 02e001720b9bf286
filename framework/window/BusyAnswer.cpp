#include "framework/window/BusyAnswer.h"

#include <windows.h>
#include <dde.h>

namespace {

int answering = 0;
DWORD lastAnswer = 0;

// At most once in kAnswerMilliseconds, so that a loop may ask at every turn: answers what other threads and
// programs sent, and with dde also takes the DDE messages they posted.
void AnswerNow(bool dde)
{
    const DWORD now = GetTickCount();
    if (now - lastAnswer < kAnswerMilliseconds)
        return;
    lastAnswer = now;
    ++answering;
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    while (dde && PeekMessageA(&message, nullptr, WM_DDE_FIRST, WM_DDE_LAST, PM_REMOVE))
        DispatchMessageA(&message);
    --answering;
}

} // namespace

void AnswerSentMessages()
{
    AnswerNow(false);
}

void AnswerOtherPrograms()
{
    AnswerNow(true);
}

bool AnsweringWhileBusy()
{
    return answering > 0;
}
