// The generic window procedure: finds the window object, offers the message to the handler lists and the
// window's virtual operations in a fixed order, and leaves what nobody handled to the default processing.

#include "framework/dialog/CommandTarget.h"
#include "framework/dialog/Menu.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/TimerManager.h"
#include "framework/window/TopWindow.h"
#include "framework/window/WindowCL.h"
#include "framework/window/WindowMap.h"

#include <windowsx.h>

namespace {

CommandTarget* MenuTargetOf(WindowCL* window)
{
    if (!(window->RoutingMask() & WindowCL::RouteMenu))
        return nullptr;
    auto* top = dynamic_cast<TopWindow*>(window);
    return top ? top->MenuObject() : nullptr;
}

} // namespace

WindowCL* WindowCL::FromHandle(HWND handle)
{
    return TheApp && TheApp->Map() ? TheApp->Map()->Find(handle) : nullptr;
}

LRESULT CALLBACK WindowCL::WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowEvent event{lParam, wParam, message, handle};
    WindowCL* window = FromMessage(handle, message, lParam);
    if (!window)
        return handle ? DefWindowProcA(handle, message, wParam, lParam) : 0;
    const std::shared_ptr<const bool> alive = window->LifeToken();
    bool answeredAtOnce = false;
    LRESULT answer = 0;
    const long result = window->HandleMessage(event, answeredAtOnce, answer);
    if (answeredAtOnce)
        return answer;
    if (result)
        return 0;
    // The operation may have deleted its own object; the system's default then answers for it.
    if (!*alive)
        return IsWindow(handle) ? DefWindowProcA(handle, message, wParam, lParam) : 0;
    return window->DefaultProcessing(&event);
}

long WindowCL::HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    const HWND handle = event.window;
    const UINT message = event.message;
    const LPARAM lParam = event.lParam;
    const AnswerNow answerNow{answeredAtOnce, answer};
    // Lists first: with the routing bit set, a handler that takes the message answers 1 to the system.
    auto listsTake = [&](unsigned bit) { return (routingMask_ & bit) && DispatchToLists(&event); };
    // Whether this object survived the operation just called.
    const std::shared_ptr<const bool> alive = alive_;

    long result = 0;
    switch (message) {
    case WM_MOVE:
        result = OnMove(&event);
        if (*alive && layout_)
            layout_->SetPosition(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_SIZE:
        result = OnSize(&event);
        if (*alive)
            LayoutChildren(&event);
        break;
    case WM_ACTIVATE:
        if (listsTake(RouteActivate))
            return answerNow(1);
        result = OnActivate(&event);
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (listsTake(RouteFocus))
            return answerNow(1);
        result = OnFocus(&event);
        break;
    case WM_CLOSE:
        if (listsTake(RouteClose))
            return answerNow(1);
        result = OnClose(&event);
        break;
    case WM_ERASEBKGND:
        result = EraseBackground(&event);
        break;
    case WM_SETCURSOR:
        result = (routingMask_ & RouteSetCursor) ? DispatchToLists(&event) : 0;
        break;
    case WM_NCHITTEST:
        result = (routingMask_ & RouteHitTest) ? DispatchToLists(&event) : 0;
        break;
    case WM_NCDESTROY:
        SetStateBits(StateWindowGone);
        TheApp->Map()->Remove(handle);
        if (state_ & StateDeleteWithWindow)
            delete this;
        return answerNow(0);
    case WM_COMMAND:
        result = RouteCommand(event, answeredAtOnce, answer);
        break;
    case WM_TIMER:
        if (TheApp->Timers())
            TheApp->Timers()->Tick(&event);
        result = 0;
        break;
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
    case WM_MENUSELECT:
        if (CommandTarget* menu = MenuTargetOf(this)) {
            if (long taken = menu->Dispatch(&event))
                return answerNow(taken);
            if (!*alive)
                return 0;
        }
        result = DispatchToLists(&event);
        break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        if (HBRUSH brush = ChildColours(&event))
            return answerNow(reinterpret_cast<LRESULT>(brush));
        result = 0;
        break;
    case WM_MOUSEMOVE:
        if (cursor_.Handle())
            ::SetCursor(cursor_.Handle());
        if (listsTake(RouteMouseMove))
            return answerNow(1);
        result = OnMouseMove(&event);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        if (listsTake(RouteButtonDown))
            return answerNow(1);
        result = OnButtonDown(&event);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (listsTake(RouteButtonUp))
            return answerNow(1);
        result = OnButtonUp(&event);
        break;
    default:
        result = DispatchToLists(&event);
        break;
    }
    return result;
}

long WindowCL::RouteCommand(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    const std::shared_ptr<const bool> alive = alive_;
    if (CurrentPopupMenu) {
        if (long taken = CurrentPopupMenu->Dispatch(&event)) {
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
