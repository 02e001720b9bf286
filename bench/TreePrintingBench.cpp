// Counting the printed pages of the generated tree of about 10,000 nodes and printing it, page after page
// through a print job and its progress dialog, to the test printer (PostScript into a file).

#include "bench/Bench.h"
#include "bench/BenchTree.h"

#include "widgets/PageGrid.h"
#include "widgets/PrinterDevice.h"
#include "widgets/ZoomPane.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/MDIframeCL.h"
#include "tests/support/TestPrinter.h"
#include "treewin/TreePane.h"
#include "treewin/TreeWindow.h"

#include <cstdio>
#include <string>

KIVO_BENCH(TreePrinting)
{
    const std::string entry = TestPrinterEntry();
    if (entry.empty()) {
        std::printf("no test printer: tree printing not measured\n");
        return;
    }
    FrameworkApp* previous = TheApp;
    auto* app = new FrameworkApp(GetModuleHandleA(nullptr), nullptr, "", SW_HIDE);
    TheApp = app;
    {
        MDIframeCL frame(nullptr, 0, "KIVO bench");
        TreeWindow tree;
        GrowBenchTree(tree.Document());
        tree.Redraw();
        TreeWindow* view = &tree;
        if (view->Pane() == nullptr) {
            std::printf("no windows without a display: run it inside tools/session.sh's session\n");
        } else {
            const DefaultPrinter described(entry.c_str());
            view->UsePrinter(new PrinterDevice(&described));
            int pages = 0;
            BenchReport("count the printed pages of 10,011 nodes", 100,
                        [&] { pages = view->Pane()->CountPages(view->PrinterSetup()); });
            std::printf("%d pages (%d columns x %d rows)\n", pages, ZoomPane::Pages().Columns(),
                        ZoomPane::Pages().Rows());
            {
                // The program's share of the print: every page drawn on the printer's context with no document
                // started, so that the driver writes nothing; the rest of a print's time is the driver's.
                PrinterDevice* printer = view->PrinterSetup();
                view->Pane()->StartPrint(printer);
                BenchReport("draw every page of the tree on the printer (not spooled)", 1, [&] {
                    do
                        view->Pane()->PrintOnDisplay(printer);
                    while (view->Pane()->NextPrintPage());
                });
                view->Pane()->ResetPrintState();
            }
            char temp[MAX_PATH];
            GetTempPathA(sizeof temp, temp);
            const std::string output = std::string(temp) + "kivo-bench-tree.ps";
            DeleteFileA(output.c_str());
            BenchReport("print 10,011 nodes to the test printer", 1, [&] {
                view->UsePrinter(new PrinterDevice(&described));
                view->Pane()->PrintRangeOf(view->ReleasePrinter(), PrintRange{}, output.c_str());
            });
            std::printf("%d pages in the printed file\n", PostScriptPageCount(output));
        }
    }
    delete app;
    TheApp = previous;
}
