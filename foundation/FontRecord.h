#pragma once
// A text font as the user chose it: face name, point size, italic, bold and turned (drawn turned by 90
// degrees). It becomes a framework font for drawing, is edited through the font dialog, stores itself in
// archives and reads an older text form.
// Drawing with it and editing it in the font dialog belong to the framework (framework/draw/FontRecordFonts.h).

#include "foundation/zString.h"

#include <cstdint>

class Archive;

// The command that edits a font.
constexpr int FontCommandId = 1303;

class FontRecord {
public:
    // "Times New Roman", 12 points, no flags.
    FontRecord();

    // All five fields equal (the face compared case-sensitively).
    bool operator==(const FontRecord& other) const;
    bool operator!=(const FontRecord& other) const { return !(*this == other); }

    // Decreases a size of 6 or more by one and returns true; false at 5 or less.
    bool Shrink();
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
