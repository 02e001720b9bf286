// Paging a text of about 1 MB in the text pane: the text goes into the pane's edit control, then is broken
// into printed lines and pages on the test printer, which the build's Wine prefix holds once the tests ran.
// The case makes windows, so it needs a display (tools/session.sh starts one).

#include "bench/Bench.h"
#include "bench/BenchApp.h"

#include "widgets/DocChildWindow.h"
#include "widgets/PageGrid.h"
#include "widgets/PrinterDevice.h"
#include "widgets/TextPane.h"
#include "widgets/TextPaneEdit.h"
#include "framework/window/ChildLayout.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/MDIframeCL.h"

#include <cstdio>
#include <string>

namespace {

// About 1 MB of report lines with tabs, some too long for one printed line.
std::string ReportText()
{
    std::string text;
    for (int row = 0; text.size() < 1000000; ++row) {
        text += "Row " + std::to_string(row) + "\tStrategy " + std::to_string(row % 17) + "\t" +
                std::to_string(row * 0.37) + "\t" + std::to_string(row * 12.5);
        if (row % 10 == 0)
            text += "\tA note long enough to run past the right margin of the page and on to a second line"
                    " of the printout, as free text in a report often does.";
        text += "\r\n";
    }
    return text;
}

// A window whose drawing is its pane's text laid out for its printer, except while the pane prints the
// layout it made before.
class TextWindow : public DocChildWindow {
public:
    TextWindow() : DocChildWindow("Text", 0) {}
    void Bounds(LogicalRect& rect) override
    {
        auto* pane = static_cast<TextPane*>(Pane());
        pane->Layout(rect, !pane->IsPrinting());
    }
};

} // namespace

KIVO_BENCH(TextPanePaging)
{
    BenchApp app;
    {
        MDIframeCL frame(nullptr, 0, "frame");
        auto* window = new TextWindow;
        // Hidden, as the pane a window prints and copies from: its edit control takes the text without breaking
        // it into lines at a width nobody sees.
        auto* pane = new TextPane(window, new ChildLayout(0, 0, 300, 200, nullptr), WS_CHILD, true, true);
        window->SetPane(pane);
        const DefaultPrinter described("KIVO Test Printer,WINEPS.DRV,FILE:");
        window->UsePrinter(new PrinterDevice(&described));
        if (!IsWindow(pane->Edit().Handle())) {
            std::printf("no windows without a display: run it inside tools/session.sh's session\n");
        } else if (window->PrinterSetup()->PrinterContext() == nullptr) {
            std::printf("no test printer in this Wine prefix: run the tests once first\n");
        } else {
            const std::string text = ReportText();
            BenchReport("put 1 MB of text into the word-wrapping edit", 1, [&] { pane->Edit().SetText(text); });
            LogicalRect bounds{};
            BenchReport("page 1 MB of text for the printer", 1, [&] { pane->Layout(bounds, true); });
            std::printf("%zu characters: %d printed lines, %d per page, %d pages\n", text.size(), pane->LineCount(),
                        pane->LinesPerPage(), pane->PageCount());
            {
                // The program's share of the print: every page drawn on the printer's context with no document
                // started, so that the driver writes nothing.
                PrinterDevice* printer = window->PrinterSetup();
                pane->StartPrint(printer);
                BenchReport("draw every page on the printer (not spooled)", 1, [&] {
                    do
                        pane->PrintOnDisplay(printer);
                    while (pane->NextPrintPage());
                });
                // The end of a print drops the layout: the print below lays the text out again first.
                pane->ResetPrintState();
                pane->Layout(bounds, true);
            }
            char temp[MAX_PATH];
            GetTempPathA(sizeof temp, temp);
            const std::string output = std::string(temp) + "kivo-bench-text.ps";
            bool printed = false;
            BenchReport("print every page into a PostScript file", 1, [&] {
                printed = pane->PrintRangeOf(window->ReleasePrinter(), PrintRange{}, output.c_str());
            });
            if (!printed)
                std::printf("nothing printed\n");
            DeleteFileA(output.c_str());
        }
        delete window;
    }
}
