#include "framework/visual/VisualItem.h"

#include "framework/draw/Display.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/TopWindow.h"

#include <algorithm>

namespace {

WindowCL* MainWindow()
{
    return TheApp ? TheApp->MainWindow() : nullptr;
}

} // namespace

VisualItem::VisualItem(VisualItemGroup* parent, LayoutManager* geometry) : geometry_(geometry), parent_(parent) {}

VisualItem::~VisualItem()
{
    if (!parent_)
        return;
    parent_->RemoveChild(this);
    if (stateBits_ & WantsInput)
        parent_->RemoveActiveChild(this);
    if (parent_->Tracked() == this)
        parent_->SetTracked(nullptr);
}

void VisualItem::SetGeometry(LayoutManager* geometry)
{
    geometry_.reset(geometry);
}

RECT VisualItem::Bounds() const
{
    if (!geometry_)
        return RECT{0, 0, 0, 0};
    return RECT{geometry_->X(), geometry_->Y(), geometry_->X() + geometry_->Width(),
                geometry_->Y() + geometry_->Height()};
}

POINT VisualItem::EventPoint(const WindowEvent& event)
{
    return POINT{static_cast<short>(LOWORD(event.lParam)), static_cast<short>(HIWORD(event.lParam))};
}

bool VisualItem::HitTest(POINT point)
{
    const RECT r = Bounds();
    return visible_ && r.left <= point.x && point.x <= r.right && r.top <= point.y && point.y <= r.bottom;
}

bool VisualItem::Intersects(const RECT& rect)
{
    const RECT r = Bounds();
    return visible_ && std::max(r.left, rect.left) < std::min(r.right, rect.right) &&
           std::max(r.top, rect.top) < std::min(r.bottom, rect.bottom);
}

bool VisualItem::AcceptsPoint(POINT point) { return HitTest(point); }
bool VisualItem::NeedsPaint(const RECT& rect) { return Intersects(rect); }
long VisualItem::OnButtonUp(WindowEvent&) { return 0; }
long VisualItem::OnButtonDown(WindowEvent&) { return 0; }
long VisualItem::OnMouseMove(WindowEvent&) { return 0; }
long VisualItem::OnKey(WindowEvent&) { return 0; }
void VisualItem::Draw(const RECT*) {}
void VisualItem::OnResize() {}
void VisualItem::SetVisible(bool visible) { visible_ = visible ? 1 : 0; }

void VisualItem::ApplyAttributes()
{
    Display* display = HostDisplay();
    if (!attributes_ || !display)
        return;
    for (auto& attribute : *attributes_)
        attribute->Apply(*display);
}

void VisualItem::AddAttribute(std::unique_ptr<VisualAttribute> attribute)
{
    if (!attributes_)
        attributes_ = std::make_unique<std::vector<std::unique_ptr<VisualAttribute>>>();
    attributes_->push_back(std::move(attribute));
}

void VisualItem::SetStateBits(unsigned bits)
{
    if (stateBits_ & bits)
        return;
    stateBits_ |= bits;
    if (parent_)
        parent_->AddActiveChild(this, WantsInput);
}

void VisualItem::ClearStateBits(unsigned bits)
{
    if (!(stateBits_ & bits))
        return;
    stateBits_ &= ~bits;
    if (parent_)
        parent_->RemoveActiveChild(this);
}

Display* VisualItem::HostDisplay() const
{
    return parent_ && parent_->DisplaySlot() ? *parent_->DisplaySlot() : nullptr;
}

VisualItem::HostLock::HostLock(const VisualItem& item) : display_(item.HostDisplay())
{
    if (display_)
        display_->Lock();
}

VisualItem::HostLock::~HostLock()
{
    if (display_)
        display_->Unlock();
}

HDC VisualItem::HostLock::DeviceContext() const
{
    return display_ ? display_->DeviceContext() : nullptr;
}

WindowCL* VisualItem::HostWindow() const
{
    return parent_ && parent_->Host() ? parent_->Host() : MainWindow();
}

void VisualItem::CaptureMouse()
{
    if (WindowCL* window = HostWindow())
        SetCapture(window->Handle());
}

void VisualItem::ReleaseMouse() { ReleaseCapture(); }

VisualItemGroup::VisualItemGroup(VisualItemGroup* parent, LayoutManager* geometry) : VisualItem(parent, geometry)
{
    if (parent) {
        displaySlot_ = parent->DisplaySlot();
        host_ = parent->Host();
    }
    if (!host_)
        host_ = MainWindow();
}

VisualItemGroup::VisualItemGroup(LayoutManager* geometry, Display** displaySlot, WindowCL* host)
    : VisualItem(nullptr, geometry), displaySlot_(displaySlot), host_(host)
{
}

VisualItemGroup::~VisualItemGroup()
{
    if (!children_)
        return;
    // Detached first, so a dying child does not call back into this group.
    std::list<VisualItem*> children;
    children.swap(*children_);
    active_.clear();
    tracked_ = nullptr;
    for (VisualItem* child : children) {
        child->parent_ = nullptr;
        delete child;
    }
}

bool VisualItemGroup::HitTest(POINT point)
{
    if (!visible_)
        return false;
    return wholeArea_ || VisualItem::HitTest(point);
}

bool VisualItemGroup::Intersects(const RECT& rect)
{
    if (!visible_)
        return false;
    return wholeArea_ || VisualItem::Intersects(rect);
}

VisualItem* VisualItemGroup::AddChild(VisualItem* item)
{
    if (!children_)
        children_ = std::make_unique<std::list<VisualItem*>>();
    children_->push_back(item);
    return item;
}

void VisualItemGroup::RemoveChild(VisualItem* item)
{
    if (!children_ || !item)
        return;
    auto found = std::find(children_->begin(), children_->end(), item);
    if (found != children_->end())
        children_->erase(found);
}

void VisualItemGroup::AddActiveChild(VisualItem* child, unsigned bits)
{
    active_.push_back(child);
    ++activeCount_;
    const unsigned low = bits & 0xFFFF;
    if ((stateBits_ & low) != low) {
        stateBits_ |= low;
        if (parent_)
            parent_->AddActiveChild(this, bits);
    }
}

int VisualItemGroup::RemoveActiveChild(VisualItem* child)
{
    auto found = std::find(active_.begin(), active_.end(), child);
    if (found == active_.end())
        return 0;
    active_.erase(found);
    if (--activeCount_ == 0) {
        stateBits_ &= ~WantsInput;
        if (parent_)
            parent_->RemoveActiveChild(this);
    }
    return 1;
}

long VisualItemGroup::OnButtonDown(WindowEvent& event)
{
    tracked_ = nullptr;
    if (!children_)
        return 0;
    const POINT point = EventPoint(event);
    const std::list<VisualItem*> children = *children_;
    for (VisualItem* child : children) {
        if (!child->HitTest(point) || !child->AcceptsPoint(point))
            continue;
        tracked_ = child;
        if (child->OnButtonDown(event))
            return 1;
    }
    tracked_ = nullptr;
    return 0;
}

long VisualItemGroup::OnMouseMove(WindowEvent& event)
{
    if (tracked_)
        return tracked_->OnMouseMove(event);
    if (!children_)
        return 0;
    const POINT point = EventPoint(event);
    const std::list<VisualItem*> children = *children_;
    for (VisualItem* child : children)
        if (child->HitTest(point) && child->AcceptsPoint(point) && child->OnMouseMove(event))
            return 1;
    return 0;
}

long VisualItemGroup::OnButtonUp(WindowEvent& event)
{
    VisualItem* tracked = tracked_;
    if (!tracked)
        return 0;
    tracked_ = nullptr;
    return tracked->OnButtonUp(event);
}

long VisualItemGroup::OnKey(WindowEvent& event)
{
    if (!children_)
        return 0;
    const std::list<VisualItem*> children = *children_;
    for (VisualItem* child : children)
        if (child->OnKey(event))
            return 1;
    return 0;
}

void VisualItemGroup::Draw(const RECT* clip)
{
    if (!children_)
        return;
    ApplyAttributes();
    for (VisualItem* child : *children_)
        if (!clip || (child->NeedsPaint(*clip) && child->IsVisible()))
            child->Draw(clip);
}

void VisualItemGroup::OnResize()
{
    if (children_)
        for (VisualItem* child : *children_)
            child->OnResize();
}

void VisualItemGroup::SetVisible(bool visible)
{
    VisualItem::SetVisible(visible);
    if (children_)
        for (VisualItem* child : *children_)
            child->SetVisible(visible);
}
