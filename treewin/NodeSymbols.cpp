#include "treewin/NodeSymbols.h"

#include "framework/draw/Display.h"
#include "framework/draw/zBrush.h"
#include "framework/draw/zPen.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "treewin/TreePainter.h"
#include "treewin/TreeWindow.h"

#include <cstdlib>

namespace {

Colour KindColour(int kind)
{
    switch (kind) {
    case ChanceNode:
    case LogicNode:
        return Colour{0, 128, 0, 0};
    case DecisionNode:
    case ReversedDecisionNode:
        return Colour{0, 0, 255, 0};
    case TerminalNode:
        return Colour{255, 0, 0, 0};
    case MarkovNode:
        return Colour{128, 0, 128, 0};
    default:
        return Colour{0, 0, 0, 0};
    }
}

void Polyline(HDC dc, std::initializer_list<POINT> points)
{
    ::Polyline(dc, points.begin(), static_cast<int>(points.size()));
}

// The arrow inside a reversed decision square: down in a maximising tree, up in a minimising one.
void ReversedArrow(HDC dc, const RECT& r, Display& reference, bool maximising)
{
    const int d = LogicalHeightToPixels(0.025, reference);
    const int ax = LogicalWidthToPixels(0.025, reference);
    const int ay = LogicalHeightToPixels(0.025, reference);
    const int cx = (r.left + r.right) / 2;
    if (maximising) {
        Polyline(dc, {{cx, r.top + d}, {cx, r.bottom - d}, {cx - ax - 1, r.bottom - d - ay - 1}});
        Polyline(dc, {{cx + ax, r.bottom - d - ay}, {cx, r.bottom - d}});
    } else {
        Polyline(dc, {{cx, r.bottom - d}, {cx, r.top + d}, {cx - ax - 1, r.top + d + ay + 1}});
        Polyline(dc, {{cx + ax, r.top + d + ay}, {cx, r.top + d}});
    }
}

// The Markov node's mark inside its circle: an "M" of four strokes.
void PaintMarkovMark(HDC dc, const RECT& r, Display& display, PaintContext& context, const Colour& markColour)
{
    RECT m = r;
    --m.bottom;
    if ((m.right - m.left) % 2 != 0)
        --m.right;
    const float qx = (m.right - m.left) / 4.0f;
    const float qy = (m.bottom - m.top) / 4.0f;
    display.PushPen(context.Pen(markColour));
    Polyline(dc, {{static_cast<LONG>(m.left + qx), static_cast<LONG>(m.bottom - qy + 1)},
                  {static_cast<LONG>(m.left + qx), static_cast<LONG>(m.top + qy)},
                  {static_cast<LONG>(m.left + 2 * qx - 1), static_cast<LONG>(m.top + 2 * qy)},
                  {static_cast<LONG>(m.right - qx), static_cast<LONG>(m.top + qy)},
                  {static_cast<LONG>(m.right - qx), static_cast<LONG>(m.bottom - qy + 1)}});
    display.PopPen();
}

// The label node's zigzag, filled when highlighted.
void PaintLabelZigzag(HDC dc, const RECT& r, int midY, bool highlighted)
{
    const float qx = (r.right - r.left) / 4.0f;
    const float qy = (r.bottom - r.top) / 4.0f;
    const POINT zigzag[4] = {{r.left, midY},
                             {static_cast<LONG>(r.left + qx), static_cast<LONG>(r.top + qy)},
                             {static_cast<LONG>(r.right - qx), static_cast<LONG>(r.bottom - qy)},
                             {r.right, midY}};
    if (highlighted) {
        Polygon(dc, zigzag, 4);
    } else {
        ::Polyline(dc, zigzag, 4);
        LineTo(dc, r.right + 1, midY);
    }
}

// An end node drawn as a line: on its branch's row (or the middle when the row lies elsewhere), a bar when
// highlighted.
void PaintTerminalLine(HDC dc, const RECT& r, int midY, TreeNode* node, Display& reference, bool highlighted)
{
    if (highlighted) {
        const int q = (r.bottom - r.top) / 4;
        Rectangle(dc, r.left, r.top + q, r.right, r.bottom - q);
    } else {
        int row = LogicalYToPixel(node->Geometry().BranchY(), reference);
        if (std::llabs(static_cast<long long>(midY) - row) > 1)
            row = midY;
        MoveToEx(dc, r.left, row, nullptr);
        LineTo(dc, r.right, row);
    }
}

void PaintKind(int kind, TreeNode* node, const RECT& rect, PaintContext& context, bool highlighted, bool greyed)
{
    Display& display = context.TargetDisplay();
    Display& reference = context.Reference();
    HDC dc = display.DeviceContext();
    TreeWindow& window = context.window;
    // A node without a window (a sample of its kind) shows the triangle.
    const int termStyle = node->document != nullptr ? window.Document().DisplayPrefs.TermNodeStyle : 0;
    if (kind == TerminalNode && termStyle == 2)
        kind = TerminalLineNode;
    const Colour colour = context.Map(kind == TerminalLineNode ? Colour{0, 0, 0, 0} : KindColour(kind));
    const Colour background = context.Map(reference.BackgroundColour());
    PaintPen pen(context, greyed ? Colour{192, 192, 192, 0} : colour);
    if (highlighted)
        display.PushBrush(new zBrush(colour));
    const RECT& r = rect;
    const int midX = (r.left + r.right) / 2;
    const int midY = (r.top + r.bottom) / 2;
    const Colour markColour = highlighted ? background : colour;
    switch (kind) {
    case ChanceNode:
    case LogicNode:
        Ellipse(dc, r.left, r.top, r.right, r.bottom);
        if (kind == LogicNode) {
            const int dx = (r.right - r.left) / 3;
            const int dy = (r.bottom - r.top) / 3;
            display.PushPen(context.Pen(markColour));
            Polyline(dc, {{r.left + dx, r.top + dy - 1}, {r.left + dx, r.bottom - dy - 1},
                          {r.right - dx, r.bottom - dy - 1}});
            display.PopPen();
        }
        break;
    case DecisionNode:
    case ReversedDecisionNode:
        if (!highlighted)
            display.PushBrush(new zBrush(background));
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
        if (!highlighted)
            display.PopBrush();
        if (kind == ReversedDecisionNode && window.Document().CalcPrefs.CalcMethod != CostEffectivenessMethod) {
            display.PushPen(context.Pen(markColour));
            ReversedArrow(dc, r, reference, window.Document().IsMaximizing());
            display.PopPen();
        }
        break;
    case TerminalNode: {
        if (termStyle == 0) {
            const POINT triangle[3] = {{r.left, midY}, {r.right, r.top}, {r.right, r.bottom}};
            Polygon(dc, triangle, 3);
        } else {
            const POINT diamond[4] = {{r.left, midY}, {midX, r.top}, {r.right - 1, midY}, {midX, r.bottom - 1}};
            Polygon(dc, diamond, 4);
        }
        break;
    }
    case MarkovNode:
        Ellipse(dc, r.left, r.top, r.right, r.bottom);
        PaintMarkovMark(dc, r, display, context, markColour);
        break;
    case LabelNode:
        PaintLabelZigzag(dc, r, midY, highlighted);
        break;
    case TerminalLineNode:
        PaintTerminalLine(dc, r, midY, node, reference, highlighted);
        break;
    default:
        break;
    }
    if (highlighted)
        display.PopBrush();
}

} // namespace

void PaintNodeSymbol(TreeNode* node, const RECT& rect, PaintContext& context, bool highlighted, bool greyed)
{
    DisplayLock lock(context.TargetDisplay());
    if (context.TargetDisplay().DeviceContext() == nullptr)
        return;
    if (node->kind == 0) {
        PaintKind(DecisionNode, node, rect, context, false, false);
        PaintKind(ChanceNode, node, rect, context, false, false);
        return;
    }
    PaintKind(node->kind, node, rect, context, highlighted, greyed);
}
