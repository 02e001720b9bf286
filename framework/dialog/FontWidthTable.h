#pragma once
// The line height, external leading and the width of every character code of a display's current font.

#include <cstdint>

class Display;

struct FontWidthTable {
    int32_t height;
    int32_t externalLeading;
    int32_t widths[256];

    static void Build(FontWidthTable& table, Display& display);
};
