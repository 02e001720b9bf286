#include "framework/draw/BitmapDisplay.h"

#include "framework/draw/Bitmap.h"
#include "framework/draw/DibExport.h"
#include "framework/draw/GdiScopes.h"

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

HDC MemoryContextOf(Display& display)
{
    DisplayLock lock(display);
    return CreateCompatibleDC(display.DeviceContext());
}

Bitmap* ScreenBitmap(int width, int height)
{
    ScopedScreenInfoContext screen;
    return new Bitmap(screen.Get() ? CreateCompatibleBitmap(screen.Get(), width, height) : nullptr);
}

Bitmap* BitmapFor(Display& display, int width, int height)
{
    DisplayLock lock(display);
    return new Bitmap(display, width, height);
}

} // namespace

BitmapDisplay::BitmapDisplay(Bitmap* bitmap) : Display(KindBitmap)
{
    ScopedScreenInfoContext screen;
    Attach(CreateCompatibleDC(screen.Get()), bitmap);
}

BitmapDisplay::BitmapDisplay(int width, int height) : BitmapDisplay(ScreenBitmap(width, height)) {}

BitmapDisplay::BitmapDisplay(Display& display, int width, int height)
    : BitmapDisplay(display, BitmapFor(display, width, height))
{
}

BitmapDisplay::BitmapDisplay(Display& display, Bitmap* bitmap) : Display(KindBitmap)
{
    Attach(MemoryContextOf(display), bitmap);
}

void BitmapDisplay::Attach(HDC memory, Bitmap* bitmap)
{
    bitmap_.reset(bitmap);
    dc_ = memory;
    Lock();
    if (dc_) {
        if (bitmap_ && bitmap_->Handle())
            firstBitmap_ = SelectObject(dc_, bitmap_->Handle());
        ReadCapabilities(dc_);
    }
}

BitmapDisplay::~BitmapDisplay()
{
    HDC memory = dc_;
    if (memory && firstBitmap_)
        SelectObject(memory, firstBitmap_);
    Unlock();
    if (memory)
        DeleteDC(memory);
}

void BitmapDisplay::Bounds(RECT& rect)
{
    const SIZE size = bitmap_ ? bitmap_->Size() : SIZE{0, 0};
    rect = RECT{0, 0, size.cx, size.cy};
}

void BitmapDisplay::ClientRect(RECT& rect)
{
    Bounds(rect);
}

void BitmapDisplay::CopyTo(Display& target, int x, int y, int width, int height, int sourceX, int sourceY)
{
    DisplayLock lock(target);
    if (target.DeviceContext() && dc_)
        BitBlt(target.DeviceContext(), x, y, width, height, dc_, sourceX, sourceY, SRCCOPY);
}

std::unique_ptr<Bitmap> BitmapDisplay::SelectBitmap(Bitmap* bitmap)
{
    std::unique_ptr<Bitmap> previous = std::move(bitmap_);
    bitmap_.reset(bitmap);
    if (!dc_)
        return previous;
    if (bitmap_ && bitmap_->Handle()) {
        HGDIOBJ replaced = SelectObject(dc_, bitmap_->Handle());
        if (!firstBitmap_)
            firstBitmap_ = replaced;
    } else if (firstBitmap_) {
        SelectObject(dc_, firstBitmap_);
    }
    return previous;
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

HGLOBAL BitmapDisplay::ExportDib(DWORD compression, WORD bitCount) const
{
    // The bitmap cannot be read while it is selected into the memory context: lend it out for the export.
    if (!bitmap_ || !bitmap_->Handle() || !dc_)
        return nullptr;
    ScopedSelection lent(dc_, firstBitmap_);
    return ::ExportDib(bitmap_->Handle(), compression, bitCount, nullptr);
}
