#pragma once
// Painting a laid-out tree: every node's branch lines to its children (with the marks roll back leaves on
// them), its own branch segment, bands, symbol, texts, definitions box and roll-back box, on the screen, a
// printer page, a bitmap or a metafile picture. Children are painted before their parent and the lines
// after the children, so a parent's symbol and texts lie on top. The walk keeps its own stack, so trees of
// any depth paint.

#include "framework/draw/ColourContext.h"
#include "framework/draw/TextStamps.h"
#include "framework/draw/zFont.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

class Display;
struct TreeNode;
class TreeWindow;
class zPen;

// What is handed down the whole paint.
struct PaintContext {
    // The reference display converts inches to pixels and measures texts (the display itself when null);
    // the clip rectangle (inches) limits the work, null paints everything (a picture always paints it all).
    PaintContext(TreeWindow& window, Display& display, Display* reference, const LogicalRect* clip);

    Display& TargetDisplay() const { return colours.display; }
    Display& Reference() const { return colours.reference; }
    Colour Map(const Colour& colour) const { return colours.MapColour(colour); }
    // A pen of the mapped colour and the given width (inches) on the reference display, to push on the
    // display: it lends a pen the context makes once per colour and width.
    zPen* Pen(const Colour& colour, float width = 0.0075f);

    TreeWindow& window;
    ColourContext colours;
    const LogicalRect* clip;
    // The tree's four fonts made for the reference display at the current scale.
    std::unique_ptr<zFont> fonts[4];
    // The single-line texts of the paint: labels repeated on many branches are copied, not drawn again.
    TextStamps stamps;
    // The widths (pixels) the tree's fonts draw the paint's single-line texts at, each text measured once.
    std::unordered_map<std::string, int> drawnWidths[4];
    // Set while the paint holds the DC pen: one-pixel lines then only change its colour (PaintPen).
    bool holdsDcPen = false;
    // Set while painting inside a clone copy and below a Markov node.
    int32_t InCloneCopy = 0;
    int32_t InMarkovSubtree = 0;

private:
    LogicalRect everything{};
    std::map<std::pair<COLORREF, int>, std::unique_ptr<zPen>> pens;
};

// The context's pen of a colour for a scope. While the paint holds the DC pen and the pen is one pixel wide
// only the DC pen's colour changes, which costs far less than selecting a pen; otherwise the pen is pushed.
class PaintPen {
public:
    PaintPen(PaintContext& context, const Colour& colour);
    ~PaintPen();
    PaintPen(const PaintPen&) = delete;
    PaintPen& operator=(const PaintPen&) = delete;

private:
    PaintContext& context_;
    HDC dc_ = nullptr;
    COLORREF previous_ = 0;
};

// A solid pen of the colour, its width in inches converted on the display (at least one pixel).
zPen* MakeInchPen(Display& display, const Colour& colour, float width = 0.0075f);

void PaintTreeNode(TreeNode* node, PaintContext& context);
void PaintBranches(TreeNode* node, PaintContext& context);
void PaintNode(TreeNode* node, PaintContext& context);
bool NodeNeedsPaint(TreeNode* node, PaintContext& context);
bool SubtreeMayShow(const TreeNode* node, const LogicalRect* clip);
// Grows the symbol's pixel rectangle by one pixel so that its middle row is the branch row.
void AlignSymbolToBranch(RECT& symbol, int branchRow);
// Repaints only the node's symbol, highlighted or plain, over the background.
void PaintHighlight(TreeNode* node, bool highlighted, PaintContext& context);
// Invalidates the node's box with its symbol (and roll-back box) on the shown window's pane, grown by 0.15;
// recursive: every child too. Nothing while the tree is not shown.
void InvalidateNode(TreeWindow& window, const TreeNode* node, bool recursive);
// A roll-back box text at the rectangle's top left in the values font; boxed (and not empty): framed 0.03
// outside the rectangle, with rounded corners when the tree uses utility.
void PaintRollBackBox(PaintContext& context, const LogicalRect& rect, const char* text, bool boxed);
// The node is a clone master and the display is not a printer or clone copies are hidden.
bool ShowsCloneMasterMark(TreeWindow& window, const TreeNode* node, Display& display);

// Branches below a Markov node bend as a quarter ellipse when their ends lie 7 pixel rows apart or more;
// the rows are compared in 32 bits, so the largest zooms still bend.
bool DrawsMarkovArc(POINT start, POINT end);
// The ellipse's bounds and the arc's first and last point (drawn counter-clockwise).
void MarkovArc(POINT start, POINT end, RECT& bounds, POINT& from, POINT& to);
