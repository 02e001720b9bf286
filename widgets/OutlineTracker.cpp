#include "widgets/OutlineTracker.h"

#include "framework/draw/zPen.h"

#include <algorithm>

OutlineTracker::OutlineTracker(Display* display, const Colour& colour) : TrackerBase(display)
{
    SetPen(new zPen(colour, PS_SOLID, 1));
}

DiagramTracker::DiagramTracker(Display* display, const POINT& fixedPoint) : TrackerBase(display), FixedPoint(fixedPoint)
{
}

RECT DiagramTracker::FromFixed(const POINT& point) const
{
    if (LineMode)
        return RECT{FixedPoint.x, FixedPoint.y, point.x, point.y};
    return RECT{std::min(FixedPoint.x, point.x), std::min(FixedPoint.y, point.y), std::max(FixedPoint.x, point.x),
                std::max(FixedPoint.y, point.y)};
}
