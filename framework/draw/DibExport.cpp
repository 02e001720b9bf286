#include "framework/draw/DibExport.h"

#include "framework/draw/BitmapDisplay.h"

#include <cstring>

namespace {

// A global memory block freed with its owner unless released.
class GlobalBlock {
public:
    explicit GlobalBlock(SIZE_T size) : block_(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size)) {}
    ~GlobalBlock()
    {
        if (block_)
            GlobalFree(block_);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    HGLOBAL Get() const { return block_; }
    HGLOBAL Release()
    {
        HGLOBAL block = block_;
        block_ = nullptr;
        return block;
    }

private:
    HGLOBAL block_;
};

// The screen's device context with a palette selected and realised, both undone at the end.
class ScreenWithPalette {
public:
    explicit ScreenWithPalette(HPALETTE palette) : dc_(GetDC(nullptr))
    {
        if (dc_) {
            previous_ = SelectPalette(dc_, palette, FALSE);
            RealizePalette(dc_);
        }
    }
    ~ScreenWithPalette()
    {
        if (dc_) {
            if (previous_)
                SelectPalette(dc_, previous_, FALSE);
            ReleaseDC(nullptr, dc_);
        }
    }
    ScreenWithPalette(const ScreenWithPalette&) = delete;
    ScreenWithPalette& operator=(const ScreenWithPalette&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
    HPALETTE previous_ = nullptr;
};

// Room for the header and a colour table of up to 256 entries (or three bit-field masks).
constexpr SIZE_T HeaderAndTableBytes = sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD);

} // namespace

HGLOBAL ExportDib(HBITMAP bitmap, DWORD compression, WORD bitCount, HPALETTE palette)
{
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info))
        return nullptr;
    if (!palette)
        palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    ScreenWithPalette screen(palette);
    if (!screen.Get())
        return nullptr;

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = bitCount ? bitCount : static_cast<WORD>(info.bmPlanes * info.bmBitsPixel);
    header.biCompression = compression;

    // First pass: the system fills in the image size (and the colour table) without the bits.
    GlobalBlock probe(HeaderAndTableBytes);
    auto* probeInfo = static_cast<BITMAPINFO*>(GlobalLock(probe.Get()));
    if (!probeInfo)
        return nullptr;
    probeInfo->bmiHeader = header;
    int lines = GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight), nullptr, probeInfo,
                          DIB_RGB_COLORS);
    header = probeInfo->bmiHeader;
    GlobalUnlock(probe.Get());
    if (lines == 0)
        return nullptr;
    if (header.biSizeImage == 0) {
        header.biSizeImage = static_cast<DWORD>((info.bmWidth * header.biBitCount + 31) / 32 * 4 * info.bmHeight);
        if (compression != BI_RGB)
            header.biSizeImage = header.biSizeImage * 3 / 2;
    }

    DWORD tableBytes = BitmapDisplay::DibColourTableBytes(&header);
    SIZE_T total = header.biSize + tableBytes + header.biSizeImage;
    GlobalBlock packed(total);
    auto* bytes = static_cast<uint8_t*>(GlobalLock(packed.Get()));
    if (!bytes)
        return nullptr;
    std::memcpy(bytes, &header, sizeof header);
    lines = GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight), bytes + header.biSize + tableBytes,
                      reinterpret_cast<BITMAPINFO*>(bytes), DIB_RGB_COLORS);
    GlobalUnlock(packed.Get());
    return lines == 0 ? nullptr : packed.Release();
}
