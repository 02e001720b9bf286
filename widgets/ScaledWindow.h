#pragma once
// A printer display with a scale factor of its own: its pixels per inch are the device's times the factor,
// so a drawing laid out in inches prints larger or smaller. A factor within 1e-10 of 1.0 counts as unscaled.

#include "widgets/DisplayScale.h"
#include "framework/draw/PrinterDisplay.h"

class ScaledWindow : public PrinterDisplay {
public:
    // On the described printer (the default printer when none), unscaled.
    explicit ScaledWindow(const DefaultPrinter* printer = nullptr);
    // On the named printer with the driver's device mode (null: the printer's own settings), unscaled.
    ScaledWindow(const char* driver, const char* device, const char* port, const DEVMODEA* deviceMode);

    // Pixels per inch become floor(measured x factor) on each axis; a negative vertical factor means the
    // horizontal one.
    void SetScale(double horizontal, double vertical);
    double Scale() const { return scale_.Factor(); }

protected:
    // The device was measured anew: its pixels per inch become the measured ones and the factor applies again.
    void UpdateScaleState();

private:
    DisplayScale scale_;
};
