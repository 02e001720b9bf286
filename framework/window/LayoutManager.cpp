#include "framework/window/LayoutManager.h"

#include "framework/window/ChildLayout.h"
#include "framework/window/Rect.h"

LayoutManager::LayoutManager(ChildLayout* owner)
{
    if (owner)
        owner->Append(this);
}

LayoutManager::LayoutManager(POINT position, SIZE size, ChildLayout* owner)
    : x_(position.x), y_(position.y), width_(size.cx), height_(size.cy)
{
    if (owner)
        owner->Append(this);
}

LayoutManager::LayoutManager(int x, int y, int width, int height, ChildLayout* owner)
    : x_(x), y_(y), width_(width), height_(height)
{
    if (owner)
        owner->Append(this);
}

LayoutManager::LayoutManager(const RECT& rect, ChildLayout* owner)
    : x_(rect.left), y_(rect.top), width_(rect.right - rect.left), height_(rect.bottom - rect.top)
{
    if (owner)
        owner->Append(this);
}

LayoutManager::~LayoutManager()
{
    Detach();
}

void LayoutManager::Resize(WindowCL*, WindowEvent*) {}

void LayoutManager::Arrange(RECT*) {}

void LayoutManager::Geometry(LayoutGeometry&) {}

void LayoutManager::Place(RECT*, int) {}

void LayoutManager::SetPosition(int x, int y)
{
    x_ = x;
    y_ = y;
}

void LayoutManager::SetSize(int width, int height)
{
    width_ = width;
    height_ = height;
}

void LayoutManager::Detach()
{
    if (owner_)
        owner_->Remove(this);
    owner_ = nullptr;
}

RECT LayoutManager::OwnRect() const
{
    return Rect::FromPointSize(POINT{x_, y_}, SIZE{width_, height_});
}
