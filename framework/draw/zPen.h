#pragma once
// A storable pen: style, width and colour, or a stock pen.

#include "framework/draw/Colour.h"
#include "framework/draw/zDrawObj.h"

class zPen : public zDrawObj {
public:
    // A blank pen for the archive to fill.
    zPen() = default;
    zPen(const Colour& colour, int style, int width);
    // A stock pen (GetStockObject); never deleted.
    explicit zPen(int stockId);
    // Wraps a pen handle made elsewhere; it is never deleted.
    explicit zPen(HPEN handle);

    const StorableClassRecord* ClassRecord() const override;
    // Stored form: the zDrawObj part (flags, 4); a stock pen: stock id (4); otherwise style (4), width (4),
    // colour (3 bytes red, green, blue; the flag is not stored). Loading makes the pen at once.
    void Serialize(Archive& archive) override;

    HPEN Handle() const { return static_cast<HPEN>(handle_); }
    int Style() const { return style_; }
    int Width() const { return width_; }
    const Colour& PenColour() const { return colour_; }
    int StockId() const { return stockId_; }

private:
    int32_t style_ = 0;
    int32_t width_ = 0;
    Colour colour_{0, 0, 0, 0};
    int32_t stockId_ = 0;
};
