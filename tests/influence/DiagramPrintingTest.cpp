// A diagram prints as a tree does: the frame offers Print, Print Preview and Page Setup for it, and its
// pages reach the printer.

#include "widgets/PageGrid.h"
#include "widgets/PrinterDevice.h"
#include "widgets/SnapshotFormatDialog.h"
#include "framework/dialog/FileDialogs.h"
#include "tests/influence/ShownDiagram.h"
#include "tests/support/TestPrinter.h"

#include <cstring>
#include <fstream>
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

// Snapshot saves the drawing as the chosen picture; Save As a ".wmf" name saves the metafile.
TEST_F(ShownDiagram, SnapshotAndSaveAsWritePicturesOfTheDiagram)
{
    NewNode(Cmd::RightClickNewDecision, DiagramPoint{1, 1}, "Treat");
    EXPECT_FALSE(Grayed(Cmd::FileSnapshot));
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string bitmap = std::string(temp) + "kivo-diagram-snapshot.bmp";
    const std::string metafile = std::string(temp) + "kivo-diagram-picture.wmf";
    for (const std::string& path : {bitmap, metafile})
        DeleteFileA(path.c_str());
    const auto format = SnapshotFormatDialog::SetPresenter([](SnapshotFormatDialog& dialog) {
        dialog.extension = "bmp";
        return IDOK;
    });
    const FileDialogPresenter files = SetFileDialogPresenter([&](OPENFILENAMEA& dialog, bool) {
        std::strcpy(dialog.lpstrFile, bitmap.c_str());
        return 1;
    });
    Command(Cmd::FileSnapshot);
    SetFileDialogPresenter(files);
    SnapshotFormatDialog::SetPresenter(format);
    EXPECT_EQ(window->SaveAs(metafile.c_str()), 1);
    char magic[2] = {};
    std::ifstream(bitmap, std::ios::binary).read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "BM");
    EXPECT_NE(GetFileAttributesA(metafile.c_str()), INVALID_FILE_ATTRIBUTES);
    for (const std::string& path : {bitmap, metafile})
        DeleteFileA(path.c_str());
    EXPECT_EQ(boxes.Count(), 0u);
}

} // namespace
