#pragma once
// A container that arranges without reading its window and only records where it was placed.

#include "framework/window/ChildLayout.h"

class PlainLayout : public ChildLayout {
public:
    explicit PlainLayout(ChildLayout* owner = nullptr);

    void Arrange(RECT* rect) override;
    void Geometry(LayoutGeometry& geometry) override;
    void Place(RECT* rect, int keepWindow) override;
};
