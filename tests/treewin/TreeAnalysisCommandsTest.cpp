// The Analysis menu of a tree window: each command checks what its analysis needs, then starts it.

#include "treewin/TreeWindow.h"

#include "analysis/AnalysisRun.h"
#include "analysis/EvpiCalculation.h"
#include "analysis/MarkovAnalysis.h"
#include "analysis/OutcomeDistribution.h"
#include "analysis/OverUnderAnalysis.h"
#include "analysis/StrategyRegionMap.h"
#include "analysis/ThreeWaySensitivityAnalysis.h"
#include "analysis/ThresholdAnalysis.h"
#include "analysis/TwoWaySensitivityAnalysis.h"
#include "analysis/VariableRange.h"
#include "dialogs/MonteCarloDialogs.h"
#include "treewin/MonteCarloProgressDialog.h"
#include "dialogs/NodeValueDialogs.h"
#include "formula/CorrelationList.h"
#include "formula/Distribution.h"
#include "formula/DistributionList.h"
#include "foundation/TextReport.h"
#include "analysis/BarGraphData.h"
#include "analysis/LineGraphData.h"
#include "analysis/NodeValueRecord.h"
#include "analysis/TornadoDiagram.h"
#include "app/MainFrame.h"
#include "widgets/StatusMessage.h"
#include "treewin/CEAnalysisDialog.h"
#include "dialogs/CorrelationsDialog.h"
#include "treewin/PayoffRangeDialog.h"
#include "treewin/RankingsDialog.h"
#include "dialogs/SensitivityDialogs.h"
#include "treewin/StoredAnalysisDialogs.h"
#include "framework/window/FrameworkApp.h"
#include "model/DocumentVariableOps.h"
#include "model/MarkovInfo.h"
#include "model/StoredAnalysis.h"
#include "model/StoredAnalysisList.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "script/ScriptManager.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "tests/support/IdleAnalysis.h"
#include "tests/support/ProgramLoop.h"
#include "tests/support/RealInput.h"
#include "treewin/SliderWindow.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// The program's frame: tree windows and graphs open inside it.
struct OnScreen {
    FocusTestLock focus;
    ScopedApplication app;
    std::unique_ptr<MainFrame> frame{new MainFrame};
    MessageBoxRecorder boxes;
    OnScreen()
    {
        frame->EndStartup();
        frame->Show(SW_SHOWNOACTIVATE);
    }
};

// A presenter installed for the test's scope.
template <class Presenter>
struct Installed {
    Presenter (*set)(Presenter);
    Presenter previous;
    Installed(Presenter (*set)(Presenter), Presenter presenter) : set(set), previous(set(std::move(presenter))) {}
    ~Installed() { set(std::move(previous)); }
};
template <class Dialog>
Installed<typename Dialog::Presenter> Answering(typename Dialog::Presenter presenter)
{
    return {&Dialog::SetPresenter, std::move(presenter)};
}

// Root "R" (decision) with chance "A" (terminals "A1" p, payoff x, and "A2", payoff 0) and terminal "B" (y);
// the variables p, x, y bound at the root, as many as asked for.
struct Tree {
    TreeWindow window;
    TreeDocument& document = window.Document();
    TreeNode* a;
    TreeNode* b;
    explicit Tree(int variables = 3)
    {
        document.Root->SetText("R", false);
        const char* names[] = {"p", "x", "y"};
        const char* values[] = {"0.5", "10", "4"};
        for (int i = 0; i < variables; ++i) {
            document.EnsureVariable(names[i], nullptr);
            document.Root->SetBinding(names[i], values[i], false);
        }
        a = document.AddChild(document.Root, ChanceNode, "A");
        document.AddChild(a, TerminalNode, "A1", "p", variables > 1 ? "x" : "10");
        document.AddChild(a, TerminalNode, "A2", "#", "0");
        b = document.AddChild(document.Root, TerminalNode, "B", "", variables > 2 ? "y" : "4");
    }
};

TreeNode* AddCohortUnder(Tree& t, TreeNode* parent)
{
    TreeNode* cohort = t.document.AddChild(parent, MarkovNode, "Cohort", "1");
    cohort->SetMarkovTerminationText("_stage >= 3", 0);
    TreeNode* well = t.document.AddChild(cohort, ChanceNode, "Well", "1");
    TreeNode* dead = t.document.AddChild(cohort, TerminalNode, "Dead", "0");
    for (TreeNode* state : {well, dead})
        for (int kind : {InitialReward, IncrementalReward, FinalReward})
            state->SetMarkovRewardText(kind, state == well && kind == IncrementalReward ? "1" : "0", 0);
    t.document.AddChild(well, TerminalNode, "stay", "#")->SetMarkovJumpState("Well", false);
    t.document.AddChild(well, TerminalNode, "die", "0.5")->SetMarkovJumpState("Dead", false);
    return cohort;
}

TreeNode* AddCohort(Tree& t)
{
    return AddCohortUnder(t, t.document.Root);
}

} // namespace

// Every command of the Analysis menu, sent to a tree window in the frame as the menu sends it, starts its
// analysis (its set-up dialog or result window opens, or its result is shown) when its needs are met, and
// nothing starts when they are not.
TEST(TreeAnalysisCommands, EveryAnalysisStartsFromTheMenuAfterItsChecks)
{
    OnScreen screen;
    std::vector<std::string> log;
    auto note = [&log](const char* what) { return log.push_back(what), IDCANCEL; };
    Installed<NodeValuePresenter> values{SetNodeValuePresenter,
                                         [&](TreeDocument*, int, double, const NodeChildList&, const NodeChildList*) { note("value"); }};
    Installed<ProbDistributionPresenter> distributions{
        SetProbDistributionPresenter, [&](std::unique_ptr<ProbDistributionData>) { note("distribution"); }};
    Installed<LineGraphPresenter> lines{SetLineGraphPresenter,
                                        [&](const LineGraphData& graph) { note(graph.title.c_str()); }};
    Installed<TornadoSetupDialog> tornado{SetTornadoSetupDialog,
                                          [&](TornadoSetupRequest& request) {
                                              return note(request.node == request.document->Root ? "tornado" : ""), false;
                                          }};
    auto range = Answering<PayoffRangeDialog>([&](PayoffRangeDialog&) { return note("payoff range"); });
    auto rankings = Answering<RankingsDialog>([&](RankingsDialog&) { return note("rankings"); });
    auto ce = Answering<CEAnalysisDialog>([&](CEAnalysisDialog&) { return note("cost-effectiveness"), IDOK; });
    auto save = Answering<SaveAnalysisDialog>([&](SaveAnalysisDialog&) { return note("save"); });
    auto run = Answering<RunStoredAnalysisDialog>([&](RunStoredAnalysisDialog&) { return note("run"); });
    auto maintain = Answering<StoredAnalysesDialog>([&](StoredAnalysesDialog&) { return note("maintain"); });

    using Arrange = std::function<TreeNode*(Tree&)>;
    const Arrange root = [](Tree& t) { return t.document.Root; };
    const Arrange chance = [](Tree& t) { return t.a; };
    const Arrange none = [](Tree&) { return nullptr; };
    const Arrange reversed = [](Tree& t) { return t.document.Root->SetKind(ReversedDecisionNode, false), t.document.Root; };
    const Arrange stored = [](Tree& t) {
        t.window.Document().StoredAnalyses().Add(MakeNodeValueRecord(t.document.Root, 1605, 0));
        return t.document.Root;
    };
    const Arrange underCustomInterface = [](Tree& t) { return t.window.CustomInterfaceShown = 1, t.document.Root; };
    struct Case {
        int command;
        Arrange arrange;  // gives the node to select
        const char* started;  // "" nothing
        int variables = 0;
        bool running = false;
    } cases[] = {
        {1602, root, "distribution"},
        {1603, AddCohort, "last analysis"},
        {1604, [](Tree& t) {
             t.document.RiskAssessment.constantAssessed = 1;
             t.document.RiskAssessment.type = 1;
             t.document.RiskAssessment.coefficient = 100;
             return t.document.Root;
         }, "Risk Preference Function"},
        {1605, root, "value"},
        {1605, underCustomInterface, ""},
        {1606, chance, "value"},
        {1607, chance, "Over/Under"},
        {1608, chance, "payoff range"},
        {1609, chance, "value"},
        {1609, root, ""},
        {1610, root, "selection moved"},
        {1611, root, "All probabilities sum to 1.0."},
        {1611, [](Tree& t) {
             while (t.a->childCount > 0) {
                 TreeNode* branch = t.a->GetChild(0);
                 t.a->RemoveChild(branch);
                 delete branch;
             }
             return t.document.Root;
         }, "The chance node \"A\" has no branches."},
        {1612, root, "rolled back"},
        {1612, root, "", 3, true},
        {1613, root, "Threshold Analysis"},
        {1614, root, "Monte Carlo Simulation"},
        {1615, [](Tree& t) {
             t.document.SetStoredAnalysis(MakeNodeValueRecord(t.document.Root, 1605, 0));
             return t.document.Root;
         }, "save"},
        {1616, stored, "run"},
        {1194, stored, "run"},
        {1194, stored, "", 3, true},
        {1617, stored, "maintain"},
        {1618, chance, "value"},
        {1619, root, "rankings"},
        {1620, [](Tree& t) {
             t.document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
             t.document.CalcPrefs.CEEffPayoff = 1;
             for (TreeNode* leaf : {t.a->GetChild(0), t.a->GetChild(1), t.b})
                 leaf->SetPayoffText("1", 1, false);
             return t.document.Root;
         }, "cost-effectiveness"},
        {1651, root, "Sensitivity Analysis"},
        {1652, reversed, "Two-Way Sensitivity Analysis"},
        {1652, chance, ""},
        {1652, root, "", 1},
        {1653, root, "Three-Way Sensitivity Analysis"},
        {1653, root, "", 2},
        {1654, none, "tornado", 2},
        {1654, none, "", 1},
        {1654, root, "", 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        Tree t(c.variables == 0 ? 3 : c.variables);
        TreeNode* selected = c.arrange(t);
        if (selected != nullptr)
            t.window.SelectNode(selected, 1, nullptr, false);
        std::unique_ptr<IdleAnalysis> running(c.running ? new IdleAnalysis(&t.document) : nullptr);
        StoredAnalysis* last = t.document.LastAnalysis;
        log.clear();
        screen.boxes.Clear();
        {
            ModalDialogDriver driver;
            driver.Then([&log](DialogFrameCL& dialog) {
                char text[128] = {};
                GetWindowTextA(dialog.Handle(), text, sizeof text);
                log.push_back(text);
                SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
            });
            SendMessageA(t.window.Handle(), WM_COMMAND, static_cast<WPARAM>(c.command), 0);
            if (c.running)
                EXPECT_STREQ(CurrentStatusMessage().Text(), "The idle is being performed.");
        }
        if (t.document.RolledBack == RolledBackValues::Computed)
            note("rolled back");
        if (selected != nullptr && !t.window.IsNodeSelected(selected))
            note("selection moved");
        if (screen.boxes.Count() > 0)
            log.push_back(screen.boxes.Last().text);
        if (t.document.LastAnalysis != last)
            note("last analysis");
        if (*c.started == '\0')
            EXPECT_TRUE(log.empty()) << log.front();
        else
            EXPECT_NE(std::find(log.begin(), log.end(), c.started), log.end()) << (log.empty() ? "" : log.front());
    }
}

// Save Last hands the last analysis to the list once; Run Old Analysis runs the chosen records one after
// the other in list order, whatever order they were picked in, an EVPI record in the middle too.
TEST(TreeAnalysisCommands, StoredAnalysesAreSavedOnceAndRunAsAChainInListOrder)
{
    OnScreen screen;
    Tree t;
    std::vector<int> shown;
    Installed<NodeValuePresenter> values{SetNodeValuePresenter, [&shown](TreeDocument*, int command, double,
                                                                         const NodeChildList&, const NodeChildList*) {
                                             shown.push_back(command);
                                         }};
    Installed<EvpiPresenter> evpi{SetEvpiPresenter, [&shown](TreeDocument*, double) { shown.push_back(1618); }};
    int saves = 0;
    auto save = Answering<SaveAnalysisDialog>([&saves](SaveAnalysisDialog& dialog) {
        dialog.name = ++saves == 3 ? "Value" : "path";
        return IDOK;
    });
    for (int command : {1606, 1618, 1605}) {
        t.window.SelectNode(command == 1605 ? t.document.Root : t.a, 1, nullptr, false);
        t.window.OnCommand(command);
        t.window.OnCommand(1615);
    }
    t.window.RunCommandHandler(Cmd::AnalysisSaveLast);
    EXPECT_EQ(saves, 3);
    ASSERT_EQ(t.window.Document().StoredAnalyses().Count(), 3);
    EXPECT_EQ(t.document.Modified, 1);
    EXPECT_EQ(t.window.Document().FindStoredAnalysis("vALUE"), t.window.Document().StoredAnalyses().At(2));

    auto run = Answering<RunStoredAnalysisDialog>([](RunStoredAnalysisDialog& dialog) {
        dialog.chosen = {2, 0, 1};
        return IDOK;
    });
    shown.clear();
    t.window.OnCommand(1616);
    EXPECT_EQ(shown, (std::vector<int>{1606, 1618, 1605}));
}

// A new sweep from the menu first closes the windows bound to its variable: the slider's temporary value of p
// is put back before the definitions are saved, so it neither shapes the run nor comes back after it; the
// slider of another variable stays.
TEST(TreeAnalysisCommands, SensitivityRunClosesTheSweptVariablesWindowsFirst)
{
    OnScreen screen;
    Tree t;
    std::vector<double> lineA;
    Installed<LineGraphPresenter> lines{SetLineGraphPresenter,
                                        [&lineA](const LineGraphData& graph) { lineA = graph.lines.at(0).values; }};
    t.window.SelectNode(t.document.Root, 1, nullptr, false);
    new SliderWindow(&t.window, t.window.Selection, "p", 0.0, 0.8, 4);
    new SliderWindow(&t.window, t.window.Selection, "y", 0.0, 8.0, 4);
    const zString& p = t.document.Root->FindBinding("p", false)->definition.Text();
    ASSERT_STREQ(p.Text(), "0.4");
    {
        ModalDialogDriver driver;
        driver.Type(Ctl::SensitivityAnalysis::LowValueEdit, "0")
            .Type(Ctl::SensitivityAnalysis::HighValueEdit, "1")
            .Type(Ctl::SensitivityAnalysis::NumberOfIntervalsEdit, "2")
            .Press(IDOK);
        SendMessageA(t.window.Handle(), WM_COMMAND, 1651, 0);
    }
    EXPECT_EQ(t.window.ChildWindows().Count(), 1);
    while (t.document.CurrentAnalysis != nullptr)
        t.document.CurrentAnalysis->OnIdle();
    EXPECT_EQ(lineA, (std::vector<double>{0, 5, 10}));
    EXPECT_STREQ(p.Text(), "0.5");
}

// Graph Risk Preference Function leaves the tree's function and "UseUtility" as they were; Cost-Effectiveness
// shows its error without the method.
TEST(TreeAnalysisCommands, RiskGraphRestoresTheTreeAndCostEffectivenessExplainsItsRefusal)
{
    OnScreen screen;
    Tree t;
    RiskPrefAssessment& risk = t.document.RiskAssessment;
    risk.constantAssessed = risk.pointsAssessed = 1;
    risk.type = 2;
    risk.coefficient = 100;
    int graphs = 0;
    Installed<LineGraphPresenter> lines{SetLineGraphPresenter, [&](const LineGraphData&) {
                                            ++graphs;
                                            EXPECT_EQ(risk.type, 1);
                                            EXPECT_EQ(t.document.CalcPrefs.UseUtility, 1);
                                        }};
    int answer = IDCANCEL;
    auto choice = Answering<RiskPrefGraphDialog>([&answer](RiskPrefGraphDialog&) { return answer; });
    t.window.OnCommand(1604);
    answer = IDOK;
    t.window.OnCommand(1604);
    EXPECT_EQ(graphs, 1);
    EXPECT_EQ(risk.type, 2);
    EXPECT_EQ(t.document.CalcPrefs.UseUtility, 0);

    // A stored cost-effectiveness analysis run after the method changed reaches the check.
    t.window.RunCommandHandler(Cmd::AnalysisCostEffectiveness);
    EXPECT_EQ(screen.boxes.Last().text,
              "You must set the calculation method to Cost-Effectiveness and select a decision node first.");
}

namespace {

// "G" wins 20 with a drawn probability (DistSamp(1): uniform 0.2 to 1.4, expected 0.8), so some draws lie
// above 1; "Above" is a chance node over the cohort.
void AddDrawsAndCohort(Tree& t)
{
    AddUniform(t.document, 1, "0.2", "1.4");
    TreeNode* g = t.document.AddChild(t.document.Root, ChanceNode, "G");
    t.document.AddChild(g, TerminalNode, "G1", "DistSamp(1)", "20");
    t.document.AddChild(g, TerminalNode, "G2", "#", "0");
    AddCohortUnder(t, t.document.AddChild(t.document.Root, ChanceNode, "Above"));
}

BOOL CALLBACK AppendChildText(HWND child, LPARAM out)
{
    char text[256] = {};
    GetWindowTextA(child, text, sizeof text);
    *reinterpret_cast<std::string*>(out) += std::string(text) + "|";
    return TRUE;
}

BOOL CALLBACK FindSimulation(HWND window, LPARAM out)
{
    auto* found = dynamic_cast<MonteCarloProgressDialog*>(WindowCL::FromHandle(window));
    if (found != nullptr)
        *reinterpret_cast<MonteCarloProgressDialog**>(out) = found;
    return found == nullptr;
}

// The frame's simulation window, or null.
MonteCarloProgressDialog* OpenSimulation()
{
    MonteCarloProgressDialog* found = nullptr;
    EnumChildWindows(TheApp->MainWindow()->Handle(), FindSimulation, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The analysis the command started, run to its end as idle time runs it; a simulation's statistics.
void RunToEnd(TreeDocument& document, std::vector<std::string>& log)
{
    while (document.CurrentAnalysis != nullptr)
        document.CurrentAnalysis->OnIdle();
    MonteCarloProgressDialog* simulation = OpenSimulation();
    if (simulation == nullptr)
        return;
    while (!simulation->Run().Finished())
        simulation->Run().OnIdle();
    for (const zString& text : simulation->Run().StatisticsTexts())
        log.push_back(text.Text());
    SendMessageA(simulation->Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

std::string Cells(const StrategyRegionMap& map)
{
    std::string cells;
    for (int y = 0; y < map.yCount; ++y)
        for (int x = 0; x < map.xCount; ++x)
            for (int s = 0; s < map.strategies; ++s)
                cells += std::to_string(map.Value(s, y, x)) + " ";
    return cells;
}

using Steps = std::function<void(ModalDialogDriver&)>;

// A predictable simulation of 200 trials, drawing every distribution or none.
Steps Simulation(bool draw)
{
    return [draw](ModalDialogDriver& driver) {
        using Setup = MonteCarloSetupDialog;
        driver
            .Then([draw](DialogFrameCL& dialog) {
                const unsigned chosen =
                    draw ? Ctl::MonteCarloSimulation::SampleAll : Ctl::MonteCarloSimulation::DoNotSample;
                for (unsigned radio : {Ctl::MonteCarloSimulation::SampleAll, Ctl::MonteCarloSimulation::SampleSome,
                                       Ctl::MonteCarloSimulation::DoNotSample})
                    SendMessageA(dialog.FindChild(radio)->Handle(), BM_SETCHECK, radio == chosen, 0);
                SendMessageA(dialog.FindChild(Ctl::MonteCarloSimulation::UsePredictableRandomSequence)->Handle(),
                             BM_SETCHECK, BST_CHECKED, 0);
                SendMessageA(dialog.Handle(), WM_COMMAND,
                             MAKEWPARAM(Ctl::MonteCarloSimulation::UsePredictableRandomSequence, BN_CLICKED), 0);
            })
            .Type(Ctl::MonteCarloSimulation::KeyValueEdit, "7")
            .Type(Ctl::MonteCarloSimulation::NumberOfTrialsEdit, "200")
            .Press(IDOK);
    };
}

// Axis b sweeps variable b (p over 0 to 1, then x and y over 0 to 10) in two steps.
Steps Axes(int count)
{
    return [count](ModalDialogDriver& driver) {
        for (int b = 0; b < count; ++b) {
            const unsigned* ids = SensitivityAxesDialog::kBlockIds[b];
            driver
                .Then([ids, b](DialogFrameCL& dialog) {
                    HWND list = dialog.FindChild(ids[0])->Handle();
                    SendMessageA(list, CB_SETCURSEL, b, 0);
                    SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(ids[0], CBN_SELCHANGE),
                                 reinterpret_cast<LPARAM>(list));
                })
                .Type(ids[1], "2")
                .Type(ids[2], "0")
                .Type(ids[3], b == 0 ? "1" : "10");
        }
        driver.Press(IDOK);
    };
}

// A swept variable's correlated partners are chosen after the set-up: on the screen a negative partner's
// range shows reversed and moves against the sweep at every step; the two-way set-up asks for X, then Y, and
// Cancel in either runs nothing.
TEST(TreeAnalysisCommands, CorrelatedVariablesAreChosenForEachAxis)
{
    OnScreen screen;
    Tree t;
    DocVariable* y = t.document.FindVariable("y", false);
    y->hasRange = 1;
    y->low = {zString("1"), 1};
    y->high = {zString("5"), 5};
    for (const char* name : {"p", "x"}) {
        auto* partner = new CorrelationItem;
        partner->name = "Y";
        partner->negative = name[0] == 'p';
        auto* list = new CorrelationList(2, true);
        list->Add(partner);
        SetVariableCorrelations(t.document, *t.document.FindVariable(name, false), list);
    }
    std::vector<std::vector<double>> lines;
    Installed<LineGraphPresenter> graph{SetLineGraphPresenter, [&lines](const LineGraphData& data) {
                                            for (const auto& line : data.lines)
                                                lines.push_back(line.values);
                                        }};
    t.window.SelectNode(t.document.Root, 1, nullptr, false);
    {
        ModalDialogDriver driver;
        driver.Type(Ctl::SensitivityAnalysis::LowValueEdit, "0")
            .Type(Ctl::SensitivityAnalysis::HighValueEdit, "1")
            .Type(Ctl::SensitivityAnalysis::NumberOfIntervalsEdit, "2")
            .Press(IDOK)
            .Then([](DialogFrameCL& dialog) {
                char line[64] = "";
                SendMessageA(dialog.Control(Ctl::Correlations::CorrelatedVariablesList), LB_GETTEXT, 0,
                             reinterpret_cast<LPARAM>(line));
                EXPECT_STREQ(line, "y\t5 .. 1");
                ExpectScreenEqualsRepaint(dialog.Handle());
            })
            .Press(Ctl::Correlations::SelectAllOK);
        SendMessageA(t.window.Handle(), WM_COMMAND, 1651, 0);
        EXPECT_TRUE(driver.Finished());
    }
    while (t.document.CurrentAnalysis != nullptr)
        t.document.CurrentAnalysis->OnIdle();
    // A = p * x with x = 10; B = y, from 5 down to 1 as p rises.
    EXPECT_EQ(lines, (std::vector<std::vector<double>>{{0, 5, 10}, {5, 3, 1}}));

    std::vector<std::string> asked;
    auto chooser = Answering<CorrelationsDialog>([&asked](CorrelationsDialog& dialog) {
        asked.push_back(std::string(dialog.RangeText().Text()) + " " + dialog.Lines().at(0).Text());
        return asked.size() == 1 ? IDOK : IDCANCEL;
    });
    {
        ModalDialogDriver driver;
        Axes(2)(driver);
        SendMessageA(t.window.Handle(), WM_COMMAND, 1652, 0);
    }
    EXPECT_EQ(asked, (std::vector<std::string>{"0 .. 1 y\t5 .. 1", "0 .. 10 y\t1 .. 5"}));
    EXPECT_EQ(t.document.CurrentAnalysis, nullptr);
}

} // namespace

// Every analysis gives on a rolled-back tree what it gives on the same tree not rolled back, with the same
// seed: the same results and the same messages. None trusts the values the roll back left while it works on
// other ones (draws, a scratch tree, other values of the variables).
TEST(TreeAnalysisCommands, RolledBackTreeGivesTheResultsOfThePlainTree)
{
    OnScreen screen;
    InstallMonteCarloDialogs();
    std::vector<std::string> log;
    auto note = [&log](std::string text) { log.push_back(std::move(text)); };
    Installed<NodeValuePresenter> values{SetNodeValuePresenter, [&](TreeDocument*, int command, double value,
                                                                    const NodeChildList&, const NodeChildList*) {
                                             note(std::to_string(command) + ": " + std::to_string(value));
                                         }};
    Installed<ProbDistributionPresenter> distributions{
        SetProbDistributionPresenter, [&](std::unique_ptr<ProbDistributionData> data) {
            for (int i = 0; i < data->outcomes.Count(); ++i)
                note(std::to_string(data->outcomes.OutcomeAt(i)->triple.value) + " " +
                     std::to_string(data->outcomes.OutcomeAt(i)->probability));
        }};
    Installed<LineGraphPresenter> lines{SetLineGraphPresenter, [&](const LineGraphData& graph) {
                                            for (const GraphLineData& line : graph.lines)
                                                for (double value : line.values)
                                                    note(std::to_string(value));
                                        }};
    Installed<TornadoSetupDialog> tornado{SetTornadoSetupDialog, [](TornadoSetupRequest& request) {
                                              for (const char* name : {"p", "y"}) {
                                                  auto* bar = new TornadoSetup;
                                                  bar->barName = name;
                                                  bar->ranges.Add(new VariableRange(zString(name), {"0", 0.0},
                                                                                    {"1", 1.0}));
                                                  request.bars->Add(bar);
                                              }
                                              return request.intervals = 2, true;
                                          }};
    Installed<TornadoPresenter> bars{SetTornadoPresenter, [&](const TornadoResults& results) {
                                         for (int b = 0; b < results.bars->Count(); ++b)
                                             note(std::to_string(results.bars->At(b)->lowResult) + " " +
                                                  std::to_string(results.bars->At(b)->highResult));
                                     }};
    Installed<TwoWaySensitivityPresenter> twoWay{SetTwoWaySensitivityPresenter,
                                                 [&](const TwoWaySensitivityResults& r) { note(Cells(*r.map)); }};
    Installed<ThreeWaySensitivityPresenter> threeWay{SetThreeWaySensitivityPresenter,
                                                     [&](const ThreeWaySensitivityResults& r) {
                                                         for (const auto& map : r.maps)
                                                             note(Cells(*map));
                                                     }};
    Installed<ThresholdResultsPresenter> threshold{SetThresholdResultsPresenter, [&](const ThresholdResults& r) {
                                                       zString text;
                                                       r.ReportText(text);
                                                       note(text.Text());
                                                   }};
    Installed<OverUnderPresenter> overUnder{SetOverUnderPresenter, [&](const OverUnderResult& r) {
                                                note(std::string(r.above.Text()) + " " + r.below.Text());
                                            }};
    Installed<EvpiPresenter> evpi{SetEvpiPresenter, [&](TreeDocument*, double value) { note(std::to_string(value)); }};
    auto range = Answering<PayoffRangeDialog>([&](PayoffRangeDialog& d) {
        return note(std::to_string(d.lowest) + " " + std::to_string(d.highest)), IDOK;
    });
    auto rankings = Answering<RankingsDialog>([&](RankingsDialog& d) { return note(d.ClipboardText().Text()), IDOK; });
    auto run = Answering<RunStoredAnalysisDialog>([](RunStoredAnalysisDialog& d) { return d.chosen = {0}, IDOK; });

    const Steps none = [](ModalDialogDriver&) {};
    const Steps oneWay = [](ModalDialogDriver& driver) {
        driver.Type(Ctl::SensitivityAnalysis::LowValueEdit, "0")
            .Type(Ctl::SensitivityAnalysis::HighValueEdit, "1")
            .Type(Ctl::SensitivityAnalysis::NumberOfIntervalsEdit, "4")
            .Press(IDOK);
    };
    const Steps thresholdRange = [](ModalDialogDriver& driver) {
        driver.Type(Ctl::SensitivityAnalysis::LowValueEdit, "0")
            .Type(Ctl::SensitivityAnalysis::HighValueEdit, "1")
            .Type(Ctl::ThresholdAnalysis::ToleranceField, "0.01")
            .Press(IDOK);
    };
    const Steps target = [](ModalDialogDriver& driver) {
        driver.Type(Ctl::OverUnder::EnterATargetValueEdit, "3").Press(IDOK);
    };
    using Arrange = std::function<TreeNode*(Tree&)>;
    const Arrange root = [](Tree& t) { return t.document.Root; };
    const Arrange risky = [](Tree& t) { return t.a; };
    const Arrange drawn = [](Tree& t) { return t.document.Root->GetChild(2); };
    const Arrange above = [](Tree& t) { return t.document.Root->GetChild(3); };
    const Arrange win = [](Tree& t) { return t.a->GetChild(0); };
    const Arrange nothing = [](Tree&) { return nullptr; };
    const Arrange markov = [](Tree& t) {
        t.window.Document().StoredAnalyses().Add(MakeMarkovRecord(t.document.Root->GetChild(3)->GetChild(0), {}));
        return t.document.Root;
    };
    // A command's run on a new tree, the tree rolled back first when asked: its results and messages, and a
    // copy of the last-analysis record it left.
    using Record = std::unique_ptr<StoredAnalysis, void (*)(StoredAnalysis*)>;
    auto runOnce = [&](int command, const Arrange& arrange, const Steps& steps, bool rolledBack,
                       const StoredAnalysis* stored) {
        Tree t;
        AddDrawsAndCohort(t);
        TreeNode* selected = arrange(t);
        if (stored != nullptr)
            t.window.Document().StoredAnalyses().Add(stored->Clone());
        if (rolledBack)
            SendMessageA(t.window.Handle(), WM_COMMAND, 1612, 0);
        EXPECT_EQ(t.document.IsRolledBack(), rolledBack);
        t.window.ClearSelection();
        if (selected != nullptr)
            t.window.SelectNode(selected, 1, nullptr, false);
        log.clear();
        screen.boxes.Clear();
        {
            ModalDialogDriver driver;
            steps(driver);
            driver.Then([&log](DialogFrameCL& dialog) {
                std::string texts;
                EnumChildWindows(dialog.Handle(), AppendChildText, reinterpret_cast<LPARAM>(&texts));
                log.push_back(texts);
                SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
            });
            SendMessageA(t.window.Handle(), WM_COMMAND, static_cast<WPARAM>(command), 0);
            RunToEnd(t.document, log);
        }
        for (const auto& box : screen.boxes.Boxes())
            log.push_back(box.text);
        EXPECT_FALSE(log.empty());
        StoredAnalysis* last = t.document.LastAnalysis;
        return std::make_pair(log, Record(last != nullptr ? last->Clone() : nullptr, StoredAnalysis::Delete));
    };
    // Offered: the command runs on the rolled-back tree too. Stored: the record the command left runs again
    // through the custom interface's Analyze (the way there for those the menus gray while the tree is rolled
    // back). Neither: it never runs on such a tree.
    enum Reach { Offered, Stored, Neither };
    const struct {
        int command;
        Arrange arrange;
        Steps steps;
        Reach reach;
    } cases[] = {
        {1605, root, none, Offered},   {1606, win, none, Offered},       {1609, risky, none, Offered},
        {1608, risky, none, Offered},  {1618, drawn, none, Offered},     {1618, drawn, none, Stored},
        {1619, root, none, Offered},
        {1602, risky, none, Offered},  {1607, risky, target, Offered},   {1614, root, Simulation(true), Offered},
        {1614, root, Simulation(false), Offered},                        {1614, above, Simulation(false), Offered},
        {1194, markov, none, Offered}, {1651, root, oneWay, Stored},     {1652, root, Axes(2), Stored},
        {1653, root, Axes(3), Stored}, {1654, nothing, none, Stored},    {1613, root, thresholdRange, Neither},
        {1409, risky, none, Neither},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        auto plain = runOnce(c.command, c.arrange, c.steps, false, nullptr);
        if (c.reach == Neither) {
            Tree t;
            SendMessageA(t.window.Handle(), WM_COMMAND, 1612, 0);
            t.window.SelectNode(c.arrange(t), 1, nullptr, false);
            EXPECT_FALSE(t.window.CommandEnabled(c.command));
            continue;
        }
        const Record record = std::move(plain.second);
        const bool stored = c.reach == Stored;
        if (stored) {
            ASSERT_NE(record, nullptr);
            plain = runOnce(1194, c.arrange, none, false, record.get());
        }
        const auto rolledBack = runOnce(stored ? 1194 : c.command, c.arrange, stored ? none : c.steps, true,
                                        stored ? record.get() : nullptr);
        EXPECT_EQ(plain.first, rolledBack.first);
    }
}

// Escape in a simulation's dialog stops the run, as Stop does; meanwhile Roll Back is refused, as while any
// analysis runs.
TEST(TreeAnalysisCommands, EscapeStopsASimulationThatMeanwhileRefusesRollBack)
{
    OnScreen screen;
    InstallMonteCarloDialogs();
    Tree t;
    t.window.SelectNode(t.document.Root, 1, nullptr, false);
    {
        ModalDialogDriver driver;
        driver.Type(Ctl::MonteCarloSimulation::NumberOfTrialsEdit, "32000").Press(IDOK);
        SendMessageA(t.window.Handle(), WM_COMMAND, 1614, 0);
    }
    MonteCarloProgressDialog* dialog = OpenSimulation();
    ASSERT_NE(dialog, nullptr);
    SendMessageA(t.window.Handle(), WM_COMMAND, 1612, 0);
    EXPECT_EQ(t.document.RolledBack, RolledBackValues::None);
    MSG escape{dialog->Control(Ctl::MonteCarloSimulation3920::Stop), WM_KEYDOWN, VK_ESCAPE, 1};
    screen.app->ProcessMessage(escape);
    EXPECT_TRUE(dialog->Run().Finished());
    EXPECT_TRUE(t.window.CommandEnabled(1612));
    // The window then counts the trials that ran, as its Text Report does.
    char trials[16] = {};
    GetDlgItemTextA(dialog->Handle(), Ctl::MonteCarloSimulation3920::TrialsText, trials, sizeof trials);
    std::string reported;
    Installed<TextReportPresenter> report{SetTextReportPresenter, [&reported](TextReport& text, const char*) {
                                              reported = text.HeaderLines().At(0)->Text();
                                              return 1;
                                          }};
    SendMessageA(dialog->Handle(), WM_COMMAND, MAKEWPARAM(Ctl::MonteCarloSimulation3920::TextReport, BN_CLICKED), 0);
    EXPECT_EQ(reported, "Ordered List of " + std::string(trials) + " Outcomes");
    SendMessageA(dialog->Handle(), WM_COMMAND, IDOK, 0);
}

// With a risk preference on, a node's value is its certainty equivalent (78.08 for Surgery under constant risk
// aversion 100); its standard deviation, shown and given to a script, is the outcomes' own: 0.8 x 100 and
// 0.2 x 20 have mean 84 and deviation sqrt(0.8 x 16^2 + 0.2 x 64^2) = 32.
TEST(TreeAnalysisCommands, StandardDeviationUnderARiskPreferenceIsTheOutcomesOwn)
{
    OnScreen screen;
    auto* window = new TreeWindow();
    window->Show(SW_SHOWNORMAL);
    TreeDocument& document = window->Document();
    TreeNode* surgery = document.AddChild(document.Root, ChanceNode, "Surgery");
    document.AddChild(surgery, TerminalNode, "Cured", "0.8", "100");
    document.AddChild(surgery, TerminalNode, "Not cured", "#", "20");
    document.AddChild(document.Root, TerminalNode, "Medicine", "", "70");
    document.RiskAssessment.type = 1;
    document.RiskAssessment.coefficient = 100;
    document.CalcPrefs.UseUtility = 1;
    window->SelectNode(surgery, 1, nullptr, false);
    std::string shown;
    Installed<NodeValuePresenter> values{SetNodeValuePresenter, [](TreeDocument* tree, int command, double value,
                                                                   const NodeChildList& nodes,
                                                                   const NodeChildList* optimal) {
                                             NodeValueDialog(tree, command, value, nodes, optimal).Run();
                                         }};
    ModalDialogDriver driver;
    driver.Then([&shown](DialogFrameCL& dialog) {
        char text[128] = {};
        GetDlgItemTextA(dialog.Handle(), Ctl::NodeValue::NodeValueText, text, sizeof text);
        shown = text;
        SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0);
    });
    SendMessageA(window->Handle(), WM_COMMAND, Cmd::AnalysisStandardDeviation, 0);
    EXPECT_EQ(shown, "The standard deviation of node\n\"Surgery\" is: $32");

    ScriptManager script;
    script.ExecuteLine("!StdDev(SD,0)");
    std::string deviation;
    ASSERT_TRUE(script.GetVariableValue("SD", deviation));
    EXPECT_NEAR(std::stod(deviation), 32.0, 1e-9);
    EXPECT_NEAR(document.Root->GetChild(0)->ExpectedValue(), -100 * std::log(0.8 * std::exp(-1.0) + 0.2 * std::exp(-0.2)),
                1e-9);
    EXPECT_EQ(screen.boxes.Count(), 0u);
    delete window;
}

// F7 at a Markov node, 32000 trials typed, Enter; Escape while the trials run. A Markov walk watches for
// Escape within its trial: the run stops as Stop stops it, counting and reporting the trials done.
TEST(TreeAnalysisCommands, EscapeWithinAMarkovTrialKeepsTheTrialsRun)
{
    OnScreen screen;
    InstallMonteCarloDialogs();
    auto* window = new TreeWindow();
    window->Show(SW_SHOWNORMAL);
    TreeDocument& document = window->Document();
    TreeNode* cohort = document.AddChild(document.Root, MarkovNode, "Cohort");
    cohort->SetMarkovTerminationText("_stage >= 2000", 0);
    TreeNode* well = document.AddChild(cohort, ChanceNode, "Well", "1");
    for (int kind : {InitialReward, IncrementalReward, FinalReward})
        well->SetMarkovRewardText(kind, kind == IncrementalReward ? "1" : "0", 0);
    document.AddChild(well, TerminalNode, "stay", "#")->SetMarkovJumpState("Well", false);
    document.AddChild(well, TerminalNode, "worse", "0")->SetMarkovJumpState("Well", false);
    window->SelectNode(cohort, 1, nullptr, false);
    ScreenOnTop top(screen.frame->Handle());
    SetForegroundWindow(screen.frame->Handle());

    ModalDialogDriver driver;
    driver.Then([](DialogFrameCL&) {
        RealInput::Type("32000");
        RealInput::Keys("Return");
    });
    RealInput::Keys("F7");
    MonteCarloProgressDialog* dialog = nullptr;
    ASSERT_TRUE(RunProgramLoopUntil([&] {
        dialog = OpenSimulation();
        return dialog != nullptr;
    }));
    {
        RealInput::KeysLater escape("Escape", 700);
        ASSERT_TRUE(RunProgramLoopUntil([&] { return dialog->Run().Finished(); }));
    }
    const auto text = [dialog](unsigned id) {
        char shown[32] = {};
        GetDlgItemTextA(dialog->Handle(), static_cast<int>(id), shown, sizeof shown);
        return std::string(shown);
    };
    const int trials = std::stoi(text(Ctl::MonteCarloSimulation3920::TrialsText));
    EXPECT_GT(trials, 0);
    EXPECT_LT(trials, 32000);
    EXPECT_FALSE(text(Ctl::MonteCarloSimulation3944::MeanValueText).empty());
    for (unsigned offered : {Ctl::MonteCarloSimulation3920::TextReport, Ctl::MonteCarloSimulation3920::Graph})
        EXPECT_TRUE(IsWindowEnabled(dialog->Control(offered))) << offered;
    ExpectScreenEqualsRepaint(dialog->Handle());
    EXPECT_EQ(screen.boxes.Count(), 0u);
    SendMessageA(dialog->Handle(), WM_COMMAND, IDOK, 0);
    delete window;
}
