#pragma once
// A font record on the screen and the printer: the framework font it becomes, the record a font spec
// gives, and its editing in the font dialog.
//
// windows.h comes first on purpose: it defines CreateFont as a macro, so every translation unit must see the
// same spelling.

#include <windows.h>

#include "foundation/FontRecord.h"

#include <cstdint>
#include <memory>

class Display;
class zFont;
class zFontSpec;

// The font spec's face; the size from FontSizeFromSpec; italic when its italic byte is nonzero, bold when its
// weight is at least 700, turned when its escapement is positive.
FontRecord FontRecordFromSpec(const zFontSpec& spec, Display* display);
// The point size of a font spec: its size in tenths / 10 when set; else from a positive height in logical
// units on the display (the screen when none); else, with a display, the size of the font realised there;
// else 12.
int16_t FontSizeFromSpec(const zFontSpec& spec, Display* display);
// Character height (negative) in device units of a font of `size` points on the display (the screen when
// none), under the current drawing scale; -1 when that comes to 0.
int FontHeightForSize(int size, Display* display);
// A framework font for the display (the screen when none); on a printer display it is remade from the
// metrics of the font realised there. The caller owns it.
std::unique_ptr<zFont> CreateRecordFont(const FontRecord& record, Display* display);
// Runs the font dialog from the record (TrueType only when turned or when the caller asks for it); on
// confirmation takes the chosen face, size, italic and bold. Returns whether the user confirmed.
bool EditFontRecord(FontRecord& record, HWND owner, bool trueTypeOnly);
// For the font command, edits the record (owner: the window that owns the dialog) and returns whether the
// user confirmed; any other command returns false.
bool HandleFontCommand(int id, FontRecord& record, HWND owner, bool trueTypeOnly);
