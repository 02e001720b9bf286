#pragma once
// Texts that may span several lines: finding line breaks (CR LF, LF CR, a lone CR or a lone LF each end one
// line), measuring on a display in logical units (inches), shortening with "..." to a width, and drawing
// line by line. A font record, when given, makes a function measure on the display's measuring display
// (CurrentPrinter) with that font; without one the display's current font is used on the display itself.

#include "foundation/zString.h"
#include "framework/draw/LogicalUnits.h"

#include <windows.h>

#include <cstdint>

class Display;
class FontRecord;
struct FontWidthTable;

// Length of the line break starting at the text: 2 for CR LF or LF CR, 1 for a lone CR or LF, 0 otherwise
// (also for null or the terminating NUL).
int LineBreakLength(const char* text);

// The number of line breaks in the text (0 for null).
int CountLineBreaks(const char* text);

// The first CR or LF of the text, or null at its end (and for null).
const char* NextLineBreak(const char* text);

// Width of the text (length < 0: up to its NUL), in inches on the display.
float TextWidth(Display& display, const char* text, const FontRecord* font, int length = -1);
// The font's height (tmHeight) in inches on the display.
float TextLineHeight(Display& display, const FontRecord* font);
// Shortens the text with "..." until it fits the width: cuts after its first p characters (p from the
// entry length - 1 down by one each step) and appends "..."; stops when it fits, when p falls below 3, or
// when after more than 5 steps the width no longer shrinks.
void TruncateTextToWidth(Display& display, zString& text, float maxWidth, const FontRecord* font);
// The widest line's width (when wanted) and the line height x the number of lines (when wanted); a trailing
// break gives a last empty line, an empty text no line.
LogicalSize MeasureMultiLineText(Display& display, const char* text, const FontRecord* font, bool wantWidth,
                                 bool wantHeight);
// Draws each line with TextOutA at (x, y) on the drawing display, y growing by the step (negative: the
// measuring display's line height); returns the number of lines drawn.
int DrawMultiLineText(Display& drawing, Display& measuring, const char* text, int x, int y, int step);
// Each line centred horizontally in the pixel rectangle, measured on the measuring display, the first at
// its top; returns the number of lines.
int DrawCentredMultiLineText(Display& measuring, Display& drawing, const char* text, const RECT& rect, int step);

// The offset where the line starting at `start` ends for a width in pixels: the walk stops at NUL, CR or LF
// (whose break it takes along) or before the first character that would pass the width, but always takes
// at least one character. A tab counts as spaces up to the next multiple of 8 columns. -1 when the text is
// null or the start is at its end. Offsets are 32-bit, so texts of any length can be laid out.
int32_t FitLineToWidth(const FontWidthTable& widths, const char* text, int32_t start, int maxWidth);
