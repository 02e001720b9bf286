#include "analysis/AnalysisRun.h"

#include "analysis/StoredAnalysisKinds.h"
#include "model/StoredAnalysis.h"
#include "foundation/Host.h"
#include "model/TreeDocument.h"

AnalysisRun::AnalysisRun(TreeDocument* tree) : document(tree)
{
    // One run per tree: a run made while another goes on does not take its place (RunAnalysis lets it go).
    if (document->CurrentAnalysis == nullptr)
        document->CurrentAnalysis = this;
    TheHost().CommandsChanged();
}

AnalysisRun::~AnalysisRun()
{
    // A run deleted before it finished (stopped, or its tree closing) must not stay among the idle tasks.
    TheHost().RemoveIdleTask(this);
    if (document->CurrentAnalysis == this)
        document->CurrentAnalysis = nullptr;
    TheHost().CommandsChanged();
}

void RunAnalysis(std::unique_ptr<AnalysisRun> run)
{
    // Taking the going run's place would delete it without its end: its progress message and the tree's
    // refresh pause would stay for good.
    if (run->document->CurrentAnalysis != run.get())
        return;
    AnalysisRun& started = *run;
    started.document->OwnedAnalysis = std::move(run);
    bool goesOn = false;
    {
        OutcomeRelay relay(started.outcome);
        goesOn = started.Begin();
    }
    if (!goesOn)
        started.End(started.stopFlag == 0 ? started.caller : nullptr);
}

void AnalysisRun::End(StoredAnalysis* chainedFrom)
{
    TreeDocument* owner = document;
    // The record may be one the run keeps (see StoreRecord): its successor is taken while it lives.
    StoredAnalysis* successor = chainedFrom != nullptr ? TakeNextStoredAnalysis(chainedFrom) : nullptr;
    owner->OwnedAnalysis.reset();
    if (successor != nullptr)
        RunStoredAnalysis(successor, owner);
}

void AnalysisRun::StoreRecord()
{
    StoredAnalysis* made = MakeStoredRecord();
    // Run again from the document's last record, the run replaces that very record: it keeps it until it
    // ends, as its settings and successor are read to the end.
    if (caller != nullptr && caller == document->LastAnalysis && made != caller) {
        keptCaller.reset(caller);
        document->LastAnalysis = nullptr;
    }
    document->SetStoredAnalysis(made);
}

zString& AnalysisRun::StatusText(zString& out)
{
    out = "The ";
    out += Name();
    out += " is being performed.";
    return out;
}

void AnalysisRun::Start()
{
    Prepare();
    TheHost().AddIdleTask(this);
    state = Running;
    document->PauseChildWindows();
}

void AnalysisRun::Prepare()
{
    progressHandle = TheHost().PushProgress(Name(), ProgressTotal());
    TheHost().EscapePressed();
}

void AnalysisRun::PollStopKey()
{
    stopFlag = TheHost().EscapePressed() ? 1 : 0;
    if (stopFlag != 0 && !outcome.Failed())
        outcome.code = OutcomeCode::Cancelled;
}

void AnalysisRun::ShowProgress(double position)
{
    TheHost().StepProgress(progressHandle, position);
}

void AnalysisRun::EndProgress()
{
    TheHost().PopProgress(progressHandle);
    progressHandle = -1;
}

// One idle call. State 1 (registered before Start) begins stepping on the next call; state 2 polls Escape
// and performs one step, ending the progress message when the analysis is complete or stopped; state 3
// unregisters, presents the results and stores the record unless stopped, ends the refresh pause and ends
// the run.
void AnalysisRun::OnIdle()
{
    if (busyFlag != 0)
        return;
    busyFlag = 1;
    switch (state) {
    case Created:
        state = Running;
        break;
    case Running: {
        int done = 0;
        PollStopKey();
        if (stopFlag == 0) {
            OutcomeRelay relay(outcome);
            done = Step();
        }
        if (done == 0 && stopFlag == 0)
            ShowProgress(ProgressPos());
        if (done != 0 || stopFlag != 0) {
            EndProgress();
            state = Finishing;
        }
        break;
    }
    case Finishing: {
        state = Finished;
        TheHost().RemoveIdleTask(this);
        if (stopFlag == 0) {
            TheHost().PushWaitCursor();
            {
                OutcomeRelay relay(outcome);
                Finish();
                StoreRecord();
            }
            TheHost().PopCursor();
        }
        document->ResumeChildWindows();
        busyFlag = 0;
        End(caller);
        return;
    }
    case Finished:
        return;
    default:
        break;
    }
    busyFlag = 0;
}

GraphTemplate* AnalysisRun::CallerTemplate() const
{
    return caller != nullptr ? caller->graphTemplate : nullptr;
}
