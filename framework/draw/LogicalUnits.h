#pragma once
// Document drawings are laid out in logical units (inches, single-precision floats). These conversions
// turn them into device pixels of a display through the program-wide drawing scale and drawing origin.

#include "foundation/LogicalRect.h"

#include <windows.h>

class Display;

// A point of a document drawing in logical units.
struct LogicalPoint {
    float x;
    float y;
};

// A size of a document drawing in logical units.
struct LogicalSize {
    float width = 0.0f;
    float height = 0.0f;
};

// The logical point that maps to device (0, 0); (0, 0) at start.
void SetDrawingOrigin(float x, float y);
float DrawingOriginX();
float DrawingOriginY();

// truncate((x - originX) x LOGPIXELSX x scale), likewise for y; sizes without the origin. Results stay within
// GDI's 27-bit coordinates (no number gives 0).
int LogicalXToPixel(double x, const Display& display);
int LogicalYToPixel(double y, const Display& display);
int LogicalWidthToPixels(double width, const Display& display);
int LogicalHeightToPixels(double height, const Display& display);
POINT LogicalPointToPixels(const LogicalPoint& point, const Display& display);
SIZE LogicalSizeToPixels(const LogicalSize& size, const Display& display);
RECT LogicalRectToPixels(const LogicalRect& rect, const Display& display);

// px / LOGPIXELSX / scale + originX, likewise for y; a display without pixels per inch gives the origin.
float PixelXToLogical(int x, const Display& display);
float PixelYToLogical(int y, const Display& display);
LogicalPoint PixelPointToLogical(const POINT& point, const Display& display);
LogicalSize PixelSizeToLogical(const SIZE& size, const Display& display);
LogicalRect PixelRectToLogical(const RECT& rect, const Display& display);
// px / LOGPIXELSX / scale (LOGPIXELSY for heights), without the origin; 0 without pixels per inch.
float PixelWidthToLogical(int width, const Display& display);
float PixelHeightToLogical(int height, const Display& display);
