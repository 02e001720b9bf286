// The print road of a document window's pane: the page grid, the print job and its progress dialog, and
// painting one page on the printer.

#include "widgets/DocChildWindow.h"
#include "widgets/DocumentWindow.h"
#include "widgets/FilePathDialogs.h"
#include "widgets/PageGrid.h"
#include "widgets/PrintProgressDialog.h"
#include "widgets/ZoomPane.h"
#include "foundation/MessageBoxes.h"
#include "widgets/PrinterDevice.h"

#include <cstring>
#include <string>

namespace {

// The file a print to a file goes to: the person names it in the save dialog, starting from the document's
// name with ".ps" in the document's folder (an untitled one: its title); silent printing takes that name as
// it is. False when the person cancelled.
bool ChoosePrintFile(DocChildWindow* owner, int silent, zString& output)
{
    static const char* const Filters[] = {"PostScript Files (*.ps)", "*.ps", "All Files (*.*)", "*.*", nullptr};
    auto* document = dynamic_cast<DocumentWindow*>(owner);
    FilePath proposed;
    if (document != nullptr && !document->FilePathObject().IsEmpty()) {
        proposed = document->FilePathObject();
    } else {
        std::string title = owner != nullptr ? owner->Text() : "Print";
        for (char& c : title)
            if (std::strchr("\\/:*?\"<>|", c) != nullptr)
                c = '_';
        proposed.SetFullPath(title.c_str());
    }
    proposed.SetExtension("ps");
    FilePath chosen;
    if (silent)
        chosen = proposed;
    else if (!ChooseSavePath(owner != nullptr ? owner->Handle() : nullptr, Filters, "Print to File",
                             proposed.FullPath().Text(), chosen))
        return false;
    output = chosen.FullPath();
    return true;
}

} // namespace

PageGrid& ZoomPane::Pages()
{
    static PageGrid grid;
    return grid;
}

int ZoomPane::Print(int silent)
{
    PrinterDevice* printer = owner_ ? owner_->PrinterSetup() : nullptr;
    RECT page{};
    if (printer)
        printer->ClientRect(page);
    if (!printer || !printer->PrinterContext() || page.right <= 0 || page.bottom <= 0) {
        if (!silent)
            ShowErrorBox(nullptr, "Unable to print: Invalid printer driver.", 0);
        return 0;
    }
    const int pages = CountPages(printer);
    PrintRange range;
    if (!silent) {
        if (!printer->PrintDialog(pages) || !printer->PrinterContext())
            return 0;
        range = PrintRange{printer->FirstPage(), printer->LastPage(), printer->Copies()};
    }
    zString output;
    if (printer->PrintsToFile() && !ChoosePrintFile(owner_, silent, output))
        return 0;
    return PrintRangeOf(owner_->ReleasePrinter(), range, output.IsEmpty() ? nullptr : output.Text()) ? 1 : 0;
}

bool ZoomPane::PrintRangeOf(PrinterDisplay* printer, const PrintRange& range, const char* output)
{
    auto* dialog = new PrintProgressDialog(owner_, this, printer);
    auto* job = new PrintJob(this, printer, dialog);
    zString title("KIVO Print Job: ");
    if (owner_)
        title += owner_->Text();
    job->SetTitle(title.Text());
    StartPrint(printer);
    PageGrid& grid = Pages();
    grid.Start(range.last >= 1 ? range.last : grid.Columns() * grid.Rows());
    // The pages before the first are skipped whole, whatever the copies.
    bool more = grid.Columns() * grid.Rows() > 0;
    for (int i = 1; i < range.first && more; ++i)
        more = grid.Next(1);
    copies_ = range.copies > 0 ? range.copies : 1;
    dialog->SetPageRange(range.first, range.last >= 1 ? range.last : grid.Columns() * grid.Rows());
    if (!more || !job->Start(output)) {
        delete job;
        ResetPrintState();
        return false;
    }
    dialog->Run();
    ResetPrintState();
    return true;
}

int ZoomPane::CountPages(Display* printer)
{
    RECT pixels{};
    printer->ClientRect(pixels);
    LogicalRect drawing{0, 0, 0, 0};
    if (owner_)
        owner_->Bounds(drawing);
    if (pixels.right - pixels.left <= 0 || pixels.bottom - pixels.top <= 0)
        return 0;
    PushDisplay(printer);
    PushDrawingScale();
    const float originX = DrawingOriginX();
    const float originY = DrawingOriginY();
    SetDrawingOrigin(0.0f, 0.0f);
    const LogicalRect page = PixelRectToLogical(pixels, *printer);
    SetDrawingOrigin(originX, originY);
    PopDrawingScale();
    PopDisplay();
    PrintOffset stored;
    const bool hasOffset = owner_ && owner_->GetPrintOffset(stored.x, stored.y);
    return Pages().Count(page, drawing, owner_ && owner_->CentreOnePage(), hasOffset ? &stored : nullptr);
}

void ZoomPane::StartPrint(Display* printer)
{
    printing_ = 1;
    CountPages(printer);
    Pages().Start(Pages().Columns() * Pages().Rows());
}

long ZoomPane::NextPrintPage()
{
    return Pages().Next(copies_) ? 1 : 0;
}

void ZoomPane::PrintOnDisplay(Display* printer)
{
    LogicalRect drawing{0, 0, 0, 0};
    if (owner_)
        owner_->Bounds(drawing);
    PushDisplay(printer);
    // The owner lays its drawing out for the printer, and for the screen again afterwards. While a job
    // prints, that happens once: at its first page, and when it ends.
    if (!printing_ || layoutPrinter_ != printer)
        OnZoomChanged();
    if (printing_)
        layoutPrinter_ = printer;
    const float originX = DrawingOriginX();
    const float originY = DrawingOriginY();
    SetDrawingOrigin(drawing.left + Pages().OriginX(), drawing.top + Pages().OriginY());
    Paint(nullptr);
    SetDrawingOrigin(originX, originY);
    PopDisplay();
    if (!printing_)
        OnZoomChanged();
}

void ZoomPane::ResetPrintState()
{
    printing_ = 0;
    copies_ = 1;
    if (layoutPrinter_ != nullptr) {
        layoutPrinter_ = nullptr;
        OnZoomChanged();
    }
    if (owner_)
        owner_->InvalidateAll();
}
