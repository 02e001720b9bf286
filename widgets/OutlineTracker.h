#pragma once
// Rubber-band trackers of the diagram and tree panes: a rectangle (or, in line mode, a line) from where the
// drag starts, and one from a fixed point to the mouse.

#include "widgets/TrackerBase.h"
#include "framework/draw/Colour.h"

class OutlineTracker : public TrackerBase {
public:
    OutlineTracker(Display* display, const Colour& colour);
};

// The fixed point stays while the pressed point follows the mouse: resizing a rectangle from its opposite
// corner, or moving one end of a line.
class DiagramTracker : public TrackerBase {
public:
    DiagramTracker(Display* display, const POINT& fixedPoint);
    RECT OldShape() override { return FromFixed(CurrentPoint); }
    RECT NewShape() override { return FromFixed(RequestedPoint); }
    // The shape at the end of the drag.
    RECT CurrentRect() const { return FromFixed(CurrentPoint); }

    POINT FixedPoint;

private:
    RECT FromFixed(const POINT& point) const;
};
