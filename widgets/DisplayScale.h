#pragma once
// The pixels per inch of a display under scale factors of its own, as the scaled printer and the scaled
// window display keep them. A factor within 1e-10 of 1.0 counts as unscaled.

#include <windows.h>

class DisplayScale {
public:
    // The device was measured anew: its pixels per inch become the base.
    void Measure(int perInchX, int perInchY)
    {
        baseX_ = perInchX;
        baseY_ = perInchY;
    }
    // The pixels per inch under the factors: floor(base x factor) on each axis; a negative vertical factor
    // means the horizontal one. The horizontal factor is kept as the display's factor.
    POINT Apply(double horizontal, double vertical);
    double Factor() const { return factor_; }
    bool IsScaled() const;

private:
    double factor_ = 1.0;
    int baseX_ = 0;
    int baseY_ = 0;
};
