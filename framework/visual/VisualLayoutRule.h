#pragma once
// The rules of a bar of items or small windows (a tool bar row). A bar rule in a row has an order number and
// a size (-1: the bar's default; 0: up to the bar's edge). The bar arranger places the rows's rules one after
// another by order number, across or down, centring each in the bar's spare height or width; rules of the
// absolute kind stay where they say.

#include "framework/window/ChildLayout.h"
#include "framework/window/LayoutArranger.h"

#include <memory>

class VisualBarArranger : public LayoutArranger {
public:
    VisualBarArranger(bool across, int marginX, int marginY, int defaultWidth, int defaultHeight);

    void Arrange(RECT& rect, LayoutChildren& children, int count) override;
    void Measure(LayoutGeometry& geometry, LayoutChildren& children, int count) override;

    // The two margins of the work area.
    void SetSpacing(POINT spacing) { marginX_ = spacing.x; marginY_ = spacing.y; }

private:
    int across_;
    int marginX_;
    int marginY_;
    int defaultWidth_;
    int defaultHeight_;
};

class VisualLayoutRule : public ChildLayout {
public:
    // A rule with its order number and size in the owner's bar.
    VisualLayoutRule(int order, int width, int height, ChildLayout* owner);
    // A bar of its own: its children are placed by the arranger of the orientation, margins and defaults.
    VisualLayoutRule(bool across, int marginX, int marginY, int defaultWidth, int defaultHeight, ChildLayout* owner);

    void Geometry(LayoutGeometry& geometry) override;

    int Order() const { return order_; }

private:
    int order_ = 0;
    // The size asked for in the bar; the rule's own size is what the bar gave it.
    SIZE wanted_{0, 0};
    std::unique_ptr<VisualBarArranger> bar_;
};
