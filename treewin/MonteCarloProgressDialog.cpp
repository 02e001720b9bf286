#include "treewin/MonteCarloProgressDialog.h"

#include "analysis/StoredAnalysisKinds.h"
#include "dialogs/MonteCarloDialogs.h"
#include "foundation/StringHelpers.h"
#include "foundation/TextReport.h"
#include "framework/dialog/Menu.h"
#include "framework/window/ResourceId.h"
#include "model/StoredAnalysis.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"
#include "widgets/MenuButton.h"
#include "widgets/ProgressBar.h"
#include "widgets/SaveQuestions.h"
#include "widgets/Shell.h"

#include "CommandIds.h"

#include <windows.h>

#include <iterator>

namespace Ids = Ctl::MonteCarloSimulation3920;

namespace {

// The statistics fields: the value's (the cost's) then the effectiveness's.
namespace Statistics = Ctl::MonteCarloSimulation3944;
const unsigned kStatisticsFields[] = {Statistics::MeanValueText,
                                      Statistics::StdDevText,
                                      Statistics::MinimumValueText,
                                      Statistics::MaximumValueText,
                                      Statistics::N5Text,
                                      Statistics::MedianText,
                                      Statistics::N95Text,
                                      Statistics::EffectivenessMeanText,
                                      Statistics::EffectivenessStdDevText,
                                      Statistics::EffectivenessMinimumText,
                                      Statistics::EffectivenessMaximumText,
                                      Statistics::Effectiveness5Text,
                                      Statistics::EffectivenessMedianText,
                                      Statistics::Effectiveness95Text};

unsigned ProgressTemplate(const MonteCarloProgress& run)
{
    return run.Simulation().costEffectiveness ? DialogRes::MonteCarloSimulation3944
                                              : DialogRes::MonteCarloSimulation3920;
}

// The tree window that shows the document, or null (a document without a window).
TreeWindow* TreeOf(TreeDocument* document)
{
    return document != nullptr ? dynamic_cast<TreeWindow*>(document->View) : nullptr;
}

}  // namespace

MonteCarloProgressDialog::MonteCarloProgressDialog(TreeWindow* tree, std::unique_ptr<MonteCarloProgress> run)
    : TreeChildWindow(tree, ResourceId(ProgressTemplate(*run), nullptr), false), run(std::move(run))
{
    if (tree != nullptr)
        OnTreeTitleChanged(tree->Document().Title().Text());
    MonteCarloSimulation& simulation = this->run->Simulation();
    zString text;
    simulation.node->GetShortText(text, 30);
    SetItemText(Ids::NodeText, text.Text());
    text.Clear();
    AppendInt(text, simulation.trials);
    SetItemText(Ids::TrialsText, text.Text());
    EnableItem(IDOK, false);
    MakeGraphButton();
    if (HWND area = Control(Ids::ProgressArea)) {
        RECT rect;
        GetWindowRect(area, &rect);
        MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&rect), 2);
        progressBar = std::make_unique<ProgressBar>(this, rect, 0.0, simulation.trials);
    }
    FitToFrame();
    PlaceAt(0.4, 0.5);
}

MonteCarloProgressDialog::~MonteCarloProgressDialog()
{
    run->SetView(nullptr);
    run.reset();
}

MonteCarloProgressDialog* MonteCarloProgressDialog::Open(std::unique_ptr<MonteCarloProgress> run, bool replace)
{
    TreeWindow* tree = TreeOf(run->Simulation().document);
    MonteCarloProgressDialog* shown = nullptr;
    for (int i = 0; tree != nullptr && replace && i < tree->ChildWindows().Count() && shown == nullptr; ++i) {
        auto* window = dynamic_cast<MonteCarloProgressDialog*>(tree->ChildWindows().At(i));
        if (window != nullptr && window->Run().Finished())
            shown = window;
    }
    const std::optional<POINT> place = CloseReplaced(shown);
    auto* window = new MonteCarloProgressDialog(tree, std::move(run));
    window->ShowWhereReplaced(place);
    window->run->SetView(window);
    window->run->Start();
    return window;
}

void MonteCarloProgressDialog::OnTreeTitleChanged(const char*)
{
    SetCaption(": Monte Carlo Simulation");
}

bool MonteCarloProgressDialog::DependsOn(const void* object) const
{
    return object != nullptr && object == run->Simulation().node;
}

void MonteCarloProgressDialog::ShowTrialPosition(int trial)
{
    if (progressBar && barPace.Due())
        progressBar->SetValue(trial);
}

void MonteCarloProgressDialog::ShowStatistics(const std::vector<zString>& texts)
{
    for (size_t i = 0; i < texts.size() && i < std::size(kStatisticsFields); ++i)
        SetItemText(kStatisticsFields[i], texts[i].Text());
}

void MonteCarloProgressDialog::ShowFinished(bool resultsEnabled)
{
    // A run stopped early counts the trials it ran, as its report and graphs do; a run that failed keeps the
    // count asked for.
    if (!run->Simulation().error) {
        zString trials;
        AppendInt(trials, run->Simulation().RecordCount());
        SetItemText(Ids::TrialsText, trials.Text());
    }
    progressBar.reset();
    EnableItem(Ids::Stop, false);
    EnableItem(Ids::CalcStats, false);
    EnableItem(IDOK, true);
    // OK takes the focus, now when the window is active, else when it is activated again: the focus never
    // goes into a window that another one's caption says is active.
    if (WindowCL* ok = FindChild(IDOK)) {
        if (IsActiveChild())
            SetFocus(ok->Handle());
        else
            SetFocusChild(ok);
    }
    EnableItem(Ids::Graph, resultsEnabled);
    if (graphButton != nullptr)
        EnableWindow(graphButton->Handle(), resultsEnabled ? TRUE : FALSE);
    EnableItem(Ids::TextReport, resultsEnabled);
}

void MonteCarloProgressDialog::MakeGraphButton()
{
    const MonteCarloSimulation& simulation = run->Simulation();
    auto menu = std::make_unique<Menu>();
    if (!simulation.costEffectiveness) {
        menu->AppendItem(Cmd::MonteCarloOutcomeGraph, "Distribution of Outcomes");
    } else {
        menu->AppendItem(Cmd::MonteCarloCostGraph, "Distribution of Costs");
        menu->AppendItem(Cmd::MonteCarloEffectivenessGraph, "Distribution of Effectiveness Values");
    }
    if (simulation.reevaluatePath) {
        menu->AppendSeparator();
        menu->AppendItem(Cmd::MonteCarloStrategyGraph, "Strategy Selection Frequency");
    }
    // The picked command arrives here as WM_COMMAND; the results exist once the run has ended well.
    graphButton = MakeOwningMenuButton(std::move(menu), this, Ids::Graph);
    EnableItem(Ids::Graph, false);
    if (graphButton != nullptr)
        EnableWindow(graphButton->Handle(), FALSE);
}

long MonteCarloProgressDialog::OnCommandId(unsigned id, unsigned code, HWND control)
{
    switch (id) {
    case IDOK:
        AskSaveChanges(TheShell().Frame(), this, false);
        return 1;
    case IDCANCEL:
        // Escape stops a running simulation, as Stop does; afterwards it closes the window, as OK does.
        if (run->Finished())
            AskSaveChanges(TheShell().Frame(), this, false);
        else
            run->Finish();
        return 1;
    case Ids::Stop:
        run->Finish();
        return 1;
    case Ids::CalcStats:
        run->CalcStats();
        return 1;
    case Ids::TextReport: {
        if (!run->ResultsEnabled())
            return 1;
        TextReport report;
        {
            HostWaitCursor waiting;
            run->Simulation().WriteReport(report, 2 | 4 | 8 | 16);
        }
        ShowTextReport(report);
        return 1;
    }
    case Cmd::MonteCarloOutcomeGraph:
        run->Simulation().ShowResult(OutcomeDistributionResult);
        return 1;
    case Cmd::MonteCarloCostGraph:
        run->Simulation().ShowResult(CostDistributionResult);
        return 1;
    case Cmd::MonteCarloEffectivenessGraph:
        run->Simulation().ShowResult(EffectivenessDistributionResult);
        return 1;
    case Cmd::MonteCarloStrategyGraph:
        run->Simulation().ShowResult(StrategyFrequencyResult);
        return 1;
    default:
        return TreeChildWindow::OnCommandId(id, code, control);
    }
}

void RunMonteCarlo(TreeNode* node)
{
    MonteCarloSetupDialog dialog(node->document, node);
    if (!dialog.Run())
        return;
    auto simulation = std::make_unique<MonteCarloSimulation>(node);
    if (simulation->error || !simulation->Setup(dialog.settings))
        return;
    auto run = std::make_unique<MonteCarloProgress>(std::move(simulation), MakeMonteCarloRecord(node, dialog.settings),
                                                    nullptr);
    MonteCarloProgressDialog::Open(std::move(run), true);
}

void RunStoredMonteCarlo(StoredAnalysis* record, TreeDocument* document)
{
    MonteCarloSettings settings;
    TreeNode* node = ReadMonteCarloRecord(document, record, settings);
    if (node == nullptr)
        return;
    auto simulation = std::make_unique<MonteCarloSimulation>(node);
    if (simulation->error || !simulation->Setup(settings))
        return;
    // A chain of stored runs goes on from within the run before it, whose window stays: this one opens beside.
    MonteCarloProgressDialog::Open(std::make_unique<MonteCarloProgress>(std::move(simulation), nullptr, record), false);
}

void InstallMonteCarloDialogs()
{
    RegisterStoredAnalysisKind(MonteCarloKind, RunStoredMonteCarlo, DescribeMonteCarlo);
}
