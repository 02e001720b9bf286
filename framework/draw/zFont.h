#pragma once
// The framework's fonts. zFontSpec describes a font: the fields of a Win32 LOGFONT and a size in tenths of a
// point (0: use the LOGFONT's height as it stands), so one description gives the same physical size on any
// display. zFont is the GDI font made from a description; it owns its handle unless it wraps a stock or
// foreign one.

#include "foundation/Storable.h"

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

class zFont {
public:
    // Copies the description; with a display and a nonzero size, the height becomes
    // -(size x the display's pixels per inch / 720) and the width 0. Then makes the font.
    zFont(const zFontSpec& spec, Display* display);
    // Wraps a font handle made elsewhere; it is never deleted.
    explicit zFont(HFONT handle);
    virtual ~zFont();
    zFont(const zFont&) = delete;
    zFont& operator=(const zFont&) = delete;

    HFONT Handle() const { return handle_; }
    const zFontSpec& Spec() const { return spec_; }
    bool IsStock() const { return stock_; }

private:
    HFONT handle_ = nullptr;
    bool stock_ = false;
    zFontSpec spec_;
};
