#pragma once
// The mapping of values onto pixel positions inside a plot rectangle: x grows to the right from lo-x, y grows
// upward from lo-y. A pixel rectangle still all zero is taken from the window's client rectangle when first
// used; a value range narrower than 1e-10 maps every value to the middle.

#include <windows.h>

#include <cmath>

struct PlotMapping {
    double loX = 0, hiX = 0, loY = 0, hiY = 0;
    RECT pixels{};
    HWND window = nullptr;

    int PlotX(double value)
    {
        EnsurePixels();
        if (std::fabs(hiX - loX) < 1e-10)
            return (pixels.left + pixels.right) / 2;
        return pixels.left + static_cast<int>((pixels.right - pixels.left) * (value - loX) / (hiX - loX));
    }

    int PlotY(double value)
    {
        EnsurePixels();
        if (std::fabs(hiY - loY) < 1e-10)
            return (pixels.top + pixels.bottom) / 2;
        return pixels.bottom - static_cast<int>((pixels.bottom - pixels.top) * (value - loY) / (hiY - loY));
    }

private:
    void EnsurePixels()
    {
        if (window && pixels.left == 0 && pixels.top == 0 && pixels.right == 0 && pixels.bottom == 0)
            GetClientRect(window, &pixels);
    }
};
