#pragma once
// Dialog units to pixels. With a device context the base units come from the font selected in it: the
// average width of the 52 letters (rounded) and the line height with its external leading; without one,
// from GetDialogBaseUnits.

#include <windows.h>

class zDialogUnit {
public:
    // The horizontal base of a measured width of the 52 letters.
    static int BaseFromLettersWidth(int width);
    // pixels = base x units / 4 (or / 8 vertically), rounded half up on the remainder.
    static int Horizontal(int base, int units) { return Rounded(base * units, 4); }
    static int Vertical(int base, int units) { return Rounded(base * units, 8); }

    // The bases of the font selected in dc, or of the system when dc is null.
    explicit zDialogUnit(HDC dc);
    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    int BaseX() const { return baseX_; }
    int BaseY() const { return baseY_; }

private:
    static int Rounded(int product, int divisor);

    int baseX_;
    int baseY_;
    bool measured_;
};
