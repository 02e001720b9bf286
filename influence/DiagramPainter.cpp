#include "influence/DiagramPainter.h"

#include "app/SplineCurve.h"
#include "framework/draw/ColourContext.h"
#include "framework/draw/Display.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/FontRecordFonts.h"
#include "framework/draw/LineGeometry.h"
#include "framework/draw/MultiLineText.h"
#include "framework/draw/zBrush.h"
#include "framework/draw/zPen.h"
#include "model/InfluenceDiagram.h"
#include "model/NoteBox.h"
#include "treewin/NoteBoxDrawing.h"

#include <algorithm>

namespace {

constexpr float kPenWidth = 0.0075f;
constexpr double kArrowLength = 0.12;
constexpr double kArrowHalfAngle = 0.785375;
constexpr float kInnerOval = 0.05f;

zPen* InchPen(Display& display, const Colour& colour, int style = PS_SOLID)
{
    return new zPen(colour, style, std::max(1, LogicalWidthToPixels(kPenWidth, display)));
}

LogicalPoint Logical(DiagramPoint point)
{
    return LogicalPoint{point.x, point.y};
}

// The node's outline of its kind in the pixel rectangle, with the display's pen and brush.
void PaintShape(HDC dc, int kind, const RECT& r, Display& display)
{
    const int midX = (r.left + r.right) / 2;
    const int midY = (r.top + r.bottom) / 2;
    switch (kind) {
    case DeterministicNode: {
        Ellipse(dc, r.left, r.top, r.right, r.bottom);
        const int inset = LogicalWidthToPixels(kInnerOval, display);
        Ellipse(dc, r.left + inset, r.top + inset, r.right - inset, r.bottom - inset);
        break;
    }
    case ChanceNode:
        Ellipse(dc, r.left, r.top, r.right, r.bottom);
        break;
    case DecisionNode:
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
        break;
    case ValueNode: {
        const POINT diamond[] = {{r.left, midY}, {midX, r.top}, {r.right, midY}, {midX, r.bottom}};
        Polygon(dc, diamond, 4);
        break;
    }
    case SubModelNode: {
        const int c = LogicalWidthToPixels(NodeLayout::kSubModelCorner, display);
        const POINT hexagon[] = {{r.left + c, r.top},     {r.left, midY},     {r.left + c, r.bottom},
                                 {r.right - c, r.bottom}, {r.right, midY}, {r.right - c, r.top}};
        Polygon(dc, hexagon, 6);
        break;
    }
    default:
        break;
    }
}

bool Overlap(const LogicalRect& a, const LogicalRect& b)
{
    return std::min(a.right, b.right) > std::max(a.left, b.left) &&
           std::min(a.bottom, b.bottom) > std::max(a.top, b.top);
}

void Include(LogicalRect& bounds, const LogicalRect& rect)
{
    bounds.right = std::max(bounds.right, rect.right);
    bounds.bottom = std::max(bounds.bottom, rect.bottom);
}

// The node's own font, else the preferences' node font, for the display at its scale.
std::unique_ptr<zFont> LabelFont(InfluenceDocument& document, InfluenceNodeRecord& node, Display& display)
{
    return CreateRecordFont(node.font ? *node.font : document.prefs.nodeFont, &display);
}

} // namespace

Colour NodeKindColour(int kind, bool disabled)
{
    if (disabled)
        return Colour{192, 192, 192, 0};
    switch (kind) {
    case ChanceNode:
        return Colour{0, 128, 0, 0};
    case DeterministicNode:
        return Colour{128, 0, 128, 0};
    case DecisionNode:
        return Colour{0, 0, 255, 0};
    case ValueNode:
        return Colour{255, 0, 0, 0};
    case SubModelNode:
        return Colour{0, 128, 128, 0};
    default:
        return Colour{0, 0, 0, 0};
    }
}

void PaintNode(InfluenceDocument& document, InfluenceNodeRecord& node, Display& display)
{
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (dc == nullptr)
        return;
    const ColourContext colours(display, nullptr, nullptr);
    display.PushBrush(new zBrush(display.BackgroundColour()));
    display.PushPen(InchPen(display, colours.MapColour(NodeKindColour(node.kind, node.isClone != 0))));
    PaintShape(dc, node.kind, LogicalRectToPixels(node.NodeRect(), display), display);
    display.PopPen();
    display.PopBrush();

    const Colour previousText =
        display.SetTextColor(node.isClone != 0 ? colours.MapColour(Colour{128, 128, 128, 0}) : Colour{0, 0, 0, 0});
    const int previousMode = display.SetBackgroundMode(TRANSPARENT);
    display.PushFont(LabelFont(document, node, display).release());
    const LogicalRect label = node.NodeTextRect();
    if (document.prefs.fixedSize != 0) {
        const int lines = DrawBoxedText(node.name.Text(), label, display, nullptr, false, true);
        const float height = lines * TextLineHeight(display, nullptr);
        const float top = label.top + ((label.bottom - label.top) - height) / 2;
        DrawBoxedText(node.name.Text(), LogicalRect{label.left, top, label.right, top + height}, display, nullptr,
                      true, true);
    } else {
        DrawCentredMultiLineText(display, display, node.name.Text(), LogicalRectToPixels(label, display), -1);
    }
    display.PopFont();
    display.SetBackgroundMode(previousMode);
    display.SetTextColor(previousText);
}

void PaintArc(InfluenceDocument& document, InfluenceArc& arc, Display& display)
{
    const InfDiagPrefs& prefs = document.prefs;
    const bool printer = display.Kind() == Display::KindPrinter;
    int style = PS_SOLID;
    const ColourContext colours(display, nullptr, nullptr);
    Colour colour{0, 0, 0, 0};
    if (arc.settings.hidden != 0) {
        if (prefs.showHidArcs == 0 || (printer && prefs.printHidArcs == 0))
            return;
        colour = colours.MapColour(Colour{192, 192, 192, 0});
        if (prefs.dotHidArcs != 0)
            style = PS_DOT;
    }
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (dc == nullptr)
        return;
    display.PushPen(InchPen(display, colour, style));
    LogicalPoint base = Logical(arc.start);
    if (arc.curved == 0) {
        const POINT start = LogicalPointToPixels(Logical(arc.start), display);
        const POINT middle = LogicalPointToPixels(Logical(arc.middle), display);
        const POINT end = LogicalPointToPixels(Logical(arc.end), display);
        MoveToEx(dc, start.x, start.y, nullptr);
        LineTo(dc, middle.x, middle.y);
        LineTo(dc, end.x, end.y);
    } else {
        const LogicalPoint points[] = {Logical(arc.start), Logical(arc.middle), Logical(arc.end)};
        const SplineCurve curve(display, points, 3, display.LogPixelsX() / 4, SplineCurve::Draw);
        base = curve.PointBeforeLast();
    }
    display.PopPen();
    DrawArrowHead(display, base, Logical(arc.end), kArrowLength, 2 * kArrowHalfAngle, colour, true, false);

    if (arc.settings.showComment == 0 || arc.settings.comment.IsEmpty())
        return;
    const LogicalRect& box = arc.commentBox;
    if (prefs.arcEdge == 0) {
        display.PushPen(InchPen(display, Colour{0, 0, 0, 0}));
        display.FrameRect(LogicalRectToPixels(box, display));
        display.PopPen();
    } else if (prefs.arcEdge == 1) {
        DrawDashedRect(display, box, 2, RGB(0, 0, 0));
    }
    const float margin = InfluenceArc::kCommentMargin;
    const LogicalRect text{box.left + margin, box.top + margin, box.right - margin, box.bottom - margin};
    const int previousMode = display.SetBackgroundMode(TRANSPARENT);
    display.PushFont(CreateRecordFont(prefs.arcFont, &display).release());
    const POINT corner = LogicalPointToPixels(LogicalPoint{text.left, text.top}, display);
    DrawMultiLineText(display, display, arc.settings.comment.Text(), corner.x, corner.y, -1);
    display.PopFont();
    display.SetBackgroundMode(previousMode);
}

void PaintDiagram(InfluenceDocument& document, InfluenceDiagram& diagram, Display& display, const LogicalRect* clip)
{
    DisplayLock lock(display);
    for (InfluenceNodeRecord* node : diagram.nodes)
        if (clip == nullptr || Overlap(node->NodeRect(), *clip))
            PaintNode(document, *node, display);
    for (InfluenceArc* arc : diagram.arcs)
        PaintArc(document, *arc, display);
    for (int i = 0; i < diagram.notes.Count(); ++i)
        DrawNoteBoxFramed(*diagram.notes.At(i), display, document.prefs.noteEdge);
}

LogicalRect DiagramBounds(InfluenceDiagram& diagram, Display& display)
{
    LogicalRect bounds{0, 0, 0, 0};
    for (InfluenceNodeRecord* node : diagram.nodes)
        Include(bounds, node->NodeRect());
    for (InfluenceArc* arc : diagram.arcs) {
        Include(bounds, LogicalRect{0, 0, std::max(arc->start.x, arc->end.x), std::max(arc->start.y, arc->end.y)});
        if (arc->curved != 0) {
            const LogicalPoint points[] = {Logical(arc->start), Logical(arc->middle), Logical(arc->end)};
            const SplineCurve curve(display, points, 3, display.LogPixelsX() / 4, SplineCurve::BoundingBox);
            Include(bounds, PixelRectToLogical(curve.Bounds(), display));
        }
        if (arc->settings.showComment != 0)
            Include(bounds, arc->commentBox);
    }
    for (int i = 0; i < diagram.notes.Count(); ++i)
        Include(bounds, diagram.notes.At(i)->frame);
    return bounds;
}
