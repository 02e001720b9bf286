#include "influence/DiagramPainter.h"

#include "widgets/SplineCurve.h"
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
#include <cmath>
#include <map>
#include <memory>
#include <utility>

void PaintNodeShape(HDC dc, int kind, const RECT& r, int inset, int corner)
{
    const int midX = (r.left + r.right) / 2;
    const int midY = (r.top + r.bottom) / 2;
    switch (kind) {
    case InfluenceKind::Deterministic: {
        Ellipse(dc, r.left, r.top, r.right, r.bottom);
        Ellipse(dc, r.left + inset, r.top + inset, r.right - inset, r.bottom - inset);
        break;
    }
    case InfluenceKind::Chance:
        Ellipse(dc, r.left, r.top, r.right, r.bottom);
        break;
    case InfluenceKind::Decision:
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
        break;
    case InfluenceKind::Value: {
        const POINT diamond[] = {{r.left, midY}, {midX, r.top}, {r.right, midY}, {midX, r.bottom}};
        Polygon(dc, diamond, 4);
        break;
    }
    case InfluenceKind::SubModel: {
        const int c = corner;
        const POINT hexagon[] = {{r.left + c, r.top},     {r.left, midY},     {r.left + c, r.bottom},
                                 {r.right - c, r.bottom}, {r.right, midY}, {r.right - c, r.top}};
        Polygon(dc, hexagon, 6);
        break;
    }
    default:
        break;
    }
}

namespace {

constexpr float kPenWidth = 0.0075f;
constexpr double kArrowLength = 0.12;
// The arrowheads of tree arrows have the same shape.
constexpr double kArrowSpread = 0.785375;
constexpr float kInnerOval = 0.05f;

zPen* InchPen(Display& display, const Colour& colour, int style = PS_SOLID)
{
    return new zPen(colour, style, std::max(1, LogicalWidthToPixels(kPenWidth, display)));
}

LogicalPoint Logical(DiagramPoint point)
{
    return LogicalPoint{point.x, point.y};
}

// The node's outline at the display's scale.
void PaintShape(HDC dc, int kind, const RECT& r, Display& display)
{
    PaintNodeShape(dc, kind, r, LogicalWidthToPixels(kInnerOval, display),
                   LogicalWidthToPixels(NodeLayout::kSubModelCorner, display));
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

} // namespace

Colour NodeKindColour(int kind, bool disabled)
{
    if (disabled)
        return Colour{192, 192, 192, 0};
    switch (kind) {
    case InfluenceKind::Chance:
        return Colour{0, 128, 0, 0};
    case InfluenceKind::Deterministic:
        return Colour{128, 0, 128, 0};
    case InfluenceKind::Decision:
        return Colour{0, 0, 255, 0};
    case InfluenceKind::Value:
        return Colour{255, 0, 0, 0};
    case InfluenceKind::SubModel:
        return Colour{0, 128, 128, 0};
    default:
        return Colour{0, 0, 0, 0};
    }
}

namespace {

// What a whole paint shares: the colour mapping, the preferences' fonts made once for the display, and one
// pen per colour and style, lent to the display as it draws.
class DiagramPaint {
public:
    DiagramPaint(InfluenceDocument& document, Display& display)
        : document_(document), display_(display), colours_(display, nullptr, nullptr),
          nodeFont_(CreateRecordFont(document.prefs.nodeFont, &display)),
          arcFont_(CreateRecordFont(document.prefs.arcFont, &display))
    {
    }

    void PaintNode(InfluenceNodeRecord& node);
    // Grey links from a sub-model node to the masters, in the same diagram, of the clones inside it: an
    // arrowhead at the master when the clone has arcs in, at the sub-model node when it has arcs out.
    void PaintSubModelLinks(InfluenceNodeRecord& subModel, const InfluenceDiagram& diagram);
    // A hidden arc is left out while the preferences leave hidden arcs off the screen (or off paper).
    void PaintArc(InfluenceArc& arc);

private:
    zPen* Pen(const Colour& colour, int style = PS_SOLID)
    {
        std::unique_ptr<zPen>& pen = pens_[{colour.ToColorRef(), style}];
        if (!pen)
            pen.reset(InchPen(display_, colour, style));
        return new zPen(pen->Handle());
    }
    void PaintLabel(InfluenceNodeRecord& node);
    void PaintComment(InfluenceArc& arc);

    InfluenceDocument& document_;
    Display& display_;
    ColourContext colours_;
    std::unique_ptr<zFont> nodeFont_;
    std::unique_ptr<zFont> arcFont_;
    std::map<std::pair<COLORREF, int>, std::unique_ptr<zPen>> pens_;
};

void DiagramPaint::PaintSubModelLinks(InfluenceNodeRecord& subModel, const InfluenceDiagram& diagram)
{
    if (!subModel.subDiagram)
        return;
    const Colour grey = colours_.MapColour(Colour{192, 192, 192, 0});
    HDC dc = display_.DeviceContext();
    display_.PushPen(Pen(grey));
    for (const InfluenceNodeRecord* clone : subModel.subDiagram->nodes) {
        InfluenceNodeRecord* master = clone->cloneMaster;
        if (clone->isClone == 0 || !master ||
            std::find(diagram.nodes.begin(), diagram.nodes.end(), master) == diagram.nodes.end())
            continue;
        const DiagramPoint from = subModel.NodeCentre();
        const DiagramPoint to = master->NodeCentre();
        const LogicalPoint start = Logical(BoundaryPoint(subModel.kind, from, to, subModel.NodeRect()));
        const LogicalPoint end = Logical(BoundaryPoint(master->kind, to, from, master->NodeRect()));
        const POINT first = LogicalPointToPixels(start, display_);
        const POINT last = LogicalPointToPixels(end, display_);
        MoveToEx(dc, first.x, first.y, nullptr);
        LineTo(dc, last.x, last.y);
        if (!clone->arcsIn.empty())
            DrawArrowHead(display_, start, end, kArrowLength, kArrowSpread, grey, true, false);
        if (!clone->arcsOut.empty())
            DrawArrowHead(display_, end, start, kArrowLength, kArrowSpread, grey, true, false);
    }
    display_.PopPen();
}

void DiagramPaint::PaintNode(InfluenceNodeRecord& node)
{
    HDC dc = display_.DeviceContext();
    display_.PushBrush(new zBrush(display_.BackgroundColour()));
    display_.PushPen(Pen(colours_.MapColour(NodeKindColour(node.kind, node.isClone != 0))));
    PaintShape(dc, node.kind, LogicalRectToPixels(node.NodeRect(), display_), display_);
    display_.PopPen();
    display_.PopBrush();
    PaintLabel(node);
}

// The name in the label rectangle in the node's font: centred, or with a fixed node size wrapped and
// centred vertically too.
void DiagramPaint::PaintLabel(InfluenceNodeRecord& node)
{
    const Colour previousText = display_.SetTextColor(
        node.isClone != 0 ? colours_.MapColour(Colour{128, 128, 128, 0}) : Colour{0, 0, 0, 0});
    const int previousMode = display_.SetBackgroundMode(TRANSPARENT);
    std::unique_ptr<zFont> own = node.font ? CreateRecordFont(*node.font, &display_) : nullptr;
    display_.PushFont(new zFont(own ? own->Handle() : nodeFont_->Handle()));
    const LogicalRect label = node.NodeTextRect();
    if (document_.prefs.fixedSize != 0) {
        const int lines = DrawBoxedText(node.name.Text(), label, display_, nullptr, false, true);
        const float height = lines * TextLineHeight(display_, nullptr);
        const float top = label.top + ((label.bottom - label.top) - height) / 2;
        DrawBoxedText(node.name.Text(), LogicalRect{label.left, top, label.right, top + height}, display_, nullptr,
                      true, true);
    } else {
        DrawCentredMultiLineText(display_, display_, node.name.Text(), LogicalRectToPixels(label, display_), -1);
    }
    display_.PopFont();
    display_.SetBackgroundMode(previousMode);
    display_.SetTextColor(previousText);
}

void DiagramPaint::PaintArc(InfluenceArc& arc)
{
    const InfDiagPrefs& prefs = document_.prefs;
    const bool printer = display_.Kind() == Display::KindPrinter;
    int style = PS_SOLID;
    Colour colour{0, 0, 0, 0};
    if (arc.settings.hidden != 0) {
        if (prefs.showHidArcs == 0 || (printer && prefs.printHidArcs == 0))
            return;
        colour = colours_.MapColour(Colour{192, 192, 192, 0});
        if (prefs.dotHidArcs != 0)
            style = PS_DOT;
    }
    display_.PushPen(Pen(colour, style));
    const LogicalPoint base = DrawArcLine(arc, display_);
    display_.PopPen();
    DrawArrowHead(display_, base, Logical(arc.end), kArrowLength, kArrowSpread, colour, true, false);
    if (arc.CommentShown())
        PaintComment(arc);
}

// The comment box framed as the preferences say (0 solid, 1 dotted, else none) with the text inside.
void DiagramPaint::PaintComment(InfluenceArc& arc)
{
    const LogicalRect& box = arc.commentBox;
    if (document_.prefs.arcEdge == 0) {
        display_.PushPen(Pen(Colour{0, 0, 0, 0}));
        display_.FrameRect(LogicalRectToPixels(box, display_));
        display_.PopPen();
    } else if (document_.prefs.arcEdge == 1) {
        DrawDashedRect(display_, box, 2, RGB(0, 0, 0));
    }
    const float margin = InfluenceArc::kCommentMargin;
    const int previousMode = display_.SetBackgroundMode(TRANSPARENT);
    display_.PushFont(new zFont(arcFont_->Handle()));
    const POINT corner = LogicalPointToPixels(LogicalPoint{box.left + margin, box.top + margin}, display_);
    DrawMultiLineText(display_, display_, arc.settings.comment.Text(), corner.x, corner.y, -1);
    display_.PopFont();
    display_.SetBackgroundMode(previousMode);
}

} // namespace

LogicalPoint DrawArcLine(const InfluenceArc& arc, Display& display)
{
    if (arc.curved == 0) {
        HDC dc = display.DeviceContext();
        const POINT start = LogicalPointToPixels(Logical(arc.start), display);
        const POINT middle = LogicalPointToPixels(Logical(arc.middle), display);
        const POINT end = LogicalPointToPixels(Logical(arc.end), display);
        MoveToEx(dc, start.x, start.y, nullptr);
        LineTo(dc, middle.x, middle.y);
        LineTo(dc, end.x, end.y);
        return Logical(arc.start);
    }
    const LogicalPoint points[] = {Logical(arc.start), Logical(arc.middle), Logical(arc.end)};
    const SplineCurve curve(display, points, 3, display.LogPixelsX() / 4, SplineCurve::Draw);
    return curve.PointBeforeLast();
}

void PaintDiagram(InfluenceDocument& document, InfluenceDiagram& diagram, Display& display, const LogicalRect* clip)
{
    DisplayLock lock(display);
    if (display.DeviceContext() == nullptr)
        return;
    DiagramPaint paint(document, display);
    for (InfluenceNodeRecord* node : diagram.nodes) {
        if (node->kind == InfluenceKind::SubModel)
            paint.PaintSubModelLinks(*node, diagram);
        if (clip == nullptr || Overlap(node->NodeRect(), *clip))
            paint.PaintNode(*node);
    }
    for (InfluenceArc* arc : diagram.arcs)
        paint.PaintArc(*arc);
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
        if (arc->CommentShown())
            Include(bounds, arc->commentBox);
    }
    for (int i = 0; i < diagram.notes.Count(); ++i)
        Include(bounds, diagram.notes.At(i)->frame);
    return bounds;
}
