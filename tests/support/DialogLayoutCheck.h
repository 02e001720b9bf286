#pragma once
// The layout of a dialog window as a person sees it: every visible control inside the client area, no two
// of them overlapping (a group box round the controls inside it aside), and every text in one of the system's
// text controls (and every line of a list box) fitting its control, as measured now with the control's own
// font and the system's margins; and no closed combo box carrying a scroll bar of its own.

#include <windows.h>

#include <string>
#include <vector>

// One line per fault, naming the controls by id and text; empty when the layout holds.
std::vector<std::string> DialogLayoutFaults(HWND dialog);
