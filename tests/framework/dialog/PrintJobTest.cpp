#include "framework/dialog/PrintCancelDialog.h"
#include "framework/dialog/PrintJob.h"
#include "framework/draw/PrinterDisplay.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/TestPrinter.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr unsigned kPrintingDialog = 61790;

std::string OrNone(const char* text)
{
    return text ? text : "(none)";
}

TEST(DefaultPrinter, SplitsDeviceDriverAndPortSkippingSpaces)
{
    const struct {
        const char* entry;
        const char* device;
        const char* driver;
        const char* port;
    } rows[] = {
        {"Laser, winspool,  LPT1:", "Laser", "winspool", "LPT1:"},
        {"Laser,winspool", "Laser", "winspool", "(none)"},
        {"Laser", "Laser", "(none)", "(none)"},
        {"", "(none)", "(none)", "(none)"},
    };
    for (const auto& row : rows) {
        const DefaultPrinter printer(row.entry);
        EXPECT_EQ(OrNone(printer.Device()), row.device) << row.entry;
        EXPECT_EQ(OrNone(printer.Driver()), row.driver) << row.entry;
        EXPECT_EQ(OrNone(printer.Port()), row.port) << row.entry;
    }
    // Without a driver there is nothing to open; the test machine has no default printer.
    const DefaultPrinter deviceOnly("Laser");
    EXPECT_EQ(PrinterDisplay(&deviceOnly).PrinterContext(), nullptr);
    EXPECT_EQ(PrinterDisplay().PrinterContext(), nullptr);
}

// The test printer's page: 7.5 x 10 inches printable at 300 dots per inch.
TEST(PrinterDisplay, ClientRectIsThePrintablePage)
{
    const std::string entry = TestPrinterEntry();
    ASSERT_FALSE(entry.empty());
    const DefaultPrinter described(entry.c_str());
    PrinterDisplay printer(&described);
    ASSERT_NE(printer.PrinterContext(), nullptr);
    RECT page;
    printer.ClientRect(page);
    EXPECT_EQ(page.right, 2250);
    EXPECT_EQ(page.bottom, 3000);
    EXPECT_EQ(printer.LogPixelsX(), 300);
    IntersectClipRect(printer.PrinterContext(), 0, 0, 100, 100);
    RECT clip;
    printer.Bounds(clip);
    EXPECT_EQ(clip.right, 100);
    printer.ClientRect(page);
    EXPECT_EQ(page.right, 2250);
    PrinterInfoContext measuring;
    measuring.Attach(&printer);
    EXPECT_NE(measuring.InfoContext(), nullptr);
    EXPECT_EQ(measuring.HorzRes(), 2250);
}

// A document of a number of pages; each page draws its number.
class PagedSource : public PrintSource {
public:
    explicit PagedSource(int pages) : pages_(pages) {}
    void PrintOnDisplay(Display* printer) override
    {
        drawn.push_back(page_);
        if (onPage)
            onPage(page_);
        DisplayLock lock(*printer);
        printer->TextOutAt(100, 100, std::to_string(page_).c_str());
    }
    long NextPrintPage() override { return ++page_ <= pages_ ? 1 : 0; }
    std::vector<int> drawn;
    std::function<void(int)> onPage;

private:
    int pages_;
    int page_ = 1;
};

class RecordingCancelDialog : public PrintCancelDialog {
public:
    explicit RecordingCancelDialog(std::vector<int>* pages)
        : PrintCancelDialog(nullptr, ResourceId(kPrintingDialog, nullptr)), pages_(pages)
    {
    }
    void ShowPage(int page) override { pages_->push_back(page); }

private:
    std::vector<int>* pages_;
};

std::string OutputFile(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string path = std::string(temp) + name;
    DeleteFileA(path.c_str());
    return path;
}

// The job prints in idle time while its dialog runs; it ends the dialog when the last page is out, or when
// Cancel is pressed.
TEST(PrintJob, PrintsEveryPageOrStopsAtCancel)
{
    // The cancel dialog takes the activation while it runs.
    FocusTestLock focus;
    const std::string entry = TestPrinterEntry();
    ASSERT_FALSE(entry.empty());
    const DefaultPrinter described(entry.c_str());
    ScopedApplication app;
    for (const int banding : {0, 1}) {
        std::vector<int> shown;
        PagedSource source(3);
        auto* dialog = new RecordingCancelDialog(&shown);
        auto* job = new PrintJob(&source, new PrinterDisplay(&described), dialog);
        job->SetBanding(banding);
        job->SetTitle("KIVO Print Job: T");
        const std::string output = OutputFile("kivo-print.ps");
        ASSERT_TRUE(job->Start(output.c_str()));
        EXPECT_EQ(PrintJob::Current(), job);
        dialog->RunModal();
        EXPECT_EQ(PrintJob::Current(), nullptr);
        EXPECT_EQ(source.drawn, (std::vector<int>{1, 2, 3})) << banding;
        EXPECT_EQ(shown, (std::vector<int>{1, 2, 3}));
        EXPECT_EQ(PostScriptPageCount(output), 3) << banding;
    }
    // Cancel pressed while the second page prints: nothing more is drawn.
    std::vector<int> shown;
    PagedSource source(50);
    auto* dialog = new RecordingCancelDialog(&shown);
    source.onPage = [dialog](int page) {
        if (page == 2)
            PostMessageA(dialog->Handle(), WM_COMMAND, IDCANCEL, 0);
    };
    auto* job = new PrintJob(&source, new PrinterDisplay(&described), dialog);
    ASSERT_TRUE(job->Start(OutputFile("kivo-cancel.ps").c_str()));
    dialog->RunModal();
    EXPECT_EQ(PrintJob::Current(), nullptr);
    EXPECT_EQ(source.drawn, (std::vector<int>{1, 2}));
}

} // namespace
