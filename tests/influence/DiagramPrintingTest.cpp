// A diagram prints as a tree does: the frame offers Print, Print Preview and Page Setup for it, and its
// pages reach the printer.

#include "widgets/PageGrid.h"
#include "widgets/PrinterDevice.h"
#include "widgets/SnapshotFormatDialog.h"
#include "framework/dialog/FileDialogs.h"
#include "tests/influence/ShownDiagram.h"
#include "tests/support/SampleDiagram.h"
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

// The share of white pixels in a bitmap file, and how many are dark (below half grey in each component);
// -1 when the file does not load as a bitmap.
double WhiteShare(const std::string& path, int& dark)
{
    dark = 0;
    HBITMAP loaded = static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (loaded == nullptr)
        return -1;
    BITMAP size{};
    GetObjectA(loaded, sizeof size, &size);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, loaded);
    int white = 0;
    for (int y = 0; y < size.bmHeight; ++y)
        for (int x = 0; x < size.bmWidth; ++x) {
            const COLORREF pixel = GetPixel(memory, x, y);
            white += pixel == RGB(255, 255, 255) ? 1 : 0;
            dark += GetRValue(pixel) < 128 && GetGValue(pixel) < 128 && GetBValue(pixel) < 128 ? 1 : 0;
        }
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(loaded);
    return size.bmWidth * size.bmHeight > 0 ? static_cast<double>(white) / (size.bmWidth * size.bmHeight) : -1;
}

// Snapshot saves the drawing as the chosen picture, and Save As a ".bmp" or ".wmf" name saves it too: a
// bitmap shows the nodes and the arc on white paper.
TEST_F(ShownDiagram, SnapshotAndSaveAsWritePicturesOfTheDiagram)
{
    NewNode(Cmd::RightClickNewDecision, DiagramPoint{1, 1}, "Treat");
    NewNode(Cmd::RightClickNewChance, DiagramPoint{3, 1}, "Cure");
    AddDiagramArc(Document().diagram, Nodes()[0], Nodes()[1]);
    ASSERT_EQ(Document().diagram.arcs.size(), 1u);
    EXPECT_FALSE(Grayed(Cmd::FileSnapshot));
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string snapshot = std::string(temp) + "kivo-diagram-snapshot.bmp";
    const std::string saved = std::string(temp) + "kivo-diagram-saved.bmp";
    const std::string metafile = std::string(temp) + "kivo-diagram-picture.wmf";
    for (const std::string& path : {snapshot, saved, metafile})
        DeleteFileA(path.c_str());
    const auto format = SnapshotFormatDialog::SetPresenter([](SnapshotFormatDialog& dialog) {
        dialog.extension = "bmp";
        return IDOK;
    });
    const FileDialogPresenter files = SetFileDialogPresenter([&](OPENFILENAMEA& dialog, bool) {
        std::strcpy(dialog.lpstrFile, snapshot.c_str());
        return 1;
    });
    Command(Cmd::FileSnapshot);
    SetFileDialogPresenter(files);
    SnapshotFormatDialog::SetPresenter(format);
    EXPECT_EQ(window->SaveAs(saved.c_str()), 1);
    EXPECT_EQ(window->SaveAs(metafile.c_str()), 1);
    for (const std::string& path : {snapshot, saved}) {
        int dark = 0;
        EXPECT_GT(WhiteShare(path, dark), 0.5) << path;
        EXPECT_GT(dark, 100) << path;
    }
    EXPECT_NE(GetFileAttributesA(metafile.c_str()), INVALID_FILE_ATTRIBUTES);
    for (const std::string& path : {snapshot, saved, metafile})
        DeleteFileA(path.c_str());
    EXPECT_EQ(boxes.Count(), 0u);
}

} // namespace
