// The cohort evaluator of a Markov node.

#include "analysis/MarkovCohort.h"

#include "analysis/MarkovAnalysis.h"
#include "analysis/MarkovCohortSteps.h"
#include "analysis/ProbabilityVerification.h"
#include "foundation/StringHelpers.h"
#include "model/MarkovInfo.h"
#include "model/RollBack.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include <cmath>
#include <vector>

namespace {

constexpr double kNegligibleShare = 1e-12;
constexpr double kProbabilityTolerance = 1e-6;

bool Holds(double share)
{
    return share > kNegligibleShare;  // NaN holds nothing
}

void AddScaled(ValueTriple& to, const ValueTriple& from, double factor)
{
    to.cost += from.cost * factor;
    to.effectiveness += from.effectiveness * factor;
    to.value += from.value * factor;
}

void Add(ValueTriple& to, const ValueTriple& from)
{
    AddScaled(to, from, 1.0);
}

class CohortRun {
public:
    CohortRun(TreeNode* markov, int* error, const MarkovRunArgs& args)
        : markov(markov), window(markov->window), calc(window->CalcStateRecord), error(error), args(args)
    {
    }

    // Initial, incremental or final rewards of every state holding part of the cohort, weighted by its
    // share, into the stage rewards.
    void RewardSweep(int rewardKind);
    // Re-evaluates the branch probabilities of every live state's subtree for this stage and checks them.
    // The values on the nodes are not trusted even when the tree is marked rolled back: a probability may
    // depend on "_stage" or "_tunnel". False when the check failed.
    bool EvaluateStageProbabilities();
    // Moves the cohort along every branch into the next-cycle shares, crediting transition rewards.
    void Cycle();
    void Advance();

private:
    bool BranchesValid(TreeNode* node);
    void TransitionStep(TreeNode* terminal, TreeNode* state, double stateShare);

    TreeNode* markov;
    TreeWindow* window;
    CalcState& calc;
    int* error;
    MarkovRunArgs args;
    std::vector<TreeNode*> pending;
    bool formulaReported = false;
};

void CohortRun::RewardSweep(int rewardKind)
{
    if (rewardKind == InitialReward) {
        if (EvaluateBranchProbabilities(markov, error) != nullptr || *error != 0)
            return;
        for (int i = 0; i < markov->childCount; ++i) {
            TreeNode* state = markov->GetChild(i);
            state->markovInfo->probability = state->branchProbability;
        }
    }
    ValueTriple reward;
    for (int i = 0; i < markov->childCount && *error == 0; ++i) {
        TreeNode* state = markov->GetChild(i);
        MarkovInfo* info = state->markovInfo;
        const double share = info->probability;
        info->reward = ValueTriple();
        if (!Holds(share))
            continue;
        if (!EvaluateStateReward(state, rewardKind, args, error, reward))
            return;
        AddScaled(info->reward, reward, share);
        Add(calc.stage, info->reward);
        Add(state->triple, info->reward);
    }
}

// A node whose branch probabilities fail a check is handed to the probability verification, which
// evaluates it again and reports the problem with its own message.
bool CohortRun::BranchesValid(TreeNode* node)
{
    if (node->kind == LabelNode)
        return node->childCount < 2;
    if (!node->HasBranchProbabilities())
        return true;
    int formulaError = 0;
    if (EvaluateBranchProbabilities(node, &formulaError) != nullptr || formulaError != 0) {
        formulaReported = true;  // the formula's own message has been shown
        return false;
    }
    if (node->kind == LogicNode)
        return true;
    double sum = 0.0;
    for (int i = 0; i < node->childCount; ++i) {
        const double p = node->GetChild(i)->branchProbability;
        if (!(p >= -kProbabilityTolerance && p <= 1.0 + kProbabilityTolerance))
            return false;
        sum += p;
    }
    return std::fabs(sum - 1.0) <= kProbabilityTolerance;
}

bool CohortRun::EvaluateStageProbabilities()
{
    const uint8_t rolledBack = window->RolledBack;
    window->RolledBack = 0;
    const int32_t savedTunnel = calc.tunnelIndex;
    bool valid = true;
    for (int i = 0; i < markov->childCount && valid; ++i) {
        TreeNode* state = markov->GetChild(i);
        if (!Holds(state->markovInfo->probability))
            continue;
        calc.tunnelIndex = TunnelNumber(state);
        pending.assign(1, state);
        while (!pending.empty() && valid) {
            TreeNode* node = pending.back();
            pending.pop_back();
            formulaReported = false;
            if (!BranchesValid(node)) {
                if (!formulaReported) {
                    zString context("_stage = ");
                    AppendInt(context, calc.stageCounter);
                    VerifyProbabilities(window, 0, node, context.Text(), 1);
                }
                valid = false;
                break;
            }
            for (int c = node->childCount - 1; c >= 0; --c)
                pending.push_back(node->GetChild(c));
        }
    }
    calc.tunnelIndex = savedTunnel;
    window->RolledBack = rolledBack;
    return valid;
}

void CohortRun::Cycle()
{
    for (int i = 0; i < markov->childCount; ++i)
        markov->GetChild(i)->markovInfo->nextProbability = 0.0;
    const int32_t savedTunnel = calc.tunnelIndex;
    for (int i = 0; i < markov->childCount && *error == 0; ++i) {
        TreeNode* state = markov->GetChild(i);
        const double share = state->markovInfo->probability;
        if (!Holds(share))
            continue;
        calc.tunnelIndex = TunnelNumber(state);
        pending.assign(1, state);
        while (!pending.empty() && *error == 0) {
            TreeNode* node = pending.back();
            pending.pop_back();
            if (node->IsTerminal()) {
                TransitionStep(node, state, share);
                continue;
            }
            for (int c = node->childCount - 1; c >= 0; --c)
                pending.push_back(node->GetChild(c));
        }
    }
    calc.tunnelIndex = savedTunnel;
}

// The share of the state's cohort that reaches the terminal: the product of the branch probabilities
// under chance nodes on the path, zero when a logic node on it selects another branch.
void CohortRun::TransitionStep(TreeNode* terminal, TreeNode* state, double stateShare)
{
    double reach = 1.0;
    for (TreeNode* node = terminal; node != state && reach != 0.0; node = node->parent) {
        TreeNode* parent = node->parent;
        if (parent->kind == ChanceNode)
            reach *= node->branchProbability;
        else if (parent->kind == LogicNode && SelectLogicBranch(parent, error, false) != node)
            reach = 0.0;
    }
    const double moved = reach * stateShare;
    TreeNode* target = terminal->markovInfo->jumpNode;
    target->markovInfo->nextProbability += moved;
    if (!Holds(moved))
        return;
    ValueTriple reward;
    if (!SumTransitionRewards(terminal, state, args, error, reward))
        return;
    AddScaled(target->triple, reward, moved);
    AddScaled(target->markovInfo->reward, reward, moved);
    AddScaled(calc.stage, reward, moved);
    AddScaled(calc.total, reward, moved);
}

void CohortRun::Advance()
{
    for (int i = 0; i < markov->childCount; ++i) {
        MarkovInfo* info = markov->GetChild(i)->markovInfo;
        info->probability = info->nextProbability;
    }
}

}  // namespace

void RunMarkovCohort(TreeNode* markov, int* error, MarkovAnalysis* analysis, const MarkovRunArgs& args,
                     ValueTriple& total)
{
    if (*error != 0)
        return;
    TreeWindow* window = markov->window;
    if (analysis == nullptr)
        analysis = window->CurrentMarkovAnalysis;
    MarkovStatus status(markov);
    if (!PrepareMarkovRun(markov, error))
        return;
    CalcState& calc = window->CalcStateRecord;
    CohortRun run(markov, error, args);
    const uint8_t savedRolledBack = window->RolledBack;
    bool stopped = false;
    run.RewardSweep(InitialReward);
    calc.previousStage = calc.stage;
    Add(calc.total, calc.stage);
    bool terminated = false;
    while (!terminated && *error == 0) {
        if (!run.EvaluateStageProbabilities()) {
            stopped = true;
            break;
        }
        window->RolledBack = 1;
        run.Cycle();
        if (analysis != nullptr)
            analysis->AddStageRow();
        run.Advance();
        calc.previousStage = calc.stage;
        calc.stage = ValueTriple();
        ++calc.stageCounter;
        if (status.Update(calc.stageCounter)) {
            stopped = true;
        } else {
            terminated = MarkovTerminates(markov, args.costEffectiveness != 0, args.valuePayoff, calc, error);
            if (!terminated && *error == 0) {
                run.RewardSweep(IncrementalReward);
                Add(calc.total, calc.stage);
            }
        }
        window->RolledBack = savedRolledBack;
        if (stopped)
            break;
    }
    window->RolledBack = savedRolledBack;
    if (stopped) {
        *error = 1;
    } else {
        if (*error == 0) {
            calc.previousStage = calc.stage;
            calc.stage = ValueTriple();
            run.RewardSweep(FinalReward);
            Add(calc.total, calc.stage);
        }
        if (args.costEffectiveness)
            calc.total.ComputeRatio();
        if (analysis != nullptr)
            analysis->AddStageRow();
    }
    total = calc.total;
    FinishMarkovRun(markov);
}

double EvaluateMarkovNode(TreeNode* markov, int* error, int payoffIndex, MarkovAnalysis* analysis)
{
    MarkovRunArgs args;
    args.valuePayoff = payoffIndex;
    ValueTriple total;
    RunMarkovCohort(markov, error, analysis, args, total);
    return total.value;
}

double MarkovCohortValue(TreeNode* markov, int* error, int payoffIndex)
{
    return EvaluateMarkovNode(markov, error, payoffIndex, nullptr);
}

double MarkovCostEffectivenessValue(TreeNode* markov, int* error)
{
    TreeWindow* window = markov->window;
    MarkovRunArgs args;
    args.costEffectiveness = 1;
    args.costPayoff = window->CostPayoffIndex();
    args.valuePayoff = window->CalcPrefs.CEEffPayoff;
    RunMarkovCohort(markov, error, nullptr, args, markov->triple);
    return markov->triple.value;
}
