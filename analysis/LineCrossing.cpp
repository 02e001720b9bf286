#include "analysis/LineCrossing.h"

bool InterpolateCrossing(CrossingRecord& c)
{
    if ((c.a1 - c.a0) - (c.b1 - c.b0) == 0.0)
        return false;
    c.x = (c.b0 - c.a0) * ((c.x1 - c.x0) / ((c.a1 - c.a0) - (c.b1 - c.b0))) + c.x0;
    c.t = (c.x - c.x0) / (c.x1 - c.x0);
    c.y = (c.a1 - c.a0) * c.t + c.a0;
    return true;
}

FloatPoint IntersectLines(FloatPoint p1, FloatPoint p2, FloatPoint p3, FloatPoint p4)
{
    // Differences are rounded to single precision first; slopes and the rest are worked in double.
    float dx1 = p2.x - p1.x;
    float dy1 = p2.y - p1.y;
    float dx2 = p4.x - p3.x;
    float dy2 = p4.y - p3.y;
    double m1 = static_cast<double>(dy1) / dx1;
    double m2 = static_cast<double>(dy2) / dx2;
    auto x = static_cast<float>((p1.x * m1 - p3.x * m2 + p3.y - p1.y) / (m1 - m2));
    auto y = static_cast<float>((x - p1.x) * m1 + p1.y);
    return {x, y};
}
