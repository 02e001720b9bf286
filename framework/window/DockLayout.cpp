#include "framework/window/DockLayout.h"

DockLayout::DockLayout(int kind, int value, ChildLayout* owner) : ChildLayout(owner)
{
    kind_ = kind;
    if (kind == DockLeft || kind == DockRight) {
        fixedWidth_ = value;
    } else if (kind == DockTop || kind == DockBottom) {
        fixedHeight_ = value;
    } else {
        fixedWidth_ = value;
        fixedHeight_ = value;
    }
}

DockLayout::DockLayout(int kind, int width, int height, ChildLayout* owner)
    : ChildLayout(owner), fixedWidth_(width), fixedHeight_(height)
{
    kind_ = kind;
}

void DockLayout::Geometry(LayoutGeometry& geometry)
{
    geometry.Assign(fixedWidth_, fixedHeight_);
    geometry.x = x_;
    geometry.y = y_;
    geometry.kind = kind_;
}
