#pragma once
// A graph drawn whole into a bitmap, as a device-independent block of bytes, to compare two drawings.

#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/LogicalUnits.h"
#include "graph/GraphWindow.h"

#include <cstdint>
#include <vector>

inline std::vector<uint8_t> Picture(GraphWindow& graph)
{
    LogicalRect bounds;
    graph.Bounds(bounds);
    BitmapDisplay screen(1, 1);
    const RECT pixels = LogicalRectToPixels(bounds, screen);
    BitmapDisplay bitmap(pixels.right - pixels.left, pixels.bottom - pixels.top);
    graph.Draw(&bitmap);
    HGLOBAL dib = bitmap.ExportDib();
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(dib));
    std::vector<uint8_t> copy(bytes, bytes + GlobalSize(dib));
    GlobalUnlock(dib);
    GlobalFree(dib);
    return copy;
}
