#pragma once
// The node size preview of a diagram's "Node Size" page: with the size fixed, the text area of a node as a
// dashed rectangle whose bottom-right handle is dragged to change the width and height (inches); otherwise
// an empty area in the dialog's face colour that takes no clicks. It writes only the size pair it was given.

#include <windows.h>

class PaintedArea;
class WindowCL;

class NodeSizePreview {
public:
    // Takes over the page's placeholder control with that id.
    NodeSizePreview(WindowCL* page, unsigned id, float* size, bool fixed);

    void ToggleFixed();
    bool Fixed() const { return fixed_; }
    // The point (client pixels) lies on the handle, its edges included.
    bool HitHandle(POINT point) const;
    bool Dragging() const { return dragging_; }
    // The text rectangle in client pixels.
    RECT TextRect() const;

private:
    void Paint(HDC dc, const RECT& client) const;
    void OnMouse(UINT message, POINT point);
    // Pixels per inch of the screen, across and down.
    SIZE PixelsPerInch() const;

    PaintedArea* area_;
    float* size_;
    bool fixed_;
    bool dragging_ = false;
};
