#pragma once
// Small input helpers used program-wide: a message pump for a range of messages, the record of the last
// mouse clicks that windowless items use to tell a double click, and wrappers that post or send keys,
// clicks and commands to windows.

#include <windows.h>

// Dispatches (without translating) every queued message in the range first..last, of any window; 0.
int PumpMessages(UINT first, UINT last);

// Records a mouse-button press at a point in client coordinates. A second record of the same message within
// 10 milliseconds of the last one is the same press and is ignored. The press has no target until the item
// it hit is named with SetClickTarget.
void RecordMouseClick(POINT at);
void SetClickTarget(const void* target);
// The last press and the one before it hit the same target within the system's double-click time and
// rectangle.
bool IsDoubleClick();
// The point of the last press; answers its target.
const void* LastClickPoint(POINT& point);

void PostKeyDown(HWND window, WPARAM key);
// Posts WM_LBUTTONDOWN at the client point (each coordinate kept to its low 16 bits).
void PostMouseDown(HWND window, POINT point);
void PostCommand(HWND window, UINT id);
LRESULT SendCommand(HWND window, UINT id);
