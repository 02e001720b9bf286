#pragma once
// A container that fills its parent: on the parent's WM_SIZE its window covers the whole client area.

#include "framework/window/ChildLayout.h"

class FillLayout : public ChildLayout {
public:
    explicit FillLayout(ChildLayout* owner = nullptr);

    void Resize(WindowCL* window, WindowEvent* parentSize) override;
    void Geometry(LayoutGeometry& geometry) override;
};
