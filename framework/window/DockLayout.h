#pragma once
// A container of fixed width (docked left or right), fixed height (top or bottom) or both (other kinds).

#include "framework/window/ChildLayout.h"

class DockLayout : public ChildLayout {
public:
    DockLayout(int kind, int value, ChildLayout* owner = nullptr);
    DockLayout(int kind, int width, int height, ChildLayout* owner);

    void Geometry(LayoutGeometry& geometry) override;

    void SetFixedWidth(int width) { fixedWidth_ = width; }
    void SetFixedHeight(int height) { fixedHeight_ = height; }
    int FixedWidth() const { return fixedWidth_; }
    int FixedHeight() const { return fixedHeight_; }

protected:
    int fixedWidth_ = 0;
    int fixedHeight_ = 0;
};
