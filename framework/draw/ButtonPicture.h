#pragma once
// A button's picture drawn on its face: as it is while the button works, or, while it is disabled, its ink
// embossed (a highlight under a shadow), as the system greys a button's image. The picture's own background
// is the button face colour.

#include <windows.h>

class Bitmap;

// The bounds of the picture's ink (its pixels that are not the face colour); empty when it has none.
RECT PictureInk(const Bitmap& picture);
// Draws the part of the picture (in the picture's pixels) with its top-left corner at the point.
void DrawButtonPicture(HDC dc, const Bitmap& picture, const RECT& part, POINT at, bool enabled);
