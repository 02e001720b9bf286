#pragma once
// A text font as the user chose it: face name, point size, italic, bold and turned (drawn turned by 90
// degrees). It becomes a framework font for drawing, is edited through the font dialog, stores itself in
// archives and reads an older text form.
//
// windows.h comes first on purpose: it defines CreateFont as a macro, so every translation unit must see the
// same spelling of FontRecord::CreateFont.

#include <windows.h>

#include "foundation/zString.h"

#include <cstdint>
#include <memory>

class Archive;
class Display;
class zFont;
class zFontSpec;

// The command that edits a font.
constexpr int FontCommandId = 1303;

class FontRecord {
public:
    // "Times New Roman", 12 points, no flags.
    FontRecord();
    // The font spec's face; the size from SizeFromHeight; italic when its italic byte is nonzero, bold
    // when its weight is at least 700, turned when its escapement is positive.
    FontRecord(const zFontSpec& spec, Display* display);

    // All five fields equal (the face compared case-sensitively).
    bool operator==(const FontRecord& other) const;
    bool operator!=(const FontRecord& other) const { return !(*this == other); }

    // The point size of a font spec: its size in tenths / 10 when set; else from a positive height in
    // logical units on the display (the screen when none); else, with a display, the size of the font
    // realised there; else 12.
    static int16_t SizeFromHeight(const zFontSpec& spec, Display* display);
    // Character height (negative) in device units of a font of `size` points on the display (the screen when
    // none), under the current drawing scale; -1 when that comes to 0.
    static int FillLogFont(int size, Display* display);

    // Decreases a size of 6 or more by one and returns true; false at 5 or less.
    bool Shrink();
    // A framework font for the display (the screen when none); on a printer display it is remade from the
    // metrics of the font realised there. The caller owns it.
    std::unique_ptr<zFont> CreateFont(Display* display) const;
    // Runs the font dialog from this font (TrueType only when turned or when the application asks for it);
    // on confirmation takes the chosen face, size, italic and bold. Returns whether the user confirmed.
    bool Edit(HWND owner);

    // Stored form:
    //   version record   3 bytes
    //   pointSize        2
    //   italic           1
    //   bold             1
    //   turned           1
    //   marker 202       2   (streams older than 2.6: a 4-byte value, ignored)
    //   face             stored string
    // A size outside 0..200, a negative flag byte or a wrong marker sets format error 31.
    void Serialize(Archive& archive);
    // The record's stored form is one its reader accepts (size 0..200, flag bytes below 128).
    bool IsStorable() const;
    // Reads the older text form "size,italic,bold,turned,face" ("^" in the face stands for a blank). False,
    // and nothing changed, unless all five values are present and in range.
    bool FromText(const char* text);

    int16_t pointSize = 12;
    uint8_t italic = 0;
    uint8_t bold = 0;
    uint8_t turned = 0;
    zString face;
};

// 700 for bold, 200 otherwise.
int FontWeightForBold(bool bold);
bool IsFontCommand(int id);
// For the font command, edits the record (owner: the window that owns the dialog) and returns whether the
// user confirmed; any other command returns false.
bool HandleFontCommand(int id, FontRecord& record, HWND owner);
