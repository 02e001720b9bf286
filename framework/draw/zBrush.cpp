#include "framework/draw/zBrush.h"

#include "foundation/Archive.h"
#include "framework/draw/Bitmap.h"
#include "framework/draw/GdiScopes.h"

namespace {

zStorable* CreateBrush() { return new zBrush; }

StorableClassRecord brushRecord = {0, "zBrush", sizeof(zBrush), &CreateBrush, nullptr};
StorableClassRegistrar brushRegistrar(brushRecord);

// Patterns larger than this are not read back (a corrupt size would otherwise ask for a huge bitmap).
constexpr int32_t MaxPatternSide = 256;

} // namespace

zBrush::zBrush(int stockId) : stockId_(stockId)
{
    flags_ = FlagStock;
    handle_ = GetStockObject(stockId);
}

zBrush::zBrush(const Colour& colour) : colour_(colour)
{
    handle_ = CreateSolidBrush(colour.ToColorRef());
}

zBrush::zBrush(const Colour& colour, int hatchStyle) : kind_(hatchStyle), colour_(colour)
{
    handle_ = CreateHatchBrush(hatchStyle, colour.ToColorRef());
}

zBrush::zBrush(Bitmap* pattern) : kind_(KindPattern), pattern_(pattern)
{
    flags_ = FlagPattern;
    handle_ = pattern ? CreatePatternBrush(pattern->Handle()) : nullptr;
}

zBrush::~zBrush()
{
    // The brush goes before the bitmap it was made from.
    ReplaceHandle(nullptr);
}

const StorableClassRecord* zBrush::ClassRecord() const { return &brushRecord; }

void zBrush::Serialize(Archive& archive)
{
    zDrawObj::Serialize(archive);
    if (archive.IsStoring()) {
        if (IsStock()) {
            archive.WriteLong(stockId_);
            return;
        }
        archive.WriteLong(kind_).WriteColor(colour_.red, colour_.green, colour_.blue);
        if (flags_ & FlagPattern)
            StorePattern(archive);
        return;
    }
    if (IsStock()) {
        archive.ReadLong(stockId_);
        kind_ = KindSolid;
        handle_ = GetStockObject(stockId_);
        return;
    }
    archive.ReadLong(kind_).ReadColor(colour_.red, colour_.green, colour_.blue);
    colour_.flag = 0;
    if (flags_ & FlagPattern)
        LoadPattern(archive);
    RebuildHandle();
}

void zBrush::RebuildHandle()
{
    if (flags_ & FlagPattern)
        ReplaceHandle(pattern_ ? CreatePatternBrush(pattern_->Handle()) : nullptr);
    else if (kind_ == KindSolid)
        ReplaceHandle(CreateSolidBrush(colour_.ToColorRef()));
    else
        ReplaceHandle(CreateHatchBrush(kind_, colour_.ToColorRef()));
}

void zBrush::StorePattern(Archive& archive) const
{
    BITMAP info{};
    if (!pattern_ || !GetObjectA(pattern_->Handle(), sizeof info, &info))
        info = BITMAP{};
    const SIZE size{info.bmWidth, info.bmHeight};
    archive.WriteLong(size.cx).WriteLong(size.cy).WriteLong(info.bmBitsPixel == 1 ? 1 : 0);
    if (size.cx <= 0 || size.cy <= 0)
        return;
    ScopedMemoryDC memory(nullptr);
    ScopedSelection selection(memory.Get(), pattern_->Handle());
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x) {
            const COLORREF pixel = GetPixel(memory.Get(), x, y);
            archive.WriteColor(GetRValue(pixel), GetGValue(pixel), GetBValue(pixel));
        }
    }
}

void zBrush::LoadPattern(Archive& archive)
{
    int32_t width = 0, height = 0, monochrome = 0;
    archive.ReadLong(width).ReadLong(height).ReadLong(monochrome);
    ReplaceHandle(nullptr);
    pattern_ = nullptr;
    ownedPattern_.reset();
    if (archive.Failed() || width <= 0 || height <= 0 || width > MaxPatternSide || height > MaxPatternSide ||
        archive.BytesLeft() < static_cast<uint32_t>(width * height * 3)) {
        if (width != 0 || height != 0)
            archive.SetState(Archive::StateIoFailure);
        return;
    }
    ScopedWindowDC screen(nullptr);
    // A monochrome pattern stays monochrome, so that it keeps drawing in the text and background colours.
    ScopedGdiObject<HBITMAP> bitmap(monochrome ? CreateBitmap(width, height, 1, 1, nullptr)
                                               : CreateCompatibleBitmap(screen.Get(), width, height));
    if (!bitmap.Get())
        return;
    {
        ScopedMemoryDC memory(screen.Get());
        ScopedSelection selection(memory.Get(), bitmap.Get());
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                uint8_t red = 0, green = 0, blue = 0;
                archive.ReadColor(red, green, blue);
                SetPixel(memory.Get(), x, y, RGB(red, green, blue));
            }
        }
    }
    ownedPattern_ = std::make_unique<Bitmap>(bitmap.Release());
    pattern_ = ownedPattern_.get();
}
