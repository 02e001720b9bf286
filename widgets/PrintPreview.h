#pragma once
// The print preview inside the print pages dialog: a document's drawing laid over the grid of printer
// pages it will occupy, scaled to fit the space the dialog gives it. Where the document keeps a print
// offset, the drawing's top-left handle drags it across the paper and its bottom-right handle scales it;
// after a drag the dialog is asked to build the preview again.

#include "widgets/ScaledPane.h"
#include "framework/window/PaneWindowCL.h"

#include <memory>

class DocChildWindow;
class TrackerBase;
class ZoomPane;
class PrintPreviewWindow;

// The preview's drawing surface: a scaled window display that drawing code takes for a printer.
class PreviewDisplay : public ScaledPane {
public:
    explicit PreviewDisplay(WindowCL* window) : ScaledPane(window, KindPrinter) {}
    // One page in pixels; until it is set the client rectangle is the window's.
    void SetPageRect(const RECT& page) { page_ = page; }
    // Everything may be drawn: (-32000, -32000) to (32000, 32000).
    void Bounds(RECT& rect) override;
    void ClientRect(RECT& rect) override;

private:
    RECT page_{0, 0, 0, 0};
};

// What a preview was built from: the document's pane, the print offset then in force, and its window.
struct PreviewHelper {
    ZoomPane* pane = nullptr;
    WindowCL* dialog = nullptr;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    PrintPreviewWindow* window = nullptr;
    // Deletes the preview window.
    void Free();
};

class PrintPreviewWindow : public PaneWindowCL {
public:

    // At the pixels of the dialog, over a grid of columns x rows pages of the page size (inches).
    PrintPreviewWindow(DocChildWindow* owner, WindowCL* dialog, PreviewHelper* helper, const RECT& pixels,
                       int columns, int rows, float pageWidth, float pageHeight);
    // Gives the document's pane its display and zoom back.
    ~PrintPreviewWindow() override;

    // The document's pane draws on the preview display from now on; the drawing starts at the print offset.
    void AttachDisplay(std::unique_ptr<PreviewDisplay> display);
    PreviewDisplay* Preview() const { return display_.get(); }

    long Paint(WindowEvent* event) override;
    void OnZoomChanged() override {}
    long OnMouseDown(const MouseInput& mouse) override;
    long OnMouseMoved(const MouseInput& mouse) override;
    long OnMouseUp(const MouseInput& mouse) override;

private:
    // The drawing's rectangle in client pixels, and the print offset in pixels.
    RECT DrawingRect();
    POINT OffsetPixels();
    bool ShowsHandles();
    void DrawFrameAndPages();

    DocChildWindow* owner_;
    WindowCL* dialog_;
    PreviewHelper* helper_;
    // Where the dragged point may go in an offset drag: the first page, in client pixels.
    RECT FirstPage();

    int columns_;
    int rows_;
    float pageWidth_;
    float pageHeight_;
    int handles_ = -1;
    int dragMode_ = 0;
    std::unique_ptr<TrackerBase> tracker_;
    std::unique_ptr<PreviewDisplay> display_;
};

// Builds the preview of the pane's document in the area of the dialog (pixels) and shows it. Null when
// the document has no printer or no pages (an empty drawing), so nothing divides by an empty grid.
std::unique_ptr<PreviewHelper> MakePrintPreview(WindowCL* dialog, ZoomPane* pane, const RECT& area);
// Columns x rows of the last page count.
int PreviewPageCount();
