#pragma once
// A running simulation in idle time: each idle call runs trials for at most half a second, always finishing
// the trial in progress, until the trials end, an error occurs or the user stops (Stop, or Escape between
// slices or within a trial, which drops that trial). Finish runs exactly once, whichever of these (or
// closing) comes first, and shows the statistics of the trials done. The progress dialog is its view; tests
// drive it headless.

#include "analysis/MonteCarloSimulation.h"
#include "foundation/Host.h"

#include <memory>
#include <vector>

// What the progress dialog shows of a run.
class MonteCarloProgressView {
public:
    virtual ~MonteCarloProgressView() = default;
    // The trial about to run.
    virtual void ShowTrialPosition(int trial) = 0;
    // Mean, standard deviation, minimum, maximum, 5%, median and 95% of the value (the cost), then in
    // cost-effectiveness mode the same of the effectiveness; empty texts while there is no outcome.
    virtual void ShowStatistics(const std::vector<zString>& texts) = 0;
    // The run ended; results (graphs and report) are offered only without an error.
    virtual void ShowFinished(bool resultsEnabled) = 0;
};

class MonteCarloProgress : public IdleWork {
public:
    // The program answers only between slices: a fifth of a second keeps it answering well within half.
    static constexpr uint32_t kSliceMilliseconds = 200;

    // Takes the simulation (set up) and the stored record of a run from the menu (null for a stored run,
    // whose caller chain continues when all trials ran).
    MonteCarloProgress(std::unique_ptr<MonteCarloSimulation> simulation, StoredAnalysis* record,
                       StoredAnalysis* caller);
    ~MonteCarloProgress() override;
    MonteCarloProgress(const MonteCarloProgress&) = delete;
    MonteCarloProgress& operator=(const MonteCarloProgress&) = delete;

    void SetView(MonteCarloProgressView* newView) { view = newView; }
    // Begins the simulation, pauses the document's child windows and registers the idle task.
    void Start();
    void OnIdle() override;
    // Moves the progress to the trial and runs it; true at the end.
    bool NextTrial();
    void Finish();
    // "&Calc Stats": the statistics texts to the view.
    void CalcStats();
    std::vector<zString> StatisticsTexts() const;

    bool Finished() const { return finished; }
    bool ResultsEnabled() const { return finished && !simulation->error; }
    MonteCarloSimulation& Simulation() const { return *simulation; }

private:
    std::unique_ptr<MonteCarloSimulation> simulation;
    StoredAnalysis* record;
    StoredAnalysis* caller;
    MonteCarloProgressView* view = nullptr;
    bool started = false;
    bool finished = false;
};
