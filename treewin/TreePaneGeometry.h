#pragma once
// Plane geometry that the tree pane's presses and drags share, in inches.

#include "framework/draw/LogicalUnits.h"

#include <algorithm>
#include <cmath>

inline LogicalRect Normalised(LogicalPoint a, LogicalPoint b)
{
    return LogicalRect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// The point moved onto the horizontal through the anchor when it lies nearer to it than to the vertical.
inline LogicalPoint ConstrainToAxis(LogicalPoint point, LogicalPoint anchor)
{
    if (std::fabs(point.y - anchor.y) <= std::fabs(point.x - anchor.x))
        point.y = anchor.y;
    else
        point.x = anchor.x;
    return point;
}
