#pragma once
// Free arrows on a tree drawn with the tree's arrow preferences (line style, head size), their selection
// handles and the areas where a point hits an arrow or one of its ends. Points are in inches.

#include "framework/draw/LogicalUnits.h"

class Display;
struct PaintContext;
struct TreeArrow;
class TreeWindow;
class zRegion;

// The line by ArrowLineStyleKey (0 solid, 1 dashed, 2 dotted, other none), then the filled black head.
void DrawTreeArrow(TreeWindow& window, const TreeArrow& arrow, PaintContext& context);
// The two end handles of a selected arrow.
void DrawArrowHandles(const TreeArrow& arrow, Display& display);
// The 0.06-inch square centred on the point.
LogicalRect ArrowHandleRect(LogicalPoint point);
// The band 0.04 either side of the line, in the display's pixels; the caller owns it.
zRegion* ArrowRegion(const TreeArrow& arrow, const Display& display);
// Whether the point lies in the band, tested in the pixels of the window's pane (so it follows the zoom).
bool ArrowHitTest(TreeWindow& window, const TreeArrow& arrow, LogicalPoint point);
// The end's handle grown by 0.04 (head) or 0.02 (tail), edges included.
bool ArrowHitHead(const TreeArrow& arrow, LogicalPoint point);
bool ArrowHitTail(const TreeArrow& arrow, LogicalPoint point);
// Tail and head as corners, normalised and grown by 0.12: what is invalidated and scrolled to.
LogicalRect ArrowBounds(const TreeArrow& arrow);
// The band's bounds on the pane, in inches: what the drawing's bounds must hold.
LogicalRect ArrowExtent(TreeWindow& window, const TreeArrow& arrow);
