#pragma once
// A graph drawn whole into a bitmap, to sample, or as a device-independent block of bytes, to compare two
// drawings; and whether its drawing fills its window.

#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/Display.h"
#include "graph/GraphWindow.h"
#include "widgets/ZoomPane.h"

#include <gtest/gtest.h>

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

// The graph's drawing fills its canvas (the window but for a strip the graph keeps at its bottom): no larger
// (so no scroll bars) and at most a few pixels smaller; shown smaller to fit whole, it fills it one way.
inline void ExpectFillsItsWindow(GraphWindow& graph, const char* when)
{
    RECT client{};
    GetWindowRect(graph.Pane()->Handle(), &client);
    OffsetRect(&client, -client.left, -client.top);
    LogicalRect bounds;
    graph.Bounds(bounds);
    const Display& display = *graph.Pane()->CurrentDisplay();
    const double zoom = graph.Pane()->Zoom();
    const int across = static_cast<int>(LogicalWidthToPixels(bounds.right - bounds.left, display) * zoom);
    const int down = static_cast<int>(LogicalHeightToPixels(bounds.bottom - bounds.top, display) * zoom);
    EXPECT_LE(across, client.right) << when;
    EXPECT_LE(down, client.bottom) << when;
    if (zoom < 1.0) {
        EXPECT_TRUE(across >= client.right - 8 || down >= client.bottom - 8) << when;
    } else {
        EXPECT_GE(across, client.right - 8) << when;
        EXPECT_GE(down, client.bottom - 8) << when;
    }
    EXPECT_EQ(GetWindowLongA(graph.Pane()->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0) << when;
}
