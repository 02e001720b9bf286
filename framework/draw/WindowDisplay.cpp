#include "framework/draw/WindowDisplay.h"

#include "framework/draw/GdiScopes.h"
#include "framework/draw/zBrush.h"
#include "framework/draw/zRegion.h"
#include "framework/window/WindowCL.h"

namespace {

HWND LiveHandleOf(const WindowCL* window)
{
    return window && window->Handle() && IsWindow(window->Handle()) ? window->Handle() : nullptr;
}

} // namespace

WindowDisplay::WindowDisplay(WindowCL* window) : WindowDisplay(window, KindWindow) {}

WindowDisplay::WindowDisplay(WindowCL* window, int kind) : Display(kind), window_(window)
{
    HWND source = LiveHandleOf(window);
    if (!source && window)
        source = LiveHandleOf(window->Parent());
    {
        ScopedWindowDC context(source);
        if (context.Get())
            ReadCapabilities(context.Get());
    }
    SetBackgroundColour(SplitColour(GetSysColor(COLOR_WINDOW)));
    SetTextColor(SplitColour(GetSysColor(COLOR_WINDOWTEXT)));
    ReplaceBottomBrush(new zBrush(SplitColour(GetSysColor(COLOR_WINDOW))));
}

HWND WindowDisplay::LiveHandle() const
{
    return LiveHandleOf(window_);
}

void WindowDisplay::AcquireDC()
{
    HWND handle = LiveHandle();
    if (!handle)
        return;
    dc_ = painting_ ? BeginPaint(handle, &paint_) : GetDC(handle);
}

void WindowDisplay::ReleaseDC()
{
    HWND handle = LiveHandle();
    if (!dc_ || !handle)
        return;
    if (painting_)
        EndPaint(handle, &paint_);
    else
        ::ReleaseDC(handle, dc_);
}

void WindowDisplay::Bounds(RECT& rect)
{
    if (!painting_) {
        rect = RECT{0, 0, 0, 0};
        return;
    }
    const POINT origin = WindowOrigin();
    rect = paint_.rcPaint;
    OffsetRect(&rect, origin.x, origin.y);
}

void WindowDisplay::ClientRect(RECT& rect)
{
    if (HWND handle = LiveHandle())
        GetClientRect(handle, &rect);
}

void WindowDisplay::InvalidateRgn(zRegion* region, bool erase)
{
    if (HWND handle = LiveHandle())
        ::InvalidateRgn(handle, region ? region->Handle() : nullptr, erase);
}

void WindowDisplay::InvalidateRect(const RECT* rect, bool erase)
{
    if (HWND handle = LiveHandle())
        ::InvalidateRect(handle, rect, erase);
}
