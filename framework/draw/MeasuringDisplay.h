#pragma once
// The display that texts drawn on a display are measured on: the display itself while the application
// measures on the screen ("UseScreenForSizing", the default) and the display is not a picture; otherwise
// the default printer's information context, or the screen's when no usable printer is installed (none, or
// one that reports no pixels per inch), so that measuring never divides by zero.

class Display;

Display& CurrentPrinter(Display& display);
