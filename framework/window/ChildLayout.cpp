#include "framework/window/ChildLayout.h"

#include "framework/window/DefaultLayoutArranger.h"
#include "framework/window/WindowCL.h"

#include <algorithm>

ChildLayout::ChildLayout(ChildLayout* owner) : LayoutManager(owner) {}

ChildLayout::ChildLayout(POINT position, SIZE size, ChildLayout* owner) : LayoutManager(position, size, owner) {}

ChildLayout::ChildLayout(int x, int y, int width, int height, ChildLayout* owner)
    : LayoutManager(x, y, width, height, owner)
{
}

ChildLayout::ChildLayout(const RECT& rect, ChildLayout* owner) : LayoutManager(rect, owner) {}

ChildLayout::~ChildLayout()
{
    for (LayoutManager* child : children_)
        child->SetOwner(nullptr);
    children_.clear();
    count_ = 0;
}

void ChildLayout::Append(LayoutManager* child)
{
    ++count_;
    children_.push_back(child);
    child->SetOwner(this);
}

void ChildLayout::Add(LayoutManager* child)
{
    ++count_;
    children_.push_front(child);
    child->SetOwner(this);
}

void ChildLayout::Remove(LayoutManager* child)
{
    auto found = std::find(children_.begin(), children_.end(), child);
    if (found == children_.end())
        return;
    --count_;
    children_.erase(found);
    if (child->Owner() == this)
        child->SetOwner(nullptr);
}

void ChildLayout::SetWindow(WindowCL* window)
{
    window_ = window;
    windowBound_ = window ? 1 : 0;
}

LayoutArranger& ChildLayout::ArrangerInUse() const
{
    return arranger_ ? *arranger_ : DefaultLayoutArranger::Instance();
}

RECT ChildLayout::InnerRect(const RECT& rect) const
{
    if (windowBound_)
        return RECT{0, 0, width_, height_};
    return rect;
}

void ChildLayout::MoveBoundWindow(const RECT& rect) const
{
    if (window_ && window_->Handle())
        MoveWindow(window_->Handle(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void ChildLayout::Arrange(RECT* rect)
{
    if (rect) {
        SetPosition(rect->left, rect->top);
        SetSize(rect->right - rect->left, rect->bottom - rect->top);
    } else if (windowBound_ && window_ && window_->Handle() && IsWindow(window_->Handle())) {
        RECT client;
        GetClientRect(window_->Handle(), &client);
        SetSize(client.right - client.left, client.bottom - client.top);
    }
    RECT own = OwnRect();
    Place(&own, 1);
}

void ChildLayout::Place(RECT* rect, int keepWindow)
{
    SetPosition(rect->left, rect->top);
    SetSize(rect->right - rect->left, rect->bottom - rect->top);
    RECT inner = InnerRect(*rect);
    if (count_ > 0)
        ArrangerInUse().Arrange(inner, children_, count_);
    if (windowBound_ && !keepWindow && kind_ != Absolute)
        MoveBoundWindow(*rect);
}

void ChildLayout::Geometry(LayoutGeometry& geometry)
{
    if (count_ == 0) {
        geometry.Assign(width_, height_);
        geometry.x = x_;
        geometry.y = y_;
        geometry.kind = kind_;
        return;
    }
    ArrangerInUse().Measure(geometry, children_, count_);
    if (kind_ == Absolute) {
        geometry.Assign(width_, height_);
        geometry.x = x_;
        geometry.y = y_;
        geometry.kind = kind_;
    } else {
        geometry.x = 0;
        geometry.y = 0;
        geometry.kind = Absolute;
    }
}
