#pragma once
// Drawing routines shared by the document drawings. Rectangles in logical units are converted with the
// display (LogicalUnits.h); pixel rectangles are used as given. Each routine locks the display itself.

#include "foundation/zString.h"
#include "framework/draw/Colour.h"
#include "framework/draw/LogicalUnits.h"

#include <windows.h>

class Display;
class zRegion;
class FontRecord;

// Fills a pixel rectangle (right and bottom included) with a solid colour.
void DrawShape(Display& display, const RECT& pixels, COLORREF fill);
// Outline of a logical rectangle in a dash pattern drawn pixel by pixel in the colour, one pattern carried
// from side to side (top left to right, right top to bottom, bottom right to left, left bottom to top).
// Style 0: dash 0.02, gap 0.02; 1: dash 0.005, gap 0.032; 2: dash 0.05, gap 0.04; other: 1 pixel each.
// Dashed outlines and lines cost their visible part only: what lies outside the clip box is passed over.
void DrawDashedRect(Display& display, const LogicalRect& rect, int style, COLORREF colour);
// A line from p0 to p1 in the same dash patterns: the first dash has the dash length in pixels, every later
// dash and gap one pixel more than its length.
void DrawDashedLine(Display& display, LogicalPoint p0, LogicalPoint p1, int style, COLORREF colour);
// Outline of a pixel rectangle in the current pen, side by side from each corner to the next.
void DrawFrameRect(Display& display, const RECT& rect);
// `depth` nested outlines inside the pixel rectangle, left and top edges in the light colour, right and
// bottom edges in the dark one.
void DrawBevel(Display& display, const RECT& rect, int depth, COLORREF light, COLORREF dark);
// A raised (lit from the top left) or sunken frame of `depth` pixels inside the pixel rectangle; its right
// and bottom edges are drawn in the current pen.
void Draw3DFrame(Display& display, RECT rect, bool raised, int depth);
// Sets one pixel; the colour actually set, or the display's text colour when none could be set.
Colour DrawPixel(Display& display, int x, int y, const Colour& colour);
// TextOutA of `length` characters (all when negative) at the pixel point.
void DrawTextAt(Display& display, int x, int y, const char* text, int length = -1);
// Copies `count` characters, a tab becoming spaces up to the next multiple of 8 columns; CR and LF are
// dropped and restart the column count.
void ExpandTabs(const char* text, int count, zString& out);

// Selection handles: squares of 10 x 10 pixels at a pixel point: centred on it (centred = false), else
// starting at it (atCorner) or ending at it.
RECT HandleRect(POINT point, bool atCorner, bool centred);
// The click lies in the handle's square, edges included.
bool HitHandle(POINT click, POINT point, bool atCorner, bool centred);
// The handle's square filled in the colour and framed.
void DrawHandle(Display& display, POINT point, const Colour& colour, bool atCorner, bool centred);
// A corner handle: the square inside the corner (below and right of a top-left corner, above and left of a
// bottom-right one) framed in the colour, with its half toward the corner filled.
void DrawCornerHandle(Display& display, POINT corner, const Colour& colour, bool topLeft);
// Writes the text wrapped at word breaks into the logical rectangle in the font (the display's current
// font when none), optionally centred; returns the number of lines, drawing them only when draw is set.
int DrawBoxedText(const char* text, const LogicalRect& rect, Display& display, const FontRecord* font, bool draw,
                  bool centre);

// The region of the band of the given width (inches) around the segment from tail to head (pixels), in the
// display's pixels; nothing is drawn. The caller owns the region.
zRegion* DrawArc(POINT tail, POINT head, double width, const Display& display);
