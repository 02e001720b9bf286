#pragma once
// A display over a memory device context with a bitmap selected into it, for drawing off screen. The memory
// context is held for the display's whole life.

#include "framework/draw/Display.h"

#include <cstdint>

class BitmapDisplay : public Display {
public:
    // A bitmap of the given size, compatible with the screen.
    BitmapDisplay(int width, int height);
    ~BitmapDisplay() override;

    // Size in bytes of the colour table of a packed device-independent bitmap: entries x 3 for a 12-byte core
    // header, else entries x 4; entries are biClrUsed when set, else 2, 16 or 256 for 1, 4 or 8 bits, else 0.
    static uint32_t DibColourTableBytes(const void* dib);
    // The display's bitmap as a packed device-independent bitmap (see ExportDib), or null; the caller frees
    // the block.
    HGLOBAL ExportDib() const;

private:
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ firstBitmap_ = nullptr;
};
