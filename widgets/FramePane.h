#pragma once
// A pane in the button-face colour framed by two 3-D edges inside its border: a raised one, and four pixels
// further in a sunken one, as the custom interface of a tree frames its buttons.

#include "framework/window/PaneWindowCL.h"

class FramePane : public PaneWindowCL {
public:
    FramePane(WindowCL* parent, LayoutManager* layout, DWORD style);

    long Paint(WindowEvent* event) override; // 23
};
