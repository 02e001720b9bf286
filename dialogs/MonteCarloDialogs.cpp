#include "dialogs/MonteCarloDialogs.h"

#include "dialogs/DocumentPopups.h"

#include "analysis/StoredAnalysisKinds.h"
#include "widgets/ProgressBar.h"
#include "widgets/WindowPlacement.h"
#include "foundation/StringHelpers.h"
#include "foundation/TextReport.h"
#include "formula/Distribution.h"
#include "framework/dialog/Menu.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/TopWindow.h"
#include "framework/window/HandlerDescriptor.h"
#include "model/StoredAnalysis.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include "CommandIds.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

namespace MonteCarloSimulationIds = Ctl::MonteCarloSimulation;
namespace MonteCarloSimulation3920Ids = Ctl::MonteCarloSimulation3920;

namespace {

// Kept while the program runs for the next set-up; the key value is never changed by a run.
struct RememberedDefaults {
    int trials = 100;
    bool predictable = false;
    int key = 1000;
    bool reevaluate = false;
};
RememberedDefaults remembered;

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

// A top-level window of the frame, whatever the template says of its frame.
const DWORD ProgressWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

void OpenProgress(std::unique_ptr<MonteCarloSimulation> simulation, StoredAnalysis* record, StoredAnalysis* caller)
{
    auto run = std::make_unique<MonteCarloProgress>(std::move(simulation), record, caller);
    new MonteCarloProgressDialog(std::move(run));
}

}  // namespace

MonteCarloSetupDialog::MonteCarloSetupDialog(TreeDocument* document, TreeNode* node)
    : AppDialog(DialogRes::MonteCarloSimulation), document(document), node(node)
{
    trials = remembered.trials;
    key = remembered.key;
    AddIntegerField(MonteCarloSimulationIds::NumberOfTrialsEdit, &trials, 1, 32000);
    AddIntegerField(MonteCarloSimulationIds::KeyValueEdit, &key, 1, 20000);
    for (unsigned id :
         {MonteCarloSimulationIds::UsePredictableRandomSequence, MonteCarloSimulationIds::SampleAll,
          MonteCarloSimulationIds::SampleSome, MonteCarloSimulationIds::DoNotSample, MonteCarloSimulationIds::Which})
        AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(
            id, AsEventHandler(&MonteCarloSetupDialog::OnChoice), this, WM_COMMAND));
    const bool hasDistributions = document->Distributions.Count() > 0;
    CheckItem(MonteCarloSimulationIds::UsePredictableRandomSequence, remembered.predictable);
    CheckItem(MonteCarloSimulationIds::ReevaluateOptimalPathForEachTrial, remembered.reevaluate);
    CheckItem(hasDistributions ? MonteCarloSimulationIds::SampleAll : MonteCarloSimulationIds::DoNotSample, true);
    for (unsigned id : {MonteCarloSimulationIds::SampleAll, MonteCarloSimulationIds::SampleSome,
                        MonteCarloSimulationIds::DoNotSample})
        EnableItem(id, hasDistributions);
    UpdateControls();
}

// The key only with a predictable sequence, "&Which..." only with "Sample &some", re-evaluation only at a
// decision node that samples.
void MonteCarloSetupDialog::UpdateControls()
{
    EnableItem(MonteCarloSimulationIds::KeyValueEdit,
               IsItemChecked(MonteCarloSimulationIds::UsePredictableRandomSequence));
    EnableItem(MonteCarloSimulationIds::Which, IsItemChecked(MonteCarloSimulationIds::SampleSome));
    const bool reevaluable = node->IsDecision() && !IsItemChecked(MonteCarloSimulationIds::DoNotSample);
    if (!reevaluable)
        CheckItem(MonteCarloSimulationIds::ReevaluateOptimalPathForEachTrial, false);
    EnableItem(MonteCarloSimulationIds::ReevaluateOptimalPathForEachTrial, reevaluable);
}

long MonteCarloSetupDialog::OnChoice(WindowEvent* event)
{
    if (event->CommandId() == MonteCarloSimulationIds::Which) {
        SampleDistributionsDialog(document, chosen).Run();
        return 1;
    }
    UpdateControls();
    return 0;
}

int MonteCarloSetupDialog::OkResult()
{
    const bool predictable = IsItemChecked(MonteCarloSimulationIds::UsePredictableRandomSequence);
    const bool reevaluable = IsWindowEnabled(Control(MonteCarloSimulationIds::ReevaluateOptimalPathForEachTrial)) != 0;
    remembered.trials = trials;
    remembered.predictable = predictable;
    if (reevaluable)
        remembered.reevaluate = IsItemChecked(MonteCarloSimulationIds::ReevaluateOptimalPathForEachTrial);
    settings = MonteCarloSettings();
    settings.trials = static_cast<int16_t>(trials);
    settings.seed = static_cast<int16_t>(predictable ? key : 0);
    settings.reevaluatePath =
        reevaluable && IsItemChecked(MonteCarloSimulationIds::ReevaluateOptimalPathForEachTrial) ? 1 : 0;
    if (IsItemChecked(MonteCarloSimulationIds::SampleAll)) {
        settings.samplingMode = SampleAll;
        for (int i = 0; i < document->Distributions.Count(); ++i)
            settings.chosen.push_back(document->Distributions.RecordAt(i)->index);
    } else if (IsItemChecked(MonteCarloSimulationIds::SampleSome)) {
        settings.samplingMode = SampleChosen;
        settings.chosen = chosen;
    } else {
        settings.samplingMode = SampleNone;
    }
    return 1;
}

SampleDistributionsDialog::SampleDistributionsDialog(TreeDocument* document, std::vector<int32_t>& chosen)
    : AppDialog(DialogRes::SampleDistributions), document(document), chosen(chosen)
{
    const HWND list = Control(Ctl::SampleDistributions::DescriptionList);
    const DistributionList& all = document->Distributions;
    for (int i = 0; i < all.Count(); ++i) {
        DistributionRecord* record = all.RecordAt(i);
        zString line;
        AppendInt(line, record->index);
        line += '\t';
        if (!record->comment.IsEmpty())
            line += record->comment;
        else if (record->GetDistribution() != nullptr)
            line += record->GetDistribution()->Name();
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.Text()));
        const bool selected = std::find(chosen.begin(), chosen.end(), record->index) != chosen.end();
        SendMessageA(list, LB_SETSEL, selected ? TRUE : FALSE, i);
    }
}

int SampleDistributionsDialog::OkResult()
{
    const HWND list = Control(Ctl::SampleDistributions::DescriptionList);
    chosen.clear();
    for (int i = 0; i < document->Distributions.Count(); ++i)
        if (SendMessageA(list, LB_GETSEL, i, 0) > 0)
            chosen.push_back(document->Distributions.RecordAt(i)->index);
    return 1;
}

namespace {

unsigned ProgressTemplate(const MonteCarloProgress& run)
{
    return run.Simulation().costEffectiveness ? DialogRes::MonteCarloSimulation3944
                                              : DialogRes::MonteCarloSimulation3920;
}

WindowCL* Frame()
{
    return TheApp ? TheApp->MainWindow() : nullptr;
}

}  // namespace

MonteCarloProgressDialog::MonteCarloProgressDialog(std::unique_ptr<MonteCarloProgress> run)
    : DialogFrameCL(Frame(), ResourceId(ProgressTemplate(*run), nullptr), ProgressWindowStyle), run(std::move(run))
{
    SetStateBits(StateDeleteWithWindow);
    MonteCarloSimulation& simulation = this->run->Simulation();
    AddDocumentPopup(this, simulation.document);
    zString text;
    simulation.node->GetShortText(text, 30);
    SetItemText(MonteCarloSimulation3920Ids::NodeText, text.Text());
    text.Clear();
    AppendInt(text, simulation.trials);
    SetItemText(MonteCarloSimulation3920Ids::TrialsText, text.Text());
    EnableItem(IDOK, false);
    if (HWND area = Control(MonteCarloSimulation3920Ids::ProgressArea)) {
        RECT rect;
        GetWindowRect(area, &rect);
        MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&rect), 2);
        progressBar = std::make_unique<ProgressBar>(this, rect, 0.0, simulation.trials);
    }
    PlaceWindowInFrame(handle_, 0.4f, 0.5f, true);
    Show(SW_SHOW);
    this->run->SetView(this);
    this->run->Start();
}

MonteCarloProgressDialog::~MonteCarloProgressDialog()
{
    RemoveDocumentPopup(this);
    run->SetView(nullptr);
    run.reset();
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
    // A run stopped early counts the trials it ran, as its report and graphs do.
    zString trials;
    AppendInt(trials, run->Simulation().RecordCount());
    SetItemText(MonteCarloSimulation3920Ids::TrialsText, trials.Text());
    progressBar.reset();
    EnableItem(MonteCarloSimulation3920Ids::Stop, false);
    EnableItem(MonteCarloSimulation3920Ids::CalcStats, false);
    EnableItem(IDOK, true);
    SetFocus(Control(IDOK));
    EnableItem(MonteCarloSimulation3920Ids::Graph, resultsEnabled);
    EnableItem(MonteCarloSimulation3920Ids::TextReport, resultsEnabled);
}

void MonteCarloProgressDialog::ShowGraphMenu()
{
    const MonteCarloSimulation& simulation = run->Simulation();
    Menu menu;
    if (!simulation.costEffectiveness) {
        menu.AppendItem(Cmd::MonteCarloOutcomeGraph, "Distribution of Outcomes");
    } else {
        menu.AppendItem(Cmd::MonteCarloCostGraph, "Distribution of Costs");
        menu.AppendItem(Cmd::MonteCarloEffectivenessGraph, "Distribution of Effectiveness Values");
    }
    if (simulation.reevaluatePath) {
        menu.AppendSeparator();
        menu.AppendItem(Cmd::MonteCarloStrategyGraph, "Strategy Selection Frequency");
    }
    RECT button{};
    GetWindowRect(Control(MonteCarloSimulation3920Ids::Graph), &button);
    // The chosen command arrives here as WM_COMMAND.
    TrackPopupMenu(menu.Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, button.left, button.bottom, 0, handle_, nullptr);
}

long MonteCarloProgressDialog::OnCommandId(unsigned id, unsigned code, HWND control)
{
    switch (id) {
    case IDOK:
        DestroyWindow(handle_);
        return 1;
    case IDCANCEL:
        // Escape in the dialog stops a running simulation, as Stop does.
        if (run->Finished())
            return 0;
        run->Finish();
        return 1;
    case MonteCarloSimulation3920Ids::Stop:
        run->Finish();
        return 1;
    case MonteCarloSimulation3920Ids::CalcStats:
        run->CalcStats();
        return 1;
    case MonteCarloSimulation3920Ids::TextReport: {
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
    case MonteCarloSimulation3920Ids::Graph:
        ShowGraphMenu();
        return 1;
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
        return 0;
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
    OpenProgress(std::move(simulation), MakeMonteCarloRecord(node, dialog.settings), nullptr);
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
    OpenProgress(std::move(simulation), nullptr, record);
}

void InstallMonteCarloDialogs()
{
    RegisterStoredAnalysisKind(MonteCarloKind, RunStoredMonteCarlo, DescribeMonteCarlo);
}
