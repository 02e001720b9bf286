#pragma once
// The tip box: a short text, one or more lines, painted in the system's tool-tip colours near a point, as
// slider and graph panes show a value while it is dragged.

#include <windows.h>

// The system colours of a tip box, read when made.
struct TipColours {
    COLORREF background = GetSysColor(COLOR_INFOBK);
    COLORREF text = GetSysColor(COLOR_INFOTEXT);
    COLORREF light = GetSysColor(COLOR_3DLIGHT);
    COLORREF shadow = GetSysColor(COLOR_3DDKSHADOW);
};

// Fills the rectangle with the tip background inside a shadow-coloured frame, then redraws its left and top
// edges in the light colour.
void DrawTipFrame(HDC dc, const RECT& rect, const TipColours& colours);

// Paints the text (lines split at CR, LF or CR LF) in the dialog font, in a box whose bottom-left corner is the
// anchor, or, with `centre`, a one-line box centred on it; with a limit the box is moved back inside it. The
// context is left as it was. Returns the box.
RECT DrawTipBox(HDC dc, POINT anchor, const char* text, bool centre, const RECT* limit);
