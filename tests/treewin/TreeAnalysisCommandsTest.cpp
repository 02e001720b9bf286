// The Analysis menu of a tree window: each command checks what its analysis needs, then starts it.

#include "treewin/TreeWindow.h"

#include "analysis/AnalysisRun.h"
#include "analysis/BarGraphData.h"
#include "analysis/LineGraphData.h"
#include "analysis/NodeValueRecord.h"
#include "analysis/TornadoDiagram.h"
#include "app/MainFrame.h"
#include "dialogs/CEAnalysisDialog.h"
#include "dialogs/PayoffRangeDialog.h"
#include "dialogs/RankingsDialog.h"
#include "dialogs/SensitivityDialogs.h"
#include "dialogs/StoredAnalysisDialogs.h"
#include "model/MarkovInfo.h"
#include "model/StoredAnalysis.h"
#include "model/StoredAnalysisList.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/IdleAnalysis.h"
#include "treewin/SliderWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TreeNode* AddCohort(Tree& t)
{
    TreeNode* cohort = t.document.AddChild(t.document.Root, MarkovNode, "Cohort");
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
                                         [&](TreeDocument*, int, double, const NodeChildList*) { note("value"); }};
    Installed<ProbDistributionPresenter> distributions{
        SetProbDistributionPresenter, [&](std::unique_ptr<ProbDistributionData>) { note("distribution"); }};
    Installed<LineGraphPresenter> lines{SetLineGraphPresenter,
                                        [&](const LineGraphData& graph) { note(graph.title.c_str()); }};
    Installed<TornadoSetupDialog> tornado{SetTornadoSetupDialog,
                                          [&](TornadoSetupRequest& request) {
                                              return note(request.node == request.window->Root ? "tornado" : ""), false;
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
        t.window.StoredAnalyses().Add(MakeNodeValueRecord(t.document.Root, 1605, 0));
        return t.document.Root;
    };
    const Arrange underCustomInterface = [](Tree& t) { return t.window.CustomInterfaceShown = 1, t.document.Root; };
    struct Case {
        int command;
        Arrange arrange;  // gives the node to select
        const char* started;  // "" nothing
        int variables;
        bool running;
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
        {1612, root, "rolled back"},
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
        }
        if (t.document.RolledBack == 1)
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
// the other in list order, whatever order they were picked in.
TEST(TreeAnalysisCommands, StoredAnalysesAreSavedOnceAndRunAsAChainInListOrder)
{
    OnScreen screen;
    Tree t;
    std::vector<int> shown;
    Installed<NodeValuePresenter> values{SetNodeValuePresenter, [&shown](TreeDocument*, int command, double,
                                                                         const NodeChildList*) { shown.push_back(command); }};
    int saves = 0;
    auto save = Answering<SaveAnalysisDialog>([&saves](SaveAnalysisDialog& dialog) {
        dialog.name = ++saves == 1 ? "path" : "Value";
        return IDOK;
    });
    for (int command : {1606, 1605}) {
        t.window.SelectNode(command == 1605 ? t.document.Root : t.a, 1, nullptr, false);
        t.window.OnCommand(command);
        t.window.OnCommand(1615);
    }
    t.window.DispatchAnalysis(1615);
    EXPECT_EQ(saves, 2);
    ASSERT_EQ(t.window.StoredAnalyses().Count(), 2);
    EXPECT_EQ(t.document.Modified, 1);
    EXPECT_EQ(t.window.FindStoredAnalysis("vALUE"), t.window.StoredAnalyses().At(1));

    auto run = Answering<RunStoredAnalysisDialog>([](RunStoredAnalysisDialog& dialog) {
        dialog.chosen = {1, 0};
        return IDOK;
    });
    shown.clear();
    t.window.OnCommand(1616);
    EXPECT_EQ(shown, (std::vector<int>{1606, 1605}));
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
    new SliderWindow(&t.window, t.document.Selection, "p", 0.0, 0.8, 4);
    new SliderWindow(&t.window, t.document.Selection, "y", 0.0, 8.0, 4);
    const zString& p = t.document.Root->FindBinding("p", false)->definition.Text();
    ASSERT_STREQ(p.Text(), "0.4");
    {
        ModalDialogDriver driver;
        driver.Type(SensitivityDialog::kLowField, "0")
            .Type(SensitivityDialog::kHighField, "1")
            .Type(SensitivityDialog::kIntervalsField, "2")
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
    t.window.DispatchAnalysis(1620);
    EXPECT_EQ(screen.boxes.Last().text,
              "You must set the calculation method to Cost-Effectiveness and select a decision node first.");
}
