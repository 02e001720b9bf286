#include "framework/draw/ColourContext.h"

#include "framework/draw/Display.h"
#include "framework/draw/zBrush.h"

ColourContext::ColourContext(Display& display, Display* reference, LogicalRect* rect)
    : display(display), reference(reference != nullptr ? *reference : display),
      isExport(display.Kind() == Display::KindMetafile)
{
    keepColours = isExport ? !display.BlackAndWhitePicture() : IsColourDevice(this->reference);
    if (isExport && rect != nullptr)
        *rect = LogicalRect{-1e10f, -1e10f, 1e10f, 1e10f};
}

Colour ColourContext::MapColour(const Colour& colour) const
{
    if (keepColours)
        return colour;
    const bool light = colour.red + colour.green + colour.blue >= 672;
    return light ? Colour{255, 255, 255, 0} : Colour{0, 0, 0, 0};
}

bool IsColourDevice(Display& display)
{
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (dc == nullptr)
        return true;
    const int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
    return bits > 1 || GetDeviceCaps(dc, NUMCOLORS) > 2;
}

GraphStyle GraphItemStyle(int n)
{
    static const int32_t hatches[6] = {HS_DIAGCROSS, HS_CROSS, HS_BDIAGONAL, HS_FDIAGONAL, HS_HORIZONTAL, 99};
    static const Colour colours[7] = {{0, 0, 255, 0},     {0, 255, 0, 0},   {255, 0, 0, 0},  {0, 0, 0, 0},
                                      {192, 192, 192, 0}, {128, 0, 128, 0}, {255, 0, 255, 0}};
    return GraphStyle{colours[n % 7], hatches[n % 6]};
}

std::unique_ptr<zBrush> GraphBrush::Make(const GraphStyle& style, const ColourContext& context)
{
    if (style.style == 99)
        return MakeSolid(style, context);
    return std::make_unique<zBrush>(context.MapColour(style.colour), style.style);
}

std::unique_ptr<zBrush> GraphBrush::MakeSolid(const GraphStyle& style, const ColourContext& context)
{
    return std::make_unique<zBrush>(context.MapColour(style.colour));
}

int CountBits(uint32_t mask)
{
    int count = 0;
    for (; mask != 0; mask &= mask - 1)
        ++count;
    return count;
}

int LowestBitIndex(uint32_t mask)
{
    for (int i = 0; i < 32; ++i)
        if ((mask >> i) & 1u)
            return i;
    return -1;
}
