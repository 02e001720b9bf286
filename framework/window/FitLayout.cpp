#include "framework/window/FitLayout.h"

#include "framework/window/Rect.h"
#include "framework/window/WindowCL.h"

FitLayout::FitLayout(int kind, ChildLayout* owner) : DockLayout(kind, 0, owner) {}

void FitLayout::Geometry(LayoutGeometry& geometry)
{
    if (count_ == 0) {
        ChildLayout::Geometry(geometry);
        geometry.kind = kind_;
        return;
    }
    ArrangerInUse().Measure(geometry, children_, count_);
    geometry.kind = kind_;
    if (mode_ == 1)
        geometry.first.cy = geometry.placed.cy = geometry.third.cy = fixedHeight_;
    else if (mode_ == 2)
        geometry.first.cx = geometry.placed.cx = geometry.third.cx = fixedWidth_;
}

void FitLayout::Place(RECT* rect, int keepWindow)
{
    const RECT given = *rect;
    SetPosition(given.left, given.top);
    SetSize(given.right - given.left, given.bottom - given.top);
    RECT inner = InnerRect(given);
    if (count_ > 0) {
        ArrangerInUse().Arrange(inner, children_, count_);
        SetPosition(inner.left, inner.top);
        SetSize(inner.right - inner.left, inner.bottom - inner.top);
    }
    if (windowBound_ && !keepWindow)
        MoveBoundWindow(Rect::FromPointSize(POINT{given.left, given.top}, SIZE{width_, height_}));
}
