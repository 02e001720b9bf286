#include "analysis/RollBackAnalysis.h"

#include "analysis/NodeLinks.h"
#include "analysis/StoredAnalysisKinds.h"
#include "analysis/TreeEngines.h"
#include "model/StoredAnalysis.h"
#include "formula/RunOutcome.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "model/TreeDocument.h"
#include "model/TreeDocumentView.h"

const char* const RollBackAnalysis::kMultipleOptimaText =
    "From the standpoint of expected value, this tree has two or more \"optimal\" solutions."
    " In order to identify your best strategy, you might use some of the analytical tools,"
    " including standard deviation, available under the Analysis menu.";

RollBackAnalysis::RollBackAnalysis(TreeDocument* document) : AnalysisRun(document)
{
}

RollBackAnalysis::RollBackAnalysis(TreeDocument* document, AnalysisCaller* script)
    : AnalysisRun(document), scriptCaller(script)
{
}

RollBackAnalysis::RollBackAnalysis(TreeDocument* document, StoredAnalysis* record) : AnalysisRun(document)
{
    caller = record;
}

RollBackAnalysis::~RollBackAnalysis()
{
    if (scriptCaller == nullptr)
        return;
    // The script goes on at once and may start its next run on this tree: this run leaves the tree's slot
    // first, or the next one would be refused as a second run and the script would wait for it for good.
    if (document->CurrentAnalysis == this)
        document->CurrentAnalysis = nullptr;
    scriptCaller->AnalysisEnded();
}

zString& RollBackAnalysis::StatusText(zString& out)
{
    out = "The tree is being rolled back.";
    return out;
}

bool RollBackAnalysis::Begin()
{
    const RollBackResult result = RollBackDocument(*document, !document->CalcPrefs.FastRollBack);
    ForwardOutcome(result.outcome);
    stopFlag = result.status;
    if (stopFlag == 0)
        Finish();
    // A roll back never becomes an idle task: it ends here, and a chain of stored records goes on from here
    // unless it failed, like any run that fails before it starts.
    return false;
}

void RollBackAnalysis::Finish()
{
    document->MarkRolledBack();
    UpdateAllNodeLinks(document->Root);
    WarnMultipleOptima();
    if (document->CalcPrefs.RollBackCalculatesKey != RollBackMaximin)
        document->RedrawEveryNode();
    document->Relayout();
}

namespace {

struct OptimaWalk {
    NodeChildList visited{16, Ownership::Borrows};
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
    OptimaWalk walk;
    WalkSubtreeByKind(document->Root, VisitOptimal, &walk, true);
    if (document->View != nullptr)
        document->View->PointAt(walk.visited);
    if (!walk.unique)
        ReportNotice(OutcomeCode::MultipleOptima, nullptr, kMultipleOptimaText, -1);
}
