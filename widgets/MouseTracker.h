#pragma once
// The tracker that moves a rectangle with the mouse, drawing its outline: panes drag note boxes, arrows,
// roll-back boxes and graph elements with it.

#include "widgets/TrackerBase.h"

class MouseTracker : public TrackerBase {
public:
    // The rectangle (pixels) moves by the distance of the mouse from where the drag starts.
    MouseTracker(Display* display, const RECT& rect);
    // Limits where the dragged point may go.
    void SetBoundsRect(int left, int top, int right, int bottom);
    RECT OldShape() override { return MovedTo(CurrentPoint); }
    RECT NewShape() override { return MovedTo(RequestedPoint); }
    // The rectangle moved by the distance dragged so far; the rectangle at the start.
    RECT CurrentRect() const { return MovedTo(CurrentPoint); }
    const RECT& StartRect() const { return rect_; }

private:
    RECT MovedTo(const POINT& point) const;

    RECT rect_;
};
