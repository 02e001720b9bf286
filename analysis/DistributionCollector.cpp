#include "analysis/DistributionCollector.h"

#include "analysis/OutcomeDistribution.h"
#include "analysis/ProbabilityVerification.h"
#include "foundation/Host.h"
#include "formula/RunOutcome.h"
#include "foundation/NumericFormat.h"
#include "analysis/RollBack.h"
#include "model/TreeNode.h"
#include "analysis/TreeQueries.h"
#include "model/TreeWalks.h"
#include "model/TreeDocument.h"

#include <cmath>
#include <vector>

namespace {

constexpr int kLabelLength = 30;

// The end nodes met by the walk along the optimal path, each with the product of the branch probabilities
// below the collected node (the walk of WalkSubtreeByKind, with PathProbability's rules: chance branches
// multiply, a logic node counts only its selected branch). The first problem stops the gathering.
RunFault GatherEndNodes(TreeNode* start, bool costEffectiveness, std::vector<OptimalEndNode>& ends)
{
    // The roll back just made (or the rolled-back state) holds the branch probabilities of every chance node
    // it reached with a positive probability: the nodes this walk reaches with one. A maximin roll back
    // weighs no branches, so they are evaluated here.
    const TreeDocument* document = start->document;
    const bool cached = document != nullptr && document->CalcPrefs.RollBackCalculatesKey != RollBackMaximin;
    RunFault error;
    std::vector<OptimalEndNode> pending{{start, 1.0}};
    while (!pending.empty()) {
        const OptimalEndNode current = pending.back();
        pending.pop_back();
        TreeNode* node = current.node;
        if (node->IsEndNode()) {
            if (costEffectiveness && std::fabs(node->triple.effectiveness) < 1e-10) {
                ReportFailure(OutcomeCode::ZeroEffectivenessEnd, nullptr, nullptr,
                             "One or more of the optimal endnodes has zero effectiveness, so the distribution may "
                             "not be shown. Try performing a distribution on cost alone or effectiveness alone.",
                             0);
                error.Set(OutcomeCode::ZeroEffectivenessEnd);
                return error;
            }
            ends.push_back(current);
            continue;
        }
        if (node->childCount == 0) {
            ReportFailure(OutcomeCode::EndNodesNotTerminal, nullptr, "Tree Structure Error", "All end-nodes must be terminal.", 0);
            error.Set(OutcomeCode::EndNodesNotTerminal);
            return error;
        }
        const NodeChildList* followed = nullptr;
        if (node->kind == ChanceNode || node->kind == LabelNode)
            followed = node->children.get();
        else if (node->IsDecision() || node->kind == LogicNode)
            followed = node->optimal.get();
        if (followed == nullptr)
            continue;
        TreeNode* selected = node->kind == LogicNode ? SelectLogicBranch(node, &error, true) : nullptr;
        // Pushed last to first, so that the end nodes come out in tree order.
        for (int i = followed->Count() - 1; i >= 0 && !error; --i) {
            TreeNode* child = followed->At(i);
            double probability = current.probability;
            if (node->kind == ChanceNode && probability != 0.0)
                probability *= cached ? child->branchProbability : BranchProbability(child, &error, false);
            else if (node->kind == LogicNode && child != selected)
                probability = 0.0;
            pending.push_back({child, probability});
        }
        if (error)
            return error;
    }
    return error;
}

}  // namespace

DistributionCollector::DistributionCollector(bool graphChecks) : graphChecks(graphChecks)
{
    TheHost().PushWaitCursor();
}

DistributionCollector::~DistributionCollector()
{
    TheHost().PopCursor();
}

int DistributionCollector::Collect(TreeNode* node, OutcomeDistribution& outcomes)
{
    TreeDocument* document = node->document;
    std::vector<OptimalEndNode> ends;
    if (Gather(node, ends))
        return 1;
    if (graphChecks && ends.size() == 1) {
        ReportNotice(OutcomeCode::SingleOutcome, nullptr,
                    "The optimal path of this decision node leads to a single terminal node which, because it is "
                    "the only outcome, has a probability of 1.0.",
                    0);
        return 1;
    }

    double smallest = ends.front().node->triple.value;
    double largest = smallest;
    for (const OptimalEndNode& end : ends) {
        smallest = std::fmin(smallest, end.node->triple.value);
        largest = std::fmax(largest, end.node->triple.value);
    }
    if (graphChecks && largest == smallest) {
        zString message("The optimal path of this decision node leads to one or more terminal nodes which have the "
                        "same payoff value. Its value is ");
        zString value;
        FormatNumber(document ? document->NumberFormat() : DefaultNumericFormat, largest, value, true, true, DigitsOfFormat);
        message += value;
        message += " and its probability is 1.0.";
        ReportFailure(OutcomeCode::SamePayoffOutcomes, nullptr, nullptr, message.Text(), 0);
        return 1;
    }
    for (const OptimalEndNode& end : ends) {
        zString label;
        end.node->GetShortText(label, kLabelLength);
        outcomes.AddTriple(end.node->triple, end.probability, label.Text(), false);
    }
    return 0;
}

RunFault DistributionCollector::Gather(TreeNode* node, std::vector<OptimalEndNode>& ends)
{
    TreeDocument* document = node->document;
    RunFault error;
    if (!CheckRiskPreference(document, nullptr)) {
        error.Set(OutcomeCode::Cancelled);
        return error;
    }
    RollBackTree(node, &error, RollBackPlain);
    if (error)
        return error;
    const bool costEffectiveness = document != nullptr && document->IsCostEffectiveness();
    error = GatherEndNodes(node, costEffectiveness, ends);
    if (!error && ends.empty())
        error.Set(OutcomeCode::NoEndNodesReached);
    return error;
}
