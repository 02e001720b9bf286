#include "framework/draw/DrawingPrimitives.h"

#include "framework/draw/FontRecordFonts.h"

#include "foundation/FontRecord.h"
#include "framework/draw/Display.h"
#include "framework/draw/GdiScopes.h"
#include "framework/draw/zBrush.h"
#include "framework/draw/zFont.h"
#include "framework/draw/zPen.h"
#include "framework/draw/zRegion.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

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

// One pixel of a dashed line: the pattern moves on, and the pixel is set while it draws.
void DashStep(DashWalk& walk, int64_t x, int64_t y)
{
    DashPattern& pattern = *walk.pattern;
    ++pattern.counter;
    if (pattern.counter > (pattern.drawing ? pattern.dashLength : pattern.gapLength)) {
        pattern.drawing = !pattern.drawing;
        pattern.counter = 0;
    }
    if (pattern.drawing)
        SetPixel(walk.dc, static_cast<int>(x), static_cast<int>(y), walk.colour);
}

// The pattern moved on by pixels that are passed by without being drawn, as that many DashSteps would.
void SkipSteps(DashPattern& pattern, int64_t steps)
{
    // From the start of a dash or gap, a dash and a gap later the pattern is where it was.
    const int64_t period = static_cast<int64_t>(pattern.dashLength) + pattern.gapLength + 2;
    while (steps > 0) {
        const int64_t toToggle = (pattern.drawing ? pattern.dashLength : pattern.gapLength) + 1 - pattern.counter;
        if (steps < toToggle) {
            pattern.counter += static_cast<int>(steps);
            return;
        }
        steps = (steps - toToggle) % period;
        pattern.drawing = !pattern.drawing;
        pattern.counter = 0;
    }
}

// The part of the DC that can be drawn on, in its logical coordinates: its clip box, or a picture's
// 16-bit plane; false when nothing can be.
bool VisibleBox(HDC dc, RECT& box)
{
    const int kind = GetClipBox(dc, &box);
    if (kind == NULLREGION)
        return false;
    if (kind == ERROR)
        box = RECT{-32768, -32768, 32768, 32768};
    return true;
}

// The pixels of the segment from `from` to `to`, its end left out, one step along its longer axis each (the
// shorter axis rounded). Only the steps inside the visible box are drawn; the others move the pattern on
// without being walked, so a segment far longer than the screen costs no more than its visible part.
void DashSegment(POINT from, POINT to, const RECT& visible, DashWalk& walk)
{
    const int64_t dx = static_cast<int64_t>(to.x) - from.x;
    const int64_t dy = static_cast<int64_t>(to.y) - from.y;
    const bool alongX = std::llabs(dx) >= std::llabs(dy);
    const int64_t steps = std::max(std::llabs(dx), std::llabs(dy));
    if (steps == 0)
        return;
    const int64_t start = alongX ? from.x : from.y;
    const int64_t sign = (alongX ? dx : dy) < 0 ? -1 : 1;
    const int64_t low = alongX ? visible.left : visible.top;
    const int64_t high = (alongX ? visible.right : visible.bottom) - 1;
    const int64_t first = std::max<int64_t>(0, sign > 0 ? low - start : start - high);
    const int64_t last = std::min<int64_t>(steps - 1, sign > 0 ? high - start : start - low);
    if (first > last) {
        SkipSteps(*walk.pattern, steps);
        return;
    }
    SkipSteps(*walk.pattern, first);
    const int64_t across = alongX ? dy : dx;
    const int64_t acrossSign = across < 0 ? -1 : 1;
    for (int64_t step = first; step <= last; ++step) {
        const int64_t along = start + sign * step;
        const int64_t aside = acrossSign * ((2 * step * std::llabs(across) + steps) / (2 * steps));
        if (alongX)
            DashStep(walk, along, from.y + aside);
        else
            DashStep(walk, from.x + aside, along);
    }
    SkipSteps(*walk.pattern, steps - 1 - last);
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
    RECT visible;
    if (!VisibleBox(dc, visible))
        return;
    const RECT pixels = LogicalRectToPixels(rect, display);
    DashPattern pattern = PatternForStyle(display, style);
    DashWalk walk{dc, colour, &pattern};
    const POINT corners[5] = {{pixels.left, pixels.top}, {pixels.right, pixels.top},
                              {pixels.right, pixels.bottom}, {pixels.left, pixels.bottom},
                              {pixels.left, pixels.top}};
    for (int side = 0; side < 4; ++side)
        DashSegment(corners[side], corners[side + 1], visible, walk);
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

void DrawDashedLine(Display& display, LogicalPoint p0, LogicalPoint p1, int style, COLORREF colour)
{
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (!dc)
        return;
    RECT visible;
    if (!VisibleBox(dc, visible))
        return;
    DashPattern pattern = PatternForStyle(display, style);
    DashWalk walk{dc, colour, &pattern};
    DashSegment(LogicalPointToPixels(p0, display), LogicalPointToPixels(p1, display), visible, walk);
}

void DrawFrameRect(Display& display, const RECT& rect)
{
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (!dc)
        return;
    const POINT sides[4][2] = {{{rect.left + 1, rect.top}, {rect.right, rect.top}},
                               {{rect.right, rect.top + 1}, {rect.right, rect.bottom}},
                               {{rect.right - 1, rect.bottom}, {rect.left, rect.bottom}},
                               {{rect.left, rect.bottom - 1}, {rect.left, rect.top}}};
    for (const auto& side : sides) {
        MoveToEx(dc, side[0].x, side[0].y, nullptr);
        LineTo(dc, side[1].x, side[1].y);
    }
}

namespace {

// A polyline in a solid one-pixel pen of the colour.
void DrawPolyline(HDC dc, COLORREF colour, const POINT* points, int count)
{
    ScopedPen pen(dc, colour);
    Polyline(dc, points, count);
}

} // namespace

void DrawBevel(Display& display, const RECT& rect, int depth, COLORREF light, COLORREF dark)
{
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (!dc)
        return;
    for (int i = 1; i <= depth; ++i) {
        const POINT lit[3] = {{rect.left + i, rect.bottom - i - 1}, {rect.left + i, rect.top + i},
                              {rect.right - i, rect.top + i}};
        const POINT shaded[3] = {{rect.right - i, rect.top + i}, {rect.right - i, rect.bottom - i},
                                 {rect.left + i, rect.bottom - i}};
        DrawPolyline(dc, light, lit, 3);
        DrawPolyline(dc, dark, shaded, 3);
    }
}

void Draw3DFrame(Display& display, RECT rect, bool raised, int depth)
{
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (!dc)
        return;
    --rect.right;
    --rect.bottom;
    const POINT outer[3] = {{rect.left, rect.bottom}, {rect.right, rect.bottom}, {rect.right, rect.top - 1}};
    Polyline(dc, outer, 3);
    --rect.left;
    --rect.top;
    if (raised) {
        DrawBevel(display, rect, depth, RGB(255, 255, 255), RGB(128, 128, 128));
        return;
    }
    for (int i = 1; i < depth; ++i) {
        const POINT inner[3] = {{rect.left + i, rect.bottom - i - 1}, {rect.left + i, rect.top + i},
                                {rect.right - i, rect.top + i}};
        DrawPolyline(dc, RGB(128, 128, 128), inner, 3);
    }
    const POINT edge[3] = {{rect.left, rect.bottom}, {rect.left, rect.top}, {rect.right, rect.top}};
    DrawPolyline(dc, RGB(64, 64, 64), edge, 3);
}

Colour DrawPixel(Display& display, int x, int y, const Colour& colour)
{
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    const COLORREF set = dc ? SetPixel(dc, x, y, colour.ToColorRef()) : CLR_INVALID;
    return set == CLR_INVALID ? display.TextColour() : SplitColour(set);
}

void DrawTextAt(Display& display, int x, int y, const char* text, int length)
{
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (!dc || !text)
        return;
    TextOutA(dc, x, y, text, length < 0 ? static_cast<int>(std::strlen(text)) : length);
}

void ExpandTabs(const char* text, int count, zString& out)
{
    std::string expanded;
    int column = 0;
    for (int i = 0; i < count && text[i] != '\0'; ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            column = 0;
        } else if (c == '\t') {
            const int spaces = 8 - column % 8;
            expanded.append(spaces, ' ');
            column += spaces;
        } else {
            expanded += c;
            ++column;
        }
    }
    out = expanded.c_str();
}

RECT HandleRect(POINT point, bool atCorner, bool centred)
{
    constexpr int kSize = 10;
    POINT corner = point;
    if (!centred) {
        corner.x -= kSize / 2;
        corner.y -= kSize / 2;
    } else if (!atCorner) {
        corner.x -= kSize;
        corner.y -= kSize;
    }
    return RECT{corner.x, corner.y, corner.x + kSize, corner.y + kSize};
}

bool HitHandle(POINT click, POINT point, bool atCorner, bool centred)
{
    const RECT square = HandleRect(point, atCorner, centred);
    return click.x >= square.left && click.x <= square.right && click.y >= square.top && click.y <= square.bottom;
}

void DrawHandle(Display& display, POINT point, const Colour& colour, bool atCorner, bool centred)
{
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (!dc)
        return;
    const RECT square = HandleRect(point, atCorner, centred);
    display.PushPen(new zPen(colour, PS_SOLID, 0));
    display.PushBrush(new zBrush(colour));
    const POINT corners[4] = {{square.left, square.top}, {square.right, square.top}, {square.right, square.bottom},
                              {square.left, square.bottom}};
    Polygon(dc, corners, 4);
    display.PopBrush();
    display.PopPen();
    display.FrameRect(square);
}

void DrawCornerHandle(Display& display, POINT corner, const Colour& colour, bool topLeft)
{
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (!dc)
        return;
    const RECT square = HandleRect(corner, topLeft, true);
    // The far corners of the square, across and down from the handle's corner.
    const LONG across = topLeft ? square.right : square.left;
    const LONG down = topLeft ? square.bottom : square.top;
    display.PushPen(new zPen(colour, PS_SOLID, 0));
    display.PushBrush(new zBrush(colour));
    const POINT half[3] = {corner, {across, corner.y}, {corner.x, down}};
    Polygon(dc, half, 3);
    const POINT outline[5] = {corner, {across, corner.y}, {across, down}, {corner.x, down}, corner};
    Polyline(dc, outline, 5);
    display.PopBrush();
    display.PopPen();
}
