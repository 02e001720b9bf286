#pragma once
// A window display with scale factors of its own: its pixels per inch are the window's times the factors,
// so a drawing laid out in inches shows larger or smaller. A factor within 1e-10 of 1.0 counts as unscaled.

#include "widgets/DisplayScale.h"
#include "framework/draw/WindowDisplay.h"

class ScaledPane : public WindowDisplay {
public:
    // Unscaled, taken by drawing code as a display of the kind.
    ScaledPane(WindowCL* window, int kind);

    // Pixels per inch become floor(measured x factor) on each axis; a negative vertical factor means the
    // horizontal one.
    void SetScale(double horizontal, double vertical);
    double Scale() const { return scale_.Factor(); }

protected:
    // The window was measured anew: its pixels per inch become the measured ones and the factor applies again.
    void UpdateScaleState();

private:
    DisplayScale scale_;
};
