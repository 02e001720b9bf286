#pragma once
// A colour as the framework keeps it: red, green, blue and a flag selecting a plain colour (0), a palette
// index (1) or a palette-relative colour (any other value). It becomes a COLORREF only when handed to Win32.

#include <windows.h>

struct Colour {
    unsigned char red;
    unsigned char green;
    unsigned char blue;
    unsigned char flag;

    COLORREF ToColorRef() const
    {
        const COLORREF rgb = static_cast<COLORREF>(red) | static_cast<COLORREF>(green) << 8;
        if (flag == 0)
            return rgb | static_cast<COLORREF>(blue) << 16;
        if (flag == 1)
            return 0x01000000u | rgb;
        return 0x02000000u | rgb | static_cast<COLORREF>(blue) << 16;
    }
};

// The colour of a COLORREF: red bits 0-7, green 8-15, blue 16-23, flag 24-31.
inline Colour SplitColour(COLORREF value)
{
    return Colour{static_cast<unsigned char>(value & 0xFF), static_cast<unsigned char>((value >> 8) & 0xFF),
                  static_cast<unsigned char>((value >> 16) & 0xFF), static_cast<unsigned char>(value >> 24)};
}
