#pragma once
// A GDI font made from a font description. The font owns its handle unless it wraps a stock or foreign one.

#include "framework/draw/zFontSpec.h"

#include <windows.h>

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
