#include "app/DocChildWindow.h"
#include "app/PageGrid.h"
#include "app/ZoomPane.h"
#include "framework/draw/DrawingScale.h"
#include "framework/draw/PrinterDisplay.h"
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
};

class DocumentPrinting : public testing::Test {
protected:
    void SetUp() override
    {
        drawing = new Drawing;
        drawing->SetPane(new ZoomPane(drawing, new ChildLayout(0, 0, 300, 200, nullptr), WS_CHILD | WS_VISIBLE));
        drawing->Pane()->SetZoom(0.5);
    }
    void TearDown() override { delete drawing; }
    PrinterDisplay* TestPrinter()
    {
        const std::string entry = TestPrinterEntry();
        const DefaultPrinter described(entry.c_str());
        return new PrinterDisplay(&described);
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

} // namespace
