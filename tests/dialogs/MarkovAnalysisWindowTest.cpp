#include "analysis/MarkovAnalysis.h"
#include "foundation/TextReport.h"
#include "dialogs/MarkovAnalysisWindow.h"
#include "tests/analysis/MarkovTestTrees.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(MarkovAnalysisWindow, ShowsTheNodeOpensGraphsAndTheReportAndDeletesItselfOnOk)
{
    ScopedApplication app;
    RecordingTopWindow frame;
    frame.Create();
    MarkovTestTree model("_stage >= 3");
    model.WellDead("0.5", "0.5", "2");
    auto analysis = std::make_unique<MarkovAnalysis>(&model.Document(), model.markov, 1);
    ASSERT_TRUE(analysis->Run());

    std::vector<std::string> graphs;
    LineGraphPresenter previousGraphs =
        SetLineGraphPresenter([&](const LineGraphData& graph) { graphs.push_back(graph.vertical.label); });
    std::vector<std::string> reports;
    TextReportPresenter previousReports =
        SetTextReportPresenter([&](TextReport& report, const char*) {
            reports.push_back(report.Title().Text());
            return 1;
        });

    auto* window = new MarkovAnalysisWindow(std::move(analysis));
    HWND handle = window->Handle();
    ASSERT_TRUE(IsWindowVisible(handle));
    char text[64] = {};
    GetWindowTextA(window->FindChild(MarkovAnalysisWindow::kNodeText)->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "Cohort");

    SendMessageA(handle, WM_COMMAND, 1580, 0);
    SendMessageA(handle, WM_COMMAND, 1582, 0);
    SendMessageA(handle, WM_COMMAND, MAKEWPARAM(MarkovAnalysisWindow::kReportButton, BN_CLICKED), 0);
    EXPECT_EQ(graphs, (std::vector<std::string>{"Probability", "Reward"}));
    EXPECT_EQ(reports.size(), 1u);

    SendMessageA(handle, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(WindowCL::FromHandle(handle), nullptr);
    SetLineGraphPresenter(previousGraphs);
    SetTextReportPresenter(previousReports);
}

} // namespace
