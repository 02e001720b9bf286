#include "widgets/WindowPlacement.h"

#include "framework/window/MDIframeCL.h"
#include "widgets/Shell.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/WindowDisplay.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/MDIchildCL.h"

void PlaceWindow(HWND window, const RECT& area, float fraction, float, const RECT* bounds)
{
    RECT own{};
    if (IsWindow(window))
        GetWindowRect(window, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    int left = (area.left + area.right - width) / 2;
    int top = area.top + static_cast<int>(static_cast<float>(area.bottom - area.top - height) * fraction);
    if (bounds) {
        if (top + height > bounds->bottom)
            top = bounds->bottom - height;
        if (top < bounds->top)
            top = bounds->top;
        if (left + width > bounds->right)
            left = bounds->right - width;
        if (left < bounds->left)
            left = bounds->left;
    }
    MoveWindow(window, left, top, width, height, TRUE);
}

void PlaceWindowInFrame(HWND window, float fraction, float second, bool useActiveChild)
{
    MDIframeCL* frame = TheShell().Frame();
    if (!frame)
        return;
    RECT bounds{};
    GetClientRect(frame->Handle(), &bounds);
    RECT area = bounds;
    if (MDIchildCL* child = useActiveChild ? frame->MDIframeCL::ActiveChild() : nullptr) {
        // Over the window where it stands in the frame.
        GetClientRect(child->Handle(), &area);
        MapWindowPoints(child->Handle(), frame->Handle(), reinterpret_cast<POINT*>(&area), 2);
    }
    if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
        POINT origin{0, 0};
        ClientToScreen(frame->Handle(), &origin);
        OffsetRect(&bounds, origin.x, origin.y);
        OffsetRect(&area, origin.x, origin.y);
    }
    PlaceWindow(window, area, fraction, second, &bounds);
}

namespace {

RECT WorkAreaOf(HWND window)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        area = monitor.rcWork;
    return area;
}

} // namespace

void CentreWindowOver(HWND window, HWND over)
{
    RECT area{};
    if (over == nullptr || !GetWindowRect(over, &area))
        return;
    const RECT screen = WorkAreaOf(over);
    PlaceWindow(window, area, 0.5f, 0.5f, &screen);
}

void KeepWindowOnScreen(HWND window)
{
    RECT place{};
    if (!GetWindowRect(window, &place))
        return;
    const RECT inside = MoveRectInside(place, WorkAreaOf(window));
    if (inside.left != place.left || inside.top != place.top)
        SetWindowPos(window, nullptr, inside.left, inside.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceDialogInFrame(HWND dialog)
{
    PlaceWindowInFrame(dialog, 0.33f, 0.5f, true);
}

void FitRectToAspect(float aspect, const RECT& pixels, LogicalRect* logical, RECT* fitted)
{
    WindowDisplay display(TheApp ? TheApp->MainWindow() : nullptr);
    LogicalRect rect = PixelRectToLogical(pixels, display);
    const float width = rect.right - rect.left;
    const float height = rect.bottom - rect.top;
    if (aspect <= height / width) {
        const float fittedHeight = width * aspect;
        rect.top = (rect.top + rect.bottom - fittedHeight) / 2;
        rect.bottom = rect.top + fittedHeight;
    } else {
        const float fittedWidth = height / aspect;
        rect.left = (rect.left + rect.right - fittedWidth) / 2;
        rect.right = rect.left + fittedWidth;
    }
    if (logical)
        *logical = rect;
    if (fitted)
        *fitted = LogicalRectToPixels(rect, display);
}

RECT MoveRectInside(RECT rect, const RECT& area)
{
    int dx = 0;
    int dy = 0;
    if (rect.right > area.right)
        dx = area.right - rect.right;
    if (rect.bottom > area.bottom)
        dy = area.bottom - rect.bottom;
    if (rect.left + dx < area.left)
        dx = area.left - rect.left;
    if (rect.top + dy < area.top)
        dy = area.top - rect.top;
    OffsetRect(&rect, dx, dy);
    return rect;
}
