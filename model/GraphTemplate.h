#pragma once
// The presentation of a graph kept under a description so that it can be applied to other graphs: size,
// axis number formats, six fonts, free labels, the title and axis texts, the reference lines and the
// choice of which of these to apply. Stored analyses keep a copy for the graphs they draw again.

#include "foundation/FontRecord.h"
#include "foundation/NumericFormat.h"
#include "foundation/zString.h"

#include <cstdint>
#include <vector>

class Archive;

class GraphTemplate {
public:
    GraphTemplate() { Reset(); }
    GraphTemplate(const GraphTemplate&) = delete;
    GraphTemplate& operator=(const GraphTemplate&) = delete;

    // Apply choices, availability flags, reference-line values and extra bytes back to their defaults.
    void Reset();
    void Assign(const GraphTemplate& source);
    // Stored form (no version gates):
    //   current version record                            3 bytes
    //   description                                       stored string
    //   width, height (inches)                            2 x f32
    //   horizontal, vertical and third number formats     3 records with their version
    //   title, label, horizontal-axis label, vertical-axis label, horizontal axis, vertical axis fonts
    //   free labels                                       list (count 0: label records are read by the
    //                                                     graph windows' label class; a list with labels
    //                                                     sets format error 30 until then)
    //   X of the vertical line, Y of the horizontal line  2 x f64
    //   horizontal-axis label, vertical-axis label, title and subtitle texts   4 stored strings
    //   the thirteen flags in field order                 13 x i32
    //   extra bytes: length n, then n bytes               u32 + n
    void Serialize(Archive& archive);

    zString description;
    float width = 0.0f;
    float height = 0.0f;
    NumericFormat horizontalFormat{true};
    NumericFormat verticalFormat{true};
    NumericFormat thirdFormat{true};
    FontRecord fonts[6];
    zString horizontalLabel;
    zString verticalLabel;
    zString title;
    zString subtitle;
    double verticalLineX = 0.0;
    double horizontalLineY = 0.0;
    // apply number formats, fonts, labels, horizontal-axis label, vertical-axis label, title, subtitle,
    // vertical line, horizontal line; has subtitle, vertical line, horizontal line, labels.
    int32_t flags[13] = {};
    std::vector<uint8_t> extraBytes;
};
