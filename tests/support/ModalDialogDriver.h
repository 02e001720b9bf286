#pragma once
// Answers the framework's modal dialogs from a thread timer, one step per tick, as a person would: each
// step gets the innermost running dialog. For dialogs that code under test makes and runs itself. A step
// that pumps messages (a wait for idle) is not interrupted by the next one, unless it opened a dialog.

#include "framework/dialog/DialogFrameCL.h"
#include "tests/support/DescendantControl.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScreenCheck.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

class ModalDialogDriver {
public:
    using Step = std::function<void(DialogFrameCL&)>;

    ModalDialogDriver() { timer_ = SetTimer(nullptr, 0, 30, &ModalDialogDriver::Tick); Current() = this; }
    ~ModalDialogDriver()
    {
        KillTimer(nullptr, timer_);
        Current() = nullptr;
    }
    ModalDialogDriver(const ModalDialogDriver&) = delete;
    ModalDialogDriver& operator=(const ModalDialogDriver&) = delete;

    ModalDialogDriver& Then(Step step)
    {
        steps_.push_back(std::move(step));
        return *this;
    }
    // Presses a button of the dialog.
    ModalDialogDriver& Press(unsigned id)
    {
        return Then([id](DialogFrameCL& dialog) {
            SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        });
    }
    // Clicks a button of the dialog, as the mouse does.
    ModalDialogDriver& Click(unsigned id)
    {
        return Then([id](DialogFrameCL& dialog) {
            SendMessageA(GetDlgItem(dialog.Handle(), static_cast<int>(id)), BM_CLICK, 0, 0);
        });
    }
    // A click on a control of the dialog with the pointer, as a person gives it.
    static Step Clicking(unsigned id)
    {
        return [id](DialogFrameCL& dialog) { RealInput::ClickAndDispatch(RealInput::Middle(dialog.Control(id))); };
    }
    // A person's click on a control of the running dialog or of one of its pages, or on a line of a list.
    static Step ClickingWithin(unsigned id, int line = -1)
    {
        return [id, line](DialogFrameCL& dialog) {
            const HWND control = FindDescendant(dialog.Handle(), id);
            ASSERT_NE(control, nullptr) << id << " in dialog " << dialog.Id();
            ScreenOnTop onTop(dialog.Handle());
            if (line < 0)
                return RealInput::ClickAndDispatch(RealInput::Middle(control));
            RECT item{};
            SendMessageA(control, LB_GETITEMRECT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&item));
            RealInput::ClickAndDispatch(
                RealInput::OnScreen(control, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2}));
        };
    }
    // Types a text into a field of the dialog.
    ModalDialogDriver& Type(unsigned id, const char* text)
    {
        return Then([id, text](DialogFrameCL& dialog) { SetWindowTextA(dialog.FindChild(id)->Handle(), text); });
    }
    bool Finished() const { return steps_.empty(); }

private:
    static ModalDialogDriver*& Current()
    {
        static ModalDialogDriver* current = nullptr;
        return current;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalDialogDriver* driver = Current();
        const auto& stack = DialogFrameCL::ModalStack();
        if (!driver || driver->steps_.empty() || stack.empty() || !IsWindowVisible(stack.back()->Handle()) ||
            driver->busy_ == stack.back())
            return;
        Step step = std::move(driver->steps_.front());
        driver->steps_.pop_front();
        DialogFrameCL* outer = driver->busy_;
        driver->busy_ = stack.back();
        step(*stack.back());
        driver->busy_ = outer;
    }

    UINT_PTR timer_;
    // The dialog whose step runs now.
    DialogFrameCL* busy_ = nullptr;
    std::deque<Step> steps_;
};
