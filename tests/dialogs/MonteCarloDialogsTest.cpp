// The Monte Carlo set-up dialog answered as a person would, and a run in its progress window (one of the
// frame's) from the menu's driver and from a stored record.

#include "analysis/BarGraphData.h"
#include "analysis/StoredAnalysisKinds.h"
#include "app/MainFrame.h"
#include "framework/window/FrameworkApp.h"
#include "dialogs/MonteCarloDialogs.h"
#include "dialogs/TextReportDialog.h"
#include "foundation/TextReport.h"
#include "formula/Distribution.h"
#include "model/StoredAnalysis.h"
#include "model/TreeDocument.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProgramLoop.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScreenCheck.h"
#include "tests/support/ThreadWindow.h"
#include "treewin/MonteCarloProgressDialog.h"
#include "treewin/TreeWindow.h"
#include "widgets/MenuButton.h"
#include "tests/support/DialogControls.h"
#include "tests/analysis/SimulatedTree.h"

#include "CommandIds.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using SetupDialog = MonteCarloSetupDialog;
using Progress = MonteCarloProgressDialog;

// Checks a radio button or check box and tells the dialog, as a click does.
ModalDialogDriver::Step Click(unsigned id, bool on = true)
{
    return [id, on](DialogFrameCL& dialog) {
        const unsigned radios[] = {Ctl::MonteCarloSimulation::SampleAll, Ctl::MonteCarloSimulation::SampleSome,
                                   Ctl::MonteCarloSimulation::DoNotSample};
        if (std::find(std::begin(radios), std::end(radios), id) != std::end(radios))
            for (unsigned radio : radios)
                SendMessageA(dialog.FindChild(radio)->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
        SendMessageA(dialog.FindChild(id)->Handle(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    };
}

// What a control of the progress window shows, and whether it is enabled.
std::string TextOf(WindowCL& window, unsigned id)
{
    return window.ItemText(id).Text();
}

bool Enabled(WindowCL& window, unsigned id)
{
    return IsWindowEnabled(window.Control(id)) != 0;
}

// The program's frame on the screen, where the progress windows open.
struct InFrame {
    FocusTestLock focus;
    ScopedApplication app;
    std::unique_ptr<MainFrame> frame{new MainFrame};
    InFrame()
    {
        frame->EndStartup();
        frame->Show(SW_SHOWNOACTIVATE);
    }
};

BOOL CALLBACK FindProgress(HWND window, LPARAM out)
{
    auto* found = dynamic_cast<Progress*>(WindowCL::FromHandle(window));
    if (found == nullptr || !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<Progress**>(out) = found;
    return FALSE;
}

BOOL CALLBACK FindMenuButton(HWND child, LPARAM out)
{
    if (auto* button = dynamic_cast<MenuButton*>(WindowCL::FromHandle(child)))
        *reinterpret_cast<MenuButton**>(out) = button;
    return TRUE;
}

// The progress window in the frame that is topmost among its windows, or null.
Progress* OpenProgressDialog()
{
    Progress* found = nullptr;
    if (TheApp != nullptr && TheApp->MainWindow() != nullptr)
        EnumChildWindows(TheApp->MainWindow()->Handle(), FindProgress, reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST(MonteCarloDialogs, SetupOffersWhatTheDocumentAllowsAndRemembersTheChoice)
{
    OnScreen screen;
    MessageBoxRecorder boxes;
    SimulatedTree tree;
    ModalDialogDriver driver;
    driver
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(TextOf(dialog, Ctl::MonteCarloSimulation::NumberOfTrialsEdit), "100");
            EXPECT_EQ(TextOf(dialog, Ctl::MonteCarloSimulation::KeyValueEdit), "1000");
            EXPECT_FALSE(Enabled(dialog, Ctl::MonteCarloSimulation::KeyValueEdit));
            EXPECT_TRUE(Checked(dialog, Ctl::MonteCarloSimulation::SampleAll));
            EXPECT_FALSE(Enabled(dialog, Ctl::MonteCarloSimulation::Which));
            EXPECT_TRUE(Enabled(dialog, Ctl::MonteCarloSimulation::ReevaluateOptimalPathForEachTrial));
        })
        .Then(Click(Ctl::MonteCarloSimulation::SampleSome))
        .Then([](DialogFrameCL& dialog) { EXPECT_TRUE(Enabled(dialog, Ctl::MonteCarloSimulation::Which)); })
        .Then(Click(Ctl::MonteCarloSimulation::DoNotSample))
        .Then([](DialogFrameCL& dialog) {
            EXPECT_FALSE(Enabled(dialog, Ctl::MonteCarloSimulation::Which));
            EXPECT_FALSE(Enabled(dialog, Ctl::MonteCarloSimulation::ReevaluateOptimalPathForEachTrial));
        })
        .Then(Click(Ctl::MonteCarloSimulation::SampleAll))
        .Then(Click(Ctl::MonteCarloSimulation::ReevaluateOptimalPathForEachTrial))
        .Then(Click(Ctl::MonteCarloSimulation::UsePredictableRandomSequence))
        .Then([](DialogFrameCL& dialog) { EXPECT_TRUE(Enabled(dialog, Ctl::MonteCarloSimulation::KeyValueEdit)); })
        .Type(Ctl::MonteCarloSimulation::NumberOfTrialsEdit, "32001")
        .Press(IDOK)
        .Type(Ctl::MonteCarloSimulation::NumberOfTrialsEdit, "50")
        .Type(Ctl::MonteCarloSimulation::KeyValueEdit, "77")
        .Press(IDOK);
    SetupDialog first(&tree.tree.Document(), tree.tree.Root());
    ASSERT_NE(first.Run(), 0);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(first.settings.trials, 50);
    EXPECT_EQ(first.settings.seed, 77);
    EXPECT_EQ(first.settings.reevaluatePath, 1);
    EXPECT_EQ(first.settings.samplingMode, SampleAll);
    EXPECT_EQ(first.settings.chosen, std::vector<int32_t>{1});

    // The next opening starts from the choice, but never from the key; at a chance node nothing re-evaluates.
    driver
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(TextOf(dialog, Ctl::MonteCarloSimulation::NumberOfTrialsEdit), "50");
            EXPECT_EQ(TextOf(dialog, Ctl::MonteCarloSimulation::KeyValueEdit), "1000");
            EXPECT_TRUE(Checked(dialog, Ctl::MonteCarloSimulation::UsePredictableRandomSequence));
            EXPECT_FALSE(Checked(dialog, Ctl::MonteCarloSimulation::ReevaluateOptimalPathForEachTrial));
            EXPECT_FALSE(Enabled(dialog, Ctl::MonteCarloSimulation::ReevaluateOptimalPathForEachTrial));
        })
        .Press(IDCANCEL);
    SetupDialog second(&tree.tree.Document(), tree.tree.Root()->GetChild(0));
    EXPECT_EQ(second.Run(), 0);

    // Without distributions only "Do &not sample" is offered, and no re-evaluation.
    SimulatedTree plain(false);
    driver
        .Then([](DialogFrameCL& dialog) {
            EXPECT_TRUE(Checked(dialog, Ctl::MonteCarloSimulation::DoNotSample));
            for (unsigned id :
                 {Ctl::MonteCarloSimulation::SampleAll, Ctl::MonteCarloSimulation::SampleSome,
                  Ctl::MonteCarloSimulation::DoNotSample, Ctl::MonteCarloSimulation::ReevaluateOptimalPathForEachTrial})
                EXPECT_FALSE(Enabled(dialog, id)) << id;
        })
        .Press(IDOK);
    SetupDialog third(&plain.tree.Document(), plain.tree.Root());
    third.Run();
    EXPECT_EQ(third.settings.samplingMode, SampleNone);
    EXPECT_TRUE(third.settings.chosen.empty());

    // The number of trials opens selected: what is typed replaces it, and Enter accepts it.
    bool leftOpen = false;
    ModalDialogDriver person;
    person
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(GetFocus(), dialog.Control(Ctl::MonteCarloSimulation::NumberOfTrialsEdit));
            for (const char typed : std::string("5000"))
                PostMessageA(GetFocus(), WM_CHAR, static_cast<WPARAM>(typed), 1);
            PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
        })
        .Then([&leftOpen](DialogFrameCL& dialog) {
            // Reached only when Enter left the dialog open.
            leftOpen = true;
            SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
        });
    SetupDialog typed(&tree.tree.Document(), tree.tree.Root());
    typed.Run();
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(typed.settings.trials, 5000);
}

TEST(MonteCarloDialogs, ProgressRunsFromTheMenuAndFromAStoredRecord)
{
    InFrame screen;
    MessageBoxRecorder boxes;
    InstallMonteCarloDialogs();
    std::vector<std::string> reports;
    TextReportPresenter previousReports = SetTextReportPresenter([&](TextReport& report, const char*) {
        reports.push_back(report.HeaderLines().At(0)->Text());
        return 1;
    });
    int graphs = 0;
    auto previousGraphs = SetProbDistributionPresenter([&](std::unique_ptr<ProbDistributionData>) { ++graphs; });

    SimulatedTree tree;
    TreeDocument& document = tree.tree.Document();
    ModalDialogDriver driver;
    driver.Type(Ctl::MonteCarloSimulation::NumberOfTrialsEdit, "20").Press(IDOK);
    RunMonteCarlo(tree.tree.Root());
    Progress* dialog = OpenProgressDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(*dialog, Ctl::MonteCarloSimulation3920::TrialsText), "20");
    EXPECT_FALSE(Enabled(*dialog, IDOK));
    EXPECT_FALSE(Enabled(*dialog, Ctl::MonteCarloSimulation3920::TextReport));
    // Graph is a menu button on the template's place, shut while the trials run.
    MenuButton* graph = nullptr;
    EnumChildWindows(dialog->Handle(), FindMenuButton, reinterpret_cast<LPARAM>(&graph));
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(std::string(graph->FaceText().Text()), TextOf(*dialog, Ctl::MonteCarloSimulation3920::Graph));
    EXPECT_FALSE(IsWindowEnabled(graph->Handle()));
    while (!dialog->Run().Finished())
        dialog->Run().OnIdle();
    // A click opens its menu; the pick shows the graph.
    EXPECT_TRUE(IsWindowEnabled(graph->Handle()));
    {
        ScreenOnTop onTop(screen.frame->Handle());
        RealInput::KeysLater pick("Down Return", 500);
        RealInput::ClickAndDispatch(RealInput::Middle(graph->Handle()));
    }
    EXPECT_TRUE(PumpMessagesUntil([&] { return graphs == 1; }));
    EXPECT_TRUE(Enabled(*dialog, IDOK));
    EXPECT_FALSE(Enabled(*dialog, Ctl::MonteCarloSimulation3920::Stop));
    EXPECT_TRUE(Enabled(*dialog, Ctl::MonteCarloSimulation3920::Graph));
    EXPECT_FALSE(TextOf(*dialog, 3924).empty());
    ASSERT_NE(document.LastAnalysis, nullptr);
    EXPECT_EQ(document.LastAnalysis->kind, MonteCarloKind);
    SendMessageA(dialog->Handle(), WM_COMMAND, MAKEWPARAM(Ctl::MonteCarloSimulation3920::TextReport, BN_CLICKED), 0);
    SendMessageA(dialog->Handle(), WM_COMMAND, 1563, 0);
    EXPECT_EQ(reports, std::vector<std::string>{"Ordered List of 20 Outcomes"});
    EXPECT_EQ(graphs, 2);
    HWND handle = dialog->Handle();
    SendMessageA(handle, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindow(handle));

    // A stored run leaves the last analysis alone and goes on with the record's successor when it ends.
    StoredAnalysis* stored = document.LastAnalysis->Clone();
    StoredAnalysis* successor = document.LastAnalysis->Clone();
    stored->next = successor;
    RunStoredAnalysis(stored, &document);
    dialog = OpenProgressDialog();
    ASSERT_NE(dialog, nullptr);
    while (!dialog->Run().Finished())
        dialog->Run().OnIdle();
    EXPECT_EQ(stored->next, nullptr);
    Progress* next = OpenProgressDialog();
    EXPECT_NE(next, dialog);
    for (Progress* open : {dialog, next})
        if (open != nullptr)
            SendMessageA(open->Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(OpenProgressDialog(), nullptr);
    StoredAnalysis::Delete(stored);
    StoredAnalysis::Delete(successor);

    // A run that fails at its start still names the trials asked for, and offers no results.
    tree.risky->GetChild(1)->SetProbabilityText("nosuch", false);
    ModalDialogDriver failing;
    failing.Type(Ctl::MonteCarloSimulation::NumberOfTrialsEdit, "15").Press(IDOK);
    RunMonteCarlo(tree.tree.Root());
    dialog = OpenProgressDialog();
    ASSERT_NE(dialog, nullptr);
    while (!dialog->Run().Finished())
        dialog->Run().OnIdle();
    graph = nullptr;
    EnumChildWindows(dialog->Handle(), FindMenuButton, reinterpret_cast<LPARAM>(&graph));
    ASSERT_NE(graph, nullptr);
    EXPECT_FALSE(IsWindowEnabled(graph->Handle()));
    EXPECT_EQ(TextOf(*dialog, Ctl::MonteCarloSimulation3920::TrialsText), "15");
    SendMessageA(dialog->Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    SetTextReportPresenter(previousReports);
    SetProbDistributionPresenter(previousGraphs);
}

int continuedRuns = 0;

// Closing the tree mid-run takes the dialog and its run along: a stored run's chain does not go on.
TEST(MonteCarloDialogs, ProgressClosesWithItsTree)
{
    InFrame screen;
    MessageBoxRecorder boxes;
    RegisterStoredAnalysisKind(MonteCarloKind, [](StoredAnalysis*, TreeDocument*) { ++continuedRuns; },
                               DescribeMonteCarlo);
    auto tree = std::make_unique<TreeWindow>();
    TreeDocument& document = tree->Document();
    document.AddChild(document.Root, TerminalNode, "Low", "", "10");
    document.AddChild(document.Root, TerminalNode, "High", "", "20");
    MonteCarloSettings settings;
    settings.trials = 20;
    auto simulation = std::make_unique<MonteCarloSimulation>(document.Root);
    ASSERT_TRUE(simulation->Setup(settings));
    StoredAnalysis* record = MakeMonteCarloRecord(document.Root, settings);
    record->next = record->Clone();
    Progress* dialog = Progress::Open(std::make_unique<MonteCarloProgress>(std::move(simulation), nullptr, record), false);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog, OpenProgressDialog());
    dialog->Run().NextTrial();
    const HWND handle = dialog->Handle();
    tree.reset();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(continuedRuns, 0);
    EXPECT_EQ(boxes.Count(), 0u);
    StoredAnalysis::Delete(record->next);
    StoredAnalysis::Delete(record);
    InstallMonteCarloDialogs();
}

// A click on Text Report after 32,000 trials: the report opens within moments with every trial in its table
// (a table of that size once took seconds to fill while nothing showed).
TEST(MonteCarloDialogs, TextReportOfManyTrialsOpensFilledAtOnce)
{
    InFrame screen;
    MessageBoxRecorder boxes;
    InstallTextReportDialog();
    SimulatedTree tree;
    ModalDialogDriver driver;
    driver.Type(Ctl::MonteCarloSimulation::NumberOfTrialsEdit, "32000").Press(IDOK);
    RunMonteCarlo(tree.tree.Root());
    Progress* dialog = OpenProgressDialog();
    ASSERT_NE(dialog, nullptr);
    while (!dialog->Run().Finished())
        dialog->Run().OnIdle();
    ScreenOnTop top(screen.frame->Handle());
    SetForegroundWindow(screen.frame->Handle());
    LRESULT rows = 0;
    DWORD shown = 0;
    driver.Then([&](DialogFrameCL& report) {
        shown = GetTickCount();
        rows = SendMessageA(report.Control(Ctl::TextReport::ListArea), LVM_GETITEMCOUNT, 0, 0);
        ExpectScreenEqualsRepaint(report.Handle());
        SendMessageA(report.Handle(), WM_COMMAND, IDCANCEL, 0);
    });
    const DWORD clicked = GetTickCount();
    RealInput::Click(RealInput::Middle(dialog->Control(Ctl::MonteCarloSimulation3920::TextReport)));
    ASSERT_TRUE(RunProgramLoopUntil([&] { return driver.Finished() && DialogFrameCL::ModalStack().empty(); }));
    EXPECT_EQ(rows, 32000);
    // Writing the report's lines takes a fraction of a second; row-by-row filling took about ten.
    EXPECT_LT(shown - clicked, 3000u);
    EXPECT_EQ(boxes.Count(), 0u);
    SendMessageA(dialog->Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

}  // namespace
