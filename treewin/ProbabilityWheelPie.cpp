#include "treewin/ProbabilityWheelPie.h"

#include "treewin/ProbabilityWheel.h"
#include "widgets/ProgramDialog.h"
#include "framework/dialog/Cursor.h"
#include "framework/dialog/StaticCtrl.h"
#include "framework/draw/GdiScopes.h"
#include "framework/window/LayoutManager.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr double kTwoPi = 6.283185307;
constexpr unsigned kWheelCursor = 32101;
// Handles: the tip this far outside the rim, the sides this long and this far (radians) off the line out.
constexpr double kTipGap = 0.04;
constexpr double kHandleSide = 0.12;
constexpr double kHalfOpening = 0.6283;
// The rim keeps this much room (inches) inside the pane for the handles.
constexpr double kRimRoom = 0.18;

POINT Rounded(double x, double y)
{
    return POINT{static_cast<LONG>(std::lround(x)), static_cast<LONG>(std::lround(y))};
}

} // namespace

COLORREF WheelSliceColour(size_t k, size_t last)
{
    static const COLORREF colours[6] = {RGB(0, 0, 255), RGB(128, 0, 128), RGB(255, 0, 0),
                                        RGB(0, 128, 0),  RGB(255, 0, 255), RGB(0, 0, 0)};
    return k == last ? RGB(255, 226, 151) : colours[k % 6];
}

RECT WheelPiePane::Geometry::Circle() const
{
    return RECT{static_cast<LONG>(std::lround(cx - r)), static_cast<LONG>(std::lround(cy - r)),
                static_cast<LONG>(std::lround(cx + r)), static_cast<LONG>(std::lround(cy + r))};
}

POINT WheelPiePane::Geometry::At(double share, double radius) const
{
    const double angle = (share + 0.75) * kTwoPi;
    return Rounded(cx + radius * std::cos(angle), cy + radius * std::sin(angle));
}

double WheelPiePane::Geometry::ShareAt(POINT point) const
{
    const double share = std::atan2(point.y - cy, point.x - cx) / kTwoPi - 0.75;
    return share - std::floor(share);
}

bool WheelPiePane::Geometry::Inside(POINT point) const
{
    const double dx = point.x - cx, dy = point.y - cy;
    return dx * dx + dy * dy <= r * r;
}

WheelPiePane::WheelPiePane(ProgramDialog& owner, unsigned place, ProbabilityWheelDialog& wheel,
                           std::function<void()> changed)
    : PaneWindowCL(&owner, new LayoutManager(owner.TakePlaceOf(place), nullptr), WS_CHILD | WS_VISIBLE),
      wheel_(wheel), owner_(owner), changed_(std::move(changed))
{
    background_ = GetSysColor(COLOR_BTNFACE);
    valueBox_ = new StaticCtrl(this, RECT{0, 0, 0, 0}, WS_CHILD | WS_BORDER | SS_CENTER | SS_NOPREFIX, "",
                               ProbabilityWheelDialog::kValueBox);
    SendMessageA(valueBox_->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(owner.DialogFont()), FALSE);
}

WheelPiePane::Geometry WheelPiePane::Measure() const
{
    RECT client;
    GetClientRect(Handle(), &client);
    ScopedWindowDC dc(Handle());
    const double inch = GetDeviceCaps(dc.Get(), LOGPIXELSX);
    const double r = std::max(4.0, std::min(client.right, client.bottom) / 2.0 - kRimRoom * inch);
    return Geometry{client.right / 2.0, client.bottom / 2.0, r, inch};
}

void WheelPiePane::HandleCorners(const Geometry& wheel, size_t k, POINT corners[3]) const
{
    double border = 0.0;
    for (size_t i = 0; i <= k; ++i)
        border += wheel_.shares[i];
    const double angle = (border + 0.75) * kTwoPi;
    const double tip = wheel.r + kTipGap * wheel.inch, side = kHandleSide * wheel.inch;
    const double tipX = wheel.cx + tip * std::cos(angle), tipY = wheel.cy + tip * std::sin(angle);
    corners[0] = Rounded(tipX, tipY);
    for (int s = 0; s < 2; ++s) {
        const double out = angle + (s == 0 ? kHalfOpening : -kHalfOpening);
        corners[1 + s] = Rounded(tipX + side * std::cos(out), tipY + side * std::sin(out));
    }
}

int WheelPiePane::HandleAt(POINT point) const
{
    const Geometry wheel = Measure();
    for (size_t k = 0; k + 1 < wheel_.shares.size(); ++k) {
        POINT corners[3];
        HandleCorners(wheel, k, corners);
        HRGN area = CreatePolygonRgn(corners, 3, WINDING);
        const bool hit = PtInRegion(area, point.x, point.y) != FALSE;
        DeleteObject(area);
        if (hit)
            return static_cast<int>(k);
    }
    return -1;
}

long WheelPiePane::Paint(WindowEvent*)
{
    const HDC dc = PaintContext();
    const Geometry wheel = Measure();
    const RECT circle = wheel.Circle();
    const std::vector<double>& shares = wheel_.shares;
    ScopedBrush black(dc, RGB(0, 0, 0));
    {
        // The shadow: the wheel's disc moved 2 right and 3 down; the slices cover all but its edge.
        ScopedSelection noPen(dc, GetStockObject(NULL_PEN));
        Ellipse(dc, circle.left + 2, circle.top + 3, circle.right + 3, circle.bottom + 4);
    }
    // Each slice with its outline: the rim and the radius lines at its two ends. Pie runs counter-clockwise
    // from its first point: from the slice's end back to its start.
    double start = 0.0;
    for (size_t k = 0; k < shares.size(); ++k) {
        ScopedBrush brush(dc, WheelSliceColour(k, shares.size() - 1));
        const POINT from = wheel.At(start + shares[k], wheel.r), to = wheel.At(start, wheel.r);
        Pie(dc, circle.left, circle.top, circle.right, circle.bottom, from.x, from.y, to.x, to.y);
        start += shares[k];
    }
    for (size_t k = 0; k + 1 < shares.size(); ++k) {
        POINT corners[3];
        HandleCorners(wheel, k, corners);
        Polygon(dc, corners, 3);
    }
    return 1;
}

// The box is kept inside the pane, so that no part of it is cut off.
void WheelPiePane::ShowValueBox(const char* text, POINT at)
{
    SIZE extent{};
    {
        ScopedWindowDC dc(valueBox_->Handle());
        ScopedSelection font(dc.Get(), owner_.DialogFont());
        GetTextExtentPoint32A(dc.Get(), text, static_cast<int>(strlen(text)), &extent);
    }
    RECT client;
    GetClientRect(Handle(), &client);
    const LONG width = extent.cx + 8, height = extent.cy + 4;
    const LONG left = std::max(0L, std::min(at.x, client.right - width));
    const LONG top = std::max(0L, std::min(at.y, client.bottom - height));
    valueBox_->SetText(text);
    SetWindowPos(valueBox_->Handle(), HWND_TOP, left, top, width, height, SWP_SHOWWINDOW);
}

long WheelPiePane::OnMouseDown(const MouseInput& mouse)
{
    if (mouse.doubleClick)
        return 1;
    if (!mouse.right && (dragging_ = HandleAt(mouse.at)) >= 0) {
        SetCapture(Handle());
        return 1;
    }
    const Geometry wheel = Measure();
    if (!wheel.Inside(mouse.at))
        return 1;
    SetCapture(Handle());
    // The slice under the pointer: the first whose end lies at or past the pointer's share.
    const std::vector<double>& shares = wheel_.shares;
    const double at = wheel.ShareAt(mouse.at);
    size_t k = 0;
    for (double end = shares[0]; k + 1 < shares.size() && at > end; end += shares[++k]) {
    }
    zString text;
    RoundAsDisplayed(mouse.right ? wheel_.opened[k] : shares[k], &text, nullptr, 2);
    ShowValueBox((std::string(mouse.right ? "Was: " : "") + text.Text()).c_str(), mouse.at);
    return 1;
}

long WheelPiePane::OnMouseMoved(const MouseInput& mouse)
{
    if (dragging_ >= 0) {
        wheel_.MoveBorder(static_cast<size_t>(dragging_), Measure().ShareAt(mouse.at));
        changed_();
        return 1;
    }
    const bool overWheel = Measure().Inside(mouse.at) || IsWindowVisible(valueBox_->Handle());
    SetCursor(overWheel ? Cursor::FromResource(ResourceId(kWheelCursor, nullptr)) : Cursor::Arrow());
    return 1;
}

long WheelPiePane::OnMouseUp(const MouseInput&)
{
    if (GetCapture() == Handle())
        ReleaseCapture();
    ::ShowWindow(valueBox_->Handle(), SW_HIDE);
    dragging_ = -1;
    return 1;
}
