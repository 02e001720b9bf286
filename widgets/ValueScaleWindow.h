#pragma once
// A pane that shows a picture of a value scale at its top-left corner, framed when asked, as the risk
// preference assessment dialogs show their scales.

#include "framework/window/PaneWindowCL.h"

class Bitmap;

class ValueScaleWindow : public PaneWindowCL {
public:
    // The picture is not owned and must outlive the pane.
    ValueScaleWindow(WindowCL* parent, const RECT& rect, Bitmap* picture, bool framed);

    // The picture copied to the origin of the current display, then its rectangle framed when asked.
    long Paint(WindowEvent* event) override; // 23

private:
    Bitmap* picture_;
    bool framed_;
};
