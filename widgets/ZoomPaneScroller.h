#pragma once
// The scroller of a zoomable pane: its scroll ranges are refitted to the drawing's size at the pane's
// zoom, each position keeping its relative place, with an open in-place edit of the owner put aside while
// the pane is invalidated.

#include "framework/window/PaneScroller.h"

class ZoomPane;

class ZoomPaneScroller : public PaneScroller {
public:
    explicit ZoomPaneScroller(ZoomPane* pane);

    // For each axis with a bar: a drawing that fits gives range and position 0; otherwise the maximum is
    // the overhang in line steps rounded up, the position keeps its proportion and the display origin
    // follows it. The whole pane is invalidated.
    long Update(WindowEvent* event) override;
    // Scrolls by whole line steps on one axis (negative towards the start), within the range.
    void ScrollSteps(bool vertical, int steps);

private:
    // The room (pixels) the drawing of that extent has once each bar it needs is shown and each it does
    // not is hidden, from the client room with the bars now shown.
    void RoomBesideTheBars(SIZE extent, SIZE& room) const;
    void FitAxis(bool vertical, int extent, int clientSize, POINT& origin);

    ZoomPane* zoomPane_;
};
