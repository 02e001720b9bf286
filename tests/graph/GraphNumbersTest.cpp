// The numbers of every graph and report an analysis shows, for a tree whose values have no places: values
// are written with the tree's places, probabilities with its probability places, axis labels with the places
// their steps need.

#include "analysis/BarGraphData.h"
#include "analysis/MarkovAnalysis.h"
#include "analysis/OneWaySensitivityAnalysis.h"
#include "analysis/ProbabilityDistribution.h"
#include "analysis/ThreeWaySensitivityAnalysis.h"
#include "analysis/ThresholdAnalysis.h"
#include "analysis/TornadoDiagram.h"
#include "analysis/TwoWaySensitivityAnalysis.h"
#include "analysis/VariableRange.h"
#include "app/MainFrame.h"
#include "foundation/TextReport.h"
#include "framework/draw/MetafileDisplay.h"
#include "graph/BarGraphs.h"
#include "graph/CEGraph.h"
#include "graph/CESensitivityGraph.h"
#include "treewin/CESensitivityWindow.h"
#include "graph/LineGraph.h"
#include "graph/ProbDistributionGraph.h"
#include "graph/SensitivityRegionGraphs.h"
#include "graph/TornadoGraph.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "tests/analysis/MarkovTestTrees.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/MetafileText.h"
#include "tests/support/NewestChild.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/CEAnalysisDialog.h"
#include "treewin/MarkovAnalysisWindow.h"
#include "treewin/TreeWindow.h"
#include "treewin/VariablesReportDialog.h"
#include "widgets/ZoomPane.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

// The texts the graph draws.
Texts DrawnTexts(GraphWindow* graph)
{
    if (graph == nullptr)
        return {"(no graph)"};
    MetafileDisplay picture(graph->Pane()->CurrentDisplay());
    graph->Draw(&picture);
    Texts texts;
    for (const RecordedText& text : MetafileTexts(picture.Metafile()))
        texts.push_back(text.text);
    return texts;
}

// A tree whose every format writes values in whole dollars and probabilities with three places. Unless
// empty: a decision between chance "A" (p: 100, else 0) and "B" (v), with p = 0.3, v = 50 and w = 0.5.
struct Tree {
    TreeWindow window;
    TreeDocument& document = window.Document();

    explicit Tree(bool empty = false)
    {
        for (NumericFormat* format : {&document.CalcPrefs.PayoffFormats[0], &document.CalcPrefs.PayoffFormats[1],
                                      &document.CalcPrefs.CostEffFormat}) {
            format->expValDigits = 0;
            format->probDigits = 3;
            format->chopOff = 0;
            format->unitsKind = NumericFormat::UnitsCurrency;
        }
        if (empty)
            return;
        Bind("p", "0.3");
        Bind("v", "50");
        Bind("w", "0.5");
        TreeNode* a = document.AddChild(document.Root, ChanceNode, "A");
        document.AddChild(a, TerminalNode, "win", "p", "100");
        document.AddChild(a, TerminalNode, "lose", "#", "0");
        document.AddChild(document.Root, TerminalNode, "B", "", "v");
    }
    void Bind(const char* name, const char* value)
    {
        document.EnsureVariable(name, nullptr);
        document.Root->SetBinding(name, value, false);
    }
    void Run(std::unique_ptr<AnalysisRun> analysis)
    {
        RunAnalysis(std::move(analysis));
        while (document.CurrentAnalysis != nullptr)
            document.CurrentAnalysis->OnIdle();
    }
    // Cost-effectiveness: payoff 0 is the cost, payoff 1 the effectiveness.
    void CostEffectiveness()
    {
        document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
        document.CalcPrefs.CECostPayoff = 0;
        document.CalcPrefs.CEEffPayoff = 1;
    }
    void Strategy(const char* name, const char* cost, const char* effectiveness)
    {
        document.AddChild(document.Root, TerminalNode, name, "", cost)->SetPayoffText(effectiveness, 1, false);
    }
};

SensitivityAxisSettings Swept(const char* name, double low, double high, int intervals)
{
    return {name, FormattedValue{"", low}, FormattedValue{"", high}, intervals};
}

class GraphNumbers : public ::testing::Test {
protected:
    GraphNumbers()
    {
        frame->EndStartup();
        frame->Show(SW_SHOWNOACTIVATE);
        InstallLineGraphWindows();
        InstallSensitivityRegionGraphs();
        InstallTornadoGraphs();
        InstallBarGraphs();
    }
    ~GraphNumbers() override
    {
        SetLineGraphPresenter(nullptr);
        SetTwoWaySensitivityPresenter(nullptr);
        SetThreeWaySensitivityPresenter(nullptr);
        SetTornadoPresenter(nullptr);
        SetProbDistributionPresenter(nullptr);
        delete frame;
    }
    template <class Graph>
    Texts Newest()
    {
        return DrawnTexts(NewestChild<Graph>(*frame));
    }

    FocusTestLock focus;
    ScopedApplication app;
    MainFrame* frame = new MainFrame;
    MessageBoxRecorder boxes;
};

TEST_F(GraphNumbers, ValuesTakeTheTreesPlacesAndAxesTheirSteps)
{
    const struct Case {
        const char* what;
        std::function<Texts(Tree&)> shown;
        Texts expected;  // among the texts shown
    } cases[] = {
        {"one-way sensitivity, its threshold legend",
         [&](Tree& t) {
             t.Run(std::make_unique<OneWaySensitivityAnalysis>(
                 t.document.Root, OneWaySettings{"p", FormattedValue{"0", 0.0}, FormattedValue{"1", 1.0}, 4}));
             return Newest<LineGraph>();
         },
         {"0.00", "$0", "p = 0.50", "EV = $50"}},
        {"threshold results",
         [&](Tree& t) {
             ThresholdSettings settings;
             static_cast<OneWaySettings&>(settings) = {"p", FormattedValue{"0", 0.0}, FormattedValue{"1", 1.0}, 4};
             settings.tolerance = 0.001;
             zString report;
             auto previous =
                 SetThresholdResultsPresenter([&report](const ThresholdResults& results) { results.ReportText(report); });
             t.Run(std::make_unique<ThresholdAnalysis>(t.document.Root, settings));
             SetThresholdResultsPresenter(previous);
             std::string text = report.Text();
             Texts lines;
             for (size_t end; (end = text.find("\r\n")) != std::string::npos; text.erase(0, end + 2))
                 lines.push_back(text.substr(0, end));
             return lines;
         },
         {"EV at threshold: $50"}},
        {"two-way sensitivity",
         [&](Tree& t) {
             t.Run(std::make_unique<TwoWaySensitivityAnalysis>(
                 t.document.Root, TwoWaySettings{Swept("p", 0.3, 0.7, 4), Swept("v", 0, 2000, 5)}));
             return Newest<TwoWaySensGraph>();
         },
         {"0.3", "0.7", "0", "2,000"}},
        {"three-way sensitivity, its step label",
         [&](Tree& t) {
             t.Run(std::make_unique<ThreeWaySensitivityAnalysis>(
                 t.document.Root,
                 ThreeWaySettings{Swept("v", 0, 100, 2), Swept("p", 0, 1, 2), Swept("w", 0.3, 0.7, 4)}));
             return Newest<ThreeWaySensGraph>();
         },
         {"0", "0.0", "w = 0.3"}},
        {"tornado diagram",
         [&](Tree& t) {
             auto previous = SetTornadoSetupDialog([](TornadoSetupRequest& request) {
                 auto* bar = new TornadoSetup;
                 bar->barName = "p";
                 bar->ranges.Add(new VariableRange(zString("p"), FormattedValue{"0", 0.0}, FormattedValue{"1", 1.0}));
                 request.bars->Add(bar);
                 request.intervals = 4;
                 return true;
             });
             t.Run(std::make_unique<TornadoDiagram>(&t.document, t.document.Root));
             SetTornadoSetupDialog(previous);
             return Newest<TornadoGraph>();
         },
         {"$50"}},
        {"Markov total reward",
         [&](Tree& t) {
             TreeNode* cohort = AddCohort(t.document);
             cohort->GetChild(0)->SetMarkovRewardText(IncrementalReward, "10", 0);
             auto analysis = std::make_unique<MarkovAnalysis>(&t.document, cohort, 1);
             if (!analysis->Run())
                 return Texts{"(no run)"};
             auto* window = new MarkovAnalysisWindow(nullptr, std::move(analysis));
             SendMessageA(window->Handle(), WM_COMMAND, 1583, 0);
             delete window;
             return Newest<LineGraph>();
         },
         {"$0"}},
        {"probability distribution",
         [&](Tree& t) {
             TreeNode* spread = t.document.AddChild(t.document.Root, ChanceNode, "Spread");
             for (int value = 20; value <= 140; value += 20)
                 t.document.AddChild(spread, TerminalNode, "t", value < 140 ? "1/7" : "#",
                                     std::to_string(value).c_str());
             NodeChildList selection(2, Ownership::Borrows);
             selection.Add(spread);
             RunProbabilityDistribution(&t.document, selection, nullptr);
             return Newest<ProbDistributionGraph>();
         },
         {"$20", "0.000"}},
        {"cost-effectiveness graph",
         [&](Tree& t) {
             t.CostEffectiveness();
             t.Strategy("S1", "1000", "0.6");
             t.Strategy("S2", "1500", "0.75");
             t.Strategy("S3", "2500", "0.9");
             t.window.SelectNode(t.document.Root, 1, nullptr, false);
             auto previous = CEAnalysisDialog::SetPresenter([](CEAnalysisDialog& dialog) {
                 dialog.effectivenessOnX = 0;
                 return IDOK;
             });
             SendMessageA(t.window.Handle(), WM_COMMAND, Cmd::AnalysisCostEffectiveness, 0);
             CEAnalysisDialog::SetPresenter(previous);
             return Newest<CEGraph>();
         },
         {"$800", "0.56"}},
        {"cost-effectiveness sensitivity, its step label",
         [&](Tree& t) {
             t.CostEffectiveness();
             t.Bind("c", "2");
             t.Strategy("A", "c", "1");
             t.Strategy("B", "10", "3");
             CESensitivityWindow* window = nullptr;
             auto previous = SetCESensitivityPresenter(
                 [&window](const CESensitivityResults& results) { window = CESensitivityWindow::Open(results); });
             t.Run(std::make_unique<OneWaySensitivityAnalysis>(
                 t.document.Root, OneWaySettings{"c", FormattedValue{"0", 0.0}, FormattedValue{"20", 20.0}, 4}));
             SetCESensitivityPresenter(previous);
             if (window == nullptr)
                 return Texts{"(no window)"};
             const Texts texts = DrawnTexts(window->OpenPlaneGraph(0));
             delete window;
             return texts;
         },
         {"$0", "c = 0"}},
        {"Values report of the variables",
         [&](Tree& t) {
             Texts lines;
             auto report = SetTextReportPresenter([&lines](TextReport& text, const char*) {
                 for (int i = 0; i < text.Lines().Count(); ++i)
                     lines.push_back(text.Lines().At(i)->Text());
                 return 1;
             });
             auto columns = VariablesReportDialog::SetPresenter([](VariablesReportSettings&) { return IDOK; });
             t.window.RunCommandHandler(Cmd::ReportVariables);
             VariablesReportDialog::SetPresenter(columns);
             SetTextReportPresenter(report);
             return lines;
         },
         {"p\t \t0.300", "v\t \t$50"}},
    };
    // Money with a decimal point: no value in these runs needs one.
    const std::regex moneyWithPlaces(R"(\$[0-9,]+\.)");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Tree tree(std::string(c.what).rfind("cost-effectiveness", 0) == 0);
        const Texts shown = c.shown(tree);
        std::string all;
        for (const std::string& text : shown)
            all += text + " | ";
        for (const std::string& text : c.expected)
            EXPECT_NE(std::find(shown.begin(), shown.end(), text), shown.end()) << text << " not in: " << all;
        for (const std::string& text : shown)
            EXPECT_FALSE(std::regex_search(text, moneyWithPlaces)) << text;
    }
}

}  // namespace
