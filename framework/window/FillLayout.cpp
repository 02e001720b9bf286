#include "framework/window/FillLayout.h"

#include "framework/window/WindowCL.h"

FillLayout::FillLayout(ChildLayout* owner) : ChildLayout(owner)
{
    kind_ = FillCentre;
}

void FillLayout::Resize(WindowCL* window, WindowEvent* parentSize)
{
    if (window && window->Handle() && parentSize)
        MoveWindow(window->Handle(), 0, 0, LOWORD(parentSize->lParam), HIWORD(parentSize->lParam), TRUE);
}

void FillLayout::Geometry(LayoutGeometry& geometry)
{
    geometry.Assign(0, 0);
    geometry.x = 0;
    geometry.y = 0;
    geometry.kind = FillCentre;
}
