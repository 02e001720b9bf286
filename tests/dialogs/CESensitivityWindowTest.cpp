// A one-way sensitivity run in cost-effectiveness mode opens its results window over its tree, whose graphs
// and report read the run's grid; a tree keeps one such window, which closes with it.

#include "analysis/LineGraphData.h"
#include "app/MainFrame.h"
#include "treewin/CESensitivityWindow.h"
#include "foundation/TextReport.h"
#include "tests/model/CostSweep.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/DialogControls.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The tree's window of results, or null.
CESensitivityWindow* ResultsOf(TreeWindow& tree)
{
    for (int i = 0; i < tree.ChildWindows().Count(); ++i)
        if (auto* window = dynamic_cast<CESensitivityWindow*>(tree.ChildWindows().At(i)))
            return window;
    return nullptr;
}

// A decision between A (cost c, effectiveness 1) and B (cost 10, effectiveness `bEffect`), c swept 0 to 20,
// in a tree window of the program's frame, on the screen.
struct CERun {
    explicit CERun(const char* bEffect)
    {
        frame->EndStartup();
        MoveWindow(frame->Handle(), 100, 100, 800, 600, TRUE);
        frame->Show(SW_SHOWNOACTIVATE);
        tree->Show(SW_SHOWNORMAL);
        CESensitivityPresenter previous = SetCESensitivityPresenter(nullptr);
        InstallCESensitivityWindow();
        RunCostSweep(tree->Document(), bEffect);
        SetCESensitivityPresenter(previous);
        window = ResultsOf(*tree);
    }
    ~CERun()
    {
        delete tree;
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
    TreeWindow* tree = new TreeWindow;
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
    // One of the frame's windows, listed by its tree's title, and the active one.
    EXPECT_TRUE(IsChild(run.frame->ClientHandle(), run.window->Handle()));
    EXPECT_EQ(run.window->Text(), std::string(run.tree->Document().Title().Text()) +
                                      ": Cost-Effectiveness Sensitivity Analysis");
    EXPECT_EQ(run.frame->ActiveChild(), run.window);

    // Average cost: A is cheaper until c passes 10; the tree is back in cost-effectiveness mode afterwards.
    LineGraphData cost;
    ASSERT_TRUE(run.window->MakeGraph(1582, cost));
    EXPECT_EQ(cost.vertical.label, "Cost");
    ASSERT_EQ(cost.lines.size(), 2u);
    EXPECT_EQ(cost.lines[0].values, (std::vector<double>{0, 5, 10, 15, 20}));
    ASSERT_EQ(cost.thresholds.size(), 1u);
    EXPECT_NEAR(cost.thresholds[0].x, 10.0, 1e-9);
    EXPECT_EQ(run.tree->Document().CalcPrefs.CalcMethod, CostEffectivenessMethod);

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
    // A run again takes the place of the window shown; the window goes with its tree.
    const HWND first = run.window->Handle();
    RECT place{};
    GetWindowRect(first, &place);
    SetWindowPos(first, nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(first, &place);
    InstallCESensitivityWindow();
    RunCostSweep(run.tree->Document(), "0");
    SetCESensitivityPresenter(nullptr);
    CESensitivityWindow* again = ResultsOf(*run.tree);
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(IsWindow(first));
    RECT now{};
    GetWindowRect(again->Handle(), &now);
    EXPECT_EQ(now.left, place.left);
    EXPECT_EQ(now.top, place.top);
    const HWND handle = again->Handle();
    delete run.tree;
    run.tree = nullptr;
    EXPECT_FALSE(IsWindow(handle));
}

}  // namespace
