#pragma once
// A display over a memory device context with a bitmap selected into it, for drawing off screen and copying
// pictures. The memory context is held (and the display locked) for the display's whole life.

#include "framework/draw/Bitmap.h"
#include "framework/draw/Display.h"

#include <cstdint>
#include <memory>

class BitmapDisplay : public Display {
public:
    // Over the bitmap (owned), in a memory context compatible with the screen.
    explicit BitmapDisplay(Bitmap* bitmap);
    // A new bitmap of the given size, compatible with the screen.
    BitmapDisplay(int width, int height);
    // A new bitmap of the given size, compatible with the display.
    BitmapDisplay(Display& display, int width, int height);
    // Over the bitmap (owned), in a memory context compatible with the display.
    BitmapDisplay(Display& display, Bitmap* bitmap);
    ~BitmapDisplay() override;

    // (0, 0, bitmap width, bitmap height), empty without a bitmap.
    void Bounds(RECT& rect) override;
    void ClientRect(RECT& rect) override;
    // BitBlt of the area at (sourceX, sourceY) onto the target at (x, y).
    void CopyTo(Display& target, int x, int y, int width, int height, int sourceX, int sourceY) override;

    // Selects another bitmap (now owned) and hands the previous one back to the caller; null reselects the
    // bitmap the memory context held at first and hands back the previous one.
    std::unique_ptr<Bitmap> SelectBitmap(Bitmap* bitmap);
    Bitmap* SelectedBitmap() const { return bitmap_.get(); }

    // Size in bytes of the colour table of a packed device-independent bitmap: entries x 3 for a 12-byte core
    // header, else entries x 4; entries are biClrUsed when set, else 2, 16 or 256 for 1, 4 or 8 bits, else 0.
    static uint32_t DibColourTableBytes(const void* dib);
    // The display's bitmap as a packed device-independent bitmap (see ExportDib), or null; the caller frees
    // the block.
    HGLOBAL ExportDib(DWORD compression = BI_RGB, WORD bitCount = 0) const;

private:
    // Takes the memory context, locks the display and selects the bitmap.
    void Attach(HDC memory, Bitmap* bitmap);

    std::unique_ptr<Bitmap> bitmap_;
    HGDIOBJ firstBitmap_ = nullptr;
};
