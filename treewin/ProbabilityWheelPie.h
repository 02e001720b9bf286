#pragma once
// The pie of the probability wheel: the slices clockwise from the top, a radius line at each border and at
// the top, a black handle outside the rim at each border between two slices and a shadow below and right of
// the wheel. Dragging a handle moves its border; a press elsewhere on the wheel shows the slice's value
// under the pointer until the button comes up. Over the wheel the pointer is the wheel cursor.

#include "framework/window/PaneWindowCL.h"

#include <cstddef>
#include <functional>

class ProbabilityWheelDialog;
class ProgramDialog;
class StaticCtrl;

// Slice k's colour; the last slice's is its own.
COLORREF WheelSliceColour(size_t k, size_t last);

class WheelPiePane : public PaneWindowCL {
public:
    // In the place of the dialog's control `place`; `changed` runs after a drag moved a border.
    WheelPiePane(ProgramDialog& owner, unsigned place, ProbabilityWheelDialog& wheel, std::function<void()> changed);

    long Paint(WindowEvent*) override;
    long OnMouseDown(const MouseInput& mouse) override;
    long OnMouseMoved(const MouseInput& mouse) override;
    long OnMouseUp(const MouseInput& mouse) override;

private:
    struct Geometry {
        double cx, cy;  // centre
        double r;       // the wheel's radius
        double inch;    // pixels per inch
        RECT Circle() const;
        // The point at a cumulative share (0 at the top, growing clockwise) and a radius.
        POINT At(double share, double radius) const;
        double ShareAt(POINT point) const;
        bool Inside(POINT point) const;
    };
    Geometry Measure() const;
    // The handle of border k, its tip towards the centre.
    void HandleCorners(const Geometry& wheel, size_t k, POINT corners[3]) const;
    // The border whose handle holds the point, else -1.
    int HandleAt(POINT point) const;
    void ShowValueBox(const char* text, POINT at);

    ProbabilityWheelDialog& wheel_;
    ProgramDialog& owner_;
    std::function<void()> changed_;
    StaticCtrl* valueBox_;
    int dragging_ = -1;
};
