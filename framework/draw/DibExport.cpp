#include "framework/draw/DibExport.h"

#include "foundation/GlobalMemory.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/GdiScopes.h"

#include <cstring>

namespace {

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
    ScopedWindowDC screen(nullptr);
    if (!screen.Get())
        return nullptr;
    ScopedPaletteSelection paletteSelection(screen.Get(), palette);

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = bitCount ? bitCount : static_cast<WORD>(info.bmPlanes * info.bmBitsPixel);
    header.biCompression = compression;

    // First pass: the system fills in the image size (and the colour table) without the bits.
    {
        GlobalBlock probe(GMEM_MOVEABLE | GMEM_ZEROINIT, HeaderAndTableBytes);
        GlobalLockScope lock(probe.Get());
        auto* probeInfo = static_cast<BITMAPINFO*>(lock.Bytes());
        if (!probeInfo)
            return nullptr;
        probeInfo->bmiHeader = header;
        if (!GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight), nullptr, probeInfo,
                       DIB_RGB_COLORS))
            return nullptr;
        header = probeInfo->bmiHeader;
    }
    if (header.biSizeImage == 0) {
        header.biSizeImage = static_cast<DWORD>((info.bmWidth * header.biBitCount + 31) / 32 * 4 * info.bmHeight);
        if (compression != BI_RGB)
            header.biSizeImage = header.biSizeImage * 3 / 2;
    }

    DWORD tableBytes = BitmapDisplay::DibColourTableBytes(&header);
    SIZE_T total = header.biSize + tableBytes + header.biSizeImage;
    GlobalBlock packed(GMEM_MOVEABLE | GMEM_ZEROINIT, total);
    {
        GlobalLockScope lock(packed.Get());
        auto* bytes = static_cast<uint8_t*>(lock.Bytes());
        if (!bytes)
            return nullptr;
        std::memcpy(bytes, &header, sizeof header);
        if (!GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight), bytes + header.biSize + tableBytes,
                       reinterpret_cast<BITMAPINFO*>(bytes), DIB_RGB_COLORS))
            return nullptr;
    }
    return packed.Release();
}

BOOL DrawDib(HDC dc, int x, int y, int width, int height, HGLOBAL dib, int sourceX, int sourceY, int sourceWidth,
             int sourceHeight, DWORD rop)
{
    if (!dib)
        return PatBlt(dc, x, y, width, height, rop);
    GlobalLockScope lock(dib);
    const auto* info = static_cast<const BITMAPINFO*>(lock.Bytes());
    if (!info)
        return FALSE;
    const auto* bits = reinterpret_cast<const uint8_t*>(info) + info->bmiHeader.biSize +
                       BitmapDisplay::DibColourTableBytes(info);
    return StretchDIBits(dc, x, y, width, height, sourceX, sourceY, sourceWidth, sourceHeight, bits, info,
                         DIB_RGB_COLORS, rop) > 0;
}
