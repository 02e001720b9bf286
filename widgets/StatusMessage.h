#pragma once
// The text of the main frame's status line. Long operations show what they are doing there; the empty
// text clears it.

#include "foundation/zString.h"

// Shows the text in the status line (the main window's status bar draws the current text).
void ShowStatusMessage(const char* text);
// The text shown now.
const zString& CurrentStatusMessage();
