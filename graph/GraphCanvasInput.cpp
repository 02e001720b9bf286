// A graph window's canvas input: selecting an element, editing it on a double click, dragging it or the
// plot (moved by its upper-left handle, sized by its lower-right one), the coordinates read out while Ctrl
// is held, and the tip a series shows while the button is held.

#include "graph/GraphWindow.h"

#include "graph/GraphStylePickers.h"

#include "widgets/FrameCommands.h"
#include "widgets/InputHelpers.h"
#include "widgets/MouseTracker.h"
#include "widgets/StatusMessage.h"
#include "widgets/TipBox.h"
#include "widgets/ZoomPane.h"
#include "framework/draw/Display.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/GdiScopes.h"
#include "framework/draw/LogicalUnits.h"
#include "widgets/OutlineTracker.h"

#include <algorithm>
#include <memory>

LogicalPoint GraphWindow::CanvasPoint(POINT client) const
{
    ZoomPane* pane = const_cast<GraphWindow*>(this)->Pane();
    const POINT drawing = pane != nullptr ? pane->ClientToDrawing(client) : client;
    Display* display = pane != nullptr ? pane->CurrentDisplay() : nullptr;
    if (display == nullptr)
        return LogicalPoint{0, 0};
    return LogicalPoint{PixelXToLogical(drawing.x, *display), PixelYToLogical(drawing.y, *display)};
}

void GraphWindow::InvalidateElement(const GraphElement& element)
{
    InvalidateLogicalRect(&element.rect);
}

void GraphWindow::Select(GraphElement* element)
{
    Deselect();
    selected_ = element;
    if (element != nullptr)
        InvalidateElement(*element);
    RefreshFrameCommands();
}

void GraphWindow::Deselect()
{
    if (selected_ == nullptr)
        return;
    InvalidateElement(*selected_);
    selected_ = nullptr;
    RefreshFrameCommands();
}

bool GraphWindow::PressedTwice(const void* target)
{
    SetClickTarget(target);
    return target != nullptr && IsDoubleClick();
}

bool GraphWindow::PickLegendMark(GraphElement& key)
{
    const int index = legendKeys.IndexOf(&key);
    auto* mark = dynamic_cast<GraphMarkElement*>(&key);
    if (index < 0 || mark == nullptr || index >= legendTexts.Count())
        return false;
    int kind = mark->markKind;
    if (!RunLineMarkerDialog(kind, legendTexts.Label(index)->text.Text()))
        return false;
    mark->markKind = kind;
    InvalidateAll();
    return true;
}

void GraphWindow::OnCanvasMouseDown(POINT client)
{
    ZoomPane* pane = Pane();
    if (pane == nullptr || tracker_)
        return;
    Display* display = pane->CurrentDisplay();
    const POINT pixels = pane->ClientToDrawing(client);
    const LogicalPoint at = CanvasPoint(client);
    const RECT plot = LogicalRectToPixels(graphRect, *display);
    PressedTwice(nullptr);
    if (HitHandle(pixels, POINT{plot.left, plot.top}, true, true)) {
        Deselect();
        tracker_ = std::make_unique<MouseTracker>(display, plot);
        dragKind_ = 1;
    } else if (HitHandle(pixels, POINT{plot.right, plot.bottom}, false, true)) {
        Deselect();
        tracker_ = std::make_unique<DiagramTracker>(display, POINT{plot.left, plot.top});
        dragKind_ = 2;
    } else {
        GraphElement* element = FindElement(at.x, at.y);
        if (element == nullptr) {
            Deselect();
            return;
        }
        const bool doubleClick = PressedTwice(element);
        if (element != selected_)
            Select(element);
        if (doubleClick) {
            if (!element->Editable()) {
                MessageBeep(0);
                return;
            }
            if (element->Edit()) {
                DisplayLock lock(*display);
                Layout();
                InvalidateLogicalRect(nullptr);
                SetModified(1);
            }
            return;
        }
        if (!element->Movable())
            return;
        tracker_ = std::make_unique<MouseTracker>(display, LogicalRectToPixels(element->rect, *display));
        dragKind_ = 3;
    }
    tracker_->Start(pixels.x, pixels.y);
    SetCapture(pane->Handle());
}

void GraphWindow::OnCanvasMouseMove(POINT client, bool control, bool leftHeld)
{
    ZoomPane* pane = Pane();
    if (pane == nullptr)
        return;
    if (tracker_) {
        const POINT pixels = pane->ClientToDrawing(client);
        DisplayLock lock(*pane->CurrentDisplay());
        tracker_->MoveTo(pixels.x, pixels.y);
        return;
    }
    if (!control)
        return;
    const LogicalPoint at = CanvasPoint(client);
    if (at.x >= graphRect.left && at.x <= graphRect.right && at.y >= graphRect.top && at.y <= graphRect.bottom) {
        ShowStatusMessage(CoordinateText(at.x, at.y).Text());
        statusShown_ = true;
    }
}

void GraphWindow::OnCanvasMouseUp()
{
    ZoomPane* pane = Pane();
    if (!tracker_ || pane == nullptr)
        return;
    Display& display = *pane->CurrentDisplay();
    {
        DisplayLock lock(display);
        tracker_->Finish();
    }
    const bool moved =
        tracker_->CurrentPoint.x != tracker_->StartPoint.x || tracker_->CurrentPoint.y != tracker_->StartPoint.y;
    if (moved) {
        const float dx = PixelWidthToLogical(tracker_->CurrentPoint.x - tracker_->StartPoint.x, display);
        const float dy = PixelHeightToLogical(tracker_->CurrentPoint.y - tracker_->StartPoint.y, display);
        if (dragKind_ == 3 && selected_ != nullptr) {
            InvalidateElement(*selected_);
            selected_->MoveBy(dx, dy);
            InvalidateElement(*selected_);
        } else {
            LogicalRect moved = graphRect;
            if (dragKind_ == 1) {
                moved = LogicalRect{graphRect.left + dx, graphRect.top + dy, graphRect.right + dx, graphRect.bottom + dy};
            } else {
                const RECT shape = static_cast<DiagramTracker*>(tracker_.get())->CurrentRect();
                const LogicalRect sized = PixelRectToLogical(shape, display);
                moved.right = std::max(sized.right, graphRect.left + 0.1f);
                moved.bottom = std::max(sized.bottom, graphRect.top + 0.1f);
            }
            InvalidateLogicalRect(nullptr);
            SetGraphRect(moved);
        }
        // What the person placed stays where it is when the window changes size.
        KeepPlacements();
        Refit();
        SetModified(1);
    }
    tracker_.reset();
    dragKind_ = 0;
    ReleaseCapture();
}

void GraphWindow::OnCanvasKey(bool down)
{
    ZoomPane* pane = Pane();
    if (pane == nullptr)
        return;
    if (!down) {
        if (statusShown_)
            ShowStatusMessage("");
        statusShown_ = false;
        return;
    }
    if ((GetKeyState(VK_CONTROL) & 0x8000) == 0)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(pane->Handle(), &cursor);
    const LogicalPoint at = CanvasPoint(cursor);
    if (at.x >= graphRect.left && at.x <= graphRect.right && at.y >= graphRect.top && at.y <= graphRect.bottom) {
        ShowStatusMessage(CoordinateText(at.x, at.y).Text());
        statusShown_ = true;
    }
}

void GraphWindow::ShowHeldTip(POINT client, const char* text)
{
    ZoomPane* pane = Pane();
    if (pane == nullptr)
        return;
    heldTipText = text;
    RECT limit{};
    GetClientRect(pane->Handle(), &limit);
    {
        ScopedWindowDC dc(pane->Handle());
        heldTipRect_ = DrawTipBox(dc.Get(), client, text, false, &limit);
    }
    SetCapture(pane->Handle());
    heldTipShown_ = true;
}

void GraphWindow::HideHeldTip()
{
    if (!heldTipShown_)
        return;
    heldTipShown_ = false;
    ReleaseCapture();
    if (ZoomPane* pane = Pane())
        InvalidateRect(pane->Handle(), &heldTipRect_, TRUE);
}
