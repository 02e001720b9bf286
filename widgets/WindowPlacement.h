#pragma once
// Placing windows: inside an area at a vertical fraction and kept within bounds, inside the main frame, and
// fitting a rectangle of a given aspect ratio into another.

#include "foundation/LogicalRect.h"

#include <windows.h>

// Centres the window horizontally in the area with its top `fraction` of the area's height less its own below
// the area's top (0.5 centres it), then moves it back inside the bounds when given: up, down, left, right in that order, so
// that a window larger than the bounds ends at their top-left corner. The second number plays no part.
void PlaceWindow(HWND window, const RECT& area, float fraction, float second, const RECT* bounds);
// PlaceWindow in the main frame's client area (or, when asked and there is one, over the active document
// window's client area where it stands), bounded by the frame's client area. A top-level window is placed on
// the screen where the frame's client area is.
void PlaceWindowInFrame(HWND window, float fraction, float second, bool useActiveChild);
// Where every dialog of the program opens: centred across the active document window, or the frame when
// there is none, a third of the way down.
void PlaceDialogInFrame(HWND dialog);
// Centres the window over another (a system dialog over the window that opened it), kept on the screen.
void CentreWindowOver(HWND window, HWND over);
// Moves a top-level window back onto the work area of the screen it is on, as MoveRectInside moves a rectangle.
void KeepWindowOnScreen(HWND window);
// The largest rectangle of the aspect (height / width) inside the pixel rectangle, centred in the direction
// it does not fill, in logical units and in pixels of the main window's display (each when asked).
void FitRectToAspect(float aspect, const RECT& pixels, LogicalRect* logical, RECT* fitted);
// The rectangle moved back inside the area: left or up when it extends past the right or bottom, then right
// or down when it starts before the left or top (so a rectangle larger than the area keeps its top-left
// corner at the area's).
RECT MoveRectInside(RECT rect, const RECT& area);
