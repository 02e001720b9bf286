#include "analysis/RollBackAnalysis.h"

#include "analysis/NodeLinks.h"
#include "analysis/StoredAnalysisKinds.h"
#include "analysis/TreeEngines.h"
#include "model/StoredAnalysis.h"
#include "foundation/MessageBoxes.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "model/TreeDocument.h"

const char* const RollBackAnalysis::kMultipleOptimaText =
    "From the standpoint of expected value, this tree has two or more \"optimal\" solutions."
    " In order to identify your best strategy, you might use some of the analytical tools,"
    " including standard deviation, available under the Analysis menu.";

RollBackAnalysis::RollBackAnalysis(TreeDocument* window, AnalysisCaller* script)
    : AnalysisRun(window), scriptCaller(script)
{
}

RollBackAnalysis::RollBackAnalysis(TreeDocument* window, StoredAnalysis* record) : AnalysisRun(window)
{
    caller = record;
}

RollBackAnalysis::~RollBackAnalysis()
{
    if (scriptCaller != nullptr)
        scriptCaller->AnalysisEnded();
}

zString& RollBackAnalysis::StatusText(zString& out)
{
    out = "The tree is being rolled back.";
    return out;
}

void RollBackAnalysis::Run()
{
    stopFlag = RollBackDocument(*document, !document->CalcPrefs.FastRollBack).status;
    const bool succeeded = stopFlag == 0;
    if (succeeded)
        Finish();
    // A roll back never becomes an idle task, so a chain of stored records goes on from here; a failed
    // roll back ends the chain like any run that fails before it starts.
    TreeDocument* window = document;
    StoredAnalysis* chainedFrom = caller;
    delete this;
    if (succeeded && chainedFrom != nullptr)
        RunNextStoredAnalysis(chainedFrom, window);
}

void RollBackAnalysis::Finish()
{
    document->RefreshChildWindows();
    document->RolledBack = 1;
    UpdateAllNodeLinks(document->Root);
    WarnMultipleOptima();
    if (document->CalcPrefs.RollBackCalculatesKey != RollBackMaximin)
        document->RedrawEveryNode();
    document->Relayout();
}

namespace {

struct OptimaWalk {
    NodeChildList visited{16, false};
    bool unique = true;
};

// A decision or logic node on an optimal path with two or more optimal children makes the path not unique,
// whatever kind of node the tied children are.
void VisitOptimal(TreeNode* node, void* argument)
{
    auto* walk = static_cast<OptimaWalk*>(argument);
    walk->visited.Add(node);
    if ((node->IsDecision() || node->kind == LogicNode) && node->optimal != nullptr && node->optimal->Count() >= 2)
        walk->unique = false;
}

}  // namespace

void RollBackAnalysis::WarnMultipleOptima()
{
    document->ClearSelection();
    OptimaWalk walk;
    WalkSubtreeByKind(document->Root, VisitOptimal, &walk, true);
    document->SelectNodes(walk.visited);
    if (!walk.unique)
        ShowInfoBox(nullptr, kMultipleOptimaText, -1);
}
