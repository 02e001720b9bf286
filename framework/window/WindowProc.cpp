// The generic window procedure: finds the window object, offers the message to the handler lists and the
// window's virtual operations in a fixed order, and leaves what nobody handled to the default processing.

#include "framework/dialog/CommandTarget.h"
#include "framework/dialog/Menu.h"
#include "framework/window/BusyAnswer.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/TimerManager.h"
#include "framework/window/WindowCL.h"
#include "framework/window/WindowMap.h"

namespace {

CommandTarget* MenuTargetOf(const WindowCL* window)
{
    return (window->RoutingMask() & WindowCL::RouteMenu) ? window->MenuObject() : nullptr;
}

// What another process may send while a long step answers it: the step's state is not the command's.
bool RefusedWhileBusy(UINT message)
{
    return message == WM_COMMAND || message == WM_SYSCOMMAND || message == WM_CLOSE || message == WM_QUERYENDSESSION;
}

} // namespace

WindowCL* WindowCL::FromHandle(HWND handle)
{
    return TheApp && TheApp->Map() ? TheApp->Map()->Find(handle) : nullptr;
}

LRESULT CALLBACK WindowCL::WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (AnsweringWhileBusy() && RefusedWhileBusy(message))
        return 0;
    WindowEvent event{lParam, wParam, message, handle};
    WindowCL* window = FromMessage(handle, message, lParam);
    if (!window)
        return handle ? DefWindowProcA(handle, message, wParam, lParam) : 0;
    return Deliver(window, event);
}

LRESULT WindowCL::Deliver(WindowCL* window, WindowEvent& event)
{
    const std::shared_ptr<const bool> alive = window->LifeToken();
    bool answeredAtOnce = false;
    LRESULT answer = 0;
    const long result = window->HandleMessage(event, answeredAtOnce, answer);
    if (answeredAtOnce)
        return answer;
    if (result)
        return 0;
    if (!*alive)
        return IsWindow(event.window) ? DefWindowProcA(event.window, event.message, event.wParam, event.lParam) : 0;
    return window->DefaultProcessing(&event);
}

long WindowCL::HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    const AnswerNow answerNow{answeredAtOnce, answer};
    // Lists first: when the message is routed to them, a handler that takes it answers 1 to the system.
    auto listsTake = [&] { return ListsFirst(event.message) && DispatchToLists(&event); };
    // Whether this object survived the operation just called: nothing of it is touched otherwise.
    const std::shared_ptr<const bool> alive = alive_;

    switch (event.message) {
    case WM_MOVE: {
        const long result = OnMove(&event);
        if (*alive && layout_) {
            const POINT origin = event.Point();
            layout_->SetPosition(origin.x, origin.y);
        }
        return result;
    }
    case WM_SIZE: {
        const long result = OnSize(&event);
        if (*alive)
            LayoutChildren(&event);
        return result;
    }
    case WM_ACTIVATE:
        return listsTake() ? answerNow(1) : OnActivate(&event);
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        const long result = listsTake() ? answerNow(1) : OnFocus(&event);
        // The parent learns where the focus went (a dialog moves its default frame with it).
        if (*alive && parent_)
            parent_->OnChildFocusChange();
        return result;
    }
    case WM_CLOSE:
        return listsTake() ? answerNow(1) : OnClose(&event);
    case WM_ERASEBKGND:
        return EraseBackground(&event);
    case WM_SETCURSOR:
    case WM_NCHITTEST:
        return ListsFirst(event.message) ? DispatchToLists(&event) : 0;
    case WM_NCDESTROY:
        SetStateBits(StateWindowGone);
        TheApp->Map()->Remove(event.window);
        if (state_ & StateDeleteWithWindow)
            delete this;
        return answerNow(0);
    case WM_COMMAND:
        return RouteCommand(event, answeredAtOnce, answer);
    case WM_TIMER:
        if (TheApp->Timers())
            TheApp->Timers()->Tick(&event);
        return 0;
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
    case WM_MENUSELECT:
        if (CommandTarget* menu = MenuTargetOf(this)) {
            if (long taken = menu->Dispatch(&event))
                return answerNow(taken);
            if (!*alive)
                return 0;
        }
        return DispatchToLists(&event);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        if (HBRUSH brush = ChildColours(&event))
            return answerNow(reinterpret_cast<LRESULT>(brush));
        return 0;
    case WM_DRAWITEM: {
        // The face goes back to the control's own object; menu items have no window.
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(event.lParam);
        WindowCL* control = item && item->CtlType != ODT_MENU ? FromHandle(item->hwndItem) : nullptr;
        if (control && control != this && control->OnDrawItem(*item))
            return answerNow(TRUE);
        return DispatchToLists(&event);
    }
    case WM_MOUSEMOVE:
        if (cursor_.Handle())
            ::SetCursor(cursor_.Handle());
        return listsTake() ? answerNow(1) : OnMouseMove(&event);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        return listsTake() ? answerNow(1) : OnButtonDown(&event);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        return listsTake() ? answerNow(1) : OnButtonUp(&event);
    case WM_KEYDOWN:
    case WM_KEYUP: {
        // Other objects watch a window's keys through its lists; what they leave goes to the window.
        if (long taken = DispatchToLists(&event))
            return taken;
        return event.message == WM_KEYDOWN ? OnKeyDown(event.Key(), event.AltDown())
                                           : OnKeyUp(event.Key(), event.AltDown());
    }
    default:
        return DispatchToLists(&event);
    }
}

long WindowCL::RouteCommand(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    const std::shared_ptr<const bool> alive = alive_;
    if (CommandTarget* popup = TheApp ? TheApp->TrackedPopupMenu() : nullptr) {
        if (long taken = popup->Dispatch(&event)) {
            answeredAtOnce = true;
            answer = taken;
            return 0;
        }
        if (!*alive)
            return 1;
    }
    if (CommandTarget* menu = MenuTargetOf(this)) {
        if (menu->Dispatch(&event) || !*alive)
            return 1;
    }
    if (long taken = DispatchEvent(&event))
        return taken;
    return OnCommand(&event);
}
