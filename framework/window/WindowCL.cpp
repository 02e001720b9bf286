#include "framework/window/WindowCL.h"

#include "framework/draw/GdiScopes.h"
#include "framework/window/ChildLayout.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/HandlerList.h"
#include "framework/window/IconResource.h"
#include "framework/window/ScrollBarState.h"
#include "framework/window/Scroller.h"
#include "framework/window/WindowMap.h"

#include <cstdint>
#include <algorithm>

namespace {

bool IsLive(HWND handle)
{
    return handle && IsWindow(handle);
}

} // namespace

WindowCL::WindowCL(LayoutManager* layout, DWORD style)
    : layout_(layout), style_(style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN)
{
    BindLayout();
}

WindowCL::WindowCL(WindowCL* parent, LayoutManager* layout, DWORD style)
    : layout_(layout), style_(style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN), parent_(parent)
{
    BindLayout();
}

WindowCL::WindowCL(WindowCL* parent) : style_(WS_CLIPSIBLINGS | WS_CLIPCHILDREN), parent_(parent)
{
    auto* rule = new ChildLayout(nullptr);
    layout_ = rule;
    BindLayout();
    if (parent && !rule->Owner()) {
        if (auto* parentRule = dynamic_cast<ChildLayout*>(parent->layout_))
            parentRule->Append(rule);
    }
}

void WindowCL::BindLayout()
{
    if (auto* container = dynamic_cast<ChildLayout*>(layout_))
        container->SetWindow(this);
}

WindowCL::~WindowCL()
{
    // Deleting the children below sends this window notifications (a focused edit's EN_KILLFOCUS): the
    // handlers a derived class registered must not run on what is left of it.
    Retire();
    ClearStateBits(StateDeleteWithWindow);
    if (parent_)
        parent_->RemoveChild(this);
    while (!children_.empty()) {
        WindowCL* child = children_.front();
        children_.pop_front();
        child->parent_ = nullptr;
        delete child;
    }
    if (!(state_ & StateWindowGone) && IsLive(handle_))
        DestroyWindow(handle_);
    // WM_NCDESTROY may have taken the entry already, and the system may since have given the handle to
    // another window: only this object's own entry leaves the map.
    if (handle_ && TheApp && TheApp->Map() && TheApp->Map()->Find(handle_) == this)
        TheApp->Map()->Remove(handle_);
    verticalState_.reset();
    horizontalState_.reset();
    delete layout_;
    // Last: the window's own messages during its destruction are still dispatched to what is left of it.
    *alive_ = false;
}

std::unique_ptr<WNDCLASSA> WindowCL::ClassRecordTemplate()
{
    auto record = std::make_unique<WNDCLASSA>();
    record->style = 0;
    record->lpfnWndProc = WindowProc;
    record->cbClsExtra = 0;
    record->cbWndExtra = 12;
    record->hInstance = TheApp ? TheApp->Instance() : GetModuleHandleA(nullptr);
    record->hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    record->hCursor = nullptr;
    record->hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_APPWORKSPACE + 1));
    record->lpszMenuName = nullptr;
    record->lpszClassName = "WindowCL";
    return record;
}

std::unique_ptr<WNDCLASSA> WindowCL::ClassRecord()
{
    return ClassRecordTemplate();
}

void WindowCL::RegisterClassOf(std::unique_ptr<WNDCLASSA> record, bool ownClass)
{
    if (!record)
        return;
    if (classStyle_ || ownClass) {
        record->style = classStyle_;
        className_ += std::to_string(reinterpret_cast<std::uintptr_t>(this));
    }
    if (className_ != record->lpszClassName)
        record->lpszClassName = className_.c_str();
    // A name registered before is refused by the system; only names registered here are kept for
    // unregistering.
    if (RegisterClassA(record.get()) && TheApp)
        TheApp->AddRegisteredClass(record->lpszClassName);
}

void WindowCL::CreateSystemWindow(HWND parentWindow, DWORD extendedStyle)
{
    const int x = layout_ ? layout_->X() : CW_USEDEFAULT;
    const int y = layout_ ? layout_->Y() : CW_USEDEFAULT;
    const int width = layout_ ? layout_->Width() : CW_USEDEFAULT;
    const int height = layout_ ? layout_->Height() : CW_USEDEFAULT;
    // Decided before creation: the creation's WM_SIZE and WM_MOVE already write the rule.
    const bool allZero = x == 0 && y == 0 && width == 0 && height == 0;
    const bool allUnset = x == LayoutUnset && y == LayoutUnset && width == LayoutUnset && height == LayoutUnset;
    HWND handle = CreateWindowExA(extendedStyle, className_.c_str(), nullptr, style_, x, y, width, height, parentWindow,
                                  nullptr, TheApp ? TheApp->Instance() : GetModuleHandleA(nullptr), this);
    // A creation that failed after WM_NCCREATE leaves no handle behind.
    handle_ = handle;
    if (handle && TheApp && TheApp->Map())
        TheApp->Map()->Insert(handle, this);
    ReadBackGeometry(allZero || allUnset);
}

WindowCL* WindowCL::FromMessage(HWND handle, UINT message, LPARAM lParam)
{
    if (message != WM_NCCREATE)
        return FromHandle(handle);
    const auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    // An MDI child's creation parameters are the MDI request, which carries the object.
    void* parameter = create->lpCreateParams;
    if ((create->dwExStyle & WS_EX_MDICHILD) && parameter)
        parameter = reinterpret_cast<void*>(static_cast<MDICREATESTRUCTA*>(parameter)->lParam);
    auto* window = static_cast<WindowCL*>(parameter);
    if (!window || !TheApp || !TheApp->Map())
        return nullptr;
    window->handle_ = handle;
    TheApp->Map()->Insert(handle, window);
    return window;
}

void WindowCL::ReadBackGeometry(bool hadNoGeometry)
{
    RECT rect{};
    if (IsLive(handle_))
        GetWindowRect(handle_, &rect);
    if (hadNoGeometry && (style_ & WS_POPUP)) {
        if (layout_) {
            layout_->SetPosition(rect.left, rect.top);
            layout_->SetSize(500, 500);
        }
        if (IsLive(handle_))
            MoveWindow(handle_, rect.left, rect.top, 500, 500, TRUE);
        return;
    }
    if (!layout_)
        return;
    int x = rect.left;
    int y = rect.top;
    if (parent_ && !(style_ & WS_POPUP) && IsLive(parent_->handle_)) {
        RECT parentRect;
        GetWindowRect(parent_->handle_, &parentRect);
        x -= parentRect.left;
        y -= parentRect.top;
    }
    layout_->SetPosition(x, y);
    layout_->SetSize(rect.right - rect.left, rect.bottom - rect.top);
}

long WindowCL::LayoutChildren(WindowEvent* event)
{
    if (!layout_)
        return 0;
    const SIZE client = event->ClientSize();
    layout_->SetSize(client.cx, client.cy);
    if (event->SizeKind() == SIZE_MINIMIZED)
        return 0;
    for (WindowCL* child : children_) {
        if (child->layout_)
            child->layout_->Resize(child, event);
    }
    RECT rect = layout_->OwnRect();
    layout_->Arrange(&rect);
    return 0;
}

long WindowCL::OnActivate(WindowEvent* event)
{
    const bool active = event->message == WM_MDIACTIVATE ? event->ActivatedChild() == handle_ : event->Activating();
    return OnActivation(active);
}

long WindowCL::OnSize(WindowEvent* event)
{
    const SIZE client = event->ClientSize();
    if (layout_)
        layout_->SetSize(client.cx, client.cy);
    return OnResize(client, event->SizeKind());
}

long WindowCL::OnMove(WindowEvent*) { return 0; }
long WindowCL::OnClose(WindowEvent*) { return 0; }

long WindowCL::OnCommand(WindowEvent* event)
{
    return OnCommandId(event->CommandId(), event->NotifyCode(), event->Control());
}

long WindowCL::Forward(WindowEvent* event)
{
    HWND control = reinterpret_cast<HWND>(event->lParam);
    if (IsLive(control)) {
        WindowCL* bar = TheApp && TheApp->Map() ? TheApp->Map()->Find(control) : nullptr;
        if (bar && bar->scroller_)
            return bar->scroller_->OnScroll(event);
        return 0;
    }
    return scroller_ ? scroller_->OnScroll(event) : 0;
}

long WindowCL::OnMouseMove(WindowEvent* event) { return OnMouseMoved(event->Mouse()); }
long WindowCL::OnButtonUp(WindowEvent* event) { return OnMouseUp(event->Mouse()); }
long WindowCL::OnButtonDown(WindowEvent* event) { return OnMouseDown(event->Mouse()); }
long WindowCL::OnFocus(WindowEvent* event) { return OnFocusChange(event->FocusGained()); }

long WindowCL::OnResize(SIZE, UINT) { return 0; }
long WindowCL::OnCommandId(unsigned, unsigned, HWND) { return 0; }
long WindowCL::OnMouseDown(const MouseInput&) { return 0; }
long WindowCL::OnMouseUp(const MouseInput&) { return 0; }
long WindowCL::OnMouseMoved(const MouseInput&) { return 0; }
long WindowCL::OnKeyDown(unsigned, bool) { return 0; }
long WindowCL::OnKeyUp(unsigned, bool) { return 0; }
long WindowCL::OnFocusChange(bool) { return 0; }
long WindowCL::OnActivation(bool) { return 0; }
long WindowCL::OnDrawItem(const DRAWITEMSTRUCT&) { return 0; }
void WindowCL::OnChildFocusChange()
{
    // A pane between a control and its dialog passes the news on.
    if (parent_)
        parent_->OnChildFocusChange();
}

long WindowCL::EraseBackground(WindowEvent* event)
{
    if (background_ == NoBackground)
        return 0;
    COLORREF colour = background_;
    if (colour == ParentBackground)
        colour = parent_ ? parent_->background_ : NoBackground;
    // Without a parent, or with a parent that has no colour of its own, there is nothing to paint.
    if (colour == NoBackground || colour == ParentBackground)
        return 0;
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    // Without an event the window's own context is borrowed for the erase.
    std::unique_ptr<ScopedWindowDC> own = event ? nullptr : std::make_unique<ScopedWindowDC>(handle_);
    HDC dc = event ? reinterpret_cast<HDC>(event->wParam) : own->Get();
    RECT client{};
    GetClientRect(handle_, &client);
    ScopedSelection selection(dc, brush.Get());
    PatBlt(dc, 0, 0, client.right - client.left, client.bottom - client.top, PATCOPY);
    return 1;
}

long WindowCL::ExtentInPixels(SIZE&) { return 0; }

void WindowCL::SetBackgroundColour(const Colour& colour)
{
    const COLORREF rgb = RGB(colour.red, colour.green, colour.blue);
    background_ = colour.flag == 0 ? rgb : (0x02000000u | rgb);
}

void WindowCL::Show(int showCommand)
{
    if (state_ & StateShown) {
        ShowWindow(showCommand);
        return;
    }
    SetStateBits(StateShown);
    ::ShowWindow(handle_, showCommand);
    UpdateWindow(handle_);
    if (showCommand)
        style_ |= WS_VISIBLE;
}

void WindowCL::AddHandler(EventTarget* target, EventHandler function, UINT message)
{
    AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(function, target, message, this));
}

void WindowCL::AddMessageHandler(EventTarget* target, EventHandler function, UINT message)
{
    AddHandler(target, function, message);
    RouteToListsFirst(message);
}

void WindowCL::RouteToListsFirst(UINT message)
{
    if (!ListsFirst(message))
        listsFirst_.push_back(message);
}

bool WindowCL::ListsFirst(UINT message) const
{
    return std::find(listsFirst_.begin(), listsFirst_.end(), message) != listsFirst_.end();
}

void WindowCL::RemoveHandler(EventTarget* target, EventHandler function, UINT message)
{
    if (handlers_)
        handlers_->Remove(message, handle_, target, function);
}

void WindowCL::AddHandlerDescriptor(std::unique_ptr<HandlerDescriptor> descriptor)
{
    if (!handlers_)
        handlers_ = std::make_unique<HandlerList>();
    handlers_->Add(std::move(descriptor));
}

void WindowCL::AddNotificationHandler(std::unique_ptr<HandlerDescriptor> descriptor)
{
    if (!notificationHandlers_)
        notificationHandlers_ = std::make_unique<HandlerList>();
    notificationHandlers_->Add(std::move(descriptor));
}

void WindowCL::RemoveNotificationHandler(const HandlerDescriptor* descriptor)
{
    // By identity: descriptors of several controls often share target, function and message.
    if (notificationHandlers_ && descriptor)
        notificationHandlers_->RemoveDescriptor(descriptor);
}

long WindowCL::DispatchEvent(WindowEvent* event)
{
    const std::shared_ptr<const bool> alive = alive_;
    if (notificationHandlers_ && notificationHandlers_->Dispatch(event, alive.get()))
        return 1;
    return *alive ? DispatchToLists(event) : 1;
}

long WindowCL::DispatchToLists(WindowEvent* event)
{
    const std::shared_ptr<const bool> alive = alive_;
    if (handlers_ && handlers_->Dispatch(event, alive.get()))
        return 1;
    if (!*alive)
        return 1;
    if (TheApp && TheApp->Handlers() && TheApp->Handlers()->Dispatch(event, alive.get()))
        return 1;
    return *alive ? 0 : 1;
}

HBRUSH WindowCL::ChildColours(WindowEvent* event)
{
    if (event->message == WM_CTLCOLORMSGBOX)
        return nullptr;
    WindowCL* child = FindChildByHandle(reinterpret_cast<HWND>(event->lParam));
    if (!child || child->background_ == NoBackground)
        return nullptr;
    COLORREF colour = child->background_;
    if (colour == ParentBackground)
        colour = child->parent_ ? child->parent_->background_ : GetSysColor(COLOR_WINDOW);
    HDC dc = reinterpret_cast<HDC>(event->wParam);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, colour);
    return child->backgroundBrush_.Get();
}

void WindowCL::SetText(const char* text)
{
    title_ = text ? text : "";
    SetWindowTextA(handle_, title_.c_str());
}

zString WindowCL::TextOf(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    if (length <= 0)
        return zString("");
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(window, &text[0], length + 1);
    return zString(text.c_str());
}

void WindowCL::ShowWindow(int command)
{
    if (IsLive(handle_))
        ::ShowWindow(handle_, command);
}

void WindowCL::ApplyStyle()
{
    if (IsLive(handle_))
        SetWindowLongA(handle_, GWL_STYLE, static_cast<LONG>(style_));
}

void WindowCL::SetCursor(const Cursor& cursor)
{
    cursor_ = cursor;
    if (cursor_.Handle())
        ::SetCursor(cursor_.Handle());
}

void WindowCL::SetClassIcon(IconResource* icon)
{
    if (!icon)
        return;
    SetClassLongPtrA(handle_, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon->Handle()));
    icon->GiveUpOwnership();
    delete icon;
}

WindowCL* WindowCL::FindChild(unsigned id) const
{
    for (WindowCL* child : children_) {
        if (child->id_ == id)
            return child;
    }
    return nullptr;
}

void WindowCL::EnableItem(unsigned id, bool enabled)
{
    const HWND control = Control(id);
    if (!enabled && control && GetFocus() == control)
        SendMessageA(handle_, WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(control, enabled ? TRUE : FALSE);
}

void WindowCL::CheckItem(unsigned id, bool checked)
{
    SendMessageA(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool WindowCL::IsItemChecked(unsigned id) const
{
    return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void WindowCL::SelectField(unsigned id)
{
    if (HWND field = Control(id)) {
        SetFocus(field);
        SendMessageA(field, EM_SETSEL, 0, -1);
    }
}

WindowCL** WindowCL::FindChildNode(unsigned id)
{
    for (WindowCL*& child : children_) {
        if (child->id_ == id)
            return &child;
    }
    return nullptr;
}

WindowCL* WindowCL::FindChildByHandle(HWND handle) const
{
    for (WindowCL* child : children_) {
        if (child->handle_ == handle)
            return child;
    }
    return nullptr;
}

void WindowCL::RemoveChild(WindowCL* child)
{
    auto found = std::find(children_.begin(), children_.end(), child);
    if (found != children_.end())
        children_.erase(found);
}

void WindowCL::SetVerticalState(ScrollBarState* state)
{
    verticalState_.reset(state);
}

void WindowCL::SetHorizontalState(ScrollBarState* state)
{
    horizontalState_.reset(state);
}
