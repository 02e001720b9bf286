#pragma once
// The drawing pane of a document window. The owner draws its picture in logical units (inches); the pane
// sets the program-wide drawing scale to its zoom while it draws on the screen and to 1.0 on any other
// display (a printer, a bitmap, a metafile), so that the owner's drawing code never sees the zoom. Its
// scroll ranges follow the size of the owner's drawing at the current zoom.

#include "framework/dialog/PrintJob.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/window/PaneWindowCL.h"

#include <memory>

class DocChildWindow;
class PageGrid;
class PrinterDisplay;
struct PrintRange;
class TrackerBase;
class ZoomPaneScroller;

// While printing, the pane paints the current page of the program-wide page grid on the printer.
class ZoomPane : public PaneWindowCL, public PrintSource {
public:
    static constexpr double MinimumZoom = 0.05;
    static constexpr double MaximumZoomLimit = 2.5;
    static constexpr double ZoomStepFactor = 1.333;

    // The pane inside its owner.
    ZoomPane(DocChildWindow* owner, LayoutManager* layout, DWORD style);
    // The pane inside another window of the owner.
    ZoomPane(DocChildWindow* owner, WindowCL* parent, LayoutManager* layout, DWORD style);
    // Deletes the scroller.
    ~ZoomPane() override;

    long ExtentInPixels(SIZE& extent) override;               // 15: the drawing at the zoom, in pixels
    long Paint(WindowEvent* event) override;                  // 23: the owner draws
    void OnZoomChanged() override;                            // 24: the owner lays out at the pane's scale
    // 28: scrolls the whole client area, child windows (an open in-place editor) included.
    void Scroll(int dx, int dy, const RECT* rect) override;
    // The size of the owner's drawing bounds.
    virtual LogicalSize LogicalExtent();

    // Printing the owner's picture on the owner's printer. Without a usable printer the user is told (unless
    // silent) and nothing prints; silent printing prints every page once without asking.
    int Print(int silent);                                    // 29
    // Prints the range through a print job while its progress dialog runs; a null output prints to the
    // printer's port, else into that file. False when nothing could be started.
    bool PrintRangeOf(PrinterDisplay* printer, const PrintRange& range, const char* output);
    // Lays the page grid out for the printer's page; the number of pages.
    int CountPages(Display* printer);
    void StartPrint(Display* printer);
    long NextPrintPage() override;                            // 27
    void PrintOnDisplay(Display* printer) override;           // 26
    // Printing is over: the print offsets are cleared and the owner's picture is repainted.
    virtual void ResetPrintState();                           // 30
    bool IsPrinting() const { return printing_ != 0; }
    // The program-wide page grid of the pane that prints.
    static PageGrid& Pages();

    DocChildWindow* Owner() const { return owner_; }
    double Zoom() const { return zoom_; }
    double MaximumZoom() const { return maximumZoom_; }
    void ZoomRange(double& minimum, double& maximum) const;
    // Zoom commands act only while zooming is enabled (owners that allow it enable it).
    void EnableZoom(bool enabled) { zoomEnabled_ = enabled; }
    bool CanZoomIn() const;
    bool CanZoomOut() const;
    // One step in (zoom x 1.333) or out (zoom / 1.333).
    void ZoomStep(bool in);
    // Clamps the zoom into [0.05, maximum] and lets the owner lay out again and the scroll ranges follow;
    // a change below 1e-10 does nothing.
    void SetZoom(double zoom);
    // The owner's drawing changed: the scroll ranges follow its size and the whole pane is repainted.
    void DrawingChanged();
    // The maximum zoom, clamped into [0.05, 2.5]; a zoom above it comes down to it (answer true).
    bool SetMaxZoom(double maximum);

    // Saves the drawing scale and sets it to the zoom on the screen, to 1.0 on other displays; the pop
    // gives the saved scale back.
    void PushDrawingScale();
    void PopDrawingScale();

    // The display's window origin, which is the scrolled distance in pixels.
    POINT ScrollOrigin() const;
    // The client rectangle moved by the scroll origin: the part of the drawing in view, in pixels.
    RECT VisibleRect() const;
    // The same part in logical units at the pane's zoom.
    LogicalRect VisibleArea();
    // A client point in the drawing's pixels (moved by the scroll origin), and a rectangle of the drawing's
    // pixels in the client's (moved back by it).
    POINT ClientToDrawing(POINT point) const;
    RECT DrawingToClient(RECT rect) const;
    // Scrolls by whole steps so that the logical rectangle comes into view, its left and top edges first.
    void ScrollIntoView(const LogicalRect& rect);
    // Scroll bars in both directions with line steps and pages in pixels; each bar's page is a number of
    // line steps.
    void AttachScrollBars(int xStep, int yStep, int xPage, int yPage);
    ZoomPaneScroller* PaneScroller() const { return scroller_.get(); }

protected:
    // A logical rectangle in the pane's drawing pixels, at its current display.
    RECT ToPixels(const LogicalRect& rect) const;
    // A mouse gesture's tracker, started at the point, with the mouse captured until it ends.
    void BeginTracking(std::unique_ptr<TrackerBase> tracker, POINT start);

    std::unique_ptr<TrackerBase> tracker_;

private:
    DocChildWindow* owner_;
    std::unique_ptr<ZoomPaneScroller> scroller_;
    double zoom_ = 1.0;
    double maximumZoom_ = MaximumZoomLimit;
    bool zoomEnabled_ = false;
    int printing_ = 0;
    int copies_ = 1;
    // The printer the owner's drawing is laid out for while a job prints (compared, never used).
    const Display* layoutPrinter_ = nullptr;
};

// The pane's drawing scale for the length of a scope (a mouse gesture, an editor being placed).
class ZoomPaneScale {
public:
    explicit ZoomPaneScale(ZoomPane& pane) : pane_(pane) { pane_.PushDrawingScale(); }
    ~ZoomPaneScale() { pane_.PopDrawingScale(); }
    ZoomPaneScale(const ZoomPaneScale&) = delete;
    ZoomPaneScale& operator=(const ZoomPaneScale&) = delete;

private:
    ZoomPane& pane_;
};
