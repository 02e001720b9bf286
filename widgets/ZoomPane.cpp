#include "widgets/ZoomPane.h"

#include "widgets/DocChildWindow.h"
#include "widgets/TrackerBase.h"
#include "framework/draw/DrawingScale.h"
#include "widgets/ZoomPaneScroller.h"
#include "framework/draw/WindowDisplay.h"
#include "framework/window/ScrollBarState.h"

#include <algorithm>
#include <cmath>

namespace {

// Changes of the zoom smaller than this are none.
const double ZoomTolerance = 1e-10;

// Whole steps that bring the span [low, high] (pixels, relative to the view's edges: low the distance of
// the near edges, high of the far edges) into view; the near edge wins when the span is wider than the view.
int StepsIntoView(int low, int high, int step)
{
    if (step <= 0)
        return 0;
    if (low < 0 && high < 0)
        return static_cast<int>(std::floor(static_cast<double>(low) / step));
    if (low > 0 && high > 0)
        return high < low ? static_cast<int>(std::ceil(static_cast<double>(high) / step))
                          : static_cast<int>(std::floor(static_cast<double>(low) / step));
    return 0;
}

} // namespace

ZoomPane::ZoomPane(DocChildWindow* owner, LayoutManager* layout, DWORD style)
    : PaneWindowCL(owner, layout, style), owner_(owner)
{
}

ZoomPane::ZoomPane(DocChildWindow* owner, WindowCL* parent, LayoutManager* layout, DWORD style)
    : PaneWindowCL(parent, layout, style), owner_(owner)
{
}

ZoomPane::~ZoomPane()
{
    SetScroller(nullptr);
    scroller_.reset();
}

void ZoomPane::ZoomRange(double& minimum, double& maximum) const
{
    minimum = MinimumZoom;
    maximum = maximumZoom_;
}

bool ZoomPane::CanZoomIn() const
{
    return zoomEnabled_ && zoom_ < maximumZoom_;
}

bool ZoomPane::CanZoomOut() const
{
    return zoomEnabled_ && zoom_ > MinimumZoom;
}

void ZoomPane::ZoomStep(bool in)
{
    SetZoom(in ? zoom_ * ZoomStepFactor : zoom_ / ZoomStepFactor);
}

void ZoomPane::SetZoom(double zoom)
{
    if (std::fabs(zoom_ - zoom) < ZoomTolerance)
        return;
    zoom_ = std::clamp(zoom, MinimumZoom, maximumZoom_);
    OnZoomChanged();
    DrawingChanged();
}

void ZoomPane::DrawingChanged()
{
    if (scroller_)
        scroller_->Update(nullptr);
    else
        OwnDisplay()->InvalidateRect(nullptr, true);
}

bool ZoomPane::SetMaxZoom(double maximum)
{
    maximumZoom_ = std::clamp(maximum, MinimumZoom, MaximumZoomLimit);
    if (maximumZoom_ >= zoom_)
        return false;
    SetZoom(maximumZoom_);
    return true;
}

void ZoomPane::PushDrawingScale()
{
    SaveDrawingScale();
    const bool screen = CurrentDisplay()->Kind() == Display::KindWindow;
    SetCurrentDrawingScale(screen ? static_cast<float>(zoom_) : 1.0f);
}

void ZoomPane::PopDrawingScale()
{
    RestoreDrawingScale();
}

long ZoomPane::Paint(WindowEvent*)
{
    Display* display = CurrentDisplay();
    DisplayLock lock(*display);
    PushDrawingScale();
    if (owner_)
        owner_->Draw(display);
    PopDrawingScale();
    return 1;
}

void ZoomPane::OnZoomChanged()
{
    PushDrawingScale();
    if (owner_)
        owner_->OnZoomChanged();
    PopDrawingScale();
}

LogicalSize ZoomPane::LogicalExtent()
{
    LogicalRect bounds{0, 0, 0, 0};
    if (owner_)
        owner_->Bounds(bounds);
    return LogicalSize{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

long ZoomPane::ExtentInPixels(SIZE& extent)
{
    PushDrawingScale();
    extent = LogicalSizeToPixels(LogicalExtent(), *CurrentDisplay());
    PopDrawingScale();
    return 1;
}

void ZoomPane::Scroll(int dx, int dy, const RECT*)
{
    ScrollWindow(handle_, dx, dy, nullptr, nullptr);
}

POINT ZoomPane::ScrollOrigin() const
{
    return OwnDisplay()->WindowOrigin();
}

RECT ZoomPane::VisibleRect() const
{
    RECT rect{0, 0, 0, 0};
    if (handle_ && IsWindow(handle_))
        GetClientRect(handle_, &rect);
    const POINT origin = ScrollOrigin();
    OffsetRect(&rect, origin.x, origin.y);
    return rect;
}

LogicalRect ZoomPane::VisibleArea()
{
    PushDrawingScale();
    const LogicalRect area = PixelRectToLogical(VisibleRect(), *CurrentDisplay());
    PopDrawingScale();
    return area;
}

POINT ZoomPane::ClientToDrawing(POINT point) const
{
    const POINT origin = ScrollOrigin();
    return POINT{point.x + origin.x, point.y + origin.y};
}

RECT ZoomPane::DrawingToClient(RECT rect) const
{
    const POINT origin = ScrollOrigin();
    OffsetRect(&rect, -origin.x, -origin.y);
    return rect;
}

void ZoomPane::ScrollIntoView(const LogicalRect& rect)
{
    if (!scroller_)
        return;
    PushDrawingScale();
    const RECT wanted = LogicalRectToPixels(rect, *OwnDisplay());
    PopDrawingScale();
    const RECT view = VisibleRect();
    scroller_->ScrollSteps(false, StepsIntoView(wanted.left - view.left, wanted.right - view.right,
                                                scroller_->HorzLineUnit()));
    scroller_->ScrollSteps(true, StepsIntoView(wanted.top - view.top, wanted.bottom - view.bottom,
                                               scroller_->VertLineUnit()));
}

void ZoomPane::AttachScrollBars(int xStep, int yStep, int xPage, int yPage)
{
    style_ |= WS_VSCROLL | WS_HSCROLL;
    if (handle_ && IsWindow(handle_)) {
        SetWindowLongA(handle_, GWL_STYLE, static_cast<LONG>(style_));
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    auto* vertical = new ScrollBarState(this, SB_VERT);
    auto* horizontal = new ScrollBarState(this, SB_HORZ);
    vertical->pageStep = yStep > 0 ? yPage / yStep : 1;
    horizontal->pageStep = xStep > 0 ? xPage / xStep : 1;
    SetVerticalState(vertical);
    SetHorizontalState(horizontal);
    SetScroller(nullptr);
    scroller_ = std::make_unique<ZoomPaneScroller>(this);
    scroller_->SetHorzLineUnit(xStep);
    scroller_->SetVertLineUnit(yStep);
    scroller_->SetHorzPageUnit(xPage);
    scroller_->SetVertPageUnit(yPage);
    SetScroller(scroller_.get());
    scroller_->Update(nullptr);
}

RECT ZoomPane::ToPixels(const LogicalRect& rect) const
{
    return LogicalRectToPixels(rect, *CurrentDisplay());
}

void ZoomPane::BeginTracking(std::unique_ptr<TrackerBase> tracker, POINT start)
{
    tracker_ = std::move(tracker);
    tracker_->Start(start.x, start.y);
    SetCapture(Handle());
}
