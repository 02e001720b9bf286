#pragma once
// Keeps the program answering while a long step runs on its thread: AnswerSentMessages lets the thread's
// windows take the messages other threads and processes send them (and the system read the keyboard, so that
// Escape is seen), at most once every kAnswerMilliseconds. Nothing posted is taken, so no input, paint or
// timer runs inside the step; a command or close sent meanwhile is refused, not run in the middle of it.

#include <cstdint>

constexpr uint32_t kAnswerMilliseconds = 50;

void AnswerSentMessages();

// The same, and then the DDE messages other programs posted (their requests, executes and pokes), which the
// thread's DDE windows take at once: a script running line after line answers other programs meanwhile.
void AnswerOtherPrograms();

// The same from a loop over many items (nodes): the clock is read only once every 1024 calls.
inline void AnswerSentMessagesInLoop()
{
    static uint32_t calls = 0;
    if ((++calls & 1023u) == 0)
        AnswerSentMessages();
}

// True while AnswerSentMessages runs: the window procedure refuses commands then.
bool AnsweringWhileBusy();
