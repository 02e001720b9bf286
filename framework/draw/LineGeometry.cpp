#include "framework/draw/LineGeometry.h"

#include "framework/draw/Display.h"
#include "framework/draw/zBrush.h"
#include "framework/draw/zPen.h"
#include "framework/draw/zRegion.h"

#include <cmath>

const double TwoPi = 2 * 3.1415926535;

namespace {

constexpr double kPi = 3.1415926535;

POINT ToPixels(LogicalPoint p, const Display& display)
{
    return POINT{LogicalXToPixel(p.x, display), LogicalYToPixel(p.y, display)};
}

int OutCode(LogicalPoint p, const LogicalRect& rect)
{
    int code = 0;
    if (p.y < rect.top)
        code |= 1;
    else if (p.y > rect.bottom)
        code |= 2;
    if (p.x < rect.left)
        code |= 8;
    else if (p.x > rect.right)
        code |= 4;
    return code;
}

// Moves p (towards q) onto the edges its code names.
void ClipEnd(LogicalPoint& p, LogicalPoint q, int code, const LogicalRect& rect, bool clipX, bool clipY)
{
    if (clipY && (code & 3) != 0) {
        const float y = (code & 1) != 0 ? rect.top : rect.bottom;
        if (q.y != p.y)
            p.x += (q.x - p.x) * (y - p.y) / (q.y - p.y);
        p.y = y;
    }
    if (clipX && (code & 12) != 0) {
        const float x = (code & 4) != 0 ? rect.right : rect.left;
        const bool sameSide = (p.x - x) * (q.x - x) > 0;
        if (sameSide || std::fabs(q.x - p.x) < 1e-10)
            return;
        p.y += (q.y - p.y) * (x - p.x) / (q.x - p.x);
        p.x = x;
    }
}

} // namespace

double LineAngle(LogicalPoint p0, LogicalPoint p1)
{
    const double dx = p1.x - p0.x;
    const double dy = p1.y - p0.y;
    if (std::fabs(dx) <= 0.0001)
        return 3 * kPi / 2;
    if (std::fabs(dy) <= 0.0001)
        return dx > 0 ? 0.0 : kPi;
    double angle = std::atan2(dy, dx);
    while (angle >= TwoPi)
        angle -= TwoPi;
    while (angle < 0)
        angle += TwoPi;
    return angle;
}

LogicalPoint PointAtAngle(LogicalPoint p, double distance, double angle)
{
    return PointAlong(p, distance, std::sin(angle), std::cos(angle));
}

LogicalPoint PointAlong(LogicalPoint p, double distance, double sine, double cosine)
{
    return LogicalPoint{static_cast<float>(p.x + cosine * distance), static_cast<float>(p.y + sine * distance)};
}

void ThickLineCorners(LogicalPoint p0, LogicalPoint p1, LogicalPoint corners[4], double width)
{
    const double across = LineAngle(p0, p1) + kPi / 2;
    const double half = width / 2;
    const double sine = std::sin(across);
    const double cosine = std::cos(across);
    corners[0] = PointAlong(p1, half, sine, cosine);
    corners[1] = PointAlong(p0, half, sine, cosine);
    corners[2] = PointAlong(p0, -half, sine, cosine);
    corners[3] = PointAlong(p1, -half, sine, cosine);
}

zRegion* MakeLineBandRegion(LogicalPoint p0, LogicalPoint p1, double width, const Display& display)
{
    LogicalPoint corners[4];
    ThickLineCorners(p0, p1, corners, width);
    POINT pixels[5];
    for (int i = 0; i < 4; ++i)
        pixels[i] = ToPixels(corners[i], display);
    pixels[4] = pixels[0];
    return new zPolygonRegion(pixels, 5, WINDING);
}

void NormaliseRect(LogicalRect& rect)
{
    if (rect.left > rect.right)
        std::swap(rect.left, rect.right);
    if (rect.top > rect.bottom)
        std::swap(rect.top, rect.bottom);
}

zRegion* DrawArrowHead(Display& display, LogicalPoint p0, LogicalPoint p1, double size, double spread,
                       const Colour& colour, bool draw, bool wantRegion)
{
    // The back corners lie behind the tip. A vertical line's angle (3 pi / 2) already points back up a
    // line drawn downwards, and the size turns for one drawn upwards; any other line's angle points forward.
    double angle = LineAngle(p0, p1);
    if (std::fabs(p1.x - p0.x) <= 0.0001) {
        if (p1.y - p0.y <= 0)
            size = -size;
    } else {
        angle += kPi;
    }
    const POINT triangle[4] = {ToPixels(p1, display), ToPixels(PointAtAngle(p1, size, angle + spread / 2), display),
                               ToPixels(PointAtAngle(p1, size, angle - spread / 2), display),
                               ToPixels(p1, display)};
    if (draw) {
        DisplayLock lock(display);
        display.PushPen(new zPen(colour, PS_SOLID, 0));
        display.PushBrush(new zBrush(colour));
        if (display.DeviceContext() != nullptr)
            Polygon(display.DeviceContext(), triangle, 4);
        display.PopBrush();
        display.PopPen();
    }
    return wantRegion ? new zPolygonRegion(triangle, 4, ALTERNATE) : nullptr;
}

bool ClipLine(LogicalPoint& p0, LogicalPoint& p1, const LogicalRect& rect, bool clipX, bool clipY)
{
    const int code0 = OutCode(p0, rect);
    const int code1 = OutCode(p1, rect);
    if ((code0 | code1) == 0)
        return true;
    if ((code0 & code1) != 0)
        return false;
    const LogicalPoint start = p0;
    ClipEnd(p0, p1, code0, rect, clipX, clipY);
    ClipEnd(p1, start, code1, rect, clipX, clipY);
    return (OutCode(p0, rect) & OutCode(p1, rect)) == 0;
}
