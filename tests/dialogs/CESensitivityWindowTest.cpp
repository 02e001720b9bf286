// A one-way sensitivity run in cost-effectiveness mode opens its results window, whose graphs and report
// read the run's grid.

#include "analysis/LineGraphData.h"
#include "app/MainFrame.h"
#include "graph/CESensitivityWindow.h"
#include "dialogs/DocumentPopups.h"
#include "foundation/TextReport.h"
#include "tests/model/CostSweep.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/DialogControls.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A decision between A (cost c, effectiveness 1) and B (cost 10, effectiveness `bEffect`), c swept 0 to 20.
// In the program's frame, on the screen.
struct CERun {
    explicit CERun(const char* bEffect)
    {
        frame->EndStartup();
        MoveWindow(frame->Handle(), 100, 100, 800, 600, TRUE);
        frame->Show(SW_SHOWNOACTIVATE);
        CESensitivityPresenter previous =
            SetCESensitivityPresenter([this](const CESensitivityResults& results) { window = new CESensitivityWindow(results); });
        RunCostSweep(tree, bEffect);
        SetCESensitivityPresenter(previous);
    }
    ~CERun()
    {
        if (window != nullptr)
            DestroyWindow(window->Handle());
        delete frame;
    }
    std::string Text(unsigned id) const
    {
        char text[128] = {};
        GetWindowTextA(window->FindChild(id)->Handle(), text, sizeof text);
        return text;
    }

    FocusTestLock focus;
    ScopedApplication app;
    MainFrame* frame = new MainFrame;
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    CESensitivityWindow* window = nullptr;
};

TEST(CESensitivityWindow, GraphsAndReportReadTheRunsGrid)
{
    CERun run("3");
    ASSERT_NE(run.window, nullptr);
    // Inside the frame's client area, clear of its title and menus.
    RECT place{}, client{};
    GetWindowRect(run.window->Handle(), &place);
    GetClientRect(run.frame->Handle(), &client);
    MapWindowPoints(run.frame->Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_GE(place.top, client.top);
    EXPECT_GE(place.left, client.left);
    EXPECT_EQ(run.Text(Ctl::CostEffectivenessSensitivityAnalysis::VariableText), "c");
    EXPECT_EQ(run.boxes.Count(), 0u);

    // Average cost: A is cheaper until c passes 10; the tree is back in cost-effectiveness mode afterwards.
    LineGraphData cost;
    ASSERT_TRUE(run.window->MakeGraph(1582, cost));
    EXPECT_EQ(cost.vertical.label, "Cost");
    ASSERT_EQ(cost.lines.size(), 2u);
    EXPECT_EQ(cost.lines[0].values, (std::vector<double>{0, 5, 10, 15, 20}));
    ASSERT_EQ(cost.thresholds.size(), 1u);
    EXPECT_NEAR(cost.thresholds[0].x, 10.0, 1e-9);
    EXPECT_EQ(run.tree.Document().CalcPrefs.CalcMethod, CostEffectivenessMethod);

    LineGraphData ratio;
    ASSERT_TRUE(run.window->MakeGraph(1586, ratio));
    EXPECT_EQ(ratio.vertical.label, "Cost/Eff");
    EXPECT_NEAR(ratio.lines[1].values[0], 10.0 / 3.0, 1e-12);
    EXPECT_TRUE(ratio.thresholds.empty());

    std::string report;
    TextReportPresenter previous = SetTextReportPresenter([&report](TextReport& shown, const char*) {
        report = shown.Title().Text();
        return 1;
    });
    SendMessageA(run.window->Handle(), WM_COMMAND, Ctl::CostEffectivenessSensitivityAnalysis::TextReport, 0);
    SetTextReportPresenter(previous);
    EXPECT_FALSE(report.empty());
}

TEST(CESensitivityWindow, ZeroEffectivenessLeavesNoRatioGraph)
{
    CERun run("0");
    ASSERT_NE(run.window, nullptr);
    ASSERT_EQ(run.boxes.Count(), 1u);
    EXPECT_EQ(run.boxes.Last().text,
              "The data cannot be graphed as C/E ratios because the effectiveness of one or more options is zero.");
    // The window goes with its tree's document.
    const HWND handle = run.window->Handle();
    CloseDocumentPopups(&run.tree.Document());
    EXPECT_FALSE(IsWindow(handle));
    run.window = nullptr;
}

}  // namespace
