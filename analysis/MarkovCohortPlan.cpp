#include "analysis/MarkovCohortPlan.h"

#include "analysis/MarkovCohortSteps.h"
#include "formula/Expression.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"

namespace {

bool HasFormula(Expression* expression)
{
    return expression != nullptr && !expression->IsEmpty();
}

// A node whose children's branch probabilities the stage check evaluates (a label node is checked for its
// single branch).
bool IsChecked(const TreeNode* node)
{
    return node->kind == LabelNode || node->HasBranchProbabilities();
}

}  // namespace

void MarkovCohortPlan::Build(TreeNode* markov, const MarkovRunArgs& args)
{
    states.clear();
    checks.clear();
    exits.clear();
    steps.clear();
    states.reserve(markov->childCount);
    for (int i = 0; i < markov->childCount; ++i) {
        TreeNode* stateNode = markov->GetChild(i);
        State state{stateNode, stateNode->markovInfo, TunnelNumber(stateNode), static_cast<uint32_t>(checks.size()), 0,
                    static_cast<uint32_t>(exits.size()), 0};
        pending.assign(1, stateNode);
        while (!pending.empty()) {
            TreeNode* node = pending.back();
            pending.pop_back();
            if (node->IsTerminal()) {
                AddExit(node, stateNode, args);
                continue;
            }
            if (IsChecked(node))
                checks.push_back(node);
            for (int c = node->childCount - 1; c >= 0; --c)
                pending.push_back(node->GetChild(c));
        }
        state.checkCount = static_cast<uint32_t>(checks.size()) - state.firstCheck;
        state.exitCount = static_cast<uint32_t>(exits.size()) - state.firstExit;
        states.push_back(state);
    }
}

void MarkovCohortPlan::AddExit(TreeNode* terminal, TreeNode* state, const MarkovRunArgs& args)
{
    TreeNode* target = terminal->markovInfo->jumpNode;
    Exit exit{terminal, target, target->markovInfo, static_cast<uint32_t>(steps.size()), 0, false};
    for (TreeNode* node = terminal; node != state; node = node->parent) {
        TreeNode* parent = node->parent;
        if (parent->kind == ChanceNode)
            steps.push_back(PathStep{node, nullptr});
        else if (parent->kind == LogicNode)
            steps.push_back(PathStep{node, parent});
        if (node->markovInfo != nullptr &&
            (HasFormula(node->MarkovTransitionRewardExpr(args.valuePayoff)) ||
             (args.costEffectiveness != 0 && HasFormula(node->MarkovTransitionRewardExpr(args.costPayoff)))))
            exit.transitionRewards = true;
    }
    exit.stepCount = static_cast<uint32_t>(steps.size()) - exit.firstStep;
    exits.push_back(exit);
}
