#pragma once
// The analysis now being performed on one tree document. Long analyses derive from it and run as an idle
// task of the message loop, one evaluation step per idle call, with a progress message in the status bar;
// Escape stops them. RunAnalysis hands a run to its document, which owns it until it ends: at its end a run
// presents its results, hands the document a stored record of its settings and the document lets it go. A
// run still going when its document goes ends with it. Roll back uses the same class but does its whole
// work inside Begin.
// The engines show nothing: what each part of a run (its beginning, a step, its end) reports is kept in the
// run's outcome and, when that part returns, handed on to the program's outcome presenter (or to the
// scope of a driver that collects it).

#include "formula/RunOutcome.h"
#include "model/StoredAnalysis.h"
#include "foundation/zString.h"
#include "foundation/Host.h"

#include <cstdint>
#include <memory>

class GraphTemplate;
class TreeDocument;
struct StoredAnalysis;

class AnalysisRun : public IdleWork {
public:
    enum RunState : int32_t { Created = 1, Running = 2, Finishing = 3, Finished = 4 };

    // Registers the run as the tree window's current analysis, unless another run is.
    explicit AnalysisRun(TreeDocument* document);
    AnalysisRun(const AnalysisRun&) = delete;
    AnalysisRun& operator=(const AnalysisRun&) = delete;
    ~AnalysisRun() override;

    // Checks and allocations, then Start (long analyses) or the whole work at once (stopFlag set on
    // failure); true while the run goes on as an idle task.
    virtual bool Begin() = 0;
    // The analysis's name; also the progress message.
    virtual const char* Name() const = 0;
    // A sentence describing the running analysis.
    virtual zString& StatusText(zString& out);
    // One unit of work; nonzero when the analysis is complete or has failed.
    virtual int Step() = 0;
    // Presents the results; called once after the last step unless the run was stopped.
    virtual void Finish() {}
    virtual double ProgressPos() = 0;
    // Read once, when the progress message is pushed.
    virtual double ProgressTotal() = 0;
    // A new record of the run's settings for storing and running again, or null.
    virtual StoredAnalysis* MakeStoredRecord() { return nullptr; }

    // Prepare, register the idle task, begin the tree window's refresh pause.
    void Start();
    // Push the progress message and forget an Escape pressed before the run.
    void Prepare();
    void PollStopKey();
    void ShowProgress(double position);
    void EndProgress();
    // The idle task: one step per call (see the .cpp); the run removes its task itself.
    void OnIdle() override;
    // The graph template stored with the caller record, or null.
    GraphTemplate* CallerTemplate() const;
    // The document lets the run go: it is deleted, then the successor of the stored record, when one is
    // given, starts.
    void End(StoredAnalysis* chainedFrom);

    TreeDocument* document;
    int32_t spare1 = 0;
    int32_t spare2 = 0;
    // Nonzero once the run is to stop: Escape, or the error flag of a failed step or roll back.
    int32_t stopFlag = 0;
    // Nonzero while OnIdle runs, so that nested message loops do not step the run again.
    int32_t busyFlag = 0;
    int32_t progressHandle = -1;
    int32_t state = Created;
    // The stored record that started the run, or null. The document or its list owns it, or keptCaller once
    // the run's own record replaced it as the document's last.
    StoredAnalysis* caller = nullptr;
    // What the run came to so far: its failure (or Cancelled after Escape) and every notice.
    RunOutcome outcome;

private:
    // Hands the document the run's new record as its last one.
    void StoreRecord();

    StoredAnalysisPtr keptCaller;
};

// Hands the run to its document, which owns it from now on, and begins it: when the run ended there (failed,
// or did its whole work at once) it ends at once; else it goes on as an idle task. While another run goes on
// on the document the run is let go unbegun.
void RunAnalysis(std::unique_ptr<AnalysisRun> run);
