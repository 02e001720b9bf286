#pragma once
// Rectangles made from other forms of a place and a size.

#include <windows.h>

struct Rect {
    // {x, y, x + width, y + height}. The sums wrap rather than overflow, so that an unset layout value
    // (0x80000000) gives a defined edge.
    static RECT FromPointSize(POINT point, SIZE size)
    {
        return RECT{point.x, point.y, WrappingSum(point.x, size.cx), WrappingSum(point.y, size.cy)};
    }

private:
    static LONG WrappingSum(LONG a, LONG b)
    {
        return static_cast<LONG>(static_cast<unsigned long>(a) + static_cast<unsigned long>(b));
    }
};
