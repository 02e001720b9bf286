#pragma once
// Colours of windows and controls: the button-face background of dialog-like windows, whether a device shows
// colours, and filled rectangles framed in their own colour.

#include "framework/draw/Colour.h"

#include <windows.h>

class Display;
class WindowCL;

// The window and every child control whose text is not empty take the button-face colour recorded at
// start-up; controls without text keep their own background.
void ApplyButtonFaceColour(WindowCL* window);
// True when the window's device shows 8 colours or more (or more than a palette holds).
bool IsColourDevice(WindowCL* window);
// Fills the rectangle (pixels) and frames it one pixel wide in the colour given, else the source window's
// background colour, else the display's background colour.
void FillFramedRect(Display& display, const RECT& rect, WindowCL* colourSource, const Colour* colour);
