#pragma once
// What a layout reports of itself to the arranger: position, three size pairs (first, placed, third) and
// kind, and for the rules of a bar their order number. The arranger places by the placed size.

#include <windows.h>

#include <initializer_list>

// The value of an unset position or size.
const int LayoutUnset = static_cast<int>(0x80000000u);

struct LayoutGeometry {
    int x = 0;
    int y = 0;
    SIZE first = {0, 0};
    SIZE placed = {0, 0};
    SIZE third = {0, 0};
    int kind = 6;
    // The place in a bar's row (1 up; 0 for rules that have none).
    int order = 0;

    void Assign(int width, int height)
    {
        first = placed = third = SIZE{width, height};
    }

    // Each of the six size values becomes the larger of the two.
    void Merge(const LayoutGeometry& other)
    {
        for (auto pair : {&LayoutGeometry::first, &LayoutGeometry::placed, &LayoutGeometry::third}) {
            SIZE& mine = this->*pair;
            const SIZE& theirs = other.*pair;
            mine.cx = theirs.cx > mine.cx ? theirs.cx : mine.cx;
            mine.cy = theirs.cy > mine.cy ? theirs.cy : mine.cy;
        }
    }
};
