// Placing and sizing a document child window inside the frame's client area.

#include "widgets/DocChildWindow.h"
#include "widgets/WindowPlacement.h"
#include "widgets/ZoomPane.h"
#include "framework/draw/Display.h"

namespace {

// Room left round a drawing when its window is fitted to it, in pixels.
constexpr int kContentsMargin = 18;

// The window's rectangle in its parent's client coordinates (the MDI client for a child of the frame; the
// screen for a window without a parent).
RECT RectInParent(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT ParentClientRect(HWND window)
{
    RECT area{};
    GetClientRect(GetParent(window), &area);
    return area;
}

void MoveTo(HWND window, const RECT& rect)
{
    MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

} // namespace

void DocChildWindow::PlaceAt(double across, double down)
{
    if (handle_)
        PlaceWindowInFrame(handle_, static_cast<float>(across), static_cast<float>(down), false);
}

void DocChildWindow::FitToFrame()
{
    if (!handle_ || !GetParent(handle_))
        return;
    const RECT area = ParentClientRect(handle_);
    RECT rect = RectInParent(handle_);
    if (rect.right - rect.left > area.right - area.left)
        rect.right = rect.left + (area.right - area.left);
    if (rect.bottom - rect.top > area.bottom - area.top)
        rect.bottom = rect.top + (area.bottom - area.top);
    MoveTo(handle_, MoveRectInside(rect, area));
}

void DocChildWindow::FitToContents(bool anchorRight, bool anchorBottom, bool keepInside)
{
    Display* display = PaneDisplay();
    LogicalRect bounds{0, 0, 0, 0};
    Bounds(bounds);
    if (!handle_ || !display ||
        (bounds.left == bounds.top && bounds.top == bounds.right && bounds.right == bounds.bottom))
        return;
    RECT rect = RectInParent(handle_);
    RECT client{};
    GetClientRect(handle_, &client);
    const int width = LogicalWidthToPixels(bounds.right - bounds.left, *display) +
                      (rect.right - rect.left) - client.right + kContentsMargin;
    const int height = LogicalHeightToPixels(bounds.bottom - bounds.top, *display) +
                       (rect.bottom - rect.top) - client.bottom + kContentsMargin;
    if (anchorRight)
        rect.left = rect.right - width;
    else
        rect.right = rect.left + width;
    if (anchorBottom)
        rect.top = rect.bottom - height;
    else
        rect.bottom = rect.top + height;
    if (keepInside && GetParent(handle_))
        rect = MoveRectInside(rect, ParentClientRect(handle_));
    MoveTo(handle_, rect);
}
