#pragma once
// A container sized from its children, optionally with one side fixed: mode 0 size from the children,
// 1 fixed height, 2 fixed width.

#include "framework/window/DockLayout.h"

class FitLayout : public DockLayout {
public:
    FitLayout(int kind, ChildLayout* owner = nullptr);

    void Geometry(LayoutGeometry& geometry) override;
    void Place(RECT* rect, int keepWindow) override;

    void SetMode(unsigned mode) { mode_ = mode; }

private:
    unsigned mode_ = 0;
};
