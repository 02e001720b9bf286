#include "widgets/TextPane.h"

#include "widgets/DocChildWindow.h"
#include "widgets/PageGrid.h"
#include "widgets/TextPaneEdit.h"
#include "widgets/PrinterDevice.h"
#include "framework/draw/DrawingScale.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/MetafileDisplay.h"
#include "framework/draw/WindowDisplay.h"
#include "framework/window/ChildLayout.h"
#include "framework/window/MDIframeCL.h"
#include "tests/support/MetafileText.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/TestPrinter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A text window: its drawing is the text laid out for its printer, except while the pane prints the layout
// it made before.
class TextWindow : public DocChildWindow {
public:
    TextWindow() : DocChildWindow("Text", 0) {}
    void Bounds(LogicalRect& rect) override { Text().Layout(rect, !Text().IsPrinting()); }
    TextPane& Text() { return *static_cast<TextPane*>(Pane()); }
};

// The test printer's printable page, in inches.
constexpr float kPageWidth = 7.5f;
constexpr float kPageHeight = 10.0f;

std::string Lines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i > 0 ? "\r\n" : "") + std::string("line\t") + std::to_string(i);
    return text;
}

class TextPanePrinting : public testing::Test {
protected:
    void SetUp() override
    {
        window = new TextWindow;
        window->SetPane(new TextPane(window, new ChildLayout(0, 0, 300, 200, nullptr), WS_CHILD | WS_VISIBLE,
                                     true, false));
        const std::string entry = TestPrinterEntry();
        const DefaultPrinter described(entry.c_str());
        window->UsePrinter(new PrinterDevice(&described));
        ASSERT_NE(window->PrinterSetup()->PrinterContext(), nullptr);
    }
    void TearDown() override { delete window; }

    // Lays the text out and counts the grid's pages as the pane does before printing.
    LogicalRect LayOut(const std::string& text)
    {
        window->Text().Edit().SetText(text);
        LogicalRect bounds{};
        window->Text().Layout(bounds, true);
        EXPECT_EQ(window->Pane()->CountPages(window->PrinterSetup()), window->Text().PageCount());
        return bounds;
    }
    // Prints every page into a file; the number of pages the file holds.
    int PrintedPages()
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        const std::string output = std::string(temp) + "kivo-text.ps";
        DeleteFileA(output.c_str());
        EXPECT_TRUE(window->Pane()->PrintRangeOf(window->ReleasePrinter(), PrintRange{}, output.c_str()));
        return PostScriptPageCount(output);
    }

    // The progress dialog takes the activation while it runs.
    FocusTestLock focus;
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    TextWindow* window = nullptr;
};

TEST_F(TextPanePrinting, TwoFullPagesAreOnePageWideAndTwoPagesHigh)
{
    LayOut("x");
    const int perPage = window->Text().LinesPerPage();
    // 9 points of Times New Roman are about 0.15 inch high: some 60 lines between the margins.
    EXPECT_GT(perPage, 50);
    EXPECT_LT(perPage, 75);

    const LogicalRect bounds = LayOut(Lines(2 * perPage));
    EXPECT_EQ(window->Text().LineCount(), 2 * perPage);
    EXPECT_FLOAT_EQ(bounds.left, 0.0f);
    EXPECT_FLOAT_EQ(bounds.top, 0.0f);
    EXPECT_FLOAT_EQ(bounds.right, kPageWidth - 0.01f);
    EXPECT_FLOAT_EQ(bounds.bottom, 2 * kPageHeight - 0.01f);
    EXPECT_EQ(ZoomPane::Pages().Columns(), 1);
    EXPECT_EQ(ZoomPane::Pages().Rows(), 2);

    // A last line break adds no line; one line more starts a third page.
    LayOut(Lines(2 * perPage) + "\r\n");
    EXPECT_EQ(window->Text().PageCount(), 2);
    LayOut(Lines(2 * perPage + 1));
    EXPECT_EQ(window->Text().PageCount(), 3);

    // Drawn as one picture (the preview), each page's lines start below that page's top margin, at the left
    // margin, with their tabs expanded to the next multiple of 8 columns.
    SetCurrentDrawingScale(1.0f);
    MetafileDisplay picture(window->Pane()->OwnDisplay());
    window->Text().Draw(picture);
    const std::vector<RecordedText> texts = MetafileTexts(picture.Metafile());
    ASSERT_EQ(texts.size(), static_cast<size_t>(2 * perPage + 1));
    EXPECT_EQ(texts[0].text, "line    0");
    for (int page = 0; page < 3; ++page) {
        EXPECT_EQ(texts[page * perPage].y, LogicalYToPixel(page * kPageHeight + TextPane::Margin, picture)) << page;
        EXPECT_EQ(texts[page * perPage].x, LogicalXToPixel(TextPane::Margin, picture)) << page;
    }
    EXPECT_EQ(PrintedPages(), 3);
}

TEST_F(TextPanePrinting, CharactersWiderAndLinesTallerThanThePageStillPrintOnePerPage)
{
    FontRecord huge;
    huge.pointSize = 1000; // about 14 inches high; a W is wider than the printable width
    window->Text().SetFont(&huge);
    const LogicalRect bounds = LayOut("WWW\r\nW");
    EXPECT_EQ(window->Text().LineCount(), 4);
    EXPECT_EQ(window->Text().LinesPerPage(), 1);
    EXPECT_FLOAT_EQ(bounds.bottom, 4 * kPageHeight - 0.01f);
    EXPECT_EQ(PrintedPages(), 4);
}

// A pane that takes its text while hidden (as the one a window prints from) shows it, once shown, as a pane
// shown throughout: its edit control fills it and breaks the text into the same lines.
TEST_F(TextPanePrinting, PaneShownAfterTakingItsTextShowsItAsOneShownThroughout)
{
    auto* hidden = new TextPane(window, window, new ChildLayout(0, 0, 300, 200, nullptr), WS_CHILD, true, false);
    std::string text;
    for (int i = 0; i < 3; ++i)
        text += "\tA paragraph long enough to break into several lines at the width of a small pane.\r\n";
    TextPane* panes[] = {&window->Text(), hidden};
    for (TextPane* pane : panes) {
        MoveWindow(pane->Handle(), 0, 0, 240, 160, TRUE);
        pane->Edit().SetText(text);
    }
    hidden->ShowWindow(SW_SHOW);

    RECT shown{}, late{};
    GetClientRect(window->Text().Edit().Handle(), &shown);
    GetClientRect(hidden->Edit().Handle(), &late);
    EXPECT_EQ(late.right, shown.right);
    EXPECT_EQ(late.bottom, shown.bottom);
    const LRESULT lines = window->Text().Edit().Send(EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(lines, 4);
    EXPECT_EQ(hidden->Edit().Send(EM_GETLINECOUNT, 0, 0), lines);
}

} // namespace
