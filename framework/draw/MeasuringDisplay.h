#pragma once
// The display that texts drawn on a display are measured on: the display itself while the program measures
// on the screen ("UseScreenForSizing", the default) and the display is not a picture; otherwise
// the program's measuring printer, an information context made at start-up that follows the last document
// printer opened. Without a usable one (none made, or no printer installed) the default printer's
// information context serves, or the screen's when that reports no pixels per inch, so that measuring never
// divides by zero.

#include <windows.h>

class Display;

Display& CurrentPrinter(Display& display);

// Whether texts are measured on the display drawn on (the default) or on the measuring printer.
bool MeasuringOnScreen();
void SetMeasuringOnScreen(bool onScreen);

// The measuring printer: made at start-up on the current printer and deleted at shut-down.
void CreatePrinterInfoContext();
void DeletePrinterInfoContext();
// The measuring printer, when there is one, takes the printer display's capabilities and names and opens on
// its device mode (null: the printer's own settings).
void FollowPrinter(Display& printer, const DEVMODEA* deviceMode);
