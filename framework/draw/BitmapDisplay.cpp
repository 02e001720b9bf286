#include "framework/draw/BitmapDisplay.h"

#include "framework/draw/DibExport.h"

namespace {

uint32_t EntriesForBitCount(unsigned bitCount)
{
    switch (bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

} // namespace

BitmapDisplay::BitmapDisplay(int width, int height) : Display(KindBitmap)
{
    HDC info = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    dc_ = CreateCompatibleDC(info);
    if (info) {
        bitmap_ = CreateCompatibleBitmap(info, width, height);
        DeleteDC(info);
    }
    if (dc_) {
        if (bitmap_)
            firstBitmap_ = SelectObject(dc_, bitmap_);
        ReadCapabilities(dc_);
    }
    Lock();
}

BitmapDisplay::~BitmapDisplay()
{
    if (dc_) {
        if (firstBitmap_)
            SelectObject(dc_, firstBitmap_);
        DeleteDC(dc_);
    }
    if (bitmap_)
        DeleteObject(bitmap_);
}

uint32_t BitmapDisplay::DibColourTableBytes(const void* dib)
{
    if (!dib)
        return 0;
    const auto* header = static_cast<const BITMAPINFOHEADER*>(dib);
    if (header->biSize == sizeof(BITMAPCOREHEADER)) {
        const auto* core = static_cast<const BITMAPCOREHEADER*>(dib);
        return EntriesForBitCount(core->bcBitCount) * 3;
    }
    uint32_t entries = header->biClrUsed ? header->biClrUsed : EntriesForBitCount(header->biBitCount);
    return entries * 4;
}

HGLOBAL BitmapDisplay::ExportDib() const
{
    // The bitmap cannot be read while it is selected into the memory context: lend it out for the export.
    if (!bitmap_ || !dc_)
        return nullptr;
    SelectObject(dc_, firstBitmap_);
    HGLOBAL dib = ::ExportDib(bitmap_, BI_RGB, 0, nullptr);
    SelectObject(dc_, bitmap_);
    return dib;
}
