#include "app/DocChildWindow.h"
#include "app/PageGrid.h"
#include "framework/draw/MetafileDisplay.h"
#include "framework/draw/WindowDisplay.h"
#include "app/ZoomPane.h"
#include "framework/draw/DrawingScale.h"
#include "dialogs/ScaledWindow.h"
#include "framework/window/ChildLayout.h"
#include "framework/window/MDIframeCL.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/TestPrinter.h"

#include <gtest/gtest.h>

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
        if (askToClose)
            closeAnswer = QueryClose("");
        askToClose = false;
    }
    std::vector<std::pair<int, int>> pages;
    std::vector<float> scales;
    bool askToClose = false;
    int closeAnswer = -1;
    double printScale = 1.0;
    PrintOffset offset;
};

// A text the metafile recorded, at its point.
struct RecordedText {
    int x, y;
    std::string text;
};

int CALLBACK CollectText(HDC, HANDLETABLE*, METARECORD* record, int, LPARAM into)
{
    if (record->rdFunction != META_EXTTEXTOUT)
        return 1;
    const WORD* words = record->rdParm;
    const int skip = (words[3] & (ETO_OPAQUE | ETO_CLIPPED)) ? 8 : 4;
    const char* text = reinterpret_cast<const char*>(words + skip);
    reinterpret_cast<std::vector<RecordedText>*>(into)->push_back(
        RecordedText{static_cast<short>(words[1]), static_cast<short>(words[0]), std::string(text, words[2])});
    return 1;
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
    ScaledWindow* TestPrinter()
    {
        const std::string entry = TestPrinterEntry();
        const DefaultPrinter described(entry.c_str());
        return new ScaledWindow(&described);
    }
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
    drawing->SetPrinter(TestPrinter());
    ASSERT_TRUE(drawing->HasPrinter());
    const std::string output = OutputFile();
    PrintRange range;
    range.first = 2;
    range.last = 3;
    range.copies = 2;
    MessageBoxRecorder boxes;
    drawing->askToClose = true;
    ASSERT_TRUE(drawing->Pane()->PrintRangeOf(drawing->ReleasePrinter(), range, output.c_str()));
    using Pages = std::vector<std::pair<int, int>>;
    EXPECT_EQ(drawing->pages, (Pages{{0, 1}, {0, 1}, {1, 0}, {1, 0}}));
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
    drawing->SetPrinter(TestPrinter());
    ASSERT_TRUE(drawing->Pane()->PrintRangeOf(drawing->ReleasePrinter(), PrintRange{}, output.c_str()));
    EXPECT_EQ(drawing->pages, (Pages{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}));
    EXPECT_EQ(PostScriptPageCount(output), 6);
}

TEST_F(DocumentPrinting, ThePrintScaleHandedToThePrinterStaysWithinItsRange)
{
    drawing->SetPrinter(TestPrinter());
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
    drawing->SetPrinter(TestPrinter());
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
    std::vector<RecordedText> texts;
    EnumMetaFile(nullptr, picture.Metafile(), CollectText, reinterpret_cast<LPARAM>(&texts));
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

} // namespace
