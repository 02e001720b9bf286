#include "framework/window/PlainLayout.h"

PlainLayout::PlainLayout(ChildLayout* owner) : ChildLayout(owner) {}

void PlainLayout::Arrange(RECT* rect)
{
    if (rect) {
        SetPosition(rect->left, rect->top);
        SetSize(rect->right - rect->left, rect->bottom - rect->top);
    }
    RECT own = OwnRect();
    Place(&own, 0);
}

void PlainLayout::Geometry(LayoutGeometry& geometry)
{
    geometry.Assign(width_, height_);
    geometry.x = x_;
    geometry.y = y_;
    geometry.kind = kind_;
}

void PlainLayout::Place(RECT* rect, int)
{
    SetPosition(rect->left, rect->top);
    SetSize(rect->right - rect->left, rect->bottom - rect->top);
}
