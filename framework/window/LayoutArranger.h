#pragma once
// Places a container's children in its rectangle and measures what they need.

#include "framework/window/LayoutGeometry.h"

#include <list>

class LayoutManager;

using LayoutChildren = std::list<LayoutManager*>;

class LayoutArranger {
public:
    virtual ~LayoutArranger() = default;
    // Places the children in the rectangle; the rectangle comes back as the area they use.
    virtual void Arrange(RECT& rect, LayoutChildren& children, int count) = 0;
    virtual void Measure(LayoutGeometry& geometry, LayoutChildren& children, int count) = 0;
};
