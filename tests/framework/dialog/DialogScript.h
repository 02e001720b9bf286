#pragma once
// Drives a modal dialog from inside its own message loop: each step runs when the dialog's loop reads a
// posted message, after the effects of the step before, so a test fills, presses and closes a dialog as a
// person would.

#include "framework/dialog/DialogFrameCL.h"

#include <deque>
#include <functional>

class DialogScript : public EventTarget {
public:
    static const UINT StepMessage = WM_APP + 7;

    explicit DialogScript(DialogFrameCL& dialog) : dialog_(dialog)
    {
        dialog.AddHandler(this, &DialogScript::RunStep, StepMessage);
    }

    DialogScript& Then(std::function<void()> step)
    {
        steps_.push_back(std::move(step));
        return *this;
    }
    // Sends a command to the dialog as its button would.
    DialogScript& Press(unsigned id)
    {
        return Then([this, id] { SendMessageA(dialog_.Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); });
    }
    // Posts the first step and runs the dialog.
    void Run()
    {
        PostMessageA(dialog_.Handle(), StepMessage, 0, 0);
        dialog_.RunModal();
    }

private:
    long RunStep(WindowEvent*)
    {
        if (steps_.empty())
            return 1;
        std::function<void()> step = std::move(steps_.front());
        steps_.pop_front();
        step();
        // Posted after the step, so that a dialog the step ran modally never sees it.
        if (!steps_.empty())
            PostMessageA(dialog_.Handle(), StepMessage, 0, 0);
        return 1;
    }

    DialogFrameCL& dialog_;
    std::deque<std::function<void()>> steps_;
};
