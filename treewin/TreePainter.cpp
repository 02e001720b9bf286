#include "treewin/TreePainter.h"

#include "framework/draw/Display.h"
#include "framework/draw/FontRecordFonts.h"
#include "framework/draw/LineGeometry.h"
#include "framework/draw/zPen.h"
#include "model/MarkovInfo.h"
#include "model/NodeLinkBlock.h"
#include "model/NodeSideRecord.h"
#include "model/TreeNode.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreePane.h"
#include "treewin/TreeWindow.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

const Colour kBlack{0, 0, 0, 0};
const Colour kCloneGrey{192, 192, 192, 0};
const Colour kOptimalMagenta{255, 0, 255, 0};

bool IsTunnelCopy(const TreeNode* node)
{
    return node->markovInfo != nullptr && node->markovInfo->tunnelCount < 0;
}

bool Overlap(const LogicalRect& a, const LogicalRect& b)
{
    return std::max(a.left, b.left) < std::min(a.right, b.right) && std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

POINT Pixel(LogicalPoint p, Display& display)
{
    return POINT{LogicalXToPixel(p.x, display), LogicalYToPixel(p.y, display)};
}

void Line(HDC dc, LogicalPoint from, LogicalPoint to, Display& display)
{
    const POINT a = Pixel(from, display);
    const POINT b = Pixel(to, display);
    MoveToEx(dc, a.x, a.y, nullptr);
    LineTo(dc, b.x, b.y);
}

// Two short strokes across a branch that roll back pruned, kept apart from the marks of the neighbour.
void DrawPrunedMarks(HDC dc, TreeNode* child, LogicalPoint p, LogicalPoint e, bool at90, Display& display)
{
    const float dy = e.y - p.y;
    float dx = e.x - p.x;
    if (at90)
        dx = std::fabs(dy) < 0.00001f ? 0.1f : 0.0f;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length <= 0.0f)
        return;
    const float sign = dy < 0 ? 1.0f : -1.0f;
    LogicalPoint mark{(p.x + e.x) / 2, (p.y + e.y) / 2};
    if (at90)
        mark.x = p.x + (std::fabs(dy) < 0.00001f ? 0.1f : 0.0f);
    const TreeNode* neighbour = dy < 0 ? child->NextSibling() : child->PrevSibling();
    if (neighbour != nullptr && dy != 0.0f) {
        const float row = neighbour->Geometry().BranchY();
        if ((row - p.y) * dy > 0) {
            mark.y = (row + e.y) / 2;
            mark.x = p.x + dx * (mark.y - p.y) / dy;
        }
    }
    for (const float side : {1.0f, -1.0f}) {
        const LogicalPoint at{mark.x + side * 0.04f * dx / length, mark.y + side * 0.04f * dy / length};
        Line(dc, LogicalPoint{at.x - 0.0693f, at.y - 0.04f * sign}, LogicalPoint{at.x + 0.0693f, at.y + 0.04f * sign},
             display);
    }
}

bool HasDistribution(const TreeNode* node)
{
    return node->linkBlock != nullptr && node->linkBlock->sideRecord != nullptr &&
           node->linkBlock->sideRecord->distribution != nullptr;
}

} // namespace

PaintContext::PaintContext(TreeWindow& window, Display& display, Display* reference, const LogicalRect* clip)
    : window(window), colours(display, reference, clip != nullptr ? &everything : nullptr), clip(clip)
{
    if (colours.isExport && clip != nullptr)
        this->clip = &everything;
    for (int kind = 0; kind < 4; ++kind)
        fonts[kind] = CreateRecordFont(window.DefaultFont(kind), &Reference());
}

zPen* PaintContext::Pen(const Colour& colour, float width)
{
    const Colour mapped = Map(colour);
    const int pixels = std::max(1, LogicalWidthToPixels(width, Reference()));
    std::unique_ptr<zPen>& pen = pens[{mapped.ToColorRef(), pixels}];
    if (!pen)
        pen = std::make_unique<zPen>(mapped, PS_SOLID, pixels);
    return new zPen(pen->Handle());
}

PaintPen::PaintPen(PaintContext& context, const Colour& colour) : context_(context)
{
    Display& display = context.TargetDisplay();
    if (context.holdsDcPen && display.DeviceContext() != nullptr) {
        dc_ = display.DeviceContext();
        previous_ = SetDCPenColor(dc_, context.Map(colour).ToColorRef());
    } else {
        display.PushPen(context.Pen(colour));
    }
}

PaintPen::~PaintPen()
{
    if (dc_ != nullptr)
        SetDCPenColor(dc_, previous_);
    else
        context_.TargetDisplay().PopPen();
}

zPen* MakeInchPen(Display& display, const Colour& colour, float width)
{
    return new zPen(colour, PS_SOLID, std::max(1, LogicalWidthToPixels(width, display)));
}

bool SubtreeMayShow(const TreeNode* node, const LogicalRect* clip)
{
    if (node->parent == nullptr || clip == nullptr)
        return true;
    const NodeGeometry& g = node->Geometry();
    return g.SubtreeTop <= clip->bottom && g.SubtreeTop + g.SubtreeHeight >= clip->top &&
           node->parent->Geometry().SymbolX <= clip->right;
}

bool NodeNeedsPaint(TreeNode* node, PaintContext& context)
{
    if (IsTunnelCopy(node))
        return false;
    if (context.colours.isExport || context.clip == nullptr)
        return true;
    const NodeGeometry& g = node->Geometry();
    if (Overlap(LogicalRect{g.X, g.Y, g.SymbolX, g.YBottom}, *context.clip))
        return true;
    if (g.RollBackBoxWidth <= 0.0f && !context.window.Document().IsRolledBack())
        return false;
    return Overlap(RollBackBoxRect(context.window, node), *context.clip);
}

void PaintTreeNode(TreeNode* root, PaintContext& context)
{
    struct Frame {
        TreeNode* node;
        int nextChild;
        bool descends;
        int32_t savedClone;
        int32_t savedMarkov;
    };
    std::vector<Frame> stack{{root, -1, false, 0, 0}};
    // Black is the pen of most lines: pushed once, the lines need not select it each time. One-pixel lines
    // on a screen or bitmap use the DC pen, whose colour changes without a selection.
    Display& display = context.TargetDisplay();
    DisplayLock lock(display);
    const bool onePixel = LogicalWidthToPixels(0.0075f, context.Reference()) <= 1;
    const bool plainDevice = display.Kind() == Display::KindBitmap || display.Kind() == Display::KindWindow;
    const bool dcPen = onePixel && plainDevice && display.DeviceContext() != nullptr && !context.holdsDcPen;
    if (dcPen) {
        display.PushPen(new zPen(DC_PEN));
        SetDCPenColor(display.DeviceContext(), context.Map(kBlack).ToColorRef());
        context.holdsDcPen = true;
    } else {
        display.PushPen(context.Pen(kBlack));
    }
    while (!stack.empty()) {
        Frame& frame = stack.back();
        TreeNode* node = frame.node;
        if (frame.nextChild < 0) {
            if ((!context.colours.isExport && !SubtreeMayShow(node, context.clip)) || IsTunnelCopy(node)) {
                stack.pop_back();
                continue;
            }
            frame.nextChild = 0;
            frame.descends = node->childCount > 0 && node->ChildrenShown();
            if (frame.descends) {
                frame.savedClone = context.InCloneCopy;
                frame.savedMarkov = context.InMarkovSubtree;
                context.InCloneCopy |= node->cloneStatus == CloneCopyNode ? 1 : 0;
                context.InMarkovSubtree |= node->kind == MarkovNode ? 1 : 0;
            }
        }
        if (frame.descends && frame.nextChild < node->childCount) {
            TreeNode* child = node->GetChild(frame.nextChild++);
            stack.push_back(Frame{child, -1, false, 0, 0});  // invalidates frame
            continue;
        }
        if (frame.descends) {
            PaintBranches(node, context);
            context.InCloneCopy = frame.savedClone;
            context.InMarkovSubtree = frame.savedMarkov;
        }
        if (NodeNeedsPaint(node, context))
            PaintNode(node, context);
        stack.pop_back();
    }
    display.PopPen();
    if (dcPen)
        context.holdsDcPen = false;
}

bool DrawsMarkovArc(POINT start, POINT end)
{
    return std::llabs(static_cast<long long>(start.y) - end.y) >= 7;
}

void MarkovArc(POINT start, POINT end, RECT& bounds, POINT& from, POINT& to)
{
    const LONG dx = end.x - start.x;
    const LONG dy = end.y - start.y;
    if (dy > 0) {
        bounds = RECT{start.x, start.y - dy, end.x + dx, end.y};
        from = start;
        to = end;
    } else {
        bounds = RECT{start.x, end.y, end.x + dx, start.y - dy};
        from = end;
        to = start;
    }
}

void PaintBranches(TreeNode* node, PaintContext& context)
{
    Display& display = context.TargetDisplay();
    Display& reference = context.Reference();
    TreeDocument& document = context.window.Document();
    const bool at90 = document.DisplayPrefs.BranchesAt90 != 0;
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (dc == nullptr)
        return;
    LogicalPoint start{node->Geometry().SymbolX, node->Geometry().BranchY()};
    PaintPen pen(context, context.InCloneCopy ? kCloneGrey : kBlack);
    // Past a roll-back box: the branch runs on under the box and parts after it, so that the box covers
    // neither where the branches part nor their marks.
    const LogicalPoint symbol{at90 ? start.x - kSymbolSize / 2 : start.x, start.y};
    const float split = TreeLayout::BranchSplit(node);
    if (split > 0.0f) {
        start.x += split;
        Line(dc, LogicalPoint{node->Geometry().SymbolX, start.y}, start, reference);
    } else {
        start = symbol;
    }
    const bool judged = document.IsRolledBack() && node->IsDecision();
    for (int i = 0; i < node->childCount; ++i) {
        TreeNode* child = node->GetChild(i);
        if (IsTunnelCopy(child))
            continue;
        LogicalPoint p = start;
        LogicalPoint e{child->Geometry().X, child->Geometry().BranchY()};
        if (context.clip != nullptr && display.Kind() == Display::KindPrinter) {
            const LogicalRect band{context.clip->left, context.clip->top - 2.0f, context.clip->right,
                                   context.clip->bottom + 2.0f};
            if (!ClipLine(p, e, band, true, true))
                continue;
        }
        const POINT endPixel = Pixel(e, reference);
        POINT startPixel = Pixel(p, reference);
        ++startPixel.x;
        bool magenta = false;
        if (judged) {
            const bool optimal = node->optimal != nullptr && node->optimal->Contains(child);
            if (optimal && context.InCloneCopy == 0) {
                display.PushPen(context.Pen(kOptimalMagenta));
                magenta = true;
            } else if (!optimal) {
                DrawPrunedMarks(dc, child, p, e, at90, reference);
            }
        }
        if (context.InMarkovSubtree != 0 && !at90 && DrawsMarkovArc(startPixel, endPixel)) {
            RECT bounds;
            POINT from, to;
            MarkovArc(startPixel, endPixel, bounds, from, to);
            Arc(dc, bounds.left, bounds.top, bounds.right, bounds.bottom, from.x, from.y, to.x, to.y);
        } else {
            MoveToEx(dc, startPixel.x, startPixel.y, nullptr);
            if (at90) {
                LineTo(dc, startPixel.x, endPixel.y);
                if (magenta) {
                    display.PopPen();
                    magenta = false;
                }
            }
            LineTo(dc, endPixel.x, endPixel.y);
        }
        if (magenta)
            display.PopPen();
    }
    if (HasDistribution(node) && display.Kind() == Display::KindWindow) {
        const RECT box = LogicalRectToPixels(
            LogicalRect{symbol.x - 0.1f, symbol.y - 0.1f, symbol.x + 0.1f, symbol.y + 0.1f}, reference);
        const int middle = (box.left + box.right) / 2;
        Arc(dc, box.left, box.top, box.right, box.bottom, middle, box.bottom, middle, box.top);
    }
}

void InvalidateNode(TreeWindow& window, const TreeNode* node, bool recursive)
{
    TreePane* pane = window.Pane();
    if (pane == nullptr)
        return;
    pane->PushDrawingScale();
    std::vector<const TreeNode*> pending{node};
    while (!pending.empty()) {
        const TreeNode* next = pending.back();
        pending.pop_back();
        const NodeGeometry& g = next->Geometry();
        const LogicalRect box{g.X, g.Y, g.SymbolX + kSymbolSize, g.YBottom};
        window.InvalidateLogicalRect(&box);
        if (window.Document().IsRolledBack() || g.RollBackBoxWidth > 0.0f) {
            const LogicalRect rollBack = RollBackBoxRect(window, next);
            window.InvalidateLogicalRect(&rollBack);
        }
        if (recursive)
            for (int i = 0; i < next->childCount; ++i)
                pending.push_back(next->GetChild(i));
    }
    pane->PopDrawingScale();
}
