// The marks of a diagram window's selection (a node's band, an arc's wide line and middle handle) and the arc
// hit test, each at the display's scale.

#include "influence/DiagramPainter.h"

#include "widgets/SplineCurve.h"
#include "framework/draw/ColourContext.h"
#include "framework/draw/Display.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/zBrush.h"
#include "framework/draw/zPen.h"
#include "framework/draw/zRegion.h"
#include "model/InfluenceDiagram.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

LogicalPoint Logical(DiagramPoint point)
{
    return LogicalPoint{point.x, point.y};
}

constexpr float kSelectionBand = 0.06f;
constexpr float kArcReach = 0.05f;
constexpr int kHandleHalf = 4;
constexpr int kHandleReach = 6;
constexpr int kSelectedLine = 3;

// The node's shape in pixels (inner: shrunk by the selection band) as a region.
std::unique_ptr<zRegion> NodeRegion(const InfluenceNodeRecord& node, Display& display, bool inner)
{
    LogicalRect rect = node.NodeRect();
    float corner = NodeLayout::kSubModelCorner;
    if (inner) {
        float insetX = kSelectionBand;
        float insetY = kSelectionBand;
        const float height = std::max(rect.bottom - rect.top, 1e-6f);
        if (node.kind == InfluenceKind::Value) {
            const float ratio = (rect.right - rect.left) / height;
            if (ratio > 1)
                insetX *= ratio;
            else
                insetY /= std::max(ratio, 1e-6f);
        }
        rect = LogicalRect{rect.left + insetX, rect.top + insetY, rect.right - insetX, rect.bottom - insetY};
        if (node.kind == InfluenceKind::SubModel)
            corner *= 1 - 0.12f / height;
    }
    RECT r = LogicalRectToPixels(rect, display);
    if (inner) {
        ++r.left;
        ++r.top;
    }
    const int midX = (r.left + r.right) / 2;
    const int midY = (r.top + r.bottom) / 2;
    switch (node.kind) {
    case InfluenceKind::Chance:
    case InfluenceKind::Deterministic:
        return std::make_unique<zRegion>(CreateEllipticRgn(r.left, r.top, r.right, r.bottom));
    case InfluenceKind::Value: {
        const POINT diamond[] = {{r.left, midY}, {midX, r.top}, {r.right, midY}, {midX, r.bottom}};
        return std::make_unique<zRegion>(CreatePolygonRgn(diamond, 4, WINDING));
    }
    case InfluenceKind::SubModel: {
        const int c = LogicalWidthToPixels(corner, display);
        const POINT hexagon[] = {{r.left + c, r.top},     {r.left, midY},     {r.left + c, r.bottom},
                                 {r.right - c, r.bottom}, {r.right, midY}, {r.right - c, r.top}};
        return std::make_unique<zRegion>(CreatePolygonRgn(hexagon, 6, WINDING));
    }
    default:
        return std::make_unique<zRegion>(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    }
}

double SegmentDistance(DiagramPoint p, DiagramPoint a, DiagramPoint b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = dx * dx + dy * dy;
    double t = length > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

} // namespace

void PaintSelectionBand(const InfluenceNodeRecord& node, Display& display)
{
    DisplayLock lock(display);
    if (display.DeviceContext() == nullptr)
        return;
    std::unique_ptr<zRegion> band = NodeRegion(node, display, false);
    band->Subtract(*NodeRegion(node, display, true));
    const ColourContext colours(display, nullptr, nullptr);
    zBrush brush(colours.MapColour(NodeKindColour(node.kind, node.isClone != 0)));
    FillRgn(display.DeviceContext(), band->Handle(), brush.Handle());
}

void PaintArcSelection(const InfluenceDocument& document, const InfluenceArc& arc, Display& display)
{
    DisplayLock lock(display);
    if (display.DeviceContext() == nullptr)
        return;
    if (arc.settings.hidden == 0 || document.prefs.showHidArcs != 0) {
        const ColourContext colours(display, nullptr, nullptr);
        const Colour colour =
            arc.settings.hidden != 0 ? colours.MapColour(Colour{192, 192, 192, 0}) : Colour{0, 0, 0, 0};
        display.PushPen(new zPen(colour, PS_SOLID, kSelectedLine));
        DrawArcLine(arc, display);
        display.PopPen();
    }
    const POINT middle = LogicalPointToPixels(Logical(arc.middle), display);
    const RECT square{middle.x - kHandleHalf, middle.y - kHandleHalf, middle.x + kHandleHalf, middle.y + kHandleHalf};
    zBrush brush(Colour{0, 0, 0, 0});
    FillRect(display.DeviceContext(), &square, brush.Handle());
}

bool ArcHit(InfluenceDocument& document, const InfluenceArc& arc, DiagramPoint point, Display& display)
{
    if (arc.settings.hidden != 0 && document.prefs.showHidArcs == 0)
        return false;
    const LogicalRect& box = arc.commentBox;
    if (arc.CommentShown() && point.x >= box.left && point.x <= box.right && point.y >= box.top &&
        point.y <= box.bottom)
        return true;
    const float reach = static_cast<float>(PixelWidthToLogical(kHandleReach, display));
    if (std::fabs(point.x - arc.middle.x) <= reach && std::fabs(point.y - arc.middle.y) <= reach)
        return true;
    if (arc.curved == 0)
        return SegmentDistance(point, arc.start, arc.middle) <= kArcReach ||
               SegmentDistance(point, arc.middle, arc.end) <= kArcReach;
    const LogicalPoint points[] = {Logical(arc.start), Logical(arc.middle), Logical(arc.end)};
    const SplineCurve curve(display, points, 3, display.LogPixelsX() / 4, SplineCurve::HitRegion);
    const POINT pixel = LogicalPointToPixels(Logical(point), display);
    return curve.Region() != nullptr && curve.Region()->Contains(pixel.x, pixel.y);
}
