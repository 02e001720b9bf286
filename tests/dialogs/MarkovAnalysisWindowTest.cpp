#include "analysis/MarkovAnalysis.h"
#include "app/MainFrame.h"
#include "widgets/MenuButton.h"
#include "app/StartProgram.h"
#include "foundation/TextReport.h"
#include "treewin/MarkovAnalysisWindow.h"
#include "dialogs/TextReportDialog.h"
#include "framework/draw/zFont.h"
#include "tests/analysis/MarkovTestTrees.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/DialogControls.h"
#include "tests/support/ScopedApplication.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// The window inside the program's frame, on an analysis of a tree without a window.
struct MarkovWindowOnScreen {
    FocusTestLock focus;
    ScopedApplication app;
    std::unique_ptr<MainFrame> frame{new MainFrame};
    MarkovTestTree model{"_stage >= 3"};
    std::unique_ptr<MarkovAnalysis> analysis;
    MarkovWindowOnScreen()
    {
        frame->EndStartup();
        frame->Show(SW_SHOWNOACTIVATE);
        model.WellDead("0.5", "0.5", "2");
        analysis = std::make_unique<MarkovAnalysis>(&model.Document(), model.markov, 1);
    }
    MarkovAnalysisWindow* Window()
    {
        auto* window = new MarkovAnalysisWindow(nullptr, std::move(analysis));
        window->Show(SW_SHOW);
        return window;
    }
};

std::string TextOf(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The columns from the first to the last that hold a dark pixel, in the given columns and rows of the DC.
int InkWidth(HDC dc, int left, int right, int top, int bottom)
{
    int first = -1;
    int last = -1;
    for (int x = left; x < right; ++x)
        for (int y = top; y < bottom; ++y)
            if (GetRValue(GetPixel(dc, x, y)) < 100) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
    return first < 0 ? 0 : last - first + 1;
}

// The ink width of the text written plainly in the face font of menu buttons.
int PlainInkWidth(const char* text)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 40);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, TheProgram()->CurrentDialogFont() ? TheProgram()->CurrentDialogFont()->Handle() : GetStockObject(DEFAULT_GUI_FONT));
    RECT all{0, 0, 200, 40};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    TextOutA(dc, 10, 10, text, static_cast<int>(std::strlen(text)));
    const int width = InkWidth(dc, 0, 200, 0, 40);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return width;
}

BOOL CALLBACK FindMenuButton(HWND child, LPARAM out)
{
    if (auto* button = dynamic_cast<MenuButton*>(WindowCL::FromHandle(child)))
        *reinterpret_cast<MenuButton**>(out) = button;
    return TRUE;
}

} // namespace

TEST(MarkovAnalysisWindow, ShowsTheNodeOpensGraphsAndTheReportAndDeletesItselfOnOk)
{
    MarkovWindowOnScreen screen;
    ASSERT_TRUE(screen.analysis->Run());

    std::vector<std::string> graphs;
    LineGraphPresenter previousGraphs =
        SetLineGraphPresenter([&](const LineGraphData& graph) { graphs.push_back(graph.vertical.label); });
    std::vector<std::string> reports;
    TextReportPresenter previousReports =
        SetTextReportPresenter([&](TextReport& report, const char*) {
            reports.push_back(report.Title().Text());
            return 1;
        });

    MarkovAnalysisWindow* window = screen.Window();
    HWND handle = window->Handle();
    ASSERT_TRUE(IsWindowVisible(handle));
    char text[64] = {};
    GetWindowTextA(window->FindChild(Ctl::MarkovAnalysis::NodeText)->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "Cohort");

    SendMessageA(handle, WM_COMMAND, 1580, 0);
    SendMessageA(handle, WM_COMMAND, 1582, 0);
    SendMessageA(handle, WM_COMMAND, MAKEWPARAM(Ctl::MarkovAnalysis::TextReport, BN_CLICKED), 0);
    EXPECT_EQ(graphs, (std::vector<std::string>{"Probability", "Reward"}));
    EXPECT_EQ(reports.size(), 1u);

    SendMessageA(handle, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(WindowCL::FromHandle(handle), nullptr);
    SetLineGraphPresenter(previousGraphs);
    SetTextReportPresenter(previousReports);
}

// The "&Graph" button shows its access key as the template means it, not as an ampersand: its text takes the
// width of "Graph".
TEST(MarkovAnalysisWindow, TheGraphButtonShowsNoAmpersand)
{
    MarkovWindowOnScreen screen;
    ASSERT_TRUE(screen.analysis->Run());
    MarkovAnalysisWindow* window = screen.Window();
    MenuButton* button = nullptr;
    EnumChildWindows(window->Handle(), FindMenuButton, reinterpret_cast<LPARAM>(&button));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->FaceText(), "&Graph");
    SetWindowPos(window->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT client{};
    GetClientRect(button->Handle(), &client);
    HDC dc = GetDC(button->Handle());
    const int ink = InkWidth(dc, 2, button->ArrowColumn(), 3, client.bottom - 3);
    ReleaseDC(button->Handle(), dc);
    const int plain = PlainInkWidth("Graph");
    EXPECT_NEAR(ink, plain, 2);
    delete window;
}

// The report on the screen holds every line its file holds, above the table as the file has them: the title,
// the first line under it, and the further lines (the state legend) under that.
TEST(MarkovAnalysisWindow, TheReportOnTheScreenHoldsTheStateLegend)
{
    MarkovWindowOnScreen screen;
    ASSERT_TRUE(screen.analysis->Run());
    TextReport written;
    screen.analysis->WriteReport(written, ReportEverything);
    ASSERT_GT(written.HeaderLines().Count(), 2);
    ASSERT_EQ(written.Notes().Count(), 0);
    std::vector<std::string> expected{written.Title().Text(), written.HeaderLines().At(0)->Text(), ""};
    for (int i = 1; i < written.HeaderLines().Count(); ++i)
        expected.back() += std::string(i > 1 ? "\r\n" : "") + written.HeaderLines().At(i)->Text();

    InstallTextReportDialog();
    MarkovAnalysisWindow* window = screen.Window();
    std::vector<std::string> shown;
    ModalDialogDriver driver;
    driver
        .Then([&shown](DialogFrameCL& dialog) {
            for (unsigned id = Ctl::TextReport::TitleText; id < Ctl::TextReport::TitleText + 3; ++id)
                shown.push_back(TextOf(GetDlgItem(dialog.Handle(), id)));
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog.Handle(), Ctl::TextReport::NotesList)));
        })
        .Press(IDOK);
    SendMessageA(window->Handle(), WM_COMMAND, MAKEWPARAM(Ctl::MarkovAnalysis::TextReport, BN_CLICKED), 0);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(shown, expected);
    SetTextReportPresenter(nullptr);
    delete window;
}
