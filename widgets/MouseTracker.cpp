#include "widgets/MouseTracker.h"

MouseTracker::MouseTracker(Display* display, const RECT& rect) : TrackerBase(display), rect_(rect)
{
}

void MouseTracker::SetBoundsRect(int left, int top, int right, int bottom)
{
    Limit = RECT{left, top, right, bottom};
    Limited = 1;
}

RECT MouseTracker::MovedTo(const POINT& point) const
{
    RECT moved = rect_;
    OffsetRect(&moved, point.x - StartPoint.x, point.y - StartPoint.y);
    return moved;
}
