#pragma once
// Geometry of straight lines in logical units (inches): direction angles, points along a direction, the
// band around a thick line (for hit tests), arrowheads, and clipping a segment to a rectangle.

#include "framework/draw/Colour.h"
#include "framework/draw/LogicalUnits.h"

#include <windows.h>

class Display;
class zRegion;

extern const double TwoPi;

// Direction from p0 to p1 in radians, 0 up to 2 pi: 3 pi / 2 when |dx| <= 0.0001; 0 or pi when |dy| <= 0.0001.
double LineAngle(LogicalPoint p0, LogicalPoint p1);
// (x + cos(angle) x distance, y + sin(angle) x distance).
LogicalPoint PointAtAngle(LogicalPoint p, double distance, double angle);
LogicalPoint PointAlong(LogicalPoint p, double distance, double sine, double cosine);
// Corners of the band of the width around the segment: p1 + h, p0 + h, p0 - h, p1 - h, h half the width
// across the line.
void ThickLineCorners(LogicalPoint p0, LogicalPoint p1, LogicalPoint corners[4], double width);
// The band as a closed polygon region (WINDING) in the display's pixels; the caller owns it.
zRegion* MakeLineBandRegion(LogicalPoint p0, LogicalPoint p1, double width, const Display& display);
// Left and top become the smaller, right and bottom the larger coordinate.
void NormaliseRect(LogicalRect& rect);
// The triangle with its tip at p1 and its back corners `size` back along the line at +-spread/2: drawn
// filled in the colour when draw is set; with wantRegion its region (pixels) is returned, else null.
zRegion* DrawArrowHead(Display& display, LogicalPoint p0, LogicalPoint p1, double size, double spread,
                       const Colour& colour, bool draw, bool wantRegion);
// Clips the segment to the rectangle, moving the ends in place (clipY: onto the top and bottom edges,
// clipX: onto the left and right ones); false when the segment lies wholly outside, true when something
// remains.
bool ClipLine(LogicalPoint& p0, LogicalPoint& p1, const LogicalRect& rect, bool clipX, bool clipY);
