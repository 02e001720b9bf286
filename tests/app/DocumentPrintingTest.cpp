#include "widgets/DocChildWindow.h"
#include "widgets/PageGrid.h"
#include "widgets/PrintProgressDialog.h"
#include "foundation/PrinterSetupRecord.h"
#include "framework/dialog/PrintJob.h"
#include "framework/draw/MeasuringDisplay.h"
#include "framework/draw/MetafileDisplay.h"
#include "framework/draw/MultiLineText.h"
#include "framework/draw/WindowDisplay.h"
#include "widgets/ZoomPane.h"
#include "framework/draw/DrawingScale.h"
#include "widgets/PrinterDevice.h"
#include "framework/window/ChildLayout.h"
#include "framework/window/MDIframeCL.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/MetafileText.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/TestPrinter.h"

#include <gtest/gtest.h>

#include <commdlg.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

// A drawing 20 x 15 inches: 3 x 2 pages of the test printer. Each printed page notes where it starts.
class Drawing : public DocChildWindow {
public:
    Drawing() : DocChildWindow("Plan", 0) {}
    void Bounds(LogicalRect& rect) override { rect = LogicalRect{0, 0, 20, 15}; }
    double GetPrintScale() override { return printScale; }
    bool GetPrintOffset(float& x, float& y) override
    {
        x = offset.x;
        y = offset.y;
        return true;
    }
    void Draw(Display* display) override
    {
        if (display->Kind() != Display::KindPrinter)
            return;
        pages.emplace_back(static_cast<int>(std::lround(DrawingOriginX() / 7.5f)),
                           static_cast<int>(std::lround(DrawingOriginY() / 10.0f)));
        scales.push_back(CurrentDrawingScale());
        display->FrameRect(RECT{10, 10, 2240, 2990});
        if (PrintJob* job = PrintJob::Current()) {
            char text[80] = "";
            GetDlgItemTextA(job->Dialog()->Handle(), Ctl::Printing::PageControl, text, sizeof text);
            pageTexts.emplace_back(text);
            if (static_cast<int>(pages.size()) == cancelOnPage)
                PostMessageA(job->Dialog()->Handle(), WM_COMMAND, IDCANCEL, 0);
        }
        if (askToClose)
            closeAnswer = QueryClose("");
        askToClose = false;
    }
    void OnZoomChanged() override { ++layouts; }
    std::vector<std::pair<int, int>> pages;
    std::vector<float> scales;
    int layouts = 0;
    bool askToClose = false;
    int closeAnswer = -1;
    double printScale = 1.0;
    PrintOffset offset;
    std::vector<std::string> pageTexts;
    int cancelOnPage = 0;
};

// The test printer refusing the document, or the page of a number.
class FailingPrinter : public PrinterDevice {
public:
    FailingPrinter(const DefaultPrinter* printer, int refusedPage) : PrinterDevice(printer), refused_(refusedPage) {}
    int StartDocument(const DOCINFOA& document) override
    {
        return refused_ == 0 ? -1 : PrinterDevice::StartDocument(document);
    }
    int EndPrinterPage() override { return ++page_ == refused_ ? -1 : PrinterDevice::EndPrinterPage(); }

private:
    int refused_;
    int page_ = 0;
};

// The test printer whose spooler calls the abort procedure while it takes each page, as Windows does, reporting
// the error code; a page the procedure stops is refused.
class SpoolingPrinter : public PrinterDevice {
public:
    SpoolingPrinter(const DefaultPrinter* printer, int error) : PrinterDevice(printer), error_(error) {}
    int EndPrinterPage() override
    {
        return PrintAbortProc(PrinterContext(), error_) ? PrinterDevice::EndPrinterPage() : SP_ERROR;
    }

private:
    int error_;
};

// The print dialogs as the program opens them, and the answer the user gives.
struct DialogCall {
    DWORD flags = 0;
    SIZE_T deviceModeSize = 0;
    std::string driver, device, port;
    WORD driverOffset = 0, deviceOffset = 0, outputOffset = 0;
};
std::vector<DialogCall> dialogCalls;
DWORD answerFlags = 0;
WORD answerFrom = 0, answerTo = 0;
short answerOrientation = DMORIENT_PORTRAIT;

BOOL WINAPI RecordingPrintDialog(PRINTDLGA* dialog)
{
    DialogCall call;
    call.flags = dialog->Flags;
    call.deviceModeSize = dialog->hDevMode ? GlobalSize(dialog->hDevMode) : 0;
    if (auto* names = static_cast<DEVNAMES*>(GlobalLock(dialog->hDevNames))) {
        const char* bytes = reinterpret_cast<const char*>(names);
        call.driver = bytes + names->wDriverOffset;
        call.device = bytes + names->wDeviceOffset;
        call.port = bytes + names->wOutputOffset;
        call.driverOffset = names->wDriverOffset;
        call.deviceOffset = names->wDeviceOffset;
        call.outputOffset = names->wOutputOffset;
        GlobalUnlock(dialog->hDevNames);
    }
    dialogCalls.push_back(call);
    auto* mode = static_cast<DEVMODEA*>(GlobalLock(dialog->hDevMode));
    if (mode)
        mode->dmOrientation = answerOrientation;
    // The system's dialog returns the chosen printer's context.
    dialog->hDC = CreateDCA(call.driver.c_str(), call.device.c_str(), call.port.c_str(), mode);
    if (mode)
        GlobalUnlock(dialog->hDevMode);
    dialog->Flags = answerFlags;
    dialog->nFromPage = answerFrom;
    dialog->nToPage = answerTo;
    dialog->nCopies = 2;
    return TRUE;
}

class DocumentPrinting : public testing::Test {
protected:
    void SetUp() override
    {
        drawing = new Drawing;
        drawing->SetPane(new ZoomPane(drawing, new ChildLayout(0, 0, 300, 200, nullptr), WS_CHILD | WS_VISIBLE));
        drawing->Pane()->SetZoom(0.5);
    }
    void TearDown() override { delete drawing; }
    PrinterDevice* TestPrinter(int refusedPage = -1)
    {
        const std::string entry = TestPrinterEntry();
        const DefaultPrinter described(entry.c_str());
        return refusedPage < 0 ? new PrinterDevice(&described) : new FailingPrinter(&described, refusedPage);
    }
    std::string PrinterName() { return TestPrinterEntry().substr(0, TestPrinterEntry().find(',')); }
    static std::string OutputFile()
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        const std::string path = std::string(temp) + "kivo-document.ps";
        DeleteFileA(path.c_str());
        return path;
    }

    // The progress dialog takes the activation while it runs.
    FocusTestLock focus;
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    Drawing* drawing = nullptr;
};

TEST_F(DocumentPrinting, WithoutAPrinterTheUserIsToldUnlessSilent)
{
    MessageBoxRecorder boxes;
    EXPECT_FALSE(drawing->HasPrinter());
    EXPECT_EQ(drawing->Print(1), 0);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(drawing->Print(0), 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Unable to print: Invalid printer driver.");
    EXPECT_EQ(boxes.Last().style, static_cast<unsigned>(MB_OK | MB_ICONHAND));
}

TEST_F(DocumentPrinting, PagesPrintColumnByColumnAtScaleOneInTheirRangeAndCopies)
{
    drawing->UsePrinter(TestPrinter());
    ASSERT_TRUE(drawing->HasPrinter());
    const std::string output = OutputFile();
    PrintRange range;
    range.first = 2;
    range.last = 3;
    range.copies = 2;
    MessageBoxRecorder boxes;
    drawing->askToClose = true;
    drawing->layouts = 0;
    ASSERT_TRUE(drawing->Pane()->PrintRangeOf(drawing->ReleasePrinter(), range, output.c_str()));
    using Pages = std::vector<std::pair<int, int>>;
    EXPECT_EQ(drawing->pages, (Pages{{0, 1}, {0, 1}, {1, 0}, {1, 0}}));
    // Laid out for the printer once for the job, and for the screen again after it.
    EXPECT_EQ(drawing->layouts, 2);
    EXPECT_EQ(drawing->scales, (std::vector<float>(4, 1.0f)));
    EXPECT_EQ(PostScriptPageCount(output), 4);
    // Closing is refused while the job runs, and allowed afterwards.
    EXPECT_EQ(drawing->closeAnswer, 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Please cancel the print job for \"Plan\" before closing it.");
    EXPECT_EQ(drawing->QueryClose(""), 1);
    EXPECT_FALSE(drawing->Pane()->IsPrinting());
    // The window gave its printer to the job; it opens the current printer when next asked.
    EXPECT_FALSE(drawing->HasPrinter());
    drawing->pages.clear();
    drawing->UsePrinter(TestPrinter());
    ASSERT_TRUE(drawing->Pane()->PrintRangeOf(drawing->ReleasePrinter(), PrintRange{}, output.c_str()));
    EXPECT_EQ(drawing->pages, (Pages{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}));
    EXPECT_EQ(PostScriptPageCount(output), 6);
}

TEST_F(DocumentPrinting, PicturesAreMeasuredOnTheLastPrinterADocumentOpened)
{
    MetafileDisplay picture(nullptr);
    const int screen = CurrentPrinter(picture).LogPixelsX();
    CreatePrinterInfoContext();
    EXPECT_EQ(CurrentPrinter(picture).LogPixelsX(), screen);
    drawing->UsePrinter(TestPrinter());
    drawing->PrinterSetup();
    EXPECT_EQ(CurrentPrinter(picture).LogPixelsX(), 300);
    const FontRecord font;
    EXPECT_GT(TextWidth(picture, "Measured", &font), 0.0f);
    DeletePrinterInfoContext();
    EXPECT_EQ(CurrentPrinter(picture).LogPixelsX(), screen);
}

TEST_F(DocumentPrinting, ThePrintScaleHandedToThePrinterStaysWithinItsRange)
{
    drawing->UsePrinter(TestPrinter());
    const struct {
        double scale;
        int perInch;
    } cases[] = {{5.0, 750}, {0.01, 60}, {1.5, 450}, {1.0, 300}};
    for (const auto& c : cases) {
        drawing->printScale = c.scale;
        EXPECT_EQ(drawing->PrinterSetup()->LogPixelsX(), c.perInch) << c.scale;
        EXPECT_EQ(drawing->PrinterSetup()->LogPixelsY(), c.perInch) << c.scale;
    }
}

TEST_F(DocumentPrinting, EachPageShowsItsHeaderAtItsTopAndItsFooterAtItsBottom)
{
    drawing->UsePrinter(TestPrinter());
    drawing->offset = PrintOffset{1.0f, 0.5f};
    SetCurrentDrawingScale(1.0f);
    MetafileDisplay picture(drawing->Pane()->OwnDisplay());
    const int inch = picture.LogPixelsX();
    PageHeaderOptions options;
    options.headers = true;
    options.headerText = "Page ^p - ^F";
    options.footerText = "^c/^r";
    options.display = &picture;
    options.rect = LogicalRect{0, 0, 20, 15};
    drawing->DrawPageHeaderText(options);
    const std::vector<RecordedText> texts = MetafileTexts(picture.Metafile());
    // The drawing sits an inch across and half an inch down its first page: 3 x 2 pages of 7.5 x 10 inches.
    ASSERT_EQ(texts.size(), 12u);
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 2; ++row) {
            const RecordedText& header = texts[(column * 2 + row) * 2];
            const RecordedText& footer = texts[(column * 2 + row) * 2 + 1];
            const int left = static_cast<int>((column * 7.5f - 1.0f) * inch);
            const int top = static_cast<int>((row * 10.0f - 0.5f) * inch);
            EXPECT_EQ(header.text, "Page " + std::to_string(column * 2 + row + 1) + " - Plan");
            EXPECT_EQ(header.x, left);
            EXPECT_EQ(header.y, top);
            EXPECT_EQ(footer.text, std::to_string(column + 1) + "/" + std::to_string(row + 1));
            // Right-aligned on the page's bottom line.
            EXPECT_GT(footer.x, left + 6 * inch);
            EXPECT_LT(footer.x, left + 7.5 * inch);
            EXPECT_GT(footer.y, top + 9.5 * inch);
            EXPECT_LT(footer.y, top + 10 * inch);
        }
}

TEST_F(DocumentPrinting, TheProgressDialogNamesTheDocumentThePrinterAndEachPageOfTheRange)
{
    const struct {
        int first, last;
        std::vector<std::string> texts;
    } cases[] = {
        {1, 5, {"Printing Page 1 of 5", "Printing Page 2 of 5", "Printing Page 3 of 5", "Printing Page 4 of 5",
                "Printing Page 5 of 5"}},
        {2, 5, {"Printing Page 2, 3 Pages Remaining", "Printing Page 3, 2 Pages Remaining",
                "Printing Page 4, 1 Pages Remaining", "Printing Page 5, 0 Pages Remaining"}},
        {4, 4, {"Printing Page 4"}},
    };
    for (const auto& c : cases) {
        drawing->pageTexts.clear();
        const std::string output = OutputFile();
        const PrintRange range{c.first, c.last, 1};
        ASSERT_TRUE(drawing->Pane()->PrintRangeOf(TestPrinter(), range, output.c_str()));
        EXPECT_EQ(drawing->pageTexts, c.texts) << c.first;
        EXPECT_EQ(PostScriptPageCount(output), static_cast<int>(c.texts.size()));
    }
}

TEST_F(DocumentPrinting, ThePrintingDialogShowsTheTitleAndThePrinter)
{
    PrinterDevice* printer = TestPrinter();
    PrintProgressDialog dialog(drawing, drawing->Pane(), printer);
    char text[200] = "";
    GetDlgItemTextA(dialog.Handle(), Ctl::Printing::DocumentControl, text, sizeof text);
    EXPECT_STREQ(text, "Plan");
    GetDlgItemTextA(dialog.Handle(), Ctl::Printing::PrinterControl, text, sizeof text);
    EXPECT_STREQ(text, "To \"WINEPS.DRV\" on FILE:");
    GetDlgItemTextA(dialog.Handle(), Ctl::Printing::PageControl, text, sizeof text);
    EXPECT_STREQ(text, "");
    delete printer;
}

TEST_F(DocumentPrinting, CancelStopsTheJobAndLeavesTheWindowWithoutItsPrinter)
{
    drawing->cancelOnPage = 2;
    ASSERT_TRUE(drawing->Pane()->PrintRangeOf(TestPrinter(), PrintRange{}, OutputFile().c_str()));
    EXPECT_EQ(drawing->pages.size(), 2u);
    EXPECT_EQ(PrintJob::Current(), nullptr);
    EXPECT_FALSE(drawing->Pane()->IsPrinting());
    EXPECT_FALSE(drawing->HasPrinter());
}

TEST_F(DocumentPrinting, CancelWhileThePrinterSpoolsTakesEffectAfterThePageAndASpoolerErrorStopsTheJob)
{
    const struct {
        int error;
        int cancelOnPage;
        size_t boxes;
    } cases[] = {{0, 1, 0}, {SP_OUTOFDISK, 0, 1}};
    const std::string entry = TestPrinterEntry();
    const DefaultPrinter described(entry.c_str());
    for (const auto& c : cases) {
        drawing->pages.clear();
        drawing->cancelOnPage = c.cancelOnPage;
        MessageBoxRecorder boxes;
        ASSERT_TRUE(drawing->Pane()->PrintRangeOf(new SpoolingPrinter(&described, c.error), PrintRange{},
                                                  OutputFile().c_str()));
        EXPECT_EQ(drawing->pages.size(), 1u) << c.error;
        ASSERT_EQ(boxes.Count(), c.boxes) << c.error;
        if (c.boxes) {
            EXPECT_EQ(boxes.Last().text, "Printing stopped: the printer did not accept page 1.");
        }
        EXPECT_EQ(PrintJob::Current(), nullptr);
    }
}

TEST_F(DocumentPrinting, APrinterThatRefusesTheDocumentOrAPageStopsTheJobAndTheUserIsTold)
{
    const struct {
        int refusedPage;
        bool started;
        size_t pagesDrawn;
        const char* message;
    } cases[] = {
        {0, false, 0, "Unable to print: the printer did not accept the document."},
        {2, true, 2, "Printing stopped: the printer did not accept page 2."},
    };
    for (const auto& c : cases) {
        drawing->pages.clear();
        MessageBoxRecorder boxes;
        EXPECT_EQ(drawing->Pane()->PrintRangeOf(TestPrinter(c.refusedPage), PrintRange{}, OutputFile().c_str()),
                  c.started);
        EXPECT_EQ(drawing->pages.size(), c.pagesDrawn);
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text, c.message);
        EXPECT_FALSE(drawing->Pane()->IsPrinting());
        EXPECT_EQ(PrintJob::Current(), nullptr);
    }
}

TEST_F(DocumentPrinting, TheDialogsStartFromTheStoredDeviceModeAndKeepTheUsersChoice)
{
    PrinterDevice::SetPrintDialogCall(RecordingPrintDialog);
    dialogCalls.clear();
    drawing->UsePrinter(TestPrinter());
    const std::vector<uint8_t> mode = TestPrinterDeviceMode(DMORIENT_PORTRAIT);
    ASSERT_FALSE(mode.empty());
    drawing->PrinterSettings().SetDevMode(mode.data());
    PrinterDevice* printer = drawing->PrinterSetup();
    answerFlags = 0;
    answerOrientation = DMORIENT_LANDSCAPE;
    EXPECT_EQ(drawing->PrintSetup(), 1);
    answerFlags = PD_PAGENUMS;
    answerFrom = 2;
    answerTo = 3;
    ASSERT_EQ(printer->PrintDialog(5), 1);
    EXPECT_EQ(printer->FirstPage(), 2);
    EXPECT_EQ(printer->LastPage(), 3);
    EXPECT_EQ(printer->Copies(), 2);
    answerFlags = 0;
    ASSERT_EQ(printer->PrintDialog(1), 1);
    EXPECT_EQ(printer->FirstPage(), 1);
    EXPECT_EQ(printer->LastPage(), 1);
    ASSERT_EQ(dialogCalls.size(), 3u);
    // The print dialog leaves the copies to a driver that makes them itself.
    const DWORD copies = printer->SupportsCopies() ? PD_USEDEVMODECOPIESANDCOLLATE : 0;
    // Both dialogs carry both hooks: the one that centres Print Setup over its opener is the print hook under
    // Wine.
    const DWORD hooks = PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK;
    const DWORD flags[] = {0x14C | hooks, 0x104 | copies | hooks, 0x10C | copies | hooks};
    for (size_t i = 0; i < 3; ++i) {
        const DialogCall& call = dialogCalls[i];
        EXPECT_EQ(call.flags, flags[i]) << i;
        EXPECT_EQ(call.deviceModeSize, std::max<SIZE_T>(mode.size(), 600)) << i;
        EXPECT_EQ(call.driver, "WINEPS.DRV");
        EXPECT_EQ(call.device, PrinterName());
        EXPECT_EQ(call.port, "FILE:");
        EXPECT_EQ(call.driverOffset, 8);
        EXPECT_EQ(call.deviceOffset, 8 + call.driver.size() + 1);
        EXPECT_EQ(call.outputOffset, call.deviceOffset + call.device.size() + 1);
    }
    // The set-up turned the page: the choice is kept in the settings and the printer prints on it.
    EXPECT_GT(printer->HorzRes(), printer->VertRes());
    PrinterSetupRecord& settings = drawing->PrinterSettings();
    ASSERT_NE(settings.DevMode(), nullptr);
    EXPECT_EQ(reinterpret_cast<const DEVMODEA*>(settings.DevMode())->dmOrientation, DMORIENT_LANDSCAPE);
    // A stored block whose length disagrees with its own sizes never reaches the dialogs.
    settings.devModeLength = static_cast<int16_t>(settings.devModeLength - 2);
    printer->PrintSetup();
    EXPECT_EQ(dialogCalls.back().deviceModeSize, 0u);
    PrinterDevice::SetPrintDialogCall(nullptr);
}

TEST_F(DocumentPrinting, AStoredDeviceModeSelectsThePrintersSettingsUnlessItsSizeIsWrong)
{
    const std::vector<uint8_t> turned = TestPrinterDeviceMode(DMORIENT_LANDSCAPE);
    ASSERT_FALSE(turned.empty());
    for (const bool damaged : {false, true}) {
        auto* window = new Drawing;
        PrinterSetupRecord& settings = window->PrinterSettings();
        settings.SetDevMode(turned.data());
        if (damaged)
            settings.devModeLength = static_cast<int16_t>(settings.devModeLength + 2);
        window->UsePrinter(TestPrinter());
        PrinterDevice* printer = window->PrinterSetup();
        EXPECT_EQ(printer->HorzRes() > printer->VertRes(), !damaged) << damaged;
        delete window;
    }
}

} // namespace
