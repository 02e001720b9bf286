#pragma once
// One axis of a graph window: its value range, tick interval, number format and font, and where it lies
// beside the plot rectangle. It measures and draws its ticks and numbers, turns values into positions
// through the plot rectangle it spans, and is edited in the Modify Axis dialog.

#include "foundation/FontRecord.h"
#include "foundation/LogicalRect.h"
#include "foundation/NumericFormat.h"
#include "graph/GraphElement.h"

#include <cstdint>

class AxisElement : public GraphElement {
public:
    // Major and minor tick lengths, inches.
    static constexpr float kMajorTick = 0.083f;
    static constexpr float kMinorTick = 0.05f;

    // In the graph axis font.
    AxisElement();

    // Sets the range and interval, locks it against the user's changes unless userMayEdit, and takes the
    // format's settings as an axis format.
    void SetScale(const NumericFormat& format, double bottom, double top, double interval, int userMayEdit);
    // The position in inches of a value along the plot rectangle (left to right, or bottom to top).
    float Position(double value, const LogicalRect& plot) const;
    // The value at a position in inches along the plot rectangle.
    double ValueAt(float position, const LogicalRect& plot) const;
    // The number of ticks past the first: (top - bottom) / interval rounded; 1 without an interval.
    int IntervalCount() const;
    // The width and height of the widest of the end values' texts, plus the gap beside the axis; (0, 0)
    // for a hidden axis.
    void LabelExtent(Display& display, float& width, float& height);
    // How many intervals lie between two labelled ticks along a plot of the length.
    int LabelStep(Display& display, float plotLength);
    // The length of the axis in values: top - bottom, or the counted bars' intervals.
    double Span() const;
    // The value's text in the axis format.
    zString ValueText(double value) const;

    // At most this many intervals: the Modify Axis dialog, the drawing and the file reader share the limit.
    static constexpr double kMostIntervals = 10000.0;
    // True when the scale is one an axis can have: top above bottom, a positive interval no longer than the
    // range, and at most kMostIntervals of it.
    static bool ScaleFits(double bottom, double top, double interval);

    // Width, height and overhang beside a plot of the owner's graph size.
    void Measure(Display& display) override;
    // Measures again, keeping the edge next to the plot where it was.
    void Place(Display& display);
    void Draw(Display& display) override;
    bool Movable() const override { return false; }
    FontRecord* Font() override { return &font; }
    NumericFormat* Format() override { return &numberFormat; }
    bool Editable() const override { return true; }
    // The Modify Axis dialog; a change the graph refuses is taken back.
    bool Edit() override;
    // Stored form:
    //   version record                                      3 bytes
    //   left, top, right, bottom                            4 x f32
    //   valueBottom, valueTop, interval                     3 x f64
    //   isVertical                                          u8
    //   numberFormat with its version record                record
    //   overhang                                            f32
    //   isHidden, isLocked                                  2 x u8
    //   font                                                font record
    //   reserved                                            u8 (read from axes newer than 2.6 beta 5)
    // A read axis whose top is below its bottom, whose range is shorter than its interval, whose interval
    // is not positive or is below 1/10,000 of its range, or whose flags are not 0 or 1, sets format error 8.
    void Serialize(Archive& archive) override;

    // Nonzero on the value axis of a bar graph: the axis counts that many bars of one interval each from its
    // bottom, whatever its top (not stored; the graph sets it when it lays its bars out).
    int countedBars = 0;
    float overhang = 0.0f;
    double valueBottom = 0.0;
    double valueTop = 0.0;
    double interval = 0.0;
    NumericFormat numberFormat;
    uint8_t isVertical = 0;
    uint8_t isLocked = 0;
    uint8_t isHidden = 0;
    uint8_t reserved = 0;
    FontRecord font;
};
