#include "framework/visual/VisualFieldItem.h"

#include "framework/draw/Display.h"
#include "framework/draw/GdiScopes.h"
#include "framework/visual/VisualBevelFrame.h"
#include "framework/visual/VisualStatusPane.h"
#include "framework/window/DockLayout.h"

VisualFramedItem::VisualFramedItem(VisualStatusPane* pane, LayoutManager* geometry)
    : VisualItem(pane->Root(), geometry), pane_(pane),
      frame_(new VisualBevelFrame(pane->FrameGroup(), new LayoutManager(), 0, "", -1, 1, 0, false))
{
    parent_->AddChild(this);
}

VisualFramedItem::~VisualFramedItem() = default;

void VisualFramedItem::Draw(const RECT*)
{
    Display* display = HostDisplay();
    if (!display)
        return;
    DisplayLock lock(*display);
    const RECT bounds = Bounds();
    frame_->Geometry()->SetPosition(bounds.left, bounds.top);
    frame_->Geometry()->SetSize(bounds.right - bounds.left, bounds.bottom - bounds.top);
    frame_->DrawUp();
}

VisualFieldItem::VisualFieldItem(VisualStatusPane* pane, LayoutManager* geometry, int key, unsigned flags)
    : VisualFramedItem(pane, geometry), flags_(flags), key_(key)
{
    pane->RegisterField(this);
    if (!(flags & NoGap))
        MakeGap();
}

VisualFieldItem::VisualFieldItem(VisualStatusPane* pane, int kind, const char* sample, int key, unsigned flags)
    : VisualFramedItem(pane, nullptr), flags_(flags), key_(key)
{
    pane->RegisterField(this);
    SizeBySample(kind, sample);
    if (!(flags & NoGap))
        MakeGap();
}

VisualFieldItem::~VisualFieldItem()
{
    pane_->UnregisterField(this);
    gap_.reset();
}

void VisualFieldItem::SizeBySample(int kind, const char* sample)
{
    int width = 0;
    if (kind != LayoutManager::FillTopLeft) {
        Display* display = HostDisplay();
        DisplayLock lock(*display);
        width = display->TextExtent(sample ? sample : "", 0).cx + 8;
    }
    SetGeometry(new DockLayout(kind, width, pane_->PaneLayout()));
}

void VisualFieldItem::MakeGap()
{
    gap_.reset();
    if (geometry_ && (geometry_->Kind() == LayoutManager::DockLeft || geometry_->Kind() == LayoutManager::DockRight))
        gap_ = std::make_unique<DockLayout>(geometry_->Kind(), 4, pane_->PaneLayout());
}

void VisualFieldItem::GetRect(RECT& rect) const
{
    const RECT bounds = Bounds();
    rect = RECT{bounds.left + 1, bounds.top + 1, bounds.right - 1, bounds.bottom - 1};
}

void VisualFieldItem::SetText(const char* text)
{
    if (!text) {
        EraseText();
        text_.clear();
        return;
    }
    if (text_ == text)
        return;
    text_ = text;
    if (Display* display = HostDisplay()) {
        const RECT bounds = Bounds();
        display->InvalidateRect(&bounds, false);
    }
}

void VisualFieldItem::Draw(const RECT* clip)
{
    Display* display = HostDisplay();
    if (!display)
        return;
    DisplayLock lock(*display);
    if (!(flags_ & ClipToField)) {
        VisualFramedItem::Draw(clip);
        Redraw();
        return;
    }
    const HDC dc = display->DeviceContext();
    const RECT bounds = Bounds();
    ScopedGdiObject<HRGN> region(CreateRectRgn(bounds.left, bounds.top, bounds.right, bounds.bottom));
    SelectClipRgn(dc, region.Get());
    Redraw();
    VisualFramedItem::Draw(clip);
    SelectClipRgn(dc, nullptr);
}

void VisualFieldItem::Redraw()
{
    Display* display = HostDisplay();
    if (!display)
        return;
    DisplayLock lock(*display);
    if (text_.empty()) {
        EraseText();
        return;
    }
    const SIZE size = display->TextExtent(text_.c_str(), 0);
    if (size.cx < lastText_.right - lastText_.left)
        EraseText();
    const int inset = 2 * frame_->BevelWidth() + frame_->Margin();
    RECT area = Bounds();
    InflateRect(&area, -inset, -inset);
    const POINT at = pane_->PlaceText(text_.c_str(), flags_, area);
    display->TextOutAt(at.x, at.y, text_.c_str());
    lastText_ = RECT{at.x, at.y, at.x + size.cx, at.y + size.cy};
}

void VisualFieldItem::EraseText()
{
    Display* display = HostDisplay();
    if (!display)
        return;
    DisplayLock lock(*display);
    RECT interior;
    GetRect(interior);
    const RECT fill = lastText_.right - lastText_.left <= interior.right - interior.left ? lastText_ : interior;
    if (const HDC dc = display->DeviceContext()) {
        ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(pane_->BackgroundColour()));
        if (brush.Get())
            FillRect(dc, &fill, brush.Get());
    }
    lastText_ = RECT{0, 0, 0, 0};
}
