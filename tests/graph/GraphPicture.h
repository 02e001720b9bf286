#pragma once
// A graph drawn whole into a bitmap, to sample, or as a device-independent block of bytes, to compare two
// drawings.

#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/LogicalUnits.h"
#include "graph/GraphWindow.h"

#include <cstdint>
#include <memory>
#include <vector>

// The graph drawn whole into a bitmap.
inline std::unique_ptr<BitmapDisplay> Drawn(GraphWindow& graph)
{
    LogicalRect bounds;
    graph.Bounds(bounds);
    BitmapDisplay screen(1, 1);
    const RECT pixels = LogicalRectToPixels(bounds, screen);
    auto bitmap = std::make_unique<BitmapDisplay>(pixels.right - pixels.left, pixels.bottom - pixels.top);
    graph.Draw(bitmap.get());
    return bitmap;
}

inline std::vector<uint8_t> Picture(GraphWindow& graph)
{
    HGLOBAL dib = Drawn(graph)->ExportDib();
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(dib));
    std::vector<uint8_t> copy(bytes, bytes + GlobalSize(dib));
    GlobalUnlock(dib);
    GlobalFree(dib);
    return copy;
}
