#pragma once
// The layout rule of a bar along one edge of the main frame (the tool bar at the top, the status bar at the
// bottom). While it is hidden the bar's margin gets an empty geometry, so that it takes no room and the
// document windows fill the frame.

#include "framework/window/DockLayout.h"

#include <cstdint>

class BarLayoutRule : public DockLayout {
public:
    // kind: DockTop or DockBottom; height: the bar's height in pixels.
    BarLayoutRule(int kind, int height) : DockLayout(kind, height) {}

    void Geometry(LayoutGeometry& geometry) override
    {
        if (Visible) {
            DockLayout::Geometry(geometry);
            return;
        }
        geometry.Assign(0, 0);
        geometry.kind = kind_;
    }

    int32_t Visible = 1;
};
