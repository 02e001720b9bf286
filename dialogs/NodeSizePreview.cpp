#include "dialogs/NodeSizePreview.h"

#include "framework/dialog/PaintedArea.h"
#include "framework/draw/GdiScopes.h"

#include <algorithm>
#include <cmath>

namespace {

// The text rectangle's top-left corner, inches right of and below the area's origin; the handle's side.
constexpr double kInset = 0.08;
constexpr int kHandle = 5;
// The smallest text area a drag leaves, pixels.
constexpr int kSmallest = 4;

} // namespace

NodeSizePreview::NodeSizePreview(WindowCL* page, unsigned id, float* size, bool fixed)
    : area_(PaintedArea::FromTemplate(page, id, [this](HDC dc, const RECT& client) { Paint(dc, client); })),
      size_(size), fixed_(fixed)
{
    area_->OnMouse([this](UINT message, POINT point) { OnMouse(message, point); });
}

void NodeSizePreview::ToggleFixed()
{
    fixed_ = !fixed_;
    dragging_ = false;
    InvalidateRect(area_->Handle(), nullptr, TRUE);
}

SIZE NodeSizePreview::PixelsPerInch() const
{
    HDC dc = GetDC(area_->Handle());
    const SIZE perInch{GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY)};
    ReleaseDC(area_->Handle(), dc);
    return perInch;
}

RECT NodeSizePreview::TextRect() const
{
    const SIZE perInch = PixelsPerInch();
    const int left = static_cast<int>(std::lround(kInset * perInch.cx));
    const int top = static_cast<int>(std::lround(kInset * perInch.cy));
    return RECT{left, top, left + static_cast<int>(std::lround(size_[0] * perInch.cx)),
                top + static_cast<int>(std::lround(size_[1] * perInch.cy))};
}

bool NodeSizePreview::HitHandle(POINT point) const
{
    const RECT text = TextRect();
    return fixed_ && point.x >= text.right - kHandle && point.x <= text.right && point.y >= text.bottom - kHandle &&
           point.y <= text.bottom;
}

void NodeSizePreview::Paint(HDC dc, const RECT& client) const
{
    FillRect(dc, &client, GetSysColorBrush(fixed_ ? COLOR_WINDOW : COLOR_BTNFACE));
    if (!fixed_)
        return;
    const RECT text = TextRect();
    HPEN dashed = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, dashed);
    const POINT outline[5] = {{text.left, text.top}, {text.right, text.top}, {text.right, text.bottom},
                              {text.left, text.bottom}, {text.left, text.top}};
    Polyline(dc, outline, 5);
    SelectObject(dc, oldPen);
    DeleteObject(dashed);
    const RECT handle{text.right - kHandle, text.bottom - kHandle, text.right + 1, text.bottom + 1};
    FillRect(dc, &handle, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void NodeSizePreview::OnMouse(UINT message, POINT point)
{
    if (message == WM_LBUTTONDOWN) {
        if (!HitHandle(point))
            return;
        dragging_ = true;
        SetCapture(area_->Handle());
        return;
    }
    if (!dragging_)
        return;
    // The corner follows the mouse inside the area, the text area never shrinking below a few pixels.
    RECT client;
    GetClientRect(area_->Handle(), &client);
    const RECT text = TextRect();
    const int right = std::clamp(static_cast<int>(point.x), static_cast<int>(text.left) + kSmallest,
                                 std::max(static_cast<int>(client.right) - 2, static_cast<int>(text.left) + kSmallest));
    const int bottom = std::clamp(static_cast<int>(point.y), static_cast<int>(text.top) + kSmallest,
                                  std::max(static_cast<int>(client.bottom) - 2, static_cast<int>(text.top) + kSmallest));
    const SIZE perInch = PixelsPerInch();
    size_[0] = static_cast<float>(static_cast<double>(right - text.left) / perInch.cx);
    size_[1] = static_cast<float>(static_cast<double>(bottom - text.top) / perInch.cy);
    InvalidateRect(area_->Handle(), nullptr, TRUE);
    if (message == WM_LBUTTONUP) {
        dragging_ = false;
        ReleaseCapture();
    }
}
