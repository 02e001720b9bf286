#include "model/StoredAnalysis.h"
#include "model/StoredAnalysisList.h"
#include "foundation/Host.h"
#include "model/TreeDocument.h"
#include "model/TreeDocumentView.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"

void TreeDocument::SetStoredAnalysis(StoredAnalysis* record)
{
    if (record == LastAnalysis)
        return;
    StoredAnalysis::Delete(LastAnalysis);
    LastAnalysis = record;
}

StoredAnalysis* TreeDocument::FindStoredAnalysis(const char* name) const
{
    return StoredAnalysisRecords != nullptr ? StoredAnalysisRecords->FindByName(name) : nullptr;
}

StoredAnalysisList& TreeDocument::StoredAnalyses()
{
    if (StoredAnalysisRecords == nullptr)
        StoredAnalysisRecords = new StoredAnalysisList(4);
    return *StoredAnalysisRecords;
}

void TreeDocument::PauseChildWindows()
{
    if (SuspendChildRefresh == 0)
        TheHost().CommandsChanged();
    ++SuspendChildRefresh;
}

void TreeDocument::ResumeChildWindows()
{
    if (SuspendChildRefresh > 0)
        --SuspendChildRefresh;
    if (SuspendChildRefresh == 0)
        TheHost().CommandsChanged();
}

void TreeDocument::ShapeChanging(const TreeNode* node, const TreeNode* leaving)
{
    if (leaving != nullptr)
        Runs.SubtreeLeaving(leaving);
    if ((TemporaryValueHolders <= 0 && leaving == nullptr) || View == nullptr)
        return;
    if (Holds(node))
        View->ShapeChanging(leaving);
}

bool TreeDocument::Holds(const TreeNode* node) const
{
    while (node->parent != nullptr)
        node = node->parent;
    return node == Root;
}

void TreeDocument::MarkRolledBack()
{
    if (RolledBack != RolledBackValues::Computed)
        PauseChildWindows();
    RolledBack = RolledBackValues::Computed;
}

void TreeDocument::EndRolledBack()
{
    // Only a roll back holds a refresh pause; a tree opened from a snapshot has none to end.
    const bool pauseHeld = RolledBack == RolledBackValues::Computed;
    RolledBack = RolledBackValues::None;
    if (pauseHeld)
        ResumeChildWindows();
    Relayout();
}

void TreeDocument::Relayout()
{
    ++RelayoutCount;
    if (View != nullptr)
        View->LayoutChanged();
}

void TreeDocument::RedrawNode(TreeNode* node, int mode)
{
    ++NodeRedrawCount;
    if (View != nullptr)
        View->NodeChanged(node, mode);
}

void TreeDocument::RedrawEveryNode()
{
    if (View != nullptr)
        View->NodeChangesBegin();
    WalkTreeWithSkip(
        Root, [](TreeNode* node, void* document) { static_cast<TreeDocument*>(document)->RedrawNode(node, 0); },
        this, false);
    if (View != nullptr)
        View->NodeChangesEnd();
}

void TreeDocument::ReleaseAnalyses()
{
    SetStoredAnalysis(nullptr);
    delete StoredAnalysisRecords;
    StoredAnalysisRecords = nullptr;
}
