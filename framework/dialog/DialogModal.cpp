// Running a dialog modally, ending it, and the dialog window procedure: keyboard navigation, the default
// button, focus memory and command routing.

#include "framework/dialog/DialogFrameCL.h"

#include "framework/dialog/CommandTarget.h"
#include "framework/dialog/Menu.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/TopWindow.h"
#include "framework/window/WindowMap.h"

#include <algorithm>

namespace {

bool IsLive(HWND handle)
{
    return handle && IsWindow(handle);
}

HWND MainWindowHandle()
{
    return TheApp && TheApp->MainWindow() ? TheApp->MainWindow()->Handle() : nullptr;
}

std::vector<DialogFrameCL*>& MutableStack()
{
    static std::vector<DialogFrameCL*> stack;
    return stack;
}

} // namespace

const std::vector<DialogFrameCL*>& DialogFrameCL::ModalStack()
{
    return MutableStack();
}

void DialogFrameCL::RunModal()
{
    std::vector<DialogFrameCL*>& stack = MutableStack();
    if (!stack.empty() && IsLive(stack.back()->Handle()))
        EnableWindow(stack.back()->Handle(), FALSE);
    stack.push_back(this);
    modal_ = 1;
    const HWND focus = focusBefore_;
    if (parent_) {
        EnableWindow(parent_->Handle(), FALSE);
        HWND main = MainWindowHandle();
        if (main && main != parent_->Handle())
            EnableWindow(main, FALSE);
    }
    if (!(state_ & StateShown) || !IsWindowVisible(handle_))
        Show(SW_SHOW);
    ComeToFront();
    if (TheApp) {
        const int previousFlag = TheApp->ModalFlag();
        TheApp->SetModalFlag(1);
        TheApp->RunMessageLoop();
        TheApp->SetModalFlag(previousFlag);
    }
    // A loop that ended for the application's quit leaves the dialog on the stack.
    if (std::find(stack.begin(), stack.end(), this) != stack.end())
        LeaveModalStack();
    if (IsLive(focus) && focus != handle_ && !IsChild(handle_, focus))
        SetFocus(focus);
    else if (HWND main = MainWindowHandle())
        SetFocus(main);
    modal_ = 0;
}

void DialogFrameCL::ComeToFront()
{
    if (!IsLive(handle_) || (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD))
        return;
    // The owner comes along without the activation, so that the dialog stands over the window it belongs to.
    HWND owner = GetWindow(handle_, GW_OWNER);
    if (owner && owner != handle_)
        SetWindowPos(GetAncestor(owner, GA_ROOT), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    BringWindowToTop(handle_);
    SetForegroundWindow(handle_);
}

void DialogFrameCL::LeaveModalStack()
{
    std::vector<DialogFrameCL*>& stack = MutableStack();
    auto found = std::find(stack.begin(), stack.end(), this);
    if (found == stack.end())
        return;
    stack.erase(found);
    if (!stack.empty() && IsLive(stack.back()->Handle())) {
        EnableWindow(stack.back()->Handle(), TRUE);
        return;
    }
    if (parent_)
        EnableWindow(parent_->Handle(), TRUE);
    HWND main = MainWindowHandle();
    if (main && (!parent_ || main != parent_->Handle()))
        EnableWindow(main, TRUE);
}

void DialogFrameCL::EndModal()
{
    if (modal_)
        LeaveModalStack();
    ::ShowWindow(handle_, SW_HIDE);
    UpdateWindow(handle_);
    if (modal_)
        PostQuitMessage(0);
    if (state_ & StateDeleteWithWindow)
        PostMessageA(handle_, DeleteLater, 0, 0);
}

long DialogFrameCL::OnFocusChange(bool gained)
{
    if (!gained)
        return 0;
    if (WindowCL* first = DialogTemplateEngine::FirstTabStop(*this))
        SetFocus(first->Handle());
    return 1;
}

void DialogFrameCL::OnChildFocusChange()
{
    engine_.FollowFocus(*this);
}

long DialogFrameCL::OnActivation(bool active)
{
    if (!active)
        engine_.KeepFocus(handle_);
    else
        engine_.GiveFocusBack();
    return 1;
}

long DialogFrameCL::HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    const AnswerNow answerNow{answeredAtOnce, answer};
    const std::shared_ptr<const bool> alive = LifeToken();

    long result = 0;
    if (engine_.HandleKeyboardRow(*this, event, result, answeredAtOnce, answer))
        return result;
    switch (event.message) {
    case WM_DESTROY:
        return 1;
    case WM_ACTIVATE:
        // Deactivated, the dialog gives the keys up only if it still has them: the window activated may
        // have taken them already.
        if (TheApp && event.Activating())
            TheApp->SetModelessDialog(handle_);
        else if (TheApp)
            TheApp->ForgetModelessDialog(handle_);
        return WindowCL::HandleMessage(event, answeredAtOnce, answer);
    case WM_CLOSE:
        // A modal dialog that nothing else closes ends its run.
        result = WindowCL::HandleMessage(event, answeredAtOnce, answer);
        if (result || answeredAtOnce || !*alive || !modal_)
            return result;
        EndModal();
        return 1;
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        // A click elsewhere in the dialog closes an open drop-down list.
        result = WindowCL::HandleMessage(event, answeredAtOnce, answer);
        if (!result && !answeredAtOnce && *alive)
            DialogTemplateEngine::CloseDropDown(handle_);
        return result;
    case DeleteLater:
        delete this;
        return answerNow(0);
    default:
        // Moves, sizes, focus, commands and menus, timers, colours, scrolling, the mouse, WM_NCDESTROY and the
        // rest as every framework window.
        return WindowCL::HandleMessage(event, answeredAtOnce, answer);
    }
}
