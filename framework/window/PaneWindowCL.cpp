#include "framework/window/PaneWindowCL.h"

#include "framework/draw/WindowDisplay.h"
#include "framework/window/Caret.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/ScrollBarState.h"
#include "framework/window/Scroller.h"

namespace {

bool IsLive(HWND handle)
{
    return handle && IsWindow(handle);
}

} // namespace

PaneWindowCL::PaneWindowCL(WindowCL* parent, LayoutManager* layout, DWORD style)
    : ChildWindow(parent, layout, style), ownDisplay_(std::make_unique<WindowDisplay>(this))
{
    className_ = "PaneWindowCL";
    currentDisplay_ = ownDisplay_.get();
    displayStack_.push_back(currentDisplay_);
    Create();
}

PaneWindowCL::~PaneWindowCL() = default;

void PaneWindowCL::PushDisplay(Display* display)
{
    displayStack_.push_back(display);
    currentDisplay_ = display;
}

void PaneWindowCL::PopDisplay()
{
    if (displayStack_.size() > 1)
        displayStack_.pop_back();
    currentDisplay_ = displayStack_.back();
}

long PaneWindowCL::OnFocusChange(bool gained)
{
    if (caret_)
        caret_->Show(gained);
    return 0;
}

std::unique_ptr<WNDCLASSA> PaneWindowCL::ClassRecord()
{
    // The class is registered once; every pane after the first shares it.
    WNDCLASSA existing;
    if (GetClassInfoA(TheApp ? TheApp->Instance() : GetModuleHandleA(nullptr), "PaneWindowCL", &existing))
        return nullptr;
    std::unique_ptr<WNDCLASSA> record = ClassRecordTemplate();
    record->hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_WINDOW + 1));
    record->lpszClassName = "PaneWindowCL";
    return record;
}

long PaneWindowCL::Forward(WindowEvent* event)
{
    if (IsLive(reinterpret_cast<HWND>(event->lParam)) || scroller_)
        return WindowCL::Forward(event);
    if ((event->message == WM_HSCROLL || event->message == WM_VSCROLL) && LOWORD(event->wParam) == SB_ENDSCROLL)
        return ScrollToBarPositions();
    return 0;
}

long PaneWindowCL::ScrollToBarPositions()
{
    const POINT target{horizontalState_ ? horizontalState_->position : 0,
                       verticalState_ ? verticalState_->position : 0};
    const POINT origin = currentDisplay_->WindowOrigin();
    if (target.x == origin.x && target.y == origin.y)
        return 1;
    RECT client{};
    GetClientRect(handle_, &client);
    ScrollWindow(handle_, origin.x - target.x, origin.y - target.y, &client, &client);
    currentDisplay_->SetWindowOrigin(target.x, target.y);
    UpdateWindow(handle_);
    return 1;
}

void PaneWindowCL::Show(int showCommand)
{
    if (!(state_ & StateShown))
        OnZoomChanged();
    ChildWindow::Show(showCommand);
}

long PaneWindowCL::Paint(WindowEvent*) { return 0; }
void PaneWindowCL::OnZoomChanged() {}
long PaneWindowCL::PrintOnDisplay(void*, void*) { return 0; }
long PaneWindowCL::PrintPageSetup(void*, void*) { return 0; }
long PaneWindowCL::NextPrintPage() { return 0; }

void PaneWindowCL::Scroll(int dx, int dy, const RECT* rect)
{
    ScrollWindow(handle_, dx, dy, rect, rect);
}

long PaneWindowCL::PaintSequence(WindowEvent& event)
{
    // The screen is painted through the own display, whatever display other code has made current.
    const bool pushed = currentDisplay_ != ownDisplay_.get();
    if (pushed) {
        PushDisplay(ownDisplay_.get());
        OnZoomChanged();
    }
    long result = 0;
    if (currentDisplay_->Kind() == Display::KindWindow) {
        auto* display = static_cast<WindowDisplay*>(currentDisplay_);
        display->SetPainting(true);
        {
            DisplayLock lock(*display);
            paintContext_ = display->DeviceContext();
            result = Paint(&event);
            paintContext_ = nullptr;
        }
        display->SetPainting(false);
    } else {
        result = Paint(&event);
    }
    if (pushed) {
        PopDisplay();
        OnZoomChanged();
    }
    return result;
}

long PaneWindowCL::HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    switch (event.message) {
    case WM_SIZE: {
        const std::shared_ptr<const bool> alive = LifeToken();
        const long result = WindowCL::HandleMessage(event, answeredAtOnce, answer);
        if (*alive && scroller_)
            scroller_->Update(&event);
        return result;
    }
    case WM_PAINT:
        return PaintSequence(event);
    case WM_CHAR:
        return OnChar(&event);
    case WM_HSCROLL:
    case WM_VSCROLL: {
        return MoveScrollStateByCode(*this, event) ? Forward(&event) : DispatchToLists(&event);
    }
    case WM_SYSCOMMAND:
        return RouteCommand(event, answeredAtOnce, answer);
    default:
        return WindowCL::HandleMessage(event, answeredAtOnce, answer);
    }
}
