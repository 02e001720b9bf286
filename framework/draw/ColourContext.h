#pragma once
// Colours as an output device can show them: a context maps every colour of a drawing to black or white for
// black-and-white output (a monochrome device, or a picture made in black and white). Also the
// default fills of graph series and two bit-mask helpers shared by the drawings.

#include "framework/draw/Colour.h"
#include "framework/draw/LogicalUnits.h"

#include <cstdint>
#include <memory>

class Display;
class zBrush;

class ColourContext {
public:
    // A missing reference becomes the display itself. For a picture (display kind 4) the colours are kept
    // unless the picture is made in black and white, and the caller's rectangle, when given, becomes
    // (-1e10, -1e10, 1e10, 1e10); otherwise they are kept on a colour reference device.
    ColourContext(Display& display, Display* reference, LogicalRect* rect);

    // The colour unchanged when colours are kept; else white when r + g + b >= 672, black otherwise.
    Colour MapColour(const Colour& colour) const;

    Display& display;
    Display& reference;
    bool keepColours;
    bool isExport;
};

// Whether the display shows colours (more than two colours or more than one bit per pixel).
bool IsColourDevice(Display& display);

// The fill of one graph series: a hatch style (HS_HORIZONTAL 0 to HS_DIAGCROSS 5) or 99 for solid.
struct GraphStyle {
    Colour colour;
    int32_t style;
};

// The n-th series' default fill: hatch by n mod 6 (diagonal cross, cross, back diagonal, forward diagonal,
// horizontal, solid), colour by n mod 7 (blue, green, red, black, light grey, purple, magenta).
GraphStyle GraphItemStyle(int n);

struct GraphBrush {
    // A hatched brush of the mapped colour; a solid one for style 99. The caller owns it.
    static std::unique_ptr<zBrush> Make(const GraphStyle& style, const ColourContext& context);
    static std::unique_ptr<zBrush> MakeSolid(const GraphStyle& style, const ColourContext& context);
};

int CountBits(uint32_t mask);
// Index 0 to 31 of the lowest set bit; -1 for 0.
int LowestBitIndex(uint32_t mask);
