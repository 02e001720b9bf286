#include "framework/visual/VisualCtrl.h"

#include "framework/draw/WindowDisplay.h"
#include "framework/visual/VisualItem.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/ScrollBarState.h"

VisualCtrl::VisualCtrl(WindowCL* parent, LayoutManager* layout, DWORD style, const char* text, unsigned id)
    : CtrlWindowCL(parent, layout, style, text, id)
{
    kind_ = KindVisual;
    className_ = "VisualCtrl";
    style_ &= ~WS_CLIPSIBLINGS;
    display_ = new WindowDisplay(this);
    // Items draw with the system font unless they choose another.
    display_->PopFont();
    display_->PushFont(new zFont(SYSTEM_FONT));
    Create();
}

VisualCtrl::~VisualCtrl()
{
    delete display_;
    display_ = nullptr;
}

std::unique_ptr<WNDCLASSA> VisualCtrl::ClassRecord()
{
    std::unique_ptr<WNDCLASSA> record = ClassRecordTemplate();
    record->style = CS_HREDRAW | CS_VREDRAW;
    record->lpszClassName = "VisualCtrl";
    record->hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_3DFACE + 1));
    return record;
}

void VisualCtrl::Create()
{
    ChildWindow::Create();
}

long VisualCtrl::HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    switch (event.message) {
    case WM_DESTROY:
        answeredAtOnce = true;
        answer = 1;
        return 0;
    case WM_PAINT: {
        auto* display = static_cast<WindowDisplay*>(display_);
        display->SetPainting(true);
        display->Lock();
        const long result = Paint();
        display->Unlock();
        display->SetPainting(false);
        return result;
    }
    case WM_CHAR:
    case WM_SYSCHAR:
        return OnChar(&event);
    case WM_HSCROLL:
    case WM_VSCROLL:
        // A bar that is no framework control moves nothing, but the event still goes on.
        MoveScrollStateByCode(*this, event);
        return Forward(&event);
    default:
        // A window of its own class, not a sub-classed system control: the rows of every framework window.
        return WindowCL::HandleMessage(event, answeredAtOnce, answer);
    }
}

VisualItemHost::VisualItemHost(WindowCL* parent, LayoutManager* layout, DWORD style, const char* text,
                               unsigned id)
    : VisualCtrl(parent, layout, style, text, id),
      root_(new VisualItemGroup(new LayoutManager(0, 0, layout->Width(), layout->Height(), nullptr), &display_, this))
{
}

VisualItemHost::~VisualItemHost()
{
    root_->ClearHost();
    root_.reset();
}

bool VisualItemHost::RootWantsInput() const
{
    return (root_->StateBits() & VisualItem::WantsInput) != 0;
}

void VisualItemHost::ToItemPoint(WindowEvent& event) const
{
    const POINT origin = display_->WindowOrigin();
    const short x = static_cast<short>(static_cast<short>(LOWORD(event.lParam)) + origin.x);
    const short y = static_cast<short>(static_cast<short>(HIWORD(event.lParam)) + origin.y);
    event.lParam = MAKELPARAM(x, y);
}

long VisualItemHost::Paint()
{
    RECT bounds{};
    display_->Bounds(bounds);
    root_->Draw(&bounds);
    return 1;
}

long VisualItemHost::OnSize(WindowEvent* event)
{
    if (layout_)
        layout_->Arrange(nullptr);
    root_->OnResize();
    display_->InvalidateRect(nullptr, true);
    return 1;
}

long VisualItemHost::OnMouseMove(WindowEvent* event)
{
    if (!RootWantsInput())
        return 0;
    ToItemPoint(*event);
    return root_->OnMouseMove(*event);
}

long VisualItemHost::OnButtonDown(WindowEvent* event)
{
    if (!RootWantsInput())
        return 0;
    if (IsWindow(handle_))
        SetFocus(handle_);
    ToItemPoint(*event);
    return root_->OnButtonDown(*event);
}

long VisualItemHost::OnButtonUp(WindowEvent* event)
{
    return RootWantsInput() ? root_->OnButtonUp(*event) : 0;
}

long VisualItemHost::OnChar(WindowEvent* event)
{
    return RootWantsInput() ? root_->OnKey(*event) : 0;
}
