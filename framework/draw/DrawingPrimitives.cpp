#include "framework/draw/DrawingPrimitives.h"

#include "framework/draw/FontRecordFonts.h"

#include "foundation/FontRecord.h"
#include "framework/draw/Display.h"
#include "framework/draw/GdiScopes.h"
#include "framework/draw/zFont.h"
#include "framework/draw/zRegion.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// The state of one dashed drawing: lengths in pixels and the phase reached so far.
struct DashPattern {
    int dashLength;
    int gapLength;
    bool drawing = true;
    int counter = 0;
};

DashPattern PatternForStyle(const Display& display, int style)
{
    double dash = 0.0;
    double gap = 0.0;
    switch (style) {
    case 0:
        dash = 0.02;
        gap = 0.02;
        break;
    case 1:
        dash = 0.005;
        gap = 0.032;
        break;
    case 2:
        dash = 0.05;
        gap = 0.04;
        break;
    default:
        break;
    }
    DashPattern pattern{LogicalWidthToPixels(dash, display), LogicalWidthToPixels(gap, display)};
    if (pattern.dashLength < 1)
        pattern.dashLength = 1;
    if (pattern.gapLength < 1)
        pattern.gapLength = 1;
    return pattern;
}

struct DashWalk {
    HDC dc;
    COLORREF colour;
    DashPattern* pattern;
};

void CALLBACK DashStep(int x, int y, LPARAM data)
{
    DashWalk* walk = reinterpret_cast<DashWalk*>(data);
    DashPattern& pattern = *walk->pattern;
    ++pattern.counter;
    if (pattern.counter > (pattern.drawing ? pattern.dashLength : pattern.gapLength)) {
        pattern.drawing = !pattern.drawing;
        pattern.counter = 0;
    }
    if (pattern.drawing)
        SetPixel(walk->dc, x, y, walk->colour);
}

}  // namespace

void DrawShape(Display& display, const RECT& pixels, COLORREF fill)
{
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (!dc)
        return;
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(fill));
    if (!brush.Get())
        return;
    const RECT area{pixels.left, pixels.top, pixels.right + 1, pixels.bottom + 1};
    FillRect(dc, &area, brush.Get());
}

void DrawDashedRect(Display& display, const LogicalRect& rect, int style, COLORREF colour)
{
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (!dc)
        return;
    const RECT pixels = LogicalRectToPixels(rect, display);
    DashPattern pattern = PatternForStyle(display, style);
    DashWalk walk{dc, colour, &pattern};
    const POINT corners[5] = {{pixels.left, pixels.top}, {pixels.right, pixels.top},
                              {pixels.right, pixels.bottom}, {pixels.left, pixels.bottom},
                              {pixels.left, pixels.top}};
    for (int side = 0; side < 4; ++side)
        LineDDA(corners[side].x, corners[side].y, corners[side + 1].x, corners[side + 1].y, DashStep,
                reinterpret_cast<LPARAM>(&walk));
}

int DrawBoxedText(const char* text, const LogicalRect& rect, Display& display, const FontRecord* font, bool draw,
                  bool centre)
{
    if (!text || !*text)
        return 0;
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (!dc)
        return 0;
    if (font)
        display.PushFont(CreateRecordFont(*font, &display).release());
    const RECT pixels = LogicalRectToPixels(rect, display);
    const UINT format = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS | (centre ? DT_CENTER : DT_LEFT);
    RECT measured = pixels;
    const int height = DrawTextA(dc, text, -1, &measured, format | DT_CALCRECT);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int lineHeight = metrics.tmHeight > 0 ? metrics.tmHeight : 1;
    if (draw) {
        RECT area = pixels;
        DrawTextA(dc, text, -1, &area, format);
    }
    if (font)
        display.PopFont();
    return height / lineHeight;
}

zRegion* DrawArc(POINT tail, POINT head, double width, const Display& display)
{
    const double half = LogicalWidthToPixels(width, display) / 2.0;
    const double dx = head.x - tail.x;
    const double dy = head.y - tail.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    // The unit normal of the segment; a segment of no length gets a band across x.
    const double nx = length > 0 ? -dy / length : 0.0;
    const double ny = length > 0 ? dx / length : 1.0;
    const auto offset = [&](POINT p, double sign) {
        return POINT{static_cast<LONG>(std::lround(p.x + sign * half * nx)),
                     static_cast<LONG>(std::lround(p.y + sign * half * ny))};
    };
    const POINT corners[4] = {offset(tail, 1), offset(head, 1), offset(head, -1), offset(tail, -1)};
    return new zPolygonRegion(corners, 4, ALTERNATE);
}
