#include "framework/window/ChildWindow.h"

#include "framework/window/FrameworkApp.h"
#include "framework/window/LayoutManager.h"

ChildWindow::ChildWindow(WindowCL* parent, LayoutManager* layout, DWORD style) : WindowCL(parent, layout, style)
{
    Initialise();
}

ChildWindow::ChildWindow(WindowCL* parent) : WindowCL(parent)
{
    Initialise();
}

void ChildWindow::Initialise()
{
    style_ |= WS_CHILD;
    background_ = GetSysColor(COLOR_WINDOW);
    id_ = 0;
    if (parent_)
        parent_->AppendChild(this);
}

void ChildWindow::Create()
{
    std::unique_ptr<WNDCLASSA> record = ClassRecord();
    // The "VisualCtrl" class is registered once; every later window shares it.
    WNDCLASSA existing;
    if (record && className_ == "VisualCtrl" &&
        GetClassInfoA(TheApp ? TheApp->Instance() : GetModuleHandleA(nullptr), "VisualCtrl", &existing))
        record.reset();
    RegisterClassOf(std::move(record));
    CreateSystemWindow(parent_ ? parent_->Handle() : nullptr);
}

void ChildWindow::Show(int showCommand)
{
    if (state_ & StateShown) {
        ShowWindow(showCommand);
        return;
    }
    SetStateBits(StateShown);
    if (layout_ && parent_ && parent_->Handle()) {
        RECT client{};
        GetClientRect(parent_->Handle(), &client);
        const int width = client.right - client.left;
        const int height = client.bottom - client.top;
        layout_->SetSize(width, height);
        WindowEvent size{MAKELPARAM(width, height), SIZE_RESTORED, WM_SIZE, parent_->Handle()};
        layout_->Resize(this, &size);
    }
    if (parent_ && parent_->Layout() && (parent_->State() & StateShown))
        parent_->Layout()->Arrange(nullptr);
    else if (layout_)
        layout_->Arrange(nullptr);
    SetWindowLongA(handle_, GWL_STYLE, static_cast<LONG>(style_));
    ::ShowWindow(handle_, showCommand);
    UpdateWindow(handle_);
    if (showCommand)
        style_ |= WS_VISIBLE;
}

long ChildWindow::OnChar(WindowEvent* event) { return OnCharacter(event->Key()); }
long ChildWindow::OnCharacter(unsigned) { return 0; }
long ChildWindow::Store() { return 1; }
long ChildWindow::Validate() { return 1; }
long ChildWindow::Load() { return 1; }
