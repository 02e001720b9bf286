// The cohort evaluator of a Markov node.

#include "analysis/MarkovCohort.h"

#include "analysis/MarkovCohortPlan.h"
#include "analysis/MarkovCohortSteps.h"
#include "analysis/ProbabilityVerification.h"
#include "foundation/NumericHelpers.h"
#include "foundation/StringHelpers.h"
#include "analysis/RollBack.h"
#include "model/MarkovInfo.h"
#include "model/NodeFormula.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"

#include <cmath>
#include <memory>
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

// Stages beyond are not kept from run to run.
constexpr int32_t kMaxRememberedStage = 1 << 14;

void Remember(MarkovCohortPlan::StageValues& memo, int32_t stage, double value)
{
    if (stage < 0 || stage >= kMaxRememberedStage)
        return;
    const size_t at = static_cast<size_t>(stage);
    if (at >= memo.known.size()) {
        memo.known.resize(at + 1, 0);
        memo.values.resize(at + 1, 0.0);
    }
    memo.values[at] = value;
    memo.known[at] = 1;
}

std::vector<std::unique_ptr<MarkovCohortPlan>>& SparePlans()
{
    static std::vector<std::unique_ptr<MarkovCohortPlan>> spare;
    return spare;
}

std::unique_ptr<MarkovCohortPlan> TakePlan()
{
    auto& spare = SparePlans();
    if (spare.empty())
        return std::make_unique<MarkovCohortPlan>();
    std::unique_ptr<MarkovCohortPlan> plan = std::move(spare.back());
    spare.pop_back();
    return plan;
}

void ReturnPlan(std::unique_ptr<MarkovCohortPlan> plan)
{
    SparePlans().push_back(std::move(plan));
}

class CohortRun {
public:
    CohortRun(TreeNode* markov, int* error, const MarkovRunArgs& args)
        : markov(markov), document(markov->document), calc(document->CalcStateRecord), error(error), args(args)
    {
        plan.Build(markov, args);
    }
    ~CohortRun() { ReturnPlan(std::move(owned)); }

    // The Markov node's own starting probabilities, checked like any chance node's and taken as the states'
    // shares before the first cycle. False when the check failed.
    bool TakeStartingShares();
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
    // The value of a formula of the plan (0 for none); a shared one is evaluated once per stage. A formula
    // error is shown and sets *failed.
    double Evaluate(int32_t formula, const char* role, int* failed);
    bool StateReward(const MarkovCohortPlan::State& state, int rewardKind, ValueTriple& out);
    // The branch probabilities of the checked node onto its children; false on a formula error (shown).
    bool EvaluateBranches(const MarkovCohortPlan::Check& check);
    bool BranchesValid(const MarkovCohortPlan::Check& check);
    // Evaluates and checks the node's branch probabilities, reporting a failure through the probability
    // verification (naming the stage when asked) unless the formula reported it.
    bool CheckBranches(const MarkovCohortPlan::Check& check, bool nameStage);
    void TransitionStep(const MarkovCohortPlan::Exit& exit, TreeNode* state, double stateShare);

    TreeNode* markov;
    TreeDocument* document;
    CalcState& calc;
    int* error;
    MarkovRunArgs args;
    // Plans of ended runs keep their storage for the next: runs start often, and may nest.
    std::unique_ptr<MarkovCohortPlan> owned = TakePlan();
    MarkovCohortPlan& plan = *owned;
    bool formulaReported = false;
};

double CohortRun::Evaluate(int32_t formula, const char* role, int* failed)
{
    if (formula < 0)
        return 0.0;
    const MarkovCohortPlan::Formula& slot = plan.formulas[formula];
    MarkovCohortPlan::SharedValue* shared = slot.shared >= 0 ? &plan.shared[slot.shared] : nullptr;
    const int32_t stage = calc.stageCounter;
    if (shared != nullptr) {
        if (shared->stage == stage || (shared->wholeRun && shared->stage >= 0))
            return shared->value;
        MarkovCohortPlan::StageValues* memo = shared->memo.get();
        if (memo != nullptr && stage >= 0 && static_cast<size_t>(stage) < memo->known.size() && memo->known[stage]) {
            shared->stage = stage;
            shared->value = memo->values[stage];
            return shared->value;
        }
    }
    int formulaError = 0;
    const double value = EvaluateNodeFormula(slot.node, *slot.expression, role, &formulaError, false);
    if (formulaError != 0) {
        *failed = 1;
    } else if (shared != nullptr) {
        shared->stage = stage;
        shared->value = value;
        if (shared->memo != nullptr)
            Remember(*shared->memo, stage, value);
    }
    return value;
}

bool CohortRun::StateReward(const MarkovCohortPlan::State& state, int rewardKind, ValueTriple& out)
{
    const char* role = StateRewardRole(rewardKind);
    return CombineStateReward(args, error, out,
                              [&](int payoff) { return Evaluate(state.rewards[rewardKind][payoff], role, error); });
}

bool CohortRun::TakeStartingShares()
{
    if (!CheckBranches(plan.start, false))
        return false;
    for (const MarkovCohortPlan::State& state : plan.states)
        state.info->probability = state.node->branchProbability;
    return true;
}

void CohortRun::RewardSweep(int rewardKind)
{
    const int32_t savedTunnel = calc.tunnelIndex;
    ValueTriple reward;
    for (const MarkovCohortPlan::State& state : plan.states) {
        if (*error != 0)
            break;
        MarkovInfo* info = state.info;
        const double share = info->probability;
        info->reward = ValueTriple();
        if (!Holds(share))
            continue;
        calc.tunnelIndex = state.tunnel;
        if (!StateReward(state, rewardKind, reward))
            break;
        AddScaled(info->reward, reward, share);
        Add(calc.stage, info->reward);
        Add(state.node->triple, info->reward);
    }
    calc.tunnelIndex = savedTunnel;
}

bool CohortRun::EvaluateBranches(const MarkovCohortPlan::Check& check)
{
    if (!check.direct) {
        int formulaError = 0;
        return EvaluateBranchProbabilities(check.node, &formulaError) == nullptr && formulaError == 0;
    }
    int failed = 0;
    double remaining = 1.0;
    TreeNode* complement = nullptr;
    const MarkovCohortPlan::Branch* branches = plan.branches.data() + check.firstBranch;
    for (uint32_t b = 0; b < check.branchCount; ++b) {
        const MarkovCohortPlan::Branch& branch = branches[b];
        if (branch.formula < 0) {
            complement = branch.child;
            continue;
        }
        branch.child->branchProbability = Evaluate(branch.formula, "probability", &failed);
        remaining -= branch.child->branchProbability;
        if (failed != 0)
            return false;
    }
    if (complement != nullptr)
        complement->branchProbability = remaining;
    return true;
}

// A node whose branch probabilities fail a check is handed to the probability verification, which
// evaluates it again and reports the problem with its own message.
bool CohortRun::BranchesValid(const MarkovCohortPlan::Check& check)
{
    TreeNode* node = check.node;
    if (node->kind == LabelNode)
        return node->childCount < 2;
    if (!EvaluateBranches(check)) {
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
    return MagnitudeAtMost(sum - 1.0, kProbabilityTolerance);
}

bool CohortRun::CheckBranches(const MarkovCohortPlan::Check& check, bool nameStage)
{
    const uint8_t rolledBack = document->RolledBack;
    document->RolledBack = 0;
    formulaReported = false;
    const bool valid = BranchesValid(check);
    if (!valid && !formulaReported) {
        zString context("_stage = ");
        AppendInt(context, calc.stageCounter);
        VerifyProbabilities(document, 0, check.node, nameStage ? context.Text() : nullptr, 1);
    }
    document->RolledBack = rolledBack;
    return valid;
}

bool CohortRun::EvaluateStageProbabilities()
{
    const int32_t savedTunnel = calc.tunnelIndex;
    bool valid = true;
    for (const MarkovCohortPlan::State& state : plan.states) {
        if (!Holds(state.info->probability))
            continue;
        calc.tunnelIndex = state.tunnel;
        const MarkovCohortPlan::Check* checks = plan.checks.data() + state.firstCheck;
        for (uint32_t c = 0; c < state.checkCount && valid; ++c)
            valid = CheckBranches(checks[c], true);
        if (!valid)
            break;
    }
    calc.tunnelIndex = savedTunnel;
    return valid;
}

void CohortRun::Cycle()
{
    for (const MarkovCohortPlan::State& state : plan.states)
        state.info->nextProbability = 0.0;
    const int32_t savedTunnel = calc.tunnelIndex;
    for (const MarkovCohortPlan::State& state : plan.states) {
        if (*error != 0)
            break;
        const double share = state.info->probability;
        if (!Holds(share))
            continue;
        calc.tunnelIndex = state.tunnel;
        const MarkovCohortPlan::Exit* exits = plan.exits.data() + state.firstExit;
        for (uint32_t e = 0; e < state.exitCount && *error == 0; ++e)
            TransitionStep(exits[e], state.node, share);
    }
    calc.tunnelIndex = savedTunnel;
}

// The share of the state's cohort that reaches the terminal: the product of the branch probabilities
// under chance nodes on the path, zero when a logic node on it selects another branch.
void CohortRun::TransitionStep(const MarkovCohortPlan::Exit& exit, TreeNode* state, double stateShare)
{
    double reach = 1.0;
    const MarkovCohortPlan::PathStep* steps = plan.steps.data() + exit.firstStep;
    for (uint32_t s = 0; s < exit.stepCount && reach != 0.0; ++s) {
        const MarkovCohortPlan::PathStep& step = steps[s];
        if (step.logicParent == nullptr)
            reach *= step.node->branchProbability;
        else if (SelectLogicBranch(step.logicParent, error, false) != step.node)
            reach = 0.0;
    }
    const double moved = reach * stateShare;
    exit.targetInfo->nextProbability += moved;
    if (!Holds(moved) || !exit.transitionRewards)
        return;
    ValueTriple reward;
    if (!SumTransitionRewards(exit.terminal, state, args, error, reward))
        return;
    AddScaled(exit.target->triple, reward, moved);
    AddScaled(exit.targetInfo->reward, reward, moved);
    AddScaled(calc.stage, reward, moved);
    AddScaled(calc.total, reward, moved);
}

void CohortRun::Advance()
{
    for (const MarkovCohortPlan::State& state : plan.states)
        state.info->probability = state.info->nextProbability;
}

}  // namespace

void RunMarkovCohort(TreeNode* markov, int* error, MarkovStageRecorder* recorder, const MarkovRunArgs& args,
                     ValueTriple& total)
{
    if (*error != 0)
        return;
    TreeDocument* window = markov->document;
    if (recorder == nullptr)
        recorder = window->CurrentMarkovRecorder;
    MarkovStatus status(markov);
    if (!PrepareMarkovRun(markov, error))
        return;
    CalcState& calc = window->CalcStateRecord;
    CohortRun run(markov, error, args);
    const uint8_t savedRolledBack = window->RolledBack;
    bool stopped = !run.TakeStartingShares();
    if (!stopped) {
        run.RewardSweep(InitialReward);
        calc.previousStage = calc.stage;
        Add(calc.total, calc.stage);
    }
    bool terminated = false;
    while (!stopped && !terminated && *error == 0) {
        if (!run.EvaluateStageProbabilities()) {
            stopped = true;
            break;
        }
        window->RolledBack = 1;
        run.Cycle();
        if (recorder != nullptr)
            recorder->AddStageRow();
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
        if (recorder != nullptr)
            recorder->AddStageRow();
    }
    total = calc.total;
    FinishMarkovRun(markov);
}

double EvaluateMarkovNode(TreeNode* markov, int* error, int payoffIndex, MarkovStageRecorder* recorder)
{
    MarkovRunArgs args;
    args.valuePayoff = payoffIndex;
    ValueTriple total;
    RunMarkovCohort(markov, error, recorder, args, total);
    return total.value;
}

double MarkovCohortValue(TreeNode* markov, int* error, int payoffIndex)
{
    return EvaluateMarkovNode(markov, error, payoffIndex, nullptr);
}

double MarkovCostEffectivenessValue(TreeNode* markov, int* error)
{
    TreeDocument* window = markov->document;
    MarkovRunArgs args;
    args.costEffectiveness = 1;
    args.costPayoff = window->CostPayoffIndex();
    args.valuePayoff = window->CalcPrefs.CEEffPayoff;
    RunMarkovCohort(markov, error, nullptr, args, markov->triple);
    return markov->triple.value;
}
