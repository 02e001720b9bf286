#include "treewin/TreeArrowDrawing.h"

#include "framework/draw/Display.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/LineGeometry.h"
#include "framework/draw/zBrush.h"
#include "framework/draw/zPen.h"
#include "framework/draw/zRegion.h"
#include "model/TreeArrow.h"
#include "treewin/TreePainter.h"
#include "treewin/TreeWindow.h"

#include <memory>

namespace {

constexpr double kHeadAngle = 0.785375;

LogicalPoint Tail(const TreeArrow& arrow)
{
    return LogicalPoint{arrow.tailX, arrow.tailY};
}

LogicalPoint Head(const TreeArrow& arrow)
{
    return LogicalPoint{arrow.headX, arrow.headY};
}

double HeadSize(int key)
{
    switch (key) {
    case 1:
        return 0.15;
    case 2:
        return 0.2;
    default:
        return 0.1;
    }
}

bool InGrown(const LogicalRect& rect, float margin, LogicalPoint point)
{
    return point.x >= rect.left - margin && point.x <= rect.right + margin && point.y >= rect.top - margin &&
           point.y <= rect.bottom + margin;
}

} // namespace

void DrawTreeArrow(TreeWindow& window, const TreeArrow& arrow, PaintContext& context)
{
    Display& display = context.TargetDisplay();
    Display& reference = context.Reference();
    const TreeDisplayPrefs& prefs = window.Document().DisplayPrefs;
    const Colour black = context.Map(Colour{0, 0, 0, 0});
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (dc == nullptr)
        return;
    switch (prefs.ArrowLineStyleKey) {
    case 0:
        display.PushPen(context.Pen(black));
        MoveToEx(dc, LogicalXToPixel(arrow.tailX, reference), LogicalYToPixel(arrow.tailY, reference), nullptr);
        LineTo(dc, LogicalXToPixel(arrow.headX, reference), LogicalYToPixel(arrow.headY, reference));
        display.PopPen();
        break;
    case 1:
        DrawDashedLine(display, Tail(arrow), Head(arrow), 2, black.ToColorRef());
        break;
    case 2:
        DrawDashedLine(display, Tail(arrow), Head(arrow), 1, black.ToColorRef());
        break;
    default:
        break;
    }
    DrawArrowHead(display, Tail(arrow), Head(arrow), HeadSize(prefs.ArrowHeadSize), kHeadAngle, black, true, false);
}

void DrawArrowHandles(const TreeArrow& arrow, Display& display)
{
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (dc == nullptr)
        return;
    display.PushBrush(new zBrush(Colour{4, 0, 0, 0}));
    for (const LogicalPoint end : {Tail(arrow), Head(arrow)}) {
        const RECT square = LogicalRectToPixels(ArrowHandleRect(end), display);
        Rectangle(dc, square.left, square.top, square.right, square.bottom);
    }
    display.PopBrush();
}

LogicalRect ArrowHandleRect(LogicalPoint point)
{
    return LogicalRect{point.x - 0.03f, point.y - 0.03f, point.x + 0.03f, point.y + 0.03f};
}

zRegion* ArrowRegion(const TreeArrow& arrow, const Display& display)
{
    return MakeLineBandRegion(Tail(arrow), Head(arrow), 0.08, display);
}

bool ArrowHitTest(TreeWindow& window, const TreeArrow& arrow, LogicalPoint point)
{
    Display& pane = window.PaneDisplay();
    std::unique_ptr<zRegion> region(ArrowRegion(arrow, pane));
    return region->Contains(LogicalXToPixel(point.x, pane), LogicalYToPixel(point.y, pane));
}

bool ArrowHitHead(const TreeArrow& arrow, LogicalPoint point)
{
    return InGrown(ArrowHandleRect(Head(arrow)), 0.04f, point);
}

bool ArrowHitTail(const TreeArrow& arrow, LogicalPoint point)
{
    return InGrown(ArrowHandleRect(Tail(arrow)), 0.02f, point);
}

LogicalRect ArrowBounds(const TreeArrow& arrow)
{
    LogicalRect bounds{arrow.tailX, arrow.tailY, arrow.headX, arrow.headY};
    NormaliseRect(bounds);
    return LogicalRect{bounds.left - 0.12f, bounds.top - 0.12f, bounds.right + 0.12f, bounds.bottom + 0.12f};
}

LogicalRect ArrowExtent(TreeWindow& window, const TreeArrow& arrow)
{
    Display& pane = window.PaneDisplay();
    std::unique_ptr<zRegion> region(ArrowRegion(arrow, pane));
    RECT pixels{};
    region->Bounds(pixels);
    return PixelRectToLogical(pixels, pane);
}
