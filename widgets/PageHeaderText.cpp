// Page breaks and page headers drawn over a document window's drawing, on the screen and on paper.

#include "widgets/DocChildWindow.h"
#include "widgets/DocumentWindow.h"
#include "widgets/PageGrid.h"
#include "widgets/ZoomPane.h"
#include "widgets/PrinterDevice.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/DrawingScale.h"
#include "framework/draw/FontRecordFonts.h"

#include <cmath>
#include <vector>

namespace {

// Page breaks are drawn in the finest dash pattern, in grey.
constexpr int kBreakStyle = 1;
constexpr COLORREF kBreakColour = RGB(128, 128, 128);
// A page origin this close to the drawing's edge counts as lying on it.
constexpr float kOriginTolerance = 0.0001f;

// The page boundary at or before `edge`: `start` moved by whole pages.
float PageOriginAtOrBefore(float start, float edge, float page)
{
    float origin = edge - std::fmod(edge - start, page);
    if (origin > edge + kOriginTolerance)
        origin -= page;
    if (edge - origin >= page - kOriginTolerance)
        origin += page;
    return origin;
}

// One line of a page (header or footer) at a pixel point; the font is made for the display and deleted after.
class PageLine {
public:
    PageLine(Display& display, const FontRecord& font, const zString& format)
        : display_(display), format_(format), font_(format.IsEmpty() ? nullptr : CreateRecordFont(font, &display))
    {
    }
    bool Shown() const { return font_ != nullptr; }
    int Height()
    {
        Select();
        const int height = display_.TextExtent("Ag", 2).cy;
        Restore();
        return height;
    }
    void Draw(int alignment, int left, int width, int top, const zString& text)
    {
        Select();
        display_.TextOutAt(left + AlignOffset(alignment, display_, text.Text(), width), top, text.Text());
        Restore();
    }
    const zString& Format() const { return format_; }

private:
    void Select() { display_.PushFont(new zFont(font_->Handle())); }
    void Restore() { display_.PopFont(); }

    Display& display_;
    const zString& format_;
    std::unique_ptr<zFont> font_;
};

} // namespace

int AlignOffset(int alignment, Display& display, const char* text, int width)
{
    if (alignment < 0)
        return 0;
    DisplayLock lock(display);
    const int textWidth = display.TextExtent(text, 0).cx;
    return alignment == 0 ? (width - textWidth) / 2 : width - textWidth;
}

void DocChildWindow::DrawPageHeaderText(const PageHeaderOptions& options)
{
    if (!options.display)
        return;
    Display& display = *options.display;
    // While the pane prints, the printer shows one page: its header and footer only. The screen shows no
    // marks meanwhile (the window's printer is the job's).
    const bool printing = pane_ && pane_->IsPrinting();
    if (printing && display.Kind() != Display::KindPrinter)
        return;
    std::vector<PageOnDisplay> pages;
    PageGrid grid;
    if (printing) {
        RECT whole{};
        display.ClientRect(whole);
        pages.push_back(PageOnDisplay{-1, -1, whole});
    } else if (!LayOutPages(options, grid, pages)) {
        return;
    }
    if (!options.headers)
        return;
    PageHeaderFields fields;
    fields.title = Text();
    if (auto* document = dynamic_cast<DocumentWindow*>(this); document && IsDocument())
        fields.path = document->FullPath();
    const PageGrid& numbers = printing ? ZoomPane::Pages() : grid;
    // The fonts at their own size (scale 1.0, a printer unscaled), so that headers print alike whatever the
    // zoom and the print scale.
    DisplayLock lock(display);
    auto* scaled = dynamic_cast<ScaledWindow*>(&display);
    const double printScale = scaled ? scaled->Scale() : 1.0;
    if (scaled)
        scaled->SetScale(1.0, -1.0);
    SaveDrawingScale();
    SetCurrentDrawingScale(1.0f);
    {
        PageLine header(display, options.headerFont, options.headerText);
        PageLine footer(display, options.footerFont, options.footerText);
        const int footerHeight = footer.Shown() ? footer.Height() : 0;
        for (const PageOnDisplay& page : pages) {
            const int width = page.pixels.right - page.pixels.left;
            if (header.Shown())
                header.Draw(options.headerAlignment, page.pixels.left, width, page.pixels.top,
                            ExpandPageHeader(header.Format().Text(), page.column, page.row, numbers, fields));
            if (footer.Shown())
                footer.Draw(options.footerAlignment, page.pixels.left, width, page.pixels.bottom - footerHeight,
                            ExpandPageHeader(footer.Format().Text(), page.column, page.row, numbers, fields));
        }
    }
    RestoreDrawingScale();
    if (scaled)
        scaled->SetScale(printScale, -1.0);
}

bool DocChildWindow::LayOutPages(const PageHeaderOptions& options, PageGrid& grid, std::vector<PageOnDisplay>& pages)
{
    PrinterDevice* printer = PrinterSetup();
    if (!printer || printer->LogPixelsX() <= 0 || printer->LogPixelsY() <= 0)
        return false;
    RECT pixels{};
    printer->ClientRect(pixels);
    const float pageWidth = static_cast<float>(pixels.right - pixels.left) / printer->LogPixelsX();
    const float pageHeight = static_cast<float>(pixels.bottom - pixels.top) / printer->LogPixelsY();
    if (!(pageWidth > 0.0f) || !(pageHeight > 0.0f))
        return false;
    LogicalRect bounds{0, 0, 0, 0};
    Bounds(bounds);
    // Where the drawing sits on its first page; the page boundaries lie that far before its edges.
    const float width = bounds.right - bounds.left;
    const float height = bounds.bottom - bounds.top;
    PrintOffset offset;
    if (CentreOnePage() && width < pageWidth && height < pageHeight)
        offset = PrintOffset{(pageWidth - width) / 2.0f, (pageHeight - height) / 3.0f};
    else if (!GetPrintOffset(offset.x, offset.y))
        offset = PrintOffset{};
    const float originX = PageOriginAtOrBefore(bounds.left - offset.x, bounds.left, pageWidth);
    const float originY = PageOriginAtOrBefore(bounds.top - offset.y, bounds.top, pageHeight);
    const LogicalRect& area = options.rect;
    Display& display = *options.display;
    if (options.breaks) {
        for (float x = originX + pageWidth; x < area.right; x += pageWidth)
            if (x > area.left)
                DrawDashedLine(display, LogicalPoint{x, area.top}, LogicalPoint{x, area.bottom}, kBreakStyle,
                               kBreakColour);
        for (float y = originY + pageHeight; y < area.bottom; y += pageHeight)
            if (y > area.top)
                DrawDashedLine(display, LogicalPoint{area.left, y}, LogicalPoint{area.right, y}, kBreakStyle,
                               kBreakColour);
    }
    grid.Count(LogicalRect{0, 0, pageWidth, pageHeight}, bounds, false, &offset);
    for (int column = 0; originX + column * pageWidth < std::fmin(bounds.right, area.right); ++column)
        for (int row = 0; originY + row * pageHeight < std::fmin(bounds.bottom, area.bottom); ++row) {
            const LogicalRect page{originX + column * pageWidth, originY + row * pageHeight,
                                   originX + (column + 1) * pageWidth, originY + (row + 1) * pageHeight};
            if (page.right > area.left && page.bottom > area.top)
                pages.push_back(PageOnDisplay{column, row, LogicalRectToPixels(page, display)});
        }
    return true;
}
