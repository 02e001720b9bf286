#include "framework/dialog/MDIdialogCL.h"

#include "framework/dialog/WindowMenuBar.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/ScrollBarState.h"

namespace {

COLORREF DialogBackground()
{
    return GetSysColor(LOBYTE(LOWORD(GetVersion())) < 4 ? COLOR_WINDOW : COLOR_3DFACE);
}

} // namespace

MDIdialogCL::MDIdialogCL(WindowCL* parent, LayoutManager* layout, DWORD style, const char* title, unsigned id,
                         bool deferCreation)
    : MDIchildCL(parent, layout ? layout : new LayoutManager(), style, title)
{
    className_ = "MDIdialogCL";
    background_ = DialogBackground();
    id_ = id;
    if (!deferCreation)
        Create();
}

MDIdialogCL::MDIdialogCL(WindowCL* parent, const ResourceId& templateId, DWORD styleOverride, bool deferCreation)
    : MDIchildCL(parent, new LayoutManager(), 0, nullptr)
{
    className_ = "MDIdialogCL";
    background_ = DialogBackground();
    id_ = templateId.NumericId();
    if (engine_.Load(templateId)) {
        style_ = engine_.Style(styleOverride);
        title_ = engine_.Template().title;
        HWND parentWindow = parent_ ? parent_->Handle() : nullptr;
        if (parent_)
            engine_.MakeFont(parentWindow);
        // A box of 0 x 0 stays unset, so that the system places and sizes the child.
        if (engine_.Template().cx != 0 || engine_.Template().cy != 0) {
            POINT origin;
            SIZE size;
            engine_.Box(parentWindow, origin, size);
            layout_->SetPosition(origin.x, origin.y);
            layout_->SetSize(size.cx, size.cy);
        }
    }
    if (!deferCreation)
        Create();
}

MDIdialogCL::~MDIdialogCL()
{
    if (TheApp && handle_)
        TheApp->ForgetModelessDialog(handle_);
}

std::unique_ptr<WNDCLASSA> MDIdialogCL::ClassRecord()
{
    std::unique_ptr<WNDCLASSA> record = ClassRecordTemplate();
    record->hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_3DFACE + 1));
    record->lpszClassName = "MDIdialogCL";
    return record;
}

void MDIdialogCL::Create()
{
    // One window per object: a second window would leave the first in the client without its object.
    if (handle_ && IsWindow(handle_))
        return;
    RegisterClassOf(ClassRecord(), true);
    int x = layout_->X();
    int y = layout_->Y();
    int width = layout_->Width();
    int height = layout_->Height();
    if (width != LayoutUnset && height != LayoutUnset) {
        // The frame around the client size of the template. The menu is merged into the frame's bar, so
        // it takes no room here.
        RECT frame{0, 0, width, height};
        AdjustWindowRectEx(&frame, style_, FALSE, WS_EX_MDICHILD);
        width = frame.right - frame.left;
        height = frame.bottom - frame.top;
    }
    style_ = (style_ & ~WS_POPUP) | WS_CHILD;
    if (style_ & WS_MINIMIZEBOX)
        style_ |= WS_SYSMENU;
    CreateInClient(title_.size() >= 2 ? title_.c_str() : nullptr, x, y, width, height);
    if (!handle_)
        return;
    engine_.CreateControls(this, parent_ ? parent_->Handle() : nullptr,
                           [this](const char* className, const char* text, unsigned id, POINT origin, SIZE size,
                                  DWORD style) { OnUnknownClass(className, text, id, origin, size, style); });
    // No focus is taken here: the window is hidden and another child may be active. Its first activation
    // focuses the first tab stop.
    engine_.SendFont(*this);
    if (engine_.HasMenu())
        SetMenuObject(new WindowMenuBar(this, *engine_.MenuId()));
    ReadBackGeometry(false);
}

void MDIdialogCL::OnUnknownClass(const char*, const char*, unsigned, POINT, SIZE, DWORD) {}

void MDIdialogCL::Show(int showCommand)
{
    if (!BeginFirstShow(showCommand))
        return;
    // The main loop's dialog-message test gives the dialog its keyboard navigation.
    if (TheApp)
        TheApp->SetModelessDialog(handle_);
    EndFirstShow(showCommand);
}

void MDIdialogCL::End()
{
    if (state_ & StateDeleteWithWindow) {
        PostMessageA(handle_, DeleteLater, 0, 0);
        return;
    }
    ::ShowWindow(handle_, SW_HIDE);
    UpdateWindow(handle_);
}

long MDIdialogCL::OnFocusChange(bool gained)
{
    if (!gained)
        return 1;
    if (!engine_.GiveFocusBack()) {
        if (WindowCL* first = DialogTemplateEngine::FirstTabStop(*this))
            SetFocus(first->Handle());
    }
    return 1;
}

void MDIdialogCL::OnChildFocusChange()
{
    engine_.FollowFocus(*this);
}

long MDIdialogCL::OnActivation(bool active)
{
    if (active)
        engine_.GiveFocusBack();
    else
        engine_.KeepFocus(handle_);
    return 0;
}

long MDIdialogCL::HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    long result = 0;
    if (engine_.HandleKeyboardRow(*this, event, result, answeredAtOnce, answer))
        return result;
    switch (event.message) {
    case WM_MDIACTIVATE:
        if (TheApp && event.ActivatedChild() == handle_)
            TheApp->SetModelessDialog(handle_);
        else if (TheApp)
            TheApp->ForgetModelessDialog(handle_);
        OnActivate(&event);
        // The frame is told, and the child's activation hook answers.
        return MDIchildCL::HandleMessage(event, answeredAtOnce, answer);
    case WM_NCACTIVATE:
        // The frame active again after a pop-up window: its active child takes the keys back.
        if (TheApp && event.Activating())
            TheApp->SetModelessDialog(handle_);
        return MDIchildCL::HandleMessage(event, answeredAtOnce, answer);
    case WM_HSCROLL:
    case WM_VSCROLL:
        return MoveScrollStateByCode(*this, event) ? Forward(&event) : DispatchToLists(&event);
    case WM_LBUTTONDOWN:
        DialogTemplateEngine::CloseDropDown(handle_);
        return MDIchildCL::HandleMessage(event, answeredAtOnce, answer);
    case WM_NCLBUTTONDOWN:
        DialogTemplateEngine::CloseDropDown(handle_);
        return 0;
    case DeleteLater:
        delete this;
        answeredAtOnce = true;
        answer = 0;
        return 0;
    default:
        return MDIchildCL::HandleMessage(event, answeredAtOnce, answer);
    }
}
