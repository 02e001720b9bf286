#pragma once
// A storable brush: solid (kind 99), hatched (kind = the hatch style), a pattern of a bitmap, or a stock
// brush.

#include "framework/draw/Colour.h"
#include "framework/draw/zDrawObj.h"

#include <memory>

class Bitmap;

class zBrush : public zDrawObj {
public:
    enum : int32_t { KindSolid = 99, KindPattern = 2 };
    // Marks a pattern brush in the stored flags, so that it is not read back as the hatch style of the same
    // number.
    enum : int32_t { FlagPattern = 2 };

    // A blank brush for the archive to fill.
    zBrush() = default;
    // A stock brush (GetStockObject); never deleted.
    explicit zBrush(int stockId);
    explicit zBrush(const Colour& colour);
    zBrush(const Colour& colour, int hatchStyle);
    // A pattern of the bitmap; the brush does not own the caller's bitmap.
    explicit zBrush(Bitmap* pattern);
    ~zBrush() override;

    const StorableClassRecord* ClassRecord() const override;
    // Stored form (integers 4 bytes, colours 3 bytes red, green, blue):
    //   zDrawObj part     flags (4)
    //   stock brush:      stock id (4)
    //   otherwise:        kind (4), colour (3)
    //   pattern brush:    then the pattern's width (4), height (4), monochrome flag (4) and its pixels row by
    //                     row, 3 bytes each
    // Loading makes the brush at once; a loaded pattern brush owns the bitmap it rebuilt.
    void Serialize(Archive& archive) override;

    HBRUSH Handle() const { return static_cast<HBRUSH>(handle_); }
    int Kind() const { return kind_; }
    const Colour& BrushColour() const { return colour_; }
    int StockId() const { return stockId_; }
    Bitmap* Pattern() const { return pattern_; }

private:
    void StorePattern(Archive& archive) const;
    void LoadPattern(Archive& archive);
    void RebuildHandle();

    int32_t kind_ = KindSolid;
    int32_t stockId_ = 0;
    Colour colour_{0, 0, 0, 0};
    Bitmap* pattern_ = nullptr;
    std::unique_ptr<Bitmap> ownedPattern_;
};
