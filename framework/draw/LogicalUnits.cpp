#include "framework/draw/LogicalUnits.h"

#include "framework/draw/DrawingScale.h"
#include "framework/draw/Display.h"

#include <algorithm>
#include <cmath>

namespace {

float originX = 0.0f;
float originY = 0.0f;

// GDI's own coordinate range (27 bits): a farther point is drawn at its edge, never wrapped round.
constexpr double kFarthestPixel = 134217727.0;

int Truncate(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, -kFarthestPixel, kFarthestPixel));
}

float ToLogical(int pixels, int perInch, float origin)
{
    const double scale = CurrentDrawingScale();
    if (perInch <= 0 || scale == 0.0)
        return origin;
    return static_cast<float>(pixels / static_cast<double>(perInch) / scale + origin);
}

}  // namespace

void SetDrawingOrigin(float x, float y)
{
    originX = x;
    originY = y;
}

float DrawingOriginX()
{
    return originX;
}

float DrawingOriginY()
{
    return originY;
}

int LogicalXToPixel(double x, const Display& display)
{
    return Truncate((x - originX) * display.LogPixelsX() * static_cast<double>(CurrentDrawingScale()));
}

int LogicalYToPixel(double y, const Display& display)
{
    return Truncate((y - originY) * display.LogPixelsY() * static_cast<double>(CurrentDrawingScale()));
}

int LogicalWidthToPixels(double width, const Display& display)
{
    return Truncate(display.LogPixelsX() * width * static_cast<double>(CurrentDrawingScale()));
}

int LogicalHeightToPixels(double height, const Display& display)
{
    return Truncate(display.LogPixelsY() * height * static_cast<double>(CurrentDrawingScale()));
}

POINT LogicalPointToPixels(const LogicalPoint& point, const Display& display)
{
    return POINT{LogicalXToPixel(point.x, display), LogicalYToPixel(point.y, display)};
}

SIZE LogicalSizeToPixels(const LogicalSize& size, const Display& display)
{
    return SIZE{LogicalWidthToPixels(size.width, display), LogicalHeightToPixels(size.height, display)};
}

RECT LogicalRectToPixels(const LogicalRect& rect, const Display& display)
{
    return RECT{LogicalXToPixel(rect.left, display), LogicalYToPixel(rect.top, display),
                LogicalXToPixel(rect.right, display), LogicalYToPixel(rect.bottom, display)};
}

float PixelXToLogical(int x, const Display& display)
{
    return ToLogical(x, display.LogPixelsX(), originX);
}

float PixelYToLogical(int y, const Display& display)
{
    return ToLogical(y, display.LogPixelsY(), originY);
}

LogicalPoint PixelPointToLogical(const POINT& point, const Display& display)
{
    return LogicalPoint{PixelXToLogical(point.x, display), PixelYToLogical(point.y, display)};
}

LogicalSize PixelSizeToLogical(const SIZE& size, const Display& display)
{
    return LogicalSize{PixelWidthToLogical(size.cx, display), PixelHeightToLogical(size.cy, display)};
}

LogicalRect PixelRectToLogical(const RECT& rect, const Display& display)
{
    return LogicalRect{PixelXToLogical(rect.left, display), PixelYToLogical(rect.top, display),
                       PixelXToLogical(rect.right, display), PixelYToLogical(rect.bottom, display)};
}

float PixelWidthToLogical(int width, const Display& display)
{
    return ToLogical(width, display.LogPixelsX(), 0.0f);
}

float PixelHeightToLogical(int height, const Display& display)
{
    return ToLogical(height, display.LogPixelsY(), 0.0f);
}
