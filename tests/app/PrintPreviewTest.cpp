#include "widgets/DocChildWindow.h"
#include "app/MainFrame.h"
#include "widgets/PageGrid.h"
#include "widgets/PrintPreview.h"
#include "widgets/PrinterDevice.h"
#include "widgets/ZoomPane.h"
#include "treewin/PageHeaderDialog.h"
#include "dialogs/PrintPagesDialog.h"
#include "framework/window/ChildLayout.h"
#include "framework/window/MDIframeCL.h"
#include "model/TreeNode.h"
#include "tests/support/DialogLayoutCheck.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "tests/support/TestPrinter.h"
#include "tests/support/ThreadWindow.h"
#include "treewin/TreeWindow.h"
#include "framework/dialog/FileDialogs.h"
#include "influence/InfluenceDiagramWindow.h"
#include "tests/support/SampleDiagram.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <dlgs.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// A drawing of the given size that keeps a print offset and scale, on the test printer.
class Sheet : public DocChildWindow {
public:
    Sheet() : DocChildWindow("Sheet", 0) {}
    void Bounds(LogicalRect& rect) override { rect = LogicalRect{0, 0, width, height}; }
    bool GetPrintOffset(float& x, float& y) override
    {
        x = offset.x;
        y = offset.y;
        return keepsOffset;
    }
    void SetPrintOffset(float x, float y) override { offset = PrintOffset{x, y}; }
    int CentreOnePage() override { return centre; }
    double GetPrintScale() override { return scale; }
    void SetPrintScale(double x, double) override { scale = x; }

    float width = 4.0f;
    float height = 3.0f;
    PrintOffset offset{1.0f, 1.0f};
    bool keepsOffset = true;
    int centre = 0;
    double scale = 1.0;
};

class PrintPreviewTest : public testing::Test {
protected:
    void SetUp() override
    {
        SendMessageA(frame.Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600));
        frame.Show(SW_SHOW);
        sheet = new Sheet;
        sheet->SetPane(new ZoomPane(sheet, new ChildLayout(0, 0, 300, 200, nullptr), WS_CHILD | WS_VISIBLE));
        const std::string entry = TestPrinterEntry();
        const DefaultPrinter described(entry.c_str());
        sheet->UsePrinter(new PrinterDevice(&described));
    }
    void TearDown() override
    {
        if (preview)
            preview->Free();
        delete sheet;
    }
    // The preview in a square area of 300 pixels; its window's rectangle in the frame's client.
    RECT Build()
    {
        if (preview)
            preview->Free();
        preview = MakePrintPreview(&frame, sheet->Pane(), RECT{0, 0, 300, 300});
        RECT rect{};
        if (!preview)
            return rect;
        GetWindowRect(Window(), &rect);
        MapWindowPoints(nullptr, frame.Handle(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    // The preview of a drawing of these inches that keeps no offset of its own.
    RECT BuildDrawing(float width, float height)
    {
        sheet->width = width;
        sheet->height = height;
        sheet->keepsOffset = false;
        return Build();
    }
    HWND Window() const { return preview->window->Handle(); }
    int PerInch() const { return preview->window->Preview()->LogPixelsX(); }
    // A drag in the preview window's client pixels.
    void Drag(POINT from, POINT to)
    {
        SendMessageA(Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        SendMessageA(Window(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((from.x + to.x) / 2, (from.y + to.y) / 2));
        SendMessageA(Window(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        SendMessageA(Window(), WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    }
    COLORREF PixelAt(int x, int y)
    {
        InvalidateRect(Window(), nullptr, TRUE);
        UpdateWindow(Window());
        HDC dc = GetDC(Window());
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(Window(), dc);
        return colour;
    }

    FocusTestLock focus;
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    Sheet* sheet = nullptr;
    std::unique_ptr<PreviewHelper> preview;
};

TEST_F(PrintPreviewTest, AWideGridFillsTheAreasWidthCentredVertically)
{
    const RECT rect = BuildDrawing(20.0f, 5.0f);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(PreviewPageCount(), 3);
    // 3 x 1 pages of 7.5 x 10 inches: 270 pixels across, 120 high, in the middle of the area less 15 pixels.
    EXPECT_NEAR(rect.left, 15, 1);
    EXPECT_NEAR(rect.right, 285, 1);
    EXPECT_NEAR(rect.top, 90, 1);
    EXPECT_NEAR(rect.bottom, 210, 1);
}

// A drawing of some 1,400 pages shows its first pages at a size that can be seen, with the outline and the
// drawing, cut at the area's edges.
TEST_F(PrintPreviewTest, ManyHundredPagesShowTheFirstAtASizeThatCanBeSeen)
{
    const RECT rect = BuildDrawing(4.0f, 14000.0f);
    ASSERT_NE(preview, nullptr);
    EXPECT_GE(PreviewPageCount(), 1400);
    EXPECT_GE(rect.right - rect.left, 12);
    EXPECT_GE(rect.left, 15);
    EXPECT_GE(rect.top, 15);
    EXPECT_LE(rect.right, 285);
    EXPECT_EQ(rect.bottom, 285);
    // The outline's left edge.
    EXPECT_EQ(PixelAt(0, (rect.bottom - rect.top) / 2), RGB(0, 0, 0));
    ScreenOnTop top(frame.Handle());
    ExpectScreenEqualsRepaint(Window());
}

TEST_F(PrintPreviewTest, AnEmptyDrawingHasNoPreview)
{
    sheet->width = sheet->height = 0.0f;
    Build();
    EXPECT_EQ(preview, nullptr);
    EXPECT_EQ(PreviewPageCount(), 0);
}

TEST_F(PrintPreviewTest, HandlesShowWhereTheDocumentKeepsAnOffsetButNotOnACentredSinglePage)
{
    Build();
    ASSERT_NE(preview, nullptr);
    const int inch = PerInch();
    // Red below and right of the drawing's corner at the offset, black above and left of its far corner; each
    // square has its half toward the corner filled.
    const POINT nearCorner{inch, inch};
    const POINT farCorner{inch + 4 * inch, inch + 3 * inch};
    const struct {
        POINT at;
        COLORREF colour;
    } pixels[] = {
        {{nearCorner.x + 3, nearCorner.y + 3}, RGB(255, 0, 0)},
        {{nearCorner.x + 7, nearCorner.y + 6}, RGB(255, 255, 255)},
        {{farCorner.x - 3, farCorner.y - 3}, RGB(0, 0, 0)},
        {{farCorner.x - 7, farCorner.y - 6}, RGB(255, 255, 255)},
    };
    for (const auto& pixel : pixels)
        EXPECT_EQ(PixelAt(pixel.at.x, pixel.at.y), pixel.colour) << pixel.at.x << "," << pixel.at.y;
    sheet->keepsOffset = false;
    sheet->centre = 1;
    Build();
    const POINT corner{static_cast<LONG>(ZoomPane::Pages().Offset().x * PerInch()),
                       static_cast<LONG>(ZoomPane::Pages().Offset().y * PerInch())};
    EXPECT_NE(PixelAt(corner.x + 3, corner.y + 3), RGB(255, 0, 0));
}

TEST_F(PrintPreviewTest, DraggingTheCornerMovesTheDrawingButNeverBeforeThePaper)
{
    const struct {
        int dx, dy;
        bool left, top;
    } cases[] = {{-60, -60, true, true}, {13, -60, false, true}, {-60, 13, true, false}};
    for (const auto& c : cases) {
        sheet->offset = PrintOffset{1.0f, 1.0f};
        Build();
        const int inch = PerInch();
        Drag(POINT{inch + 1, inch + 1}, POINT{inch + 1 + c.dx, inch + 1 + c.dy});
        EXPECT_FLOAT_EQ(sheet->offset.x, c.left ? 0.0f : 1.0f + 13.0f / inch) << c.dx;
        EXPECT_FLOAT_EQ(sheet->offset.y, c.top ? 0.0f : 1.0f + 13.0f / inch) << c.dy;
    }
}

TEST_F(PrintPreviewTest, DraggingTheFarCornerScalesWithinTheRangeAndScalesTheOffset)
{
    const struct {
        double widths;
        double scale;
    } cases[] = {{2.0, 2.0}, {10.0, 2.5}, {0.01, 0.2}};
    for (const auto& c : cases) {
        sheet->offset = PrintOffset{1.0f, 1.0f};
        sheet->scale = 1.0;
        Build();
        const int inch = PerInch();
        const POINT corner{inch + 4 * inch, inch + 3 * inch};
        const int width = static_cast<int>(4 * inch * c.widths);
        Drag(corner, POINT{inch + width, inch + width * 3 / 4});
        EXPECT_NEAR(sheet->scale, c.scale, 1e-9) << c.widths;
        if (c.widths == 2.0) {
            EXPECT_FLOAT_EQ(sheet->offset.x, 0.5f);
            EXPECT_FLOAT_EQ(sheet->offset.y, 0.5f);
        }
    }
}

TEST_F(PrintPreviewTest, ThePagesDialogCountsThePagesAndPreviewWithoutAPrinterIsRefused)
{
    // Pages print down each column, as the dialog says; a count of nine digits shows whole.
    const struct {
        float width;
        int count;
    } cases[] = {{4.0f, 1}, {20.0f, 3}, {1e9f, 133333336}};
    for (const auto& c : cases) {
        sheet->width = c.width;
        PrintPagesDialog dialog(sheet);
        char count[16] = "";
        GetDlgItemTextA(dialog.Handle(), Ctl::Print::PagesText, count, sizeof count);
        EXPECT_EQ(count, std::to_string(c.count));
        HWND order = GetDlgItem(dialog.Handle(), Ctl::Print::PagesArePrintedInColumnsText);
        char text[64] = "";
        GetWindowTextA(order, text, sizeof text);
        EXPECT_STREQ(text, "Pages are printed in columns.");
        EXPECT_EQ((GetWindowLongA(order, GWL_STYLE) & WS_VISIBLE) != 0, c.width > 5.0f);
        EXPECT_THAT(DialogLayoutFaults(dialog.Handle()),
                    testing::Not(testing::Contains(testing::HasSubstr(std::to_string(Ctl::Print::PagesText)))));
        // Only a tree has a page header of its own.
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog.Handle(), Ctl::Print::Headers)));
        ASSERT_NE(dialog.Preview(), nullptr);
    }
    auto* unprinted = new Sheet;
    MessageBoxRecorder boxes;
    ShowPrintPreview(unprinted);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Unable to print: No Printer drivers.");
    delete unprinted;
}

bool setupShown = false;
// Where the Print Setup opened, and the window it opened over.
RECT setupPlace{};
RECT setupOwnerPlace{};

// Answers the system's Print Setup dialog with OK once it shows.
void CALLBACK AnswerPrintSetup(HWND, UINT, UINT_PTR, DWORD)
{
    if (HWND setup = ThreadWindow("#32770")) {
        setupShown = true;
        GetWindowRect(setup, &setupPlace);
        GetWindowRect(GetWindow(setup, GW_OWNER), &setupOwnerPlace);
        PostMessageA(setup, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
}

// The preview of a tree whose name is open for editing, as after a click: the preview is what the screen shows
// (the white area under it does not paint over it), the program comes to rest, and the edit is back after.
TEST(PrintPreviewOfATree, IsOnTheScreenAndTheProgramComesToRest)
{
    FocusTestLock focus;
    ScopedApplication app;
    std::unique_ptr<MainFrame> frame(new MainFrame);
    frame->EndStartup();
    frame->Show(SW_SHOWNOACTIVATE);
    auto* tree = new TreeWindow();
    tree->Show(-1);
    TreeDocument& document = tree->Document();
    TreeNode* chance = document.AddChild(document.Root, ChanceNode, "Chance");
    document.AddChild(chance, TerminalNode, "A", "0.5", "1");
    document.AddChild(chance, TerminalNode, "B", "#", "2");
    tree->Redraw();
    tree->SelectNode(chance, 1, nullptr, false);
    ASSERT_NE(tree->InPlaceEditor, nullptr);
    const std::string entry = TestPrinterEntry();
    const DefaultPrinter described(entry.c_str());
    tree->UsePrinter(new PrinterDevice(&described));
    // The red handle lies below and right of the drawing's corner, at the print offset.
    auto expectPreviewOnScreen = [](PrintPagesDialog& dialog) {
        ASSERT_NE(dialog.Preview(), nullptr);
        PreviewHelper& preview = *dialog.Preview();
        const int perInch = preview.window->Preview()->LogPixelsX();
        POINT handle{static_cast<LONG>(preview.offsetX * perInch) + 3,
                     static_cast<LONG>(preview.offsetY * perInch) + 3};
        ClientToScreen(preview.window->Handle(), &handle);
        {
            // The screen is the whole display's: another test's window may lie over the handle until the
            // dialog is on top, and what the raise exposes is painted after it.
            ScreenOnTop onTop(dialog.Handle());
            HDC screen = GetDC(nullptr);
            PumpMessagesUntil([&] { return GetPixel(screen, handle.x, handle.y) == RGB(255, 0, 0); });
            EXPECT_EQ(GetPixel(screen, handle.x, handle.y), RGB(255, 0, 0));
            ReleaseDC(nullptr, screen);
        }
        ExpectScreenEqualsRepaint(dialog.Handle());
    };
    {
        PrintPagesDialog dialog(tree);
        ASSERT_NE(dialog.Preview(), nullptr);
        ShowWindow(dialog.Handle(), SW_SHOW);
        EXPECT_TRUE(PumpMessagesUntil([] { return HIWORD(GetQueueStatus(QS_PAINT)) == 0; }));
        expectPreviewOnScreen(dialog);
        // A changed header is on the pages at once.
        ASSERT_TRUE(IsWindowVisible(GetDlgItem(dialog.Handle(), Ctl::Print::Headers)));
        ModalDialogDriver driver;
        driver.Type(Ctl::PageHeaderFooter::HeaderEdit, "WWWWWWWWWWWWWWWWWWWWWWWWWWWW").Press(IDOK);
        SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(Ctl::Print::Headers, BN_CLICKED), 0);
        EXPECT_STREQ(document.DisplayPrefs.PageHeaderString.Text(), "WWWWWWWWWWWWWWWWWWWWWWWWWWWW");
        EXPECT_TRUE(PumpMessagesUntil([] { return HIWORD(GetQueueStatus(QS_PAINT)) == 0; }));
        ExpectScreenEqualsRepaint(dialog.Handle());
    }
    // The system's Print Setup over the running preview, answered OK: the preview is drawn again where it lay,
    // and the preview, not the frame behind it, is the window the person goes on in.
    ModalDialogDriver driver;
    driver
        .Then([&](DialogFrameCL& shown) {
            auto& dialog = static_cast<PrintPagesDialog&>(shown);
            setupShown = false;
            const UINT_PTR answer = SetTimer(nullptr, 0, 50, &AnswerPrintSetup);
            SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(Ctl::Print::Setup, BN_CLICKED), 0);
            KillTimer(nullptr, answer);
            EXPECT_TRUE(setupShown);
            // Centred over the Print window.
            RECT own{};
            GetWindowRect(dialog.Handle(), &own);
            EXPECT_TRUE(EqualRect(&setupOwnerPlace, &own));
            EXPECT_NEAR(setupPlace.left + setupPlace.right, setupOwnerPlace.left + setupOwnerPlace.right, 2);
            EXPECT_NEAR(setupPlace.top + setupPlace.bottom, setupOwnerPlace.top + setupOwnerPlace.bottom, 2);
            EXPECT_FALSE(IsWindowEnabled(frame->Handle()));
            EXPECT_TRUE(PumpMessagesUntil([] { return HIWORD(GetQueueStatus(QS_PAINT)) == 0; }));
            EXPECT_EQ(GetActiveWindow(), dialog.Handle());
            expectPreviewOnScreen(dialog);
        })
        .Press(IDOK);
    ShowPrintPreview(tree);
    EXPECT_TRUE(driver.Finished());
    EXPECT_NE(tree->InPlaceEditor, nullptr);
}

// Where the Print dialog opened, and the window it opened over.
RECT printPlace{};
RECT printOwnerPlace{};

// Answers the system's Print Setup by turning the page to landscape, and its Print dialog, with OK.
void CALLBACK AnswerLandscapeAndPrint(HWND, UINT, UINT_PTR, DWORD)
{
    if (HWND setup = ThreadWindow("#32770", "Print Setup")) {
        SendDlgItemMessageA(setup, rad2, BM_CLICK, 0, 0);
        PostMessageA(setup, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else if (HWND print = ThreadWindow("#32770", "Print")) {
        GetWindowRect(print, &printPlace);
        GetWindowRect(GetWindow(print, GW_OWNER), &printOwnerPlace);
        PostMessageA(print, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
}

// With the printer a person's prefix gets (a file port, a name longer than a device mode holds): Page Setup
// turned to landscape, Print asks for the file (the document's name with ".ps" in its folder) and writes the
// landscape pages there; the setting stays landscape. Cancel there prints nothing.
TEST(PrintingToAFile, PrintsTheSetUpOrientationToTheFileThePersonNames)
{
    FocusTestLock focus;
    ScopedApplication app;
    std::unique_ptr<MainFrame> frame(new MainFrame);
    frame->EndStartup();
    frame->Show(SW_SHOWNOACTIVATE);
    const std::string entry = PersonsPrinterEntry();
    ASSERT_FALSE(entry.empty());
    const DefaultPrinter described(entry.c_str());
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    MessageBoxRecorder boxes;
    for (const char* name : {"kivo-landscape.tre", "kivo-landscape.ind"}) {
        const bool tree = std::strstr(name, ".tre") != nullptr;
        const std::string path = std::string(temp) + name;
        const std::string output = std::string(temp) + "kivo-landscape-printed.ps";
        DeleteFileA(output.c_str());
        DocumentWindow* window = nullptr;
        if (tree) {
            auto* shown = new TreeWindow();
            shown->Document().AddChild(shown->Document().Root, TerminalNode, "A", "", "1");
            zString message;
            ASSERT_TRUE(shown->SaveAs(path.c_str(), message)) << message.Text();
            window = shown;
        } else {
            auto* shown = new InfluenceDiagramWindow();
            AddDiagramNode(shown->document, shown->document.diagram, InfluenceKind::Chance, "A", 1, 1);
            ASSERT_EQ(shown->SaveAs(path.c_str()), 1);
            window = shown;
        }
        window->Show(-1);
        window->Activate();
        window->UsePrinter(new PrinterDevice(&described));
        std::string proposed;
        bool chooses = false;
        const FileDialogPresenter files = SetFileDialogPresenter([&](OPENFILENAMEA& dialog, bool saving) {
            proposed = saving ? dialog.lpstrFile : "";
            std::strcpy(dialog.lpstrFile, output.c_str());
            return chooses ? 1 : 0;
        });
        const UINT_PTR answer = SetTimer(nullptr, 0, 50, &AnswerLandscapeAndPrint);
        SendMessageA(frame->Handle(), WM_COMMAND, Cmd::FilePageSetup, 0);
        SendMessageA(frame->Handle(), WM_COMMAND, Cmd::FilePrint, 0);
        const bool printedOnCancel = GetFileAttributesA(output.c_str()) != INVALID_FILE_ATTRIBUTES;
        chooses = true;
        const std::string cancelled = proposed;
        SendMessageA(frame->Handle(), WM_COMMAND, Cmd::FilePrint, 0);
        KillTimer(nullptr, answer);
        SetFileDialogPresenter(files);
        EXPECT_EQ(cancelled, std::string(temp) + "kivo-landscape.ps") << name;
        EXPECT_EQ(proposed, cancelled) << name;
        EXPECT_FALSE(printedOnCancel) << name;
        std::stringstream printed;
        printed << std::ifstream(output).rdbuf();
        EXPECT_NE(printed.str().find("%%Orientation: Landscape"), std::string::npos) << name;
        EXPECT_EQ(PostScriptPageCount(output), 1) << name;
        // The Print dialog stood centred over the frame, as Print Setup does over its opener.
        RECT framePlace{};
        GetWindowRect(frame->Handle(), &framePlace);
        EXPECT_TRUE(EqualRect(&printOwnerPlace, &framePlace)) << name;
        EXPECT_NEAR(printPlace.left + printPlace.right, framePlace.left + framePlace.right, 2) << name;
        EXPECT_NEAR(printPlace.top + printPlace.bottom, framePlace.top + framePlace.bottom, 2) << name;
        const auto* mode = reinterpret_cast<const DEVMODEA*>(window->PrinterSettings().DevMode());
        ASSERT_NE(mode, nullptr) << name;
        EXPECT_EQ(mode->dmOrientation, DMORIENT_LANDSCAPE) << name;
        delete window;
        DeleteFileA(path.c_str());
        DeleteFileA(output.c_str());
    }
    EXPECT_EQ(boxes.Count(), 0u);
}

} // namespace
