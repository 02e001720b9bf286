#include "analysis/AnalysisRun.h"

#include "analysis/StoredAnalysisKinds.h"
#include "model/StoredAnalysis.h"
#include "app/CursorStack.h"
#include "app/EscapeKey.h"
#include "app/FrameCommands.h"
#include "app/ProgressWindow.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/IdleList.h"
#include "model/TreeDocument.h"

AnalysisRun::AnalysisRun(TreeDocument* window) : document(window)
{
    document->CurrentAnalysis = this;
    RefreshFrameCommands();
}

AnalysisRun::~AnalysisRun()
{
    if (document->CurrentAnalysis == this)
        document->CurrentAnalysis = nullptr;
    RefreshFrameCommands();
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
    if (TheApp != nullptr)
        TheApp->Idle()->Add(this, &AnalysisRun::OnIdle);
    state = Running;
    document->RefreshChildWindows();
}

void AnalysisRun::Prepare()
{
    progressHandle = ProgressWindow::Push(Name(), 0, 0, ProgressTotal());
    EscapeKeyReset();
}

void AnalysisRun::PollStopKey()
{
    stopFlag = EscapePressed() ? 1 : 0;
}

void AnalysisRun::ShowProgress(double position)
{
    ProgressWindow::Step(progressHandle, position);
}

void AnalysisRun::EndProgress()
{
    ProgressWindow::Pop(progressHandle);
    progressHandle = -1;
}

// One idle call. State 1 (registered before Start) begins stepping on the next call; state 2 polls Escape
// and performs one step, ending the progress message when the analysis is complete or stopped; state 3
// unregisters, presents the results and stores the record unless stopped, ends the refresh pause, starts
// the caller's chained successor and deletes the run.
long AnalysisRun::OnIdle()
{
    if (busyFlag != 0)
        return 0;
    busyFlag = 1;
    switch (state) {
    case Created:
        state = Running;
        break;
    case Running: {
        int done = 0;
        PollStopKey();
        if (stopFlag == 0)
            done = Step();
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
        if (TheApp != nullptr)
            TheApp->Idle()->Remove(this, &AnalysisRun::OnIdle);
        if (stopFlag == 0) {
            PushWaitCursor();
            Finish();
            document->SetStoredAnalysis(MakeStoredRecord());
            PopCursor();
        }
        document->ResumeChildWindows();
        busyFlag = 0;
        TreeDocument* window = document;
        StoredAnalysis* chainedFrom = caller;
        delete this;
        if (chainedFrom != nullptr)
            RunNextStoredAnalysis(chainedFrom, window);
        return 0;
    }
    case Finished:
        return 0;
    default:
        break;
    }
    busyFlag = 0;
    return 0;
}

GraphTemplate* AnalysisRun::CallerTemplate() const
{
    return caller != nullptr ? caller->graphTemplate : nullptr;
}
