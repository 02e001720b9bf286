#include "analysis/StoredAnalysis.h"
#include "analysis/StoredAnalysisList.h"
#include "app/FrameCommands.h"
#include "treewin/TreeWindow.h"

void TreeWindow::SetStoredAnalysis(StoredAnalysis* record)
{
    if (record == LastAnalysis)
        return;
    StoredAnalysis::Delete(LastAnalysis);
    LastAnalysis = record;
}

StoredAnalysis* TreeWindow::FindStoredAnalysis(const char* name) const
{
    return StoredAnalysisRecords != nullptr ? StoredAnalysisRecords->FindByName(name) : nullptr;
}

StoredAnalysisList& TreeWindow::StoredAnalyses()
{
    if (StoredAnalysisRecords == nullptr)
        StoredAnalysisRecords = new StoredAnalysisList(4);
    return *StoredAnalysisRecords;
}

void TreeWindow::RefreshChildWindows()
{
    if (SuspendChildRefresh == 0)
        RefreshFrameCommands();
    ++SuspendChildRefresh;
}

void TreeWindow::ResumeChildWindows()
{
    if (SuspendChildRefresh > 0)
        --SuspendChildRefresh;
    if (SuspendChildRefresh == 0)
        RefreshFrameCommands();
}

void TreeWindow::EndRolledBack()
{
    // Only a roll back holds a refresh pause; a tree opened from a snapshot has none to end.
    const bool pauseHeld = RolledBack == 1;
    RolledBack = 0;
    if (pauseHeld)
        ResumeChildWindows();
    Relayout();
}

void TreeWindow::Relayout()
{
    ++RelayoutCount;
}

void TreeWindow::RedrawNode(TreeNode*, int)
{
    ++NodeRedrawCount;
}

void TreeWindow::ReleaseAnalyses()
{
    SetStoredAnalysis(nullptr);
    delete StoredAnalysisRecords;
    StoredAnalysisRecords = nullptr;
}
