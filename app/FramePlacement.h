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
