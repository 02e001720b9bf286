#include "analysis/TreeQueries.h"

#include "analysis/MarkovCohort.h"
#include "analysis/OutcomeDistribution.h"
#include "analysis/ProbabilityVerification.h"
#include "foundation/UniformRandom.h"
#include "formula/RunOutcome.h"
#include "formula/RunOutcome.h"
#include "analysis/DistributionCollector.h"
#include "analysis/RollBack.h"
#include "formula/WorkStack.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "model/TreeDocument.h"

#include <cmath>
#include <limits>
#include <vector>

double PathProbability(TreeNode* node, RunFault* error, TreeNode* ancestor, bool onlyOptimal)
{
    if (*error)
        return 0.0;
    if (node->parent == nullptr)
        return 1.0;
    if (ancestor == nullptr)
        ancestor = node->GetTreeRoot();
    const bool testOptimal = onlyOptimal && node->document != nullptr && node->document->ValuesCurrent();
    double p = 1.0;
    for (TreeNode* child = node; child->parent != nullptr && !*error; child = child->parent) {
        if (testOptimal && !IsOnOptimalPath(child, false))
            return 0.0;
        if (child == ancestor)
            break;
        TreeNode* parent = child->parent;
        if (parent->kind == ChanceNode)
            p *= BranchProbability(child, error, false);
        else if (parent->kind == LogicNode && SelectLogicBranch(parent, error, true) != child)
            return 0.0;
    }
    return p;
}

// Summed over the gathered end nodes directly: no outcome records, so any number of outcomes counts.
double NodeStandardDeviation(TreeNode* node, RunFault* error)
{
    std::vector<OptimalEndNode> ends;
    DistributionCollector collector(false);
    if (const RunFault gathered = collector.Gather(node, ends)) {
        error->Set(gathered.Code());
        return 0.0;
    }
    // Around the outcomes' mean: with a risk preference the node's value is the certainty equivalent.
    double mean = 0.0;
    for (const OptimalEndNode& end : ends)
        mean += end.node->triple.Selected() * end.probability;
    double sum = 0.0;
    for (const OptimalEndNode& end : ends) {
        const double difference = end.node->triple.Selected() - mean;
        sum += difference * difference * end.probability;
    }
    return std::sqrt(sum);
}

// End values are payoffs, never utilities: the risk preference function is kept off while they are read, so
// a value outside an assessed range is found instead of failing its conversion.
void RangeOfEndValues(TreeNode* node, double* low, double* high, RunFault* error)
{
    uint8_t& useUtility = node->document->CalcPrefs.UseUtility;
    const uint8_t savedUseUtility = useUtility;
    useUtility = 0;
    struct Restore {
        uint8_t& flag;
        uint8_t saved;
        ~Restore() { flag = saved; }
    } restore{useUtility, savedUseUtility};
    std::vector<TreeNode*> pending{node};
    while (!pending.empty() && !*error) {
        TreeNode* current = pending.back();
        pending.pop_back();
        if (current->IsEndNode()) {
            const double value = RollBackTree(current, error, 0);
            if (value > *high)
                *high = value;
            if (value < *low)
                *low = value;
            continue;
        }
        if (current->childCount == 0) {
            ReportNodeFault(OutcomeCode::NonTerminalEndNode, current, nullptr, "Unable to evaluate non-terminal nodes.",
                            -1);
            error->Set(OutcomeCode::NonTerminalEndNode);
            return;
        }
        for (int i = current->childCount - 1; i >= 0; --i)
            pending.push_back(current->GetChild(i));
    }
}

int RandomBranchIndex(TreeNode* node, RunFault* error)
{
    switch (node->kind) {
    case LogicNode: {
        TreeNode* chosen = SelectLogicBranch(node, error, true);
        return chosen != nullptr ? node->IndexOfChild(chosen) : 0;
    }
    case LabelNode:
        return 0;
    case ChanceNode:
    case MarkovNode: {
        const double r = UniformRandom(0.0, 1.0);
        if (!VerifyProbabilities(node->document, 0, node, nullptr, 1)) {
            error->Set(OutcomeCode::ProbabilitiesNotOne);
            return 0;
        }
        double sum = 0.0;
        for (int i = 0; i < node->childCount; ++i) {
            sum += node->GetChild(i)->branchProbability;
            if (r < sum)
                return i;
        }
        return node->childCount - 1;
    }
    default:
        error->Set(OutcomeCode::NoTrialBranch);
        return 0;
    }
}

namespace {

// The child a trial follows below a decision or logic node: its first optimal child.
TreeNode* FirstOptimalChild(TreeNode* node)
{
    return node->optimal != nullptr && node->optimal->Count() > 0 ? node->optimal->At(0) : nullptr;
}

void ReportNoTrialBranch(TreeNode* node)
{
    zString message("Unable to follow a branch of ");
    message += NodeMention(*node);
    message += ". Roll the tree back before running trials.";
    ReportFailure(OutcomeCode::NoTrialBranch, nullptr, nullptr, message.Text(), -1);
}

}  // namespace

double TrialValue(TreeNode* node, RunFault* error, TreeNode** endNode)
{
    if (*error)
        return 0.0;
    // Each step goes one level down; the levels are walked in a loop, then the values travel back up.
    WorkStack<TreeNode*, 16> path;
    TreeNode* current = node;
    while (current != nullptr && !*error) {
        if (current->LastBindingIsBraced() && !current->EvaluateBracedBindings()) {
            error->Set(OutcomeCode::FormulaFailed);
            return 0.0;
        }
        const CalcState& calc = current->document->CalcStateRecord;
        TreeNode* next = nullptr;
        switch (current->kind) {
        case ChanceNode:
        case LabelNode: {
            if (current->childCount == 0) {
                if (current->kind == LabelNode)
                    error->Set(OutcomeCode::LabelNodeBranches);
                return 0.0;
            }
            const int index = RandomBranchIndex(current, error);
            if (*error)
                return 0.0;
            next = current->GetChild(index);
            break;
        }
        case LogicNode:
            if (calc.trialFlag2) {
                TreeNode* chosen = SelectLogicBranch(current, error, true);
                current->EnsureOptimalList()->RemoveAll();
                if (chosen != nullptr)
                    current->optimal->Add(chosen);
            }
            next = FirstOptimalChild(current);
            break;
        case DecisionNode:
        case ReversedDecisionNode:
            next = FirstOptimalChild(current);
            break;
        case TerminalNode:
            *endNode = current;
            if (calc.trialFlag1 || calc.trialFlag2)
                current->triple.value = EndNodeValue(current, error, TerminalPayoff);
            break;
        case MarkovNode:
            *endNode = current;
            SimulateMarkovIndividual(current, error);
            break;
        default:
            return 0.0;
        }
        path.Push(current);
        if (current->IsEndNode())
            break;
        if (next == nullptr) {
            if (current->IsDecision() || current->kind == LogicNode) {
                error->Set(OutcomeCode::NoTrialBranch);
                ReportNoTrialBranch(current);
            }
            return 0.0;
        }
        current = next;
    }
    if (*error)
        return 0.0;
    for (const TreeNode* child = path.Pop(); !path.Empty();) {
        TreeNode* parent = path.Pop();
        parent->triple.value = child->triple.value;
        parent->triple.cost = child->triple.cost;
        parent->triple.effectiveness = child->triple.effectiveness;
        child = parent;
    }
    return node->triple.value;
}

double TrialValueChecked(TreeNode* node, RunFault* error, TreeNode** endNode)
{
    if (*error)
        return 0.0;
    return TrialValue(node, error, endNode);
}

double ComputeNodeMeasure(TreeNode* node, RunFault* error, int kind)
{
    switch (kind) {
    case 0:
    case 4:
        return RollBackTree(node, error, RollBackPlain);
    case 1: {
        const double deviation = NodeStandardDeviation(node, error);
        return deviation * deviation;
    }
    case 2:
    case 3: {
        double low = std::numeric_limits<double>::max();
        double high = -std::numeric_limits<double>::max();
        RangeOfEndValues(node, &low, &high, error);
        return kind == 2 ? high : low;
    }
    default:
        return 0.0;
    }
}
