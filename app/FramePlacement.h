#pragma once
// The main frame's saved placement, section "General" of the preferences store: "WasMax" (nonzero when the
// frame was maximised) and "OldRect" ("left,top,right,bottom" of its window rectangle in screen pixels).

#include <windows.h>

class MainFrame;

// The saved "WasMax" value; when it is zero, fills `out` from "OldRect" (all zero when absent or malformed).
int ReadFramePlacement(RECT& out);
// Applies the saved placement when the program was started with the normal (or the default) show command, and returns the
// show command to use: maximised when "WasMax" is set, else the received one (the frame moved to "OldRect"
// unless its four numbers are all equal).
int RestoreFramePlacement(MainFrame* frame, int receivedShowCommand);
// Stores the placement; nothing while the frame is iconic.
void SaveFramePlacement(MainFrame* frame);

// Centres a top-level window on the point at the fractions (fx, fy) of the client area of the active MDI
// child when asked and one is active, else of the main frame; the window stays on its screen's work area.
void PlaceWindowInFrame(HWND window, float fx, float fy, bool relativeToActiveChild);
