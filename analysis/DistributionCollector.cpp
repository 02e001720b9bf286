#include "analysis/DistributionCollector.h"

#include "analysis/OutcomeDistribution.h"
#include "analysis/ProbabilityVerification.h"
#include "foundation/Host.h"
#include "foundation/MessageBoxes.h"
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

// The end nodes met by the walk along the optimal path; the first problem stops the gathering.
struct EndNodeGathering {
    bool costEffectiveness = false;
    bool failed = false;
    std::vector<TreeNode*> endNodes;
};

void GatherEndNode(TreeNode* node, void* argument)
{
    EndNodeGathering& gathering = *static_cast<EndNodeGathering*>(argument);
    if (gathering.failed)
        return;
    if (node->IsEndNode()) {
        if (gathering.costEffectiveness && std::fabs(node->triple.effectiveness) < 1e-10) {
            ShowErrorBox(nullptr,
                         "One or more of the optimal endnodes has zero effectiveness, so the distribution may not "
                         "be shown. Try performing a distribution on cost alone or effectiveness alone.",
                         0);
            gathering.failed = true;
            return;
        }
        gathering.endNodes.push_back(node);
        return;
    }
    if (node->childCount > 0)
        return;
    ShowErrorBox("Tree Structure Error", "All end-nodes must be terminal.", 0);
    gathering.failed = true;
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
    TreeDocument* window = node->document;
    if (!CheckRiskPreference(window, nullptr))
        return 1;
    int error = 0;
    RollBackTree(node, &error, RollBackPlain);
    if (error)
        return 1;

    EndNodeGathering gathering;
    gathering.costEffectiveness = window != nullptr && window->IsCostEffectiveness();
    WalkSubtreeByKind(node, GatherEndNode, &gathering, true);
    if (gathering.failed || gathering.endNodes.empty())
        return 1;
    if (graphChecks && gathering.endNodes.size() == 1) {
        ShowInfoBox(nullptr,
                    "The optimal path of this decision node leads to a single terminal node which, because it is "
                    "the only outcome, has a probability of 1.0.",
                    0);
        return 1;
    }

    std::vector<double> probabilities;
    double smallest = gathering.endNodes.front()->triple.value;
    double largest = smallest;
    for (TreeNode* end : gathering.endNodes) {
        probabilities.push_back(PathProbability(end, &error, node, false));
        if (error)
            return 1;
        smallest = std::fmin(smallest, end->triple.value);
        largest = std::fmax(largest, end->triple.value);
    }
    if (graphChecks && largest == smallest) {
        zString message("The optimal path of this decision node leads to one or more terminal nodes which have the "
                        "same payoff value. Its value is ");
        zString value;
        FormatNumber(window ? window->NumberFormat : DefaultNumericFormat, largest, value, true, true, DigitsOfFormat);
        message += value;
        message += " and its probability is 1.0.";
        ShowErrorBox(nullptr, message.Text(), 0);
        return 1;
    }
    for (size_t i = 0; i < gathering.endNodes.size(); ++i) {
        zString label;
        gathering.endNodes[i]->GetShortText(label, kLabelLength);
        outcomes.AddTriple(gathering.endNodes[i]->triple, probabilities[i], label.Text(), false);
    }
    return 0;
}
