#include "widgets/PrintPreview.h"

#include "widgets/DocChildWindow.h"
#include "widgets/MouseTracker.h"
#include "widgets/PageGrid.h"
#include "widgets/PrinterDevice.h"
#include "widgets/WindowPlacement.h"
#include "widgets/ZoomPane.h"
#include "foundation/NumericHelpers.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/DrawingScale.h"
#include "framework/window/ChildLayout.h"
#include "widgets/OutlineTracker.h"

#include <algorithm>
#include <cmath>

namespace {

// Room left round the preview inside the dialog's area, in pixels.
constexpr int kAreaMargin = 15;
// The narrowest a page is shown: the pages of a drawing too large to show whole at that size are shown from the
// first, as many as the area holds.
constexpr double kSmallestPagePixels = 12.0;
// A scale drag never makes the drawing narrower or lower than this, in pixels.
constexpr int kSmallestDrawing = 10;

int lastPageCount = 0;

// The scale drag: the bottom-right corner follows the mouse, keeping the drawing's aspect (height / width).
class PreviewScaleTracker : public DiagramTracker {
public:
    PreviewScaleTracker(Display* display, const POINT& anchor, double aspect)
        : DiagramTracker(display, anchor), aspect_(aspect)
    {
    }
    void Constrain(POINT& point) override
    {
        point.x = std::max<LONG>(point.x, FixedPoint.x + kSmallestDrawing);
        point.y = std::max<LONG>(point.y, FixedPoint.y + kSmallestDrawing);
        const double dx = point.x - FixedPoint.x;
        const double dy = point.y - FixedPoint.y;
        if (dy / dx > aspect_)
            point.x = FixedPoint.x + static_cast<LONG>(dy / aspect_);
        else
            point.y = FixedPoint.y + static_cast<LONG>(dx * aspect_);
    }

private:
    double aspect_;
};

} // namespace

void PreviewDisplay::Bounds(RECT& rect)
{
    rect = RECT{-32000, -32000, 32000, 32000};
}

void PreviewDisplay::ClientRect(RECT& rect)
{
    if (page_.left || page_.top || page_.right || page_.bottom)
        rect = page_;
    else
        WindowDisplay::ClientRect(rect);
}

void PreviewHelper::Free()
{
    delete window;
    window = nullptr;
}

PrintPreviewWindow::PrintPreviewWindow(DocChildWindow* owner, WindowCL* dialog, PreviewHelper* helper,
                                       const RECT& pixels, int columns, int rows, float pageWidth, float pageHeight)
    : PaneWindowCL(dialog, new ChildLayout(pixels, nullptr), WS_CHILD), owner_(owner), dialog_(dialog),
      helper_(helper), columns_(columns), rows_(rows), pageWidth_(pageWidth), pageHeight_(pageHeight)
{
}

PrintPreviewWindow::~PrintPreviewWindow()
{
    if (display_ && helper_->pane) {
        helper_->pane->PopDisplay();
        helper_->pane->OnZoomChanged();
    }
    if (handle_)
        DestroyWindow(handle_);
}

void PrintPreviewWindow::AttachDisplay(std::unique_ptr<PreviewDisplay> display)
{
    display_ = std::move(display);
    helper_->pane->PushDisplay(display_.get());
    helper_->pane->OnZoomChanged();
    const POINT offset = OffsetPixels();
    display_->SetViewportOrigin(offset.x, offset.y);
}

POINT PrintPreviewWindow::OffsetPixels()
{
    return POINT{static_cast<LONG>(helper_->offsetX * display_->LogPixelsX()),
                 static_cast<LONG>(helper_->offsetY * display_->LogPixelsY())};
}

RECT PrintPreviewWindow::DrawingRect()
{
    LogicalRect bounds{0, 0, 0, 0};
    owner_->Bounds(bounds);
    const POINT offset = OffsetPixels();
    return RECT{offset.x, offset.y,
                offset.x + static_cast<LONG>((bounds.right - bounds.left) * display_->LogPixelsX()),
                offset.y + static_cast<LONG>((bounds.bottom - bounds.top) * display_->LogPixelsY())};
}

RECT PrintPreviewWindow::FirstPage()
{
    return RECT{0, 0, static_cast<LONG>(std::lround(pageWidth_ * display_->LogPixelsX())),
                static_cast<LONG>(std::lround(pageHeight_ * display_->LogPixelsY()))};
}

bool PrintPreviewWindow::ShowsHandles()
{
    if (handles_ < 0) {
        float x = 0.0f;
        float y = 0.0f;
        handles_ = owner_->GetPrintOffset(x, y) && !(owner_->CentreOnePage() && columns_ == 1 && rows_ == 1);
    }
    return handles_ == 1;
}

long PrintPreviewWindow::Paint(WindowEvent*)
{
    if (!display_)
        return 0;
    PreviewDisplay& display = *display_;
    DisplayLock lock(display);
    LogicalRect bounds{0, 0, 0, 0};
    owner_->Bounds(bounds);
    SaveDrawingScale();
    SetCurrentDrawingScale(1.0f);
    const float originX = DrawingOriginX();
    const float originY = DrawingOriginY();
    SetDrawingOrigin(bounds.left, bounds.top);
    owner_->Draw(&display);
    DrawFrameAndPages();
    if (ShowsHandles()) {
        const RECT drawing = DrawingRect();
        const POINT offset = OffsetPixels();
        DrawCornerHandle(display, POINT{0, 0}, Colour{255, 0, 0, 0}, true);
        const POINT farCorner{drawing.right - offset.x, drawing.bottom - offset.y};
        DrawCornerHandle(display, farCorner, Colour{0, 0, 0, 0}, false);
    }
    SetDrawingOrigin(originX, originY);
    RestoreDrawingScale();
    return 1;
}

void PrintPreviewWindow::DrawFrameAndPages()
{
    PreviewDisplay& display = *display_;
    const POINT offset = OffsetPixels();
    RECT frame{};
    GetClientRect(handle_, &frame);
    frame.right -= 2;
    frame.bottom -= 2;
    OffsetRect(&frame, -offset.x, -offset.y);
    display.FrameRect(frame);
    if (HDC dc = display.DeviceContext()) {
        // A shadow one pixel outside the right and bottom edges.
        MoveToEx(dc, frame.right + 1, frame.top + 2, nullptr);
        LineTo(dc, frame.right + 1, frame.bottom + 1);
        LineTo(dc, frame.left + 1, frame.bottom + 1);
    }
    const float left = DrawingOriginX() - helper_->offsetX;
    const float top = DrawingOriginY() - helper_->offsetY;
    const float right = left + columns_ * pageWidth_;
    const float bottom = top + rows_ * pageHeight_;
    for (int column = 1; column < columns_; ++column)
        DrawDashedLine(display, LogicalPoint{left + column * pageWidth_, top},
                       LogicalPoint{left + column * pageWidth_, bottom}, 0, RGB(0, 0, 0));
    for (int row = 1; row < rows_; ++row)
        DrawDashedLine(display, LogicalPoint{left, top + row * pageHeight_},
                       LogicalPoint{right, top + row * pageHeight_}, 0, RGB(0, 0, 0));
}

long PrintPreviewWindow::OnMouseDown(const MouseInput& mouse)
{
    if (!display_ || tracker_)
        return 0;
    const POINT point = mouse.at;
    const POINT offset = OffsetPixels();
    const RECT drawing = DrawingRect();
    RECT shape = drawing;
    OffsetRect(&shape, -offset.x, -offset.y);
    if (HitHandle(point, POINT{drawing.left, drawing.top}, true, true)) {
        dragMode_ = 0;
        auto tracker = std::make_unique<MouseTracker>(display_.get(), shape);
        const RECT page = FirstPage();
        tracker->SetBoundsRect(page.left - offset.x, page.top - offset.y, page.right - offset.x,
                               page.bottom - offset.y);
        tracker_ = std::move(tracker);
    } else if (HitHandle(point, POINT{drawing.right, drawing.bottom}, false, true)) {
        dragMode_ = 1;
        const double aspect = static_cast<double>(shape.bottom - shape.top) / std::max<LONG>(shape.right - shape.left, 1);
        tracker_ = std::make_unique<PreviewScaleTracker>(display_.get(), POINT{shape.left, shape.top}, aspect);
    } else {
        return 0;
    }
    DisplayLock lock(*display_);
    tracker_->Start(point.x - offset.x, point.y - offset.y);
    SetCapture(handle_);
    return 1;
}

long PrintPreviewWindow::OnMouseMoved(const MouseInput& mouse)
{
    if (!tracker_)
        return 0;
    const POINT point = mouse.at;
    const POINT offset = OffsetPixels();
    DisplayLock lock(*display_);
    tracker_->MoveTo(point.x - offset.x, point.y - offset.y);
    return 1;
}

long PrintPreviewWindow::OnMouseUp(const MouseInput&)
{
    if (!tracker_)
        return 0;
    {
        DisplayLock lock(*display_);
        tracker_->Finish();
    }
    const bool moved = tracker_->CurrentPoint.x != tracker_->StartPoint.x ||
                       tracker_->CurrentPoint.y != tracker_->StartPoint.y;
    if (moved && dragMode_ == 0) {
        const auto& tracker = static_cast<const MouseTracker&>(*tracker_);
        const RECT now = tracker.CurrentRect();
        const RECT start = tracker.StartRect();
        const float x = helper_->offsetX + static_cast<float>(now.left - start.left) / display_->LogPixelsX();
        const float y = helper_->offsetY + static_cast<float>(now.top - start.top) / display_->LogPixelsY();
        owner_->SetPrintOffset(std::max(x, 0.0f), std::max(y, 0.0f));
    } else if (moved) {
        const auto& tracker = static_cast<const PreviewScaleTracker&>(*tracker_);
        const RECT drawing = DrawingRect();
        const RECT now = tracker.CurrentRect();
        const double ratio = static_cast<double>(now.right - now.left) / std::max<LONG>(drawing.right - drawing.left, 1);
        double scale = owner_->GetPrintScale() * ratio;
        double minimum = 0.0;
        double maximum = 0.0;
        owner_->PrintScaleRange(minimum, maximum);
        ClampValue(&scale, minimum, maximum);
        owner_->SetPrintScale(scale, scale);
        owner_->SetPrintOffset(static_cast<float>(helper_->offsetX / ratio), static_cast<float>(helper_->offsetY / ratio));
    }
    tracker_.reset();
    ReleaseCapture();
    if (moved && dialog_ && dialog_->Handle())
        PostMessageA(dialog_->Handle(), WM_COMMAND, Cmd::PrintPreviewRebuild, 0);
    return 1;
}

std::unique_ptr<PreviewHelper> MakePrintPreview(WindowCL* dialog, ZoomPane* pane, const RECT& area)
{
    lastPageCount = 0;
    DocChildWindow* owner = pane ? pane->Owner() : nullptr;
    PrinterDevice* printer = owner ? owner->PrinterSetup() : nullptr;
    if (!printer || !printer->PrinterContext())
        return nullptr;
    RECT inner = area;
    InflateRect(&inner, -kAreaMargin, -kAreaMargin);
    LogicalRect bounds{0, 0, 0, 0};
    owner->Bounds(bounds);
    // An empty drawing (a custom interface shown instead) has nothing to preview, whatever its offset.
    if (!(bounds.right > bounds.left) || !(bounds.bottom > bounds.top))
        return nullptr;
    const int pages = pane->CountPages(printer);
    const PageGrid& grid = ZoomPane::Pages();
    if (pages <= 0 || inner.right <= inner.left || inner.bottom <= inner.top)
        return nullptr;
    lastPageCount = pages;
    const float totalWidth = grid.Columns() * grid.PageWidth();
    const float totalHeight = grid.Rows() * grid.PageHeight();
    RECT fitted{};
    FitRectToAspect(totalHeight / totalWidth, inner, nullptr, &fitted);
    const Display& paneDisplay = *pane->OwnDisplay();
    const double fittedWidth = static_cast<double>(fitted.right - fitted.left) / paneDisplay.LogPixelsX();
    const double fittedHeight = static_cast<double>(fitted.bottom - fitted.top) / paneDisplay.LogPixelsY();
    double scaleX = fittedWidth / totalWidth;
    double scaleY = fittedHeight / totalHeight;
    // Pages too small to be seen (a drawing of many hundred pages, drawn at less than a pixel an inch) are shown
    // larger, from the first page, the window cut at the area's edges.
    const bool cut = std::min(grid.PageWidth() * paneDisplay.LogPixelsX() * scaleX,
                              grid.PageHeight() * paneDisplay.LogPixelsY() * scaleY) < kSmallestPagePixels;
    if (cut) {
        // Whole pixels an inch, as the display keeps them; the quarter keeps its rounding down from losing one.
        const double perInch = std::ceil(kSmallestPagePixels / std::min(grid.PageWidth(), grid.PageHeight())) + 0.25;
        scaleX = perInch / paneDisplay.LogPixelsX();
        scaleY = perInch / paneDisplay.LogPixelsY();
        fitted = inner;
    }
    auto helper = std::make_unique<PreviewHelper>();
    helper->pane = pane;
    helper->dialog = dialog;
    helper->offsetX = grid.Offset().x;
    helper->offsetY = grid.Offset().y;
    auto* window = new PrintPreviewWindow(owner, dialog, helper.get(), fitted, grid.Columns(), grid.Rows(),
                                          grid.PageWidth(), grid.PageHeight());
    helper->window = window;
    auto display = std::make_unique<PreviewDisplay>(window);
    display->SetScale(scaleX, scaleY);
    const int pageWidth = static_cast<int>(std::lround(grid.PageWidth() * display->LogPixelsX()));
    const int pageHeight = static_cast<int>(std::lround(grid.PageHeight() * display->LogPixelsY()));
    int width = grid.Columns() * pageWidth;
    int height = grid.Rows() * pageHeight;
    if (cut) {
        width = std::min<int>(width, inner.right - inner.left);
        height = std::min<int>(height, inner.bottom - inner.top);
    }
    MoveWindow(window->Handle(), fitted.left, fitted.top, width, height, TRUE);
    display->SetPageRect(RECT{0, 0, pageWidth, pageHeight});
    window->AttachDisplay(std::move(display));
    SetWindowPos(window->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    return helper;
}

int PreviewPageCount()
{
    return lastPageCount;
}
