#include "widgets/PageGrid.h"
#include "widgets/PrintProgressDialog.h"
#include "widgets/PrinterDevice.h"
#include "widgets/ZoomPane.h"
#include "foundation/PrinterSetupRecord.h"
#include "framework/window/MDIframeCL.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/TestPrinter.h"
#include "treewin/TreePane.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string TempPath(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + name;
}

// A tree saved with a landscape device mode prints in landscape once it is opened again, and its printing
// dialog names its file while the file exists, its title once it is gone.
TEST(TreePrinting, ASavedTreeKeepsItsPrinterSettingsAndTheDialogNamesItsFile)
{
    FocusTestLock focus;
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    const std::vector<uint8_t> landscape = TestPrinterDeviceMode(DMORIENT_LANDSCAPE);
    ASSERT_FALSE(landscape.empty());
    const std::string path = TempPath("kivo-printed.tre");
    {
        TreeWindow saved;
        saved.PrinterSettings().SetDevMode(landscape.data());
        zString message;
        ASSERT_TRUE(saved.SaveAs(path.c_str(), message)) << message.Text();
    }
    TreeWindow tree(path.c_str());
    const std::string entry = TestPrinterEntry();
    const DefaultPrinter described(entry.c_str());
    tree.UsePrinter(new PrinterDevice(&described));
    const std::string output = TempPath("kivo-printed.ps");
    DeleteFileA(output.c_str());
    // As printing does: the window's printer opened on its settings, then handed to the job.
    tree.PrinterSetup();
    ASSERT_TRUE(tree.Pane()->PrintRangeOf(tree.ReleasePrinter(), PrintRange{}, output.c_str()));
    std::stringstream printed;
    printed << std::ifstream(output).rdbuf();
    EXPECT_NE(printed.str().find("%%Orientation: Landscape"), std::string::npos);

    for (const bool exists : {true, false}) {
        if (!exists)
            DeleteFileA(path.c_str());
        PrintProgressDialog dialog(&tree, tree.Pane(), nullptr);
        char text[MAX_PATH] = "";
        GetDlgItemTextA(dialog.Handle(), Ctl::Printing::DocumentControl, text, sizeof text);
        EXPECT_STREQ(text, exists ? tree.FullPath().Text() : tree.Text()) << exists;
    }
}

} // namespace
