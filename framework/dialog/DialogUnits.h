#pragma once
// Dialog units to pixels. With a device context the base units come from the font selected in it: the
// average width of the 52 letters (rounded) and the line height with its external leading; without one,
// from GetDialogBaseUnits. A storable measure: it keeps the pixel pair and the dialog-unit pair of one
// point or size, and is made by its class name "zDialogUnit".

#include "framework/draw/Measures.h"

#include <windows.h>

class zDialogUnit : public zLogMeasure {
public:
    // The horizontal base of a measured width of the 52 letters.
    static int BaseFromLettersWidth(int width);
    // pixels = base x units / 4 (or / 8 vertically), rounded half up on the remainder.
    static int Horizontal(int base, int units) { return Rounded(base * units, 4); }
    static int Vertical(int base, int units) { return Rounded(base * units, 8); }

    // The bases of the system.
    zDialogUnit() : zDialogUnit(nullptr) {}
    // The bases of the font selected in dc, or of the system when dc is null.
    explicit zDialogUnit(HDC dc);
    // Converts the dialog units (x, y) with those bases at once.
    zDialogUnit(int x, int y, HDC dc);
    const StorableClassRecord* ClassRecord() const override;
    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    int BaseX() const { return baseX_; }
    int BaseY() const { return baseY_; }

protected:
    int ToDeviceX(int value, const Device&) const override { return ToPixelsX(value); }
    int ToDeviceY(int value, const Device&) const override { return ToPixelsY(value); }

private:
    static int Rounded(int product, int divisor);

    int baseX_;
    int baseY_;
    bool measured_;
};
