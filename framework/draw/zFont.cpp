#include "framework/draw/zFont.h"

#include "framework/draw/Display.h"

zFont::zFont(const zFontSpec& spec, Display* display) : spec_(spec)
{
    if (display && spec_.size != 0) {
        spec_.logFont.lfHeight = -(static_cast<int>(spec_.size) * display->LogPixelsY() / 720);
        spec_.logFont.lfWidth = 0;
    }
    handle_ = CreateFontIndirectA(&spec_.logFont);
}

zFont::zFont(HFONT handle) : handle_(handle), stock_(true) {}

zFont::~zFont()
{
    if (handle_ && !stock_)
        DeleteObject(handle_);
}
