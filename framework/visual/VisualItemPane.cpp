#include "framework/visual/VisualItemPane.h"

#include "framework/draw/Display.h"
#include "framework/visual/VisualItem.h"
#include "framework/window/LayoutManager.h"

VisualItemPane::VisualItemPane(WindowCL* parent, LayoutManager* layout, DWORD style)
    : PaneWindowCL(parent, layout, style), root_(new VisualItemGroup(layout, CurrentDisplaySlot(), this))
{
}

VisualItemPane::~VisualItemPane()
{
    root_->ReleaseGeometry(); // the layout belongs to the window
    root_->ClearHost();
    root_.reset();
}

bool VisualItemPane::RootWantsInput() const
{
    return (root_->StateBits() & VisualItem::WantsInput) != 0;
}

long VisualItemPane::OnSize(WindowEvent* event)
{
    PaneWindowCL::OnSize(event);
    if (layout_)
        layout_->Arrange(nullptr);
    root_->OnResize();
    CurrentDisplay()->InvalidateRect(nullptr, true);
    return 1;
}

long VisualItemPane::Paint(WindowEvent*)
{
    Display* display = CurrentDisplay();
    DisplayLock lock(*display);
    RECT bounds{};
    display->Bounds(bounds);
    root_->Draw(&bounds);
    return 1;
}

namespace {

// The event's point moved by the display's window origin, each half kept to 16 bits.
void ToItemPoint(WindowEvent& event, const Display& display)
{
    const POINT origin = display.WindowOrigin();
    const short x = static_cast<short>(static_cast<short>(LOWORD(event.lParam)) + origin.x);
    const short y = static_cast<short>(static_cast<short>(HIWORD(event.lParam)) + origin.y);
    event.lParam = MAKELPARAM(x, y);
}

} // namespace

long VisualItemPane::OnMouseMove(WindowEvent* event)
{
    if (!RootWantsInput())
        return 0;
    ToItemPoint(*event, *CurrentDisplay());
    return root_->OnMouseMove(*event);
}

long VisualItemPane::OnButtonDown(WindowEvent* event)
{
    if (!RootWantsInput())
        return 0;
    if (IsWindow(handle_))
        SetFocus(handle_);
    ToItemPoint(*event, *CurrentDisplay());
    return root_->OnButtonDown(*event);
}

long VisualItemPane::OnButtonUp(WindowEvent* event)
{
    return RootWantsInput() ? root_->OnButtonUp(*event) : 0;
}

long VisualItemPane::OnChar(WindowEvent* event)
{
    return RootWantsInput() ? root_->OnKey(*event) : 0;
}

long VisualItemPane::PrintPageSetup(void* display, void* rect)
{
    Display* current = CurrentDisplay();
    if (layout_) {
        DisplayLock lock(*current);
        RECT client{};
        current->ClientRect(client);
        RECT own = layout_->OwnRect();
        RECT forDisplay{own.left, own.top, own.left + client.right - client.left, own.top + client.bottom - client.top};
        layout_->Arrange(&forDisplay);
        Paint(nullptr);
        layout_->Arrange(&own);
    }
    return PaneWindowCL::PrintPageSetup(display, rect);
}

WindowCL* VisualItemPane::CommandWindow(bool grandparent) const
{
    if (!parent_)
        return nullptr;
    return grandparent ? parent_->Parent() : parent_;
}

LRESULT VisualItemPane::ForwardCommands(WindowEvent* event, bool grandparent)
{
    WindowCL* target = CommandWindow(grandparent);
    if (target && target->Handle()) {
        if (event->message == WM_COMMAND && IsWindow(target->Handle()))
            return SendMessageA(target->Handle(), WM_COMMAND, event->wParam, event->lParam);
        if (event->message == WM_MENUSELECT)
            return SendMessageA(target->Handle(), WM_MENUSELECT, event->wParam, event->lParam);
    }
    return VisualItemPane::DefaultProcessing(event);
}
