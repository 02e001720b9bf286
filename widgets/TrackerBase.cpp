#include "widgets/TrackerBase.h"

#include "framework/draw/Display.h"
#include "framework/draw/zPen.h"

#include <algorithm>
#include <cstdlib>

namespace {

RECT Normalised(const RECT& rect)
{
    return RECT{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom), std::max(rect.left, rect.right),
                std::max(rect.top, rect.bottom)};
}

} // namespace

TrackerBase::TrackerBase(Display* display)
    : TrackDisplay(display), pen_(std::make_unique<zPen>(Colour{0, 0, 0, 0}, PS_SOLID, 1))
{
}

TrackerBase::~TrackerBase() = default;

void TrackerBase::SetPen(zPen* pen)
{
    pen_.reset(pen);
}

RECT TrackerBase::ShapeRect(const POINT& to) const
{
    const RECT shape{StartPoint.x, StartPoint.y, to.x, to.y};
    return LineMode ? shape : Normalised(shape);
}

bool TrackerBase::IsSmallMove(const POINT& a, const POINT& b)
{
    return std::abs(a.x - b.x) + std::abs(a.y - b.y) < 3;
}

RECT TrackerBase::OldShape()
{
    return ShapeRect(CurrentPoint);
}

RECT TrackerBase::NewShape()
{
    return ShapeRect(RequestedPoint);
}

void TrackerBase::Constrain(POINT& point)
{
    if (!MoveX)
        point.x = CurrentPoint.x;
    if (!MoveY)
        point.y = CurrentPoint.y;
    if (SnapBack && !PtInRect(&SnapRect, point)) {
        point = StartPoint;
        return;
    }
    if (Limited) {
        point.x = std::clamp(point.x, Limit.left, std::max(Limit.left, Limit.right));
        point.y = std::clamp(point.y, Limit.top, std::max(Limit.top, Limit.bottom));
    }
}

void TrackerBase::BeginDraw()
{
    TrackDisplay->Lock();
    TrackDisplay->PushPen(pen_.release());
    SavedRasterMode = TrackDisplay->SetRop2(R2_NOTXORPEN);
}

void TrackerBase::EndDraw()
{
    TrackDisplay->SetRop2(SavedRasterMode);
    pen_ = TrackDisplay->PopPen();
    TrackDisplay->Unlock();
}

void TrackerBase::DrawShape(Display& display, const RECT& shape)
{
    if (CustomDraw) {
        DrawCallback(display);
    } else if (LineMode) {
        HDC dc = display.DeviceContext();
        MoveToEx(dc, shape.left, shape.top, nullptr);
        LineTo(dc, shape.right, shape.bottom);
    } else {
        display.FrameRect(shape);
    }
}

void TrackerBase::DrawOnce(Display& display, const RECT& shape)
{
    BeginDraw();
    DrawShape(display, shape);
    EndDraw();
}

void TrackerBase::Redraw(const RECT& oldShape, const RECT& newShape)
{
    BeginDraw();
    if (Drawn)
        DrawShape(*TrackDisplay, oldShape);
    DrawShape(*TrackDisplay, newShape);
    EndDraw();
}

void TrackerBase::Start(int x, int y)
{
    StartPoint = CurrentPoint = RequestedPoint = POINT{x, y};
}

void TrackerBase::MoveTo(int x, int y)
{
    POINT point{x, y};
    Constrain(point);
    RequestedPoint = point;
    if (IsSmallMove(point, CurrentPoint))
        return;
    Redraw(OldShape(), NewShape());
    CurrentPoint = point;
    Drawn = 1;
}

void TrackerBase::Finish()
{
    POINT point = CurrentPoint;
    Constrain(point);
    const RECT shape = OldShape();
    if (Drawn)
        DrawOnce(*TrackDisplay, shape);
    Drawn = 0;
}
