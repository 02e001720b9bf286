#include "analysis/MarkovCohortPlan.h"

#include "analysis/MarkovCohortSteps.h"
#include "analysis/RollBack.h"
#include "formula/CallNodes.h"
#include "formula/Expression.h"
#include "formula/OperandNodes.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kStageKeyword = 0;
// Deeper trees are not shared, so that the walks below stay shallow on the native stack.
constexpr int kMaxSharedDepth = 32;

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

void Mix(uint32_t& print, uint32_t value)
{
    print = (print ^ value) * 16777619u;
}

uint32_t BitsOf(double value, int half)
{
    uint32_t words[2];
    std::memcpy(words, &value, sizeof words);
    return words[half];
}

// True when the tree reads nothing but numbers, "_stage" and tables through the operators, so that its
// value depends on the stage alone; `print` takes in the tree's shape and values, and readsStage is set
// when it reads "_stage".
bool ReadsOnlyStage(const ParseNode& node, int depth, uint32_t& print, bool& readsStage)
{
    if (depth > kMaxSharedDepth)
        return false;
    const int code = node.TypeCode();
    Mix(print, static_cast<uint32_t>(code));
    switch (code) {
    case NodeConstant: {
        const double value = static_cast<const ConstantNode&>(node).Value();
        Mix(print, BitsOf(value, 0));
        Mix(print, BitsOf(value, 1));
        return true;
    }
    case NodeName:
        readsStage = true;
        return static_cast<const NameNode&>(node).KeywordIndex() == kStageKeyword;
    case NodeTableLookup:
        for (const char* c = static_cast<const TableLookupNode&>(node).Name().Text(); *c; ++c)
            Mix(print, static_cast<unsigned char>(*c));
        break;
    default:
        if (code < NodeAdd || code > NodeGreater)
            return false;
    }
    Mix(print, static_cast<uint32_t>(node.OperandCount()));
    for (int i = 0; i < node.OperandCount(); ++i) {
        const ParseNode* operand = node.GetOperand(i);
        if (operand == nullptr || !ReadsOnlyStage(*operand, depth + 1, print, readsStage))
            return false;
    }
    return true;
}

// Two trees that ReadsOnlyStage accepted are alike: the same nodes with the same numbers and table names.
bool Alike(const ParseNode& a, const ParseNode& b)
{
    const int code = a.TypeCode();
    if (code != b.TypeCode() || a.OperandCount() != b.OperandCount())
        return false;
    if (code == NodeConstant) {
        const double x = static_cast<const ConstantNode&>(a).Value();
        const double y = static_cast<const ConstantNode&>(b).Value();
        return std::memcmp(&x, &y, sizeof x) == 0;
    }
    if (code == NodeTableLookup &&
        !(static_cast<const TableLookupNode&>(a).Name() == static_cast<const TableLookupNode&>(b).Name()))
        return false;
    for (int i = 0; i < a.OperandCount(); ++i) {
        if (!Alike(*a.GetOperand(i), *b.GetOperand(i)))
            return false;
    }
    return true;
}

}  // namespace

void MarkovCohortPlan::Build(TreeNode* markov, const MarkovRunArgs& args)
{
    states.clear();
    checks.clear();
    branches.clear();
    formulas.clear();
    exits.clear();
    steps.clear();
    start = AddCheck(markov);
    states.reserve(markov->childCount);
    for (int i = 0; i < markov->childCount; ++i) {
        TreeNode* stateNode = markov->GetChild(i);
        State state{stateNode, stateNode->markovInfo, TunnelNumber(stateNode), {}, static_cast<uint32_t>(checks.size()),
                    0, static_cast<uint32_t>(exits.size()), 0};
        for (int kind = 0; kind < 3; ++kind) {
            Expression* value = stateNode->MarkovRewardExpr(kind, args.valuePayoff);
            Expression* cost = args.costEffectiveness != 0 ? stateNode->MarkovRewardExpr(kind, args.costPayoff) : nullptr;
            state.rewards[kind][0] = HasFormula(value) ? AddFormula(stateNode, value) : -1;
            state.rewards[kind][1] = HasFormula(cost) ? AddFormula(stateNode, cost) : -1;
        }
        pending.assign(1, stateNode);
        while (!pending.empty()) {
            TreeNode* node = pending.back();
            pending.pop_back();
            if (node->IsTerminal()) {
                AddExit(node, stateNode, args);
                continue;
            }
            if (IsChecked(node))
                checks.push_back(AddCheck(node));
            for (int c = node->childCount - 1; c >= 0; --c)
                pending.push_back(node->GetChild(c));
        }
        state.checkCount = static_cast<uint32_t>(checks.size()) - state.firstCheck;
        state.exitCount = static_cast<uint32_t>(exits.size()) - state.firstExit;
        states.push_back(state);
    }
    ShareFormulas();
}

MarkovCohortPlan::Check MarkovCohortPlan::AddCheck(TreeNode* node)
{
    Check check{node, static_cast<uint32_t>(branches.size()), 0, node->kind != LabelNode};
    if (!check.direct)
        return check;
    int complements = 0;
    for (int i = 0; i < node->childCount; ++i) {
        TreeNode* child = node->GetChild(i);
        if (ProbabilityIsComplement(child->probability)) {
            ++complements;
            branches.push_back(Branch{child, -1});
        } else {
            branches.push_back(Branch{child, AddFormula(child, &child->probability)});
        }
    }
    check.branchCount = static_cast<uint32_t>(branches.size()) - check.firstBranch;
    check.direct = complements <= 1;
    return check;
}

int32_t MarkovCohortPlan::AddFormula(TreeNode* node, Expression* expression)
{
    formulas.push_back(Formula{node, expression, -1});
    return static_cast<int32_t>(formulas.size()) - 1;
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

int32_t MarkovCohortPlan::AddShared(bool wholeRun)
{
    shared.push_back(SharedValue{-1, wholeRun, 0.0});
    return static_cast<int32_t>(shared.size()) - 1;
}

void MarkovCohortPlan::ShareFormulas()
{
    shared.clear();
    candidates.clear();
    runConstant.assign(formulas.size(), false);
    for (uint32_t i = 0; i < formulas.size(); ++i) {
        const ParseNode* tree = formulas[i].expression->GetParseTree();
        uint32_t print = 2166136261u;
        bool readsStage = false;
        if (tree != nullptr && ReadsOnlyStage(*tree, 0, print, readsStage)) {
            candidates.emplace_back(print, i);
            runConstant[i] = !readsStage;
        }
    }
    std::sort(candidates.begin(), candidates.end());
    for (size_t first = 0; first < candidates.size();) {
        size_t end = first + 1;
        while (end < candidates.size() && candidates[end].first == candidates[first].first)
            ++end;
        for (size_t k = first; k < end; ++k) {
            Formula& leader = formulas[candidates[k].second];
            if (leader.shared >= 0)
                continue;
            for (size_t m = k + 1; m < end; ++m) {
                Formula& other = formulas[candidates[m].second];
                if (other.shared >= 0 || !Alike(*leader.expression->GetParseTree(), *other.expression->GetParseTree()))
                    continue;
                if (leader.shared < 0)
                    leader.shared = AddShared(runConstant[candidates[k].second]);
                other.shared = leader.shared;
            }
            // A constant of the run is worth keeping even when no other formula is alike.
            if (leader.shared < 0 && runConstant[candidates[k].second])
                leader.shared = AddShared(true);
        }
        first = end;
    }
}
