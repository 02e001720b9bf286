#pragma once
// One axis of a graph window: its value range, tick interval and number format, and where it lies beside
// the plot rectangle. Values become positions in inches through the plot rectangle it spans.

#include "foundation/LogicalRect.h"
#include "foundation/NumericFormat.h"

#include <cstdint>

class AxisElement {
public:
    AxisElement() : numberFormat(true) {}

    // Sets the range and interval, locks it against the user's changes unless userMayEdit, and takes the
    // format's settings as an axis format.
    void SetScale(const NumericFormat& format, double bottom, double top, double interval, int userMayEdit);
    // The position in inches of a value along the plot rectangle (left to right, or bottom to top).
    float Position(double value, const LogicalRect& plot) const;
    // The number of ticks past the first: (top - bottom) / interval rounded; 1 without an interval.
    int IntervalCount() const;

    double valueBottom = 0.0;
    double valueTop = 0.0;
    double interval = 0.0;
    NumericFormat numberFormat;
    uint8_t isVertical = 0;
    uint8_t isLocked = 0;
    uint8_t isHidden = 0;
};
