#pragma once
// Drawing routines shared by the document drawings. Rectangles in logical units are converted with the
// display (LogicalUnits.h); pixel rectangles are used as given. Each routine locks the display itself.

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
void DrawDashedRect(Display& display, const LogicalRect& rect, int style, COLORREF colour);
// Writes the text wrapped at word breaks into the logical rectangle in the font (the display's current
// font when none), optionally centred; returns the number of lines, drawing them only when draw is set.
int DrawBoxedText(const char* text, const LogicalRect& rect, Display& display, const FontRecord* font, bool draw,
                  bool centre);

// The region of the band of the given width (inches) around the segment from tail to head (pixels), in the
// display's pixels; nothing is drawn. The caller owns the region.
zRegion* DrawArc(POINT tail, POINT head, double width, const Display& display);
