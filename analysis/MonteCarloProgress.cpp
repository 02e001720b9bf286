#include "analysis/MonteCarloProgress.h"

#include "analysis/MarkovCohort.h"
#include "analysis/StoredAnalysisKinds.h"
#include "foundation/NumericFormatting.h"
#include "model/StoredAnalysis.h"
#include "model/TreeDocument.h"

namespace {

void AddStatistics(const OutcomeStatistics& stats, const NumericFormat& format, bool empty,
                   std::vector<zString>& texts)
{
    for (double value : {stats.mean, stats.standardDeviation, stats.minimum, stats.maximum, stats.percentile5,
                         stats.median, stats.percentile95}) {
        zString text;
        if (!empty)
            FormatNumber(format, value, text, true, true, DigitsOfFormat);
        texts.push_back(text);
    }
}

}  // namespace

MonteCarloProgress::MonteCarloProgress(std::unique_ptr<MonteCarloSimulation> simulation, StoredAnalysis* record,
                                       StoredAnalysis* caller)
    : simulation(std::move(simulation)), record(record), caller(caller)
{
}

MonteCarloProgress::~MonteCarloProgress()
{
    Finish();
    StoredAnalysis::Delete(record);
}

void MonteCarloProgress::Start()
{
    HostWaitCursor waiting;
    simulation->Begin();
    simulation->document->PauseChildWindows();
    started = true;
    ++simulation->document->RunningSimulations;
    // An Escape pressed before the run does not stop it.
    TheHost().EscapePressed();
    TheHost().AddIdleTask(this);
}

void MonteCarloProgress::OnIdle()
{
    if (finished)
        return;
    // Escape stops the run between slices, as Stop does.
    if (simulation->error || TheHost().EscapePressed()) {
        Finish();
        return;
    }
    const uint32_t begun = TheHost().TickCount();
    bool done = false;
    // Between the trials of one slice nothing changes but the draws.
    MarkovRunReuse reuse(*simulation->document);
    while (!done && TheHost().TickCount() - begun < kSliceMilliseconds)
        done = NextTrial();
    if (done)
        Finish();
}

bool MonteCarloProgress::NextTrial()
{
    if (view != nullptr)
        view->ShowTrialPosition(simulation->trialCounter);
    return simulation->RunTrial();
}

void MonteCarloProgress::Finish()
{
    if (finished || !started)
        return;
    finished = true;
    TheHost().RemoveIdleTask(this);
    simulation->End();
    TreeDocument* document = simulation->document;
    --document->RunningSimulations;
    document->ResumeChildWindows();
    if (view != nullptr)
        view->ShowFinished(!simulation->error);
    if (simulation->error)
        return;
    // Stopped early, the trials done so far are the results.
    CalcStats();
    if (simulation->trialCounter <= simulation->trials)
        return;
    if (record != nullptr) {
        document->SetStoredAnalysis(record);
        record = nullptr;
    } else if (caller != nullptr) {
        RunNextStoredAnalysis(caller, document);
    }
}

void MonteCarloProgress::CalcStats()
{
    if (view != nullptr)
        view->ShowStatistics(StatisticsTexts());
}

std::vector<zString> MonteCarloProgress::StatisticsTexts() const
{
    std::vector<zString> texts;
    const bool empty = simulation->RecordCount() == 0;
    TreeDocument* document = simulation->document;
    if (!simulation->costEffectiveness) {
        AddStatistics(simulation->Statistics(ComponentValue), document->NumberFormat(), empty, texts);
        return texts;
    }
    const TreeCalcPrefs& prefs = document->CalcPrefs;
    AddStatistics(simulation->Statistics(ComponentCost), prefs.PayoffFormats[document->CostPayoffIndex()], empty,
                  texts);
    AddStatistics(simulation->Statistics(ComponentEffectiveness), prefs.EffectivenessFormat(), empty,
                  texts);
    return texts;
}
