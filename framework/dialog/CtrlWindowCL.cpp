#include "framework/dialog/CtrlWindowCL.h"

#include "framework/dialog/GenericCtrl.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/HandlerList.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/ScrollBarState.h"
#include "framework/window/WindowMap.h"

namespace {

bool IsLive(HWND handle)
{
    return handle && IsWindow(handle);
}

WindowMap* Map()
{
    return TheApp ? TheApp->Map() : nullptr;
}

} // namespace

CtrlWindowCL::CtrlWindowCL(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id)
    : CtrlWindowCL(parent, new LayoutManager(rect, nullptr), style, text, id)
{
}

CtrlWindowCL::CtrlWindowCL(WindowCL* parent, LayoutManager* layout, DWORD style, const char* text, unsigned id)
    : ChildWindow(parent, layout, style ? style : WS_TABSTOP)
{
    id_ = id;
    className_ = "CtrlWindowCL";
    background_ = NoBackground;
    title_ = text ? text : "";
}

CtrlWindowCL::CtrlWindowCL(WindowCL* parent, unsigned id, BindTag) : ChildWindow(nullptr, nullptr, 0)
{
    parent_ = parent;
    id_ = id;
    WindowCL** node = parent ? parent->FindChildNode(id) : nullptr;
    auto* placeholder = node ? dynamic_cast<CtrlWindowCL*>(*node) : nullptr;
    if (!placeholder || placeholder->kind_ == KindVisual) {
        // Nothing to adopt: the object stays without a window, but belongs to the parent all the same.
        if (parent)
            parent->AppendChild(this);
        return;
    }
    *node = this;
    AdoptFrom(placeholder);
}

CtrlWindowCL* CtrlWindowCL::FromTemplate(WindowCL* parent, unsigned id)
{
    return new CtrlWindowCL(parent, id, BindTag{});
}

void CtrlWindowCL::AdoptFrom(CtrlWindowCL* placeholder)
{
    handle_ = placeholder->handle_;
    style_ = placeholder->style_;
    className_ = placeholder->className_;
    title_ = placeholder->title_;
    cursor_ = placeholder->cursor_;
    delete layout_;
    layout_ = placeholder->layout_;
    placeholder->layout_ = nullptr;
    background_ = placeholder->background_;
    previousProc_ = placeholder->previousProc_;
    verticalState_ = std::move(placeholder->verticalState_);
    horizontalState_ = std::move(placeholder->horizontalState_);
    backgroundBrush_.Reset(placeholder->backgroundBrush_.Release());
    state_ = static_cast<unsigned short>(placeholder->state_ & (StateShown | StateWindowGone));
    placeholder->parent_ = nullptr;

    if (placeholder->kind_ == KindGeneric) {
        // The placeholder keeps its window, its map entry and its procedure; this object goes with them.
        kind_ = KindGeneric;
        SetStateBits(StateDeleteWithWindow);
        static_cast<GenericCtrl*>(placeholder)->SetPartner(this);
        return;
    }
    kind_ = placeholder->kind_;
    childColour_ = placeholder->childColour_;
    icon_ = placeholder->icon_;
    placeholder->handle_ = nullptr;
    placeholder->SetStateBits(StateWindowGone);
    if (IsLive(handle_) && Map())
        Map()->Insert(handle_, this);
    delete placeholder;
}

CtrlWindowCL::~CtrlWindowCL()
{
    // The window goes back to its own procedure first: the base destructor destroys it when this object is
    // no longer a control, and the control's procedure must still see its last messages.
    if (!(state_ & StateWindowGone) && previousProc_ && IsLive(handle_) &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtrA(handle_, GWLP_WNDPROC)) == &SubclassProc)
        SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
}

LRESULT CtrlWindowCL::DefaultProcessing(WindowEvent* event)
{
    if (!event)
        return 0;
    if (previousProc_)
        return CallWindowProcA(previousProc_, event->window, event->message, event->wParam, event->lParam);
    return DefWindowProcA(event->window, event->message, event->wParam, event->lParam);
}

void CtrlWindowCL::SetBackgroundColour(const Colour& colour)
{
    const COLORREF rgb = RGB(colour.red, colour.green, colour.blue);
    background_ = colour.flag == 0 ? rgb : (0x02000000u | rgb);
    backgroundBrush_.Reset(CreateSolidBrush(background_));
}

void CtrlWindowCL::Create()
{
    style_ &= ~WS_CLIPSIBLINGS;
    const int x = layout_ ? layout_->X() : 0;
    const int y = layout_ ? layout_->Y() : 0;
    const int width = layout_ ? layout_->Width() : 0;
    const int height = layout_ ? layout_->Height() : 0;
    HWND handle = CreateWindowExA(0, className_.c_str(), title_.c_str(), style_, x, y, width, height,
                                  parent_ ? parent_->Handle() : nullptr,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id_)),
                                  TheApp ? TheApp->Instance() : GetModuleHandleA(nullptr), nullptr);
    if (!handle)
        return;
    handle_ = handle;
    // The style as the control made it: a combo box drops the scroll bar and border of its list, so a later
    // write of the style must not give them to the closed box.
    style_ = static_cast<DWORD>(GetWindowLongA(handle, GWL_STYLE));
    if (Map())
        Map()->Insert(handle, this);
    previousProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(handle, GWLP_WNDPROC));
    SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc));
}

zString CtrlWindowCL::GetText() const
{
    return TextOf(handle_);
}

void CtrlWindowCL::SetTextForced(const char* text)
{
    if (style_ & WS_DISABLED) {
        EnableWindow(handle_, TRUE);
        WindowCL::SetText(text);
        EnableWindow(handle_, FALSE);
        return;
    }
    WindowCL::SetText(text);
}

void CtrlWindowCL::OnCommandAlt(EventTarget* target, EventHandler method)
{
    if (parent_)
        parent_->AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(id_, method, target, WM_COMMAND));
}

void CtrlWindowCL::OnNotifyAlt(EventTarget* target, EventHandler method, unsigned code)
{
    if (parent_)
        parent_->AddNotificationHandler(
            std::make_unique<CommandHandlerDescriptor>(id_, handle_, code, method, target));
}

LRESULT CtrlWindowCL::ColourReply(WindowEvent* event)
{
    if (childColour_ == ChildColourNone)
        return DefaultProcessing(event);
    COLORREF colour = childColour_;
    if (colour == ChildColourParent)
        colour = parent_ ? parent_->BackgroundColour() : GetSysColor(COLOR_WINDOW);
    HDC dc = reinterpret_cast<HDC>(event->wParam);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, colour);
    if (!TheApp)
        return DefaultProcessing(event);
    return reinterpret_cast<LRESULT>(TheApp->ControlBrush(colour));
}

LRESULT CALLBACK CtrlWindowCL::SubclassProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowCL* found = Map() ? Map()->Find(handle) : nullptr;
    auto* control = dynamic_cast<CtrlWindowCL*>(found);
    if (!control)
        return 0;
    WindowEvent event{lParam, wParam, message, handle};
    return Deliver(control, event);
}

long CtrlWindowCL::HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    const AnswerNow answerNow{answeredAtOnce, answer};
    switch (event.message) {
    case WM_DESTROY:
        return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
        if (long taken = OnChar(&event))
            return taken;
        return DispatchToLists(&event);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return answerNow(ColourReply(&event));
    case WM_NCDESTROY: {
        SetStateBits(StateWindowGone);
        if (Map())
            Map()->Remove(event.window);
        WNDPROC previous = previousProc_;
        if (state_ & StateDeleteWithWindow)
            delete this;
        return answerNow(previous ? CallWindowProcA(previous, event.window, event.message, event.wParam,
                                                    event.lParam)
                                  : DefWindowProcA(event.window, event.message, event.wParam, event.lParam));
    }
    default:
        // Moves, sizes, focus, the mouse, keys, commands and the rest as every framework window.
        return WindowCL::HandleMessage(event, answeredAtOnce, answer);
    }
}

int CtrlWindowCL::AddTexts(const char* const* texts, UINT addMessage)
{
    Send(WM_SETREDRAW, FALSE);
    for (; texts && *texts; ++texts)
        Send(addMessage, 0, reinterpret_cast<LPARAM>(*texts));
    Send(WM_SETREDRAW, TRUE);
    InvalidateRect(handle_, nullptr, TRUE);
    UpdateWindow(handle_);
    return 0;
}
