#pragma once
// The scroller of document panes: as the client scroller, and it keeps the pane's display origin in step
// with the moves, repaints at once, and fits the scroll ranges to the size of the pane's contents.

#include "framework/window/ClientScroller.h"

class PaneScroller : public ClientScroller {
public:
    // Asks the pane for its content size and fits the ranges at once.
    explicit PaneScroller(PaneWindowCL* pane);
    // Resets the pane: display origin (0, 0), each present axis at position 0 with range 0..0, the whole
    // display invalidated while the window exists.
    ~PaneScroller() override;

    // Fits the ranges: an axis whose content fits the client area gets range 0..0 and the origin 0 on it;
    // otherwise the maximum is the overhang in line units rounded up, and an old position keeps its
    // proportion. Both scroll rectangles become the client rectangle.
    long Update(WindowEvent* event) override;

    bool IsImmediateUpdate() const { return immediateUpdate_ != 0; }
    void SetOriginTracking(bool on) { originTracking_ = on ? 1 : 0; }
    void SetImmediateUpdate(bool on) { immediateUpdate_ = on ? 1 : 0; }
    SIZE ContentSize() const { return content_; }

protected:
    void Moved(bool vertical, int distance, Move move) override;

private:
    // Fits one axis; true when the pane must repaint.
    bool FitAxis(bool vertical, const RECT& client, POINT& origin);

    unsigned originTracking_ = 1;
    unsigned immediateUpdate_ = 1;
    SIZE content_{0, 0};
};
