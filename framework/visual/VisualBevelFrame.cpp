#include "framework/visual/VisualBevelFrame.h"

#include "framework/draw/Display.h"
#include "framework/draw/GdiScopes.h"

VisualBevelFrame::VisualBevelFrame(VisualItemGroup* parent, LayoutManager* geometry, unsigned style, const char*,
                                   int id, int bevelWidth, int margin, bool innerBevel)
    : VisualStateItem(parent, geometry, style, id), bevelWidth_(bevelWidth), margin_(margin),
      innerBevel_(innerBevel ? 1 : 0)
{
}

void VisualBevelFrame::DrawUp()
{
    state_ = Up;
    HostLock lock(*this);
    const HDC dc = lock.DeviceContext();
    if (!dc)
        return;
    const RECT bounds = Bounds();
    rect_ = RECT{bounds.left, bounds.top, bounds.right - 1, bounds.bottom - 1};
    DrawBevel(dc, (style_ & OuterRaised) != 0);
    const int inset = bevelWidth_ + margin_;
    InflateRect(&rect_, -inset, -inset);
    if (innerBevel_)
        DrawBevel(dc, (style_ & InnerRaised) != 0);
}

void VisualBevelFrame::DrawBevel(HDC dc, bool raised)
{
    const COLORREF dark = (style_ & BlackShadow) ? RGB(0, 0, 0) : RGB(128, 128, 128);
    const COLORREF light = RGB(255, 255, 255);
    const COLORREF topLeft = raised ? light : dark;
    const COLORREF bottomRight = raised ? dark : light;
    const RECT& r = rect_;
    for (int i = 0; i < bevelWidth_; ++i) {
        {
            ScopedPen pen(dc, topLeft);
            MoveToEx(dc, r.right - i, r.top + i, nullptr);
            LineTo(dc, r.left + i, r.top + i);
            LineTo(dc, r.left + i, r.bottom - i + 1);
        }
        ScopedPen pen(dc, bottomRight);
        MoveToEx(dc, r.right - i, r.top + i, nullptr);
        LineTo(dc, r.right - i, r.bottom - i);
        LineTo(dc, r.left + i, r.bottom - i);
    }
}
