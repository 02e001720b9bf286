#pragma once
// The arranger of every container without one of its own: children dock to the sides of the free area in
// their order, fill what is left, or keep an absolute position.

#include "framework/window/LayoutArranger.h"

class DefaultLayoutArranger : public LayoutArranger {
public:
    // The one default arranger, made on first use.
    static DefaultLayoutArranger& Instance();

    void Arrange(RECT& rect, LayoutChildren& children, int count) override;
    void Measure(LayoutGeometry& geometry, LayoutChildren& children, int count) override;
};
