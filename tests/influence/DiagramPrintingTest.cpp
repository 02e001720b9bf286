// A diagram prints as a tree does: the frame offers Print, Print Preview and Page Setup for it, and its
// pages reach the printer.

#include "app/PageGrid.h"
#include "app/PrinterDevice.h"
#include "tests/influence/ShownDiagram.h"
#include "tests/support/TestPrinter.h"

#include <string>

namespace {

TEST_F(ShownDiagram, TheFrameOffersPrintingAndTheDiagramPrintsItsPage)
{
    NewNode(Cmd::RightClickNewDecision, DiagramPoint{1, 1}, "Treat");
    NewNode(Cmd::RightClickNewChance, DiagramPoint{3, 1}, "Cure");
    for (unsigned id : {Cmd::FilePrint, Cmd::FilePrintPreview, Cmd::FilePageSetup})
        EXPECT_FALSE(Grayed(id)) << id;

    const std::string entry = TestPrinterEntry();
    ASSERT_FALSE(entry.empty());
    const DefaultPrinter described(entry.c_str());
    window->UsePrinter(new PrinterDevice(&described));
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string output = std::string(temp) + "kivo-diagram.ps";
    DeleteFileA(output.c_str());
    ASSERT_TRUE(window->Pane()->PrintRangeOf(window->ReleasePrinter(), PrintRange{}, output.c_str()));
    EXPECT_EQ(PostScriptPageCount(output), 1);
    DeleteFileA(output.c_str());
    EXPECT_EQ(boxes.Count(), 0u);
}

} // namespace
