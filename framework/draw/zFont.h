#pragma once
// The framework's fonts. zFontSpec describes a font: the fields of a Win32 LOGFONT and a size in tenths of a
// point (0: use the LOGFONT's height as it stands), so one description gives the same physical size on any
// display. zFont is the GDI font made from a description; it owns its handle unless it wraps a stock or
// foreign one. zFontInfo holds the metrics of the font selected on a display.

#include "foundation/Storable.h"
#include "framework/draw/zDrawObj.h"

#include <windows.h>

#include <cstdint>

class zFontSpec : public zStorable {
public:
    enum : unsigned { StyleItalic = 1, StyleUnderline = 2, StyleStrikeOut = 4 };

    // A blank description (all fields 0).
    zFontSpec();
    // lfItalic, lfUnderline and lfStrikeOut take the masked style bits (nonzero = on); lfPitchAndFamily is
    // family | pitch; the face is cut to 31 characters; size 0.
    zFontSpec(const char* face, int width, int height, int weight, int pitch, int family, unsigned style,
              int escapement, int orientation, int charSet, int outPrecision, int clipPrecision, int quality);

    const StorableClassRecord* ClassRecord() const override;
    // LOGFONT fields in their Win32 order (integers 4 bytes, flags 1 byte, the 32 face bytes), then the size
    // (2 bytes): 62 bytes.
    void Serialize(Archive& archive) override;

    const char* FaceName() const { return logFont.lfFaceName; }
    void SetFaceName(const char* face);

    LOGFONTA logFont;
    uint16_t size = 0; // tenths of a point
};

class Display;

class zFont : public zDrawObj {
public:
    // A blank font for an archive to fill.
    zFont() = default;
    // Fills the description as zFontSpec does and makes the font.
    zFont(const char* face, int width, int height, int weight, int pitch, int family, unsigned style,
          int escapement, int orientation, int charSet, int outPrecision, int clipPrecision, int quality);
    // Copies the description; with a display and a nonzero size, the height becomes
    // -(size x the display's pixels per inch / 720) and the width 0. Then makes the font.
    zFont(const zFontSpec& spec, Display* display);
    // Wraps a font handle made elsewhere; it is never deleted.
    explicit zFont(HFONT handle);
    // A stock font (GetStockObject of the id); never deleted.
    explicit zFont(int stockId);

    const StorableClassRecord* ClassRecord() const override;
    // Stored form: the zDrawObj part (flags, 4); a stock font: stock id (4); otherwise the description's
    // 62 bytes in place. Loading makes the font at once from the LOGFONT as stored (the size is not applied
    // again).
    void Serialize(Archive& archive) override;

    HFONT Handle() const { return static_cast<HFONT>(handle_); }
    const zFontSpec& Spec() const { return spec_; }
    int StockId() const { return stockId_; }

private:
    zFontSpec spec_;
    int32_t stockId_ = 0;
};

// The text metrics of the font selected on a display.
class zFontInfo : public zStorable {
public:
    zFontInfo();
    // Locks the display and reads the metrics of its current font.
    explicit zFontInfo(Display& display);

    const StorableClassRecord* ClassRecord() const override;
    // Stored form (53 bytes; the order differs from TEXTMETRIC's own):
    //   tmHeight, tmAscent, tmDescent, tmInternalLeading, tmExternalLeading, tmAveCharWidth,
    //   tmMaxCharWidth, tmWeight                                                  4 bytes each
    //   tmItalic, tmUnderlined, tmStruckOut, tmFirstChar, tmLastChar, tmDefaultChar, tmBreakChar,
    //   tmPitchAndFamily, tmCharSet                                               1 byte each
    //   tmOverhang, tmDigitizedAspectX, tmDigitizedAspectY                        4 bytes each
    void Serialize(Archive& archive) override;

    TEXTMETRICA metrics;
};
