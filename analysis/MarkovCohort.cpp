// The cohort evaluator of a Markov node.

#include "analysis/MarkovCohort.h"

#include "analysis/MarkovCohortPlan.h"
#include "analysis/MarkovCohortSteps.h"
#include "analysis/ProbabilityVerification.h"
#include "formula/DistributionList.h"
#include "formula/Expression.h"
#include "formula/DistributionRecord.h"
#include "foundation/NumericHelpers.h"
#include "formula/NameResolution.h"
#include "foundation/StringHelpers.h"
#include "analysis/RollBack.h"
#include "model/MarkovInfo.h"
#include "model/NodeFormula.h"
#include "model/TreeNode.h"
#include "model/TreeDocument.h"
#include "model/TreeWalks.h"

#include <algorithm>
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

// The share of a state's cohort that follows a plain path: the product of its branches' probabilities.
double PlainReach(const double* probabilities, const MarkovCohortPlan::PathStep* path, uint32_t count)
{
    double reach = 1.0;
    for (uint32_t k = 0; k < count && reach != 0.0; ++k)
        reach *= probabilities[path[k].branch];
    return reach;
}

// Stages beyond are not kept from run to run.
constexpr int32_t kMaxRememberedStage = 1 << 14;

// The kept values hold for the tables as they are now.
bool Current(const MarkovCohortPlan::StageValues& memo)
{
    return !memo.readsTables || (memo.tableResolution == ResolutionGenerations::Tables() &&
                                 memo.tableContent == ResolutionGenerations::TableContents());
}

// resolution and content: the tables' generations when the evaluation began (a lookup may load its table).
void Remember(MarkovCohortPlan::StageValues& memo, int32_t stage, double value, uint32_t resolution,
              uint32_t content)
{
    if (stage < 0 || stage >= kMaxRememberedStage)
        return;
    if (memo.readsTables && (memo.tableResolution != resolution || memo.tableContent != content)) {
        std::fill(memo.known.begin(), memo.known.end(), 0);
        memo.tableResolution = resolution;
        memo.tableContent = content;
    }
    const size_t at = static_cast<size_t>(stage);
    if (at >= memo.known.size()) {
        memo.known.resize(at + 1, 0);
        memo.values.resize(at + 1, 0.0);
    }
    memo.values[at] = value;
    memo.known[at] = 1;
}

// Spare plans kept beyond this many go, the longest unused first.
constexpr size_t kMaxSparePlans = 16;
// Nodes whose jumps are known beyond this many are forgotten, the longest known first.
constexpr size_t kMaxUnchangedJumps = 16;

// What Markov runs keep on a document: spare plans, and while a MarkovRunReuse lives whole plans and the
// Markov nodes whose jumps are resolved.
struct PlanReuse : KeptAnalysisWork {
    std::vector<std::unique_ptr<MarkovCohortPlan>> spare;
    int depth = 0;
    std::vector<std::unique_ptr<MarkovCohortPlan>> kept;
    std::vector<const TreeNode*> resolvedJumps;
    // Nodes whose jumps runs outside a scope resolved, with the revision they resolved them at, the latest
    // last.
    std::vector<std::pair<const TreeNode*, CalculationRevision>> unchangedJumps;

    void SubtreeLeaving(const TreeNode* top) override
    {
        if (spare.empty() && kept.empty() && resolvedJumps.empty() && unchangedJumps.empty())
            return;
        ForEachInSubtree(top, [this](const TreeNode* node) {
            auto builtFor = [node](const std::unique_ptr<MarkovCohortPlan>& plan) { return plan->BuiltFor() == node; };
            spare.erase(std::remove_if(spare.begin(), spare.end(), builtFor), spare.end());
            kept.erase(std::remove_if(kept.begin(), kept.end(), builtFor), kept.end());
            resolvedJumps.erase(std::remove(resolvedJumps.begin(), resolvedJumps.end(), node), resolvedJumps.end());
            unchangedJumps.erase(std::remove_if(unchangedJumps.begin(), unchangedJumps.end(),
                                                [node](const auto& known) { return known.first == node; }),
                                 unchangedJumps.end());
        });
    }
};

PlanReuse& Reuse(TreeDocument& document)
{
    return document.Runs.Get<PlanReuse>(RunContext::MarkovPlans);
}

// A kept plan that serves the run as it is, restarted; null when there is none.
std::unique_ptr<MarkovCohortPlan> TakeKeptPlan(const TreeNode* markov, const MarkovRunArgs& args, bool samplesFixed)
{
    auto& kept = Reuse(*markov->document).kept;
    for (auto it = kept.begin(); it != kept.end(); ++it) {
        if ((*it)->Serves(markov, args, samplesFixed)) {
            std::unique_ptr<MarkovCohortPlan> plan = std::move(*it);
            kept.erase(it);
            plan->Restart();
            return plan;
        }
    }
    return nullptr;
}

// A plan for the run: a kept one that serves it as it is, else the spare one last built for the node, as it is
// when the document has not changed since its last run, else built now (its formula sharing likely holds
// again).
std::unique_ptr<MarkovCohortPlan> TakePlan(TreeNode* markov, const MarkovRunArgs& args, bool samplesFixed)
{
    std::unique_ptr<MarkovCohortPlan> plan = TakeKeptPlan(markov, args, samplesFixed);
    if (plan != nullptr)
        return plan;
    auto& spare = Reuse(*markov->document).spare;
    for (size_t i = spare.size(); i-- > 0 && plan == nullptr;) {
        if (spare[i]->BuiltFor() == markov) {
            plan = std::move(spare[i]);
            spare.erase(spare.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    if (plan == nullptr)
        plan = std::make_unique<MarkovCohortPlan>();
    if (plan->ServesUnchanged(markov, args, samplesFixed, markov->document->Revision())) {
        plan->Restart();
        return plan;
    }
    plan->Build(markov, args);
    return plan;
}

void KeepSpare(PlanReuse& reuse, std::unique_ptr<MarkovCohortPlan> plan)
{
    auto& spare = reuse.spare;
    if (spare.size() >= kMaxSparePlans)
        spare.erase(spare.begin());
    spare.push_back(std::move(plan));
}

// Walks that found the plans built for them stale this many times in a row go without one: each walk changes
// what the plans depend on.
constexpr int32_t kMaxWalkBuildsUnused = 2;

// A plan for an individual walk over the prepared node: a kept one, else the node's spare one while the
// document is as at its last run, else one built now. None when the node has tunnel states (each run makes
// their copies anew, so no plan would serve the next walk), or when walks keep finding their plans stale.
std::unique_ptr<MarkovCohortPlan> TakeWalkPlan(TreeNode* markov, const MarkovRunArgs& args, bool samplesFixed)
{
    std::unique_ptr<MarkovCohortPlan> plan = TakeKeptPlan(markov, args, samplesFixed);
    if (plan != nullptr) {
        plan->walkBuildsUnused = 0;
        return plan;
    }
    for (int i = 0; i < markov->childCount; ++i) {
        const MarkovInfo* info = markov->GetChild(i)->markovInfo.get();
        if (info != nullptr && info->tunnelCount != 0)
            return nullptr;
    }
    PlanReuse& reuse = Reuse(*markov->document);
    auto& spare = reuse.spare;
    for (size_t i = spare.size(); i-- > 0 && plan == nullptr;) {
        if (spare[i]->BuiltFor() == markov) {
            plan = std::move(spare[i]);
            spare.erase(spare.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    if (plan != nullptr && plan->ServesUnchanged(markov, args, samplesFixed, markov->document->Revision())) {
        plan->walkBuildsUnused = 0;
        plan->Restart();
        return plan;
    }
    if (plan != nullptr && plan->walkBuildsUnused >= kMaxWalkBuildsUnused) {
        KeepSpare(reuse, std::move(plan));
        return nullptr;
    }
    if (plan == nullptr)
        plan = std::make_unique<MarkovCohortPlan>();
    const int32_t builds = plan->walkBuildsUnused + 1;
    plan->Build(markov, args);
    plan->walkBuildsUnused = builds;
    return plan;
}

void ReturnPlan(std::unique_ptr<MarkovCohortPlan> plan, const TreeNode* markov, const MarkovRunArgs& args,
                bool samplesFixed)
{
    plan->RunEnded(markov->document->Revision());
    PlanReuse& reuse = Reuse(*markov->document);
    if (reuse.depth > 0 && plan->Serves(markov, args, samplesFixed)) {
        reuse.kept.push_back(std::move(plan));
        return;
    }
    KeepSpare(reuse, std::move(plan));
}

class CohortRun {
public:
    CohortRun(TreeNode* markov, RunFault* error, const MarkovRunArgs& args)
        : markov(markov), document(markov->document), calc(document->CalcStateRecord), error(error), args(args),
          samplesFixed(calc.resample != 0)
    {
    }
    ~CohortRun() { ReturnPlan(std::move(owned), markov, args, samplesFixed); }

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
    // The termination test after a cycle.
    bool Terminates();
    // Writes the shares and rewards to the states for those who read them there.
    void Publish() const { plan.Publish(); }

private:
    // The value of a formula of the plan (0 for none); a shared one is evaluated once per stage. An
    // evaluation sees "_tunnel" of the given number. A formula error is reported and sets *failed.
    double Evaluate(int32_t formula, int32_t tunnel, const char* role, RunFault* failed)
    {
        if (formula < 0)
            return 0.0;
        if (const double* known = KnownValue(plan.formulas[formula].shared))
            return *known;
        calc.tunnelIndex = tunnel;
        return EvaluateAnew(formula, role, failed);
    }
    // The value of the stage (or run) in the shared slot, or null when it is not known yet.
    const double* KnownValue(int32_t shared) const
    {
        if (shared < 0)
            return nullptr;
        const MarkovCohortPlan::SharedValue& value = plan.shared[shared];
        return value.stage == calc.stageCounter || (value.wholeRun && value.stage >= 0) ? &value.value : nullptr;
    }
    double EvaluateAnew(int32_t formula, const char* role, RunFault* failed);
    // The branch probabilities of the checked node onto its children; false on a formula error (shown).
    bool EvaluateBranches(const MarkovCohortPlan::Check& check);
    bool BranchesValid(const MarkovCohortPlan::Check& check);
    // Evaluates and checks the node's branch probabilities, reporting a failure through the probability
    // verification (naming the stage when asked) unless the formula reported it.
    bool CheckBranches(const MarkovCohortPlan::Check& check, bool nameStage);
    void TransitionStep(const MarkovCohortPlan::Exit& exit, TreeNode* state, double stateShare);
    // The probabilities of the check's branches become those of the alike one.
    void CopyBranches(const MarkovCohortPlan::Check& from, const MarkovCohortPlan::Check& to);

    TreeNode* markov;
    TreeDocument* document;
    CalcState& calc;
    RunFault* error;
    MarkovRunArgs args;
    bool samplesFixed;
    // Plans of ended runs keep their storage for the next: runs start often, and may nest.
    std::unique_ptr<MarkovCohortPlan> owned = TakePlan(markov, args, samplesFixed);
    MarkovCohortPlan& plan = *owned;
    bool formulaReported = false;
};

double CohortRun::EvaluateAnew(int32_t formula, const char* role, RunFault* failed)
{
    const MarkovCohortPlan::Formula& slot = plan.formulas[formula];
    MarkovCohortPlan::SharedValue* shared = slot.shared >= 0 ? &plan.shared[slot.shared] : nullptr;
    const int32_t stage = calc.stageCounter;
    if (shared != nullptr) {
        MarkovCohortPlan::StageValues* memo = shared->memo.get();
        if (memo != nullptr && Current(*memo) && stage >= 0 && static_cast<size_t>(stage) < memo->known.size() &&
            memo->known[stage]) {
            shared->stage = stage;
            shared->value = memo->values[stage];
            return shared->value;
        }
    }
    const uint32_t resolution = ResolutionGenerations::Tables();
    const uint32_t content = ResolutionGenerations::TableContents();
    RunFault formulaError;
    const double value = EvaluateNodeFormula(slot.node, *slot.expression, role, &formulaError, false);
    if (formulaError) {
        failed->Set(formulaError.Code());
    } else if (shared != nullptr) {
        shared->stage = stage;
        shared->value = value;
        if (shared->memo != nullptr)
            Remember(*shared->memo, stage, value, resolution, content);
    }
    return value;
}

bool CohortRun::TakeStartingShares()
{
    if (!CheckBranches(plan.start, false))
        return false;
    for (size_t s = 0; s < plan.states.size(); ++s)
        plan.shares[s] = plan.states[s].node->branchProbability;
    return true;
}

void CohortRun::RewardSweep(int rewardKind)
{
    const int32_t savedTunnel = calc.tunnelIndex;
    const char* role = StateRewardRole(rewardKind);
    const MarkovCohortPlan::State* states = plan.states.data();
    const double* shares = plan.shares.data();
    MarkovCohortPlan::StateTotals* totals = plan.totals.data();
    const size_t count = plan.states.size();
    // Summed here and stored once: no formula reads the stage's running rewards.
    ValueTriple stage = calc.stage;
    for (size_t s = 0; s < count && !*error; ++s) {
        const double share = shares[s];
        if (!Holds(share)) {
            totals[s].reward = ValueTriple();
            continue;
        }
        const MarkovCohortPlan::State& state = states[s];
        const int32_t* formulas = state.rewards[rewardKind];
        ValueTriple reward;
        if (!CombineStateReward(args, error, reward,
                                [&](int payoff) { return Evaluate(formulas[payoff], state.tunnel, role, error); })) {
            totals[s].reward = ValueTriple();
            break;
        }
        // Built in locals and stored whole: reading back parts of what was just stored stalls.
        ValueTriple credited;
        if (args.costEffectiveness)
            AddScaled(credited, reward, share);
        else
            credited.value = reward.value * share;  // cost and effectiveness stay zero
        totals[s].reward = credited;
        Add(stage, credited);
        Add(totals[s].triple, credited);
    }
    calc.stage = stage;
    calc.tunnelIndex = savedTunnel;
}

bool CohortRun::EvaluateBranches(const MarkovCohortPlan::Check& check)
{
    if (!check.direct) {
        RunFault formulaError;
        if (EvaluateBranchProbabilities(check.node, &formulaError) != nullptr || formulaError)
            return false;
        for (uint32_t b = 0; b < check.branchCount; ++b)
            plan.probabilities[check.firstBranch + b] = plan.branches[check.firstBranch + b].child->branchProbability;
        return true;
    }
    RunFault failed;
    double remaining = 1.0;
    TreeNode* complement = nullptr;
    uint32_t complementAt = 0;
    const MarkovCohortPlan::Branch* branches = plan.branches.data() + check.firstBranch;
    for (uint32_t b = 0; b < check.branchCount; ++b) {
        const MarkovCohortPlan::Branch& branch = branches[b];
        if (branch.formula < 0) {
            complement = branch.child;
            complementAt = check.firstBranch + b;
            continue;
        }
        const double* known = KnownValue(branch.shared);
        const double p = known != nullptr ? *known : EvaluateAnew(branch.formula, "probability", &failed);
        branch.child->branchProbability = p;
        plan.probabilities[check.firstBranch + b] = p;
        remaining -= p;
        if (failed)
            return false;
    }
    if (complement != nullptr) {
        complement->branchProbability = remaining;
        plan.probabilities[complementAt] = remaining;
    }
    return true;
}

// A node whose branch probabilities fail a check is handed to the probability verification, which
// evaluates it again and reports the problem with its own message.
bool CohortRun::BranchesValid(const MarkovCohortPlan::Check& check)
{
    if (check.kind == LabelNode)
        return check.node->childCount < 2;
    if (!EvaluateBranches(check)) {
        formulaReported = true;  // the formula's own message has been shown
        return false;
    }
    if (check.kind == LogicNode)
        return true;
    double sum = 0.0;
    const double* probabilities = plan.probabilities.data() + check.firstBranch;
    for (uint32_t b = 0; b < check.branchCount; ++b) {
        const double p = probabilities[b];
        if (!(p >= -kProbabilityTolerance && p <= 1.0 + kProbabilityTolerance))
            return false;
        sum += p;
    }
    return MagnitudeAtMost(sum - 1.0, kProbabilityTolerance);
}

bool CohortRun::CheckBranches(const MarkovCohortPlan::Check& check, bool nameStage)
{
    const RolledBackValues rolledBack = document->RolledBack;
    document->RolledBack = RolledBackValues::None;
    formulaReported = false;
    const bool valid = BranchesValid(check);
    if (!valid && !formulaReported) {
        plan.Publish();  // the verification skips the states the cohort has left
        zString context("_stage = ");
        AppendInt(context, calc.stageCounter);
        VerifyProbabilities(document, 0, check.node, nameStage ? context.Text() : nullptr, 1);
    }
    document->RolledBack = rolledBack;
    return valid;
}

void CohortRun::CopyBranches(const MarkovCohortPlan::Check& from, const MarkovCohortPlan::Check& to)
{
    const double* source = plan.probabilities.data() + from.firstBranch;
    double* target = plan.probabilities.data() + to.firstBranch;
    const MarkovCohortPlan::Branch* branches = plan.branches.data() + to.firstBranch;
    for (uint32_t b = 0; b < to.branchCount; ++b) {
        target[b] = source[b];
        branches[b].child->branchProbability = source[b];
    }
}

bool CohortRun::EvaluateStageProbabilities()
{
    const int32_t savedTunnel = calc.tunnelIndex;
    bool valid = true;
    for (size_t s = 0; s < plan.states.size(); ++s) {
        if (!Holds(plan.shares[s]))
            continue;
        const MarkovCohortPlan::State& state = plan.states[s];
        for (uint32_t c = state.firstCheck; c < state.firstCheck + state.checkCount && valid; ++c) {
            const MarkovCohortPlan::Check& check = plan.checks[c];
            // Alike checks take the values found valid for the first at this stage.
            if (check.sameAs >= 0 && plan.checkedStage[check.sameAs] == calc.stageCounter) {
                CopyBranches(plan.checks[check.sameAs], check);
                continue;
            }
            calc.tunnelIndex = state.tunnel;
            valid = CheckBranches(check, true);
            if (valid)
                plan.checkedStage[c] = calc.stageCounter;
        }
        if (!valid)
            break;
    }
    calc.tunnelIndex = savedTunnel;
    return valid;
}

void CohortRun::Cycle()
{
    const size_t count = plan.states.size();
    double* next = plan.NextShares();
    const MarkovCohortPlan::State* states = plan.states.data();
    const double* shares = plan.shares.data();
    const double* probabilities = plan.probabilities.data();
    const MarkovCohortPlan::PathStep* steps = plan.steps.data();
    if (!plan.inflows.empty()) {
        const MarkovCohortPlan::Inflow* inflows = plan.inflows.data();
        const uint32_t* start = plan.inflowStart.data();
        for (size_t t = 0; t < count; ++t) {
            double sum = 0.0;
            for (uint32_t i = start[t]; i < start[t + 1]; ++i) {
                const MarkovCohortPlan::Inflow& inflow = inflows[i];
                const double share = shares[inflow.fromState];
                if (!Holds(share))
                    continue;
                if (inflow.branch >= 0)
                    sum += probabilities[inflow.branch] * share;
                else
                    sum += PlainReach(probabilities, steps + inflow.firstStep, inflow.stepCount) * share;
            }
            next[t] = sum;
        }
        return;
    }
    std::fill(next, next + count, 0.0);
    const int32_t savedTunnel = calc.tunnelIndex;
    for (size_t s = 0; s < count && !*error; ++s) {
        const double share = shares[s];
        if (!Holds(share))
            continue;
        const MarkovCohortPlan::State& state = states[s];
        calc.tunnelIndex = state.tunnel;
        const MarkovCohortPlan::Exit* exits = plan.exits.data() + state.firstExit;
        for (uint32_t e = 0; e < state.exitCount && !*error; ++e) {
            const MarkovCohortPlan::Exit& exit = exits[e];
            if (!exit.plain)
                TransitionStep(exit, state.node, share);
            else if (exit.onlyBranch >= 0)
                next[exit.targetState] += probabilities[exit.onlyBranch] * share;
            else
                next[exit.targetState] += PlainReach(probabilities, steps + exit.firstStep, exit.stepCount) * share;
        }
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
            reach *= plan.probabilities[step.branch];
        else if (SelectLogicBranch(step.logicParent, error, false) != step.node)
            reach = 0.0;
    }
    const double moved = reach * stateShare;
    plan.nextShares[exit.targetState] += moved;
    if (!Holds(moved) || !exit.transitionRewards)
        return;
    ValueTriple reward;
    if (!SumTransitionRewards(exit.terminal, state, args, error, reward))
        return;
    MarkovCohortPlan::StateTotals& target = plan.totals[exit.targetState];
    AddScaled(target.triple, reward, moved);
    AddScaled(target.reward, reward, moved);
    AddScaled(calc.stage, reward, moved);
    AddScaled(calc.total, reward, moved);
}

void CohortRun::Advance()
{
    plan.Advance();
}

bool CohortRun::Terminates()
{
    const double value = Evaluate(plan.termination, calc.tunnelIndex, "termination condition", error);
    return MarkovTerminatesOn(value, calc, static_cast<bool>(*error));
}

}  // namespace

void RunMarkovCohort(TreeNode* markov, RunFault* error, MarkovStageRecorder* recorder, const MarkovRunArgs& args,
                     ValueTriple& total)
{
    if (*error)
        return;
    TreeDocument* document = markov->document;
    if (recorder == nullptr)
        recorder = document->CurrentMarkovRecorder;
    MarkovStatus status(markov);
    if (!PrepareMarkovRun(markov, error))
        return;
    CalcState& calc = document->CalcStateRecord;
    CohortRun run(markov, error, args);
    const RolledBackValues savedRolledBack = document->RolledBack;
    bool stopped = !run.TakeStartingShares();
    if (!stopped) {
        run.RewardSweep(InitialReward);
        calc.previousStage = calc.stage;
        Add(calc.total, calc.stage);
    }
    bool terminated = false;
    while (!stopped && !terminated && !*error) {
        if (!run.EvaluateStageProbabilities()) {
            stopped = true;
            break;
        }
        document->RolledBack = RolledBackValues::Computed;
        run.Cycle();
        if (recorder != nullptr) {
            run.Publish();
            recorder->AddStageRow();
        }
        run.Advance();
        calc.previousStage = calc.stage;
        calc.stage = ValueTriple();
        ++calc.stageCounter;
        if (status.Update(calc.stageCounter)) {
            stopped = true;
        } else {
            terminated = run.Terminates();
            if (!terminated && !*error) {
                run.RewardSweep(IncrementalReward);
                Add(calc.total, calc.stage);
            }
        }
        document->RolledBack = savedRolledBack;
        if (stopped)
            break;
    }
    document->RolledBack = savedRolledBack;
    if (stopped) {
        error->Set(OutcomeCode::Cancelled);
    } else {
        if (!*error) {
            calc.previousStage = calc.stage;
            calc.stage = ValueTriple();
            run.RewardSweep(FinalReward);
            Add(calc.total, calc.stage);
        }
        if (args.costEffectiveness)
            calc.total.ComputeRatio();
        if (recorder != nullptr) {
            run.Publish();
            recorder->AddStageRow();
        }
    }
    run.Publish();
    total = calc.total;
    FinishMarkovRun(markov);
}

MarkovRunReuse::MarkovRunReuse(TreeDocument& document) : document(document)
{
    ++Reuse(document).depth;
}

MarkovRunReuse::~MarkovRunReuse()
{
    PlanReuse& reuse = Reuse(document);
    if (--reuse.depth > 0)
        return;
    for (auto& plan : reuse.kept)
        KeepSpare(reuse, std::move(plan));
    reuse.kept.clear();
    reuse.resolvedJumps.clear();
}

bool MarkovRunReuse::JumpsResolved(const TreeNode* markov)
{
    const PlanReuse& reuse = Reuse(*markov->document);
    for (const auto& [node, revision] : reuse.unchangedJumps) {
        if (node == markov && revision == markov->document->Revision())
            return true;
    }
    return std::find(reuse.resolvedJumps.begin(), reuse.resolvedJumps.end(), markov) != reuse.resolvedJumps.end();
}

void MarkovRunReuse::KeepJumps(const TreeNode* markov)
{
    PlanReuse& reuse = Reuse(*markov->document);
    if (JumpsResolved(markov))
        return;
    if (reuse.depth > 0) {
        reuse.resolvedJumps.push_back(markov);
        return;
    }
    auto& unchanged = reuse.unchangedJumps;
    unchanged.erase(std::remove_if(unchanged.begin(), unchanged.end(),
                                   [markov](const auto& known) { return known.first == markov; }),
                    unchanged.end());
    if (unchanged.size() >= kMaxUnchangedJumps)
        unchanged.erase(unchanged.begin());
    unchanged.emplace_back(markov, markov->document->Revision());
}

MarkovWalkValues::MarkovWalkValues(TreeNode* markov, const MarkovRunArgs& args)
    : document(markov->document), markov(markov), args(args), samplesFixed(document->CalcStateRecord.resample != 0)
{
    const DistributionList& distributions = document->Distributions;
    for (int i = 0; i < distributions.Count(); ++i)
        if (samplesFixed && distributions.RecordAt(i)->resampleEachStage)
            return;
    plan = TakeWalkPlan(markov, args, samplesFixed);
    if (plan == nullptr)
        return;
    previous = document->KnownValues;
    document->KnownValues = this;
}

MarkovWalkValues::~MarkovWalkValues()
{
    if (plan == nullptr)
        return;
    document->KnownValues = previous;
    ReturnPlan(std::move(plan), markov, args, samplesFixed);
}

bool MarkovWalkValues::Find(const Expression& formula, double* value)
{
    // Only the walk's own evaluations are answered: with the trial's switch as it is, of formulas as built.
    const int32_t slot = plan->SharedSlot(&formula);
    if (slot < 0 || (document->CalcStateRecord.resample != 0) != samplesFixed || !formula.HasParseTree())
        return false;
    MarkovCohortPlan::SharedValue& shared = plan->shared[slot];
    const int32_t stage = document->CalcStateRecord.stageCounter;
    if (shared.stage != stage && !(shared.wholeRun && shared.stage >= 0)) {
        const MarkovCohortPlan::StageValues* memo = shared.memo.get();
        if (memo == nullptr || !Current(*memo) || stage < 0 || static_cast<size_t>(stage) >= memo->known.size() ||
            !memo->known[stage]) {
            // The tables as the evaluation that follows begins.
            resolution = ResolutionGenerations::Tables();
            content = ResolutionGenerations::TableContents();
            return false;
        }
        shared.stage = stage;
        shared.value = memo->values[stage];
    }
    *value = shared.value;
    return true;
}

void MarkovWalkValues::Remember(const Expression& formula, double value)
{
    const int32_t slot = plan->SharedSlot(&formula);
    if (slot < 0 || (document->CalcStateRecord.resample != 0) != samplesFixed)
        return;
    MarkovCohortPlan::SharedValue& shared = plan->shared[slot];
    shared.stage = document->CalcStateRecord.stageCounter;
    shared.value = value;
    if (shared.memo != nullptr)
        ::Remember(*shared.memo, shared.stage, value, resolution, content);
}

double EvaluateMarkovNode(TreeNode* markov, RunFault* error, int payoffIndex, MarkovStageRecorder* recorder)
{
    MarkovRunArgs args;
    args.valuePayoff = payoffIndex;
    ValueTriple total;
    RunMarkovCohort(markov, error, recorder, args, total);
    return total.value;
}

double MarkovCohortValue(TreeNode* markov, RunFault* error, int payoffIndex)
{
    return EvaluateMarkovNode(markov, error, payoffIndex, nullptr);
}

double MarkovCostEffectivenessValue(TreeNode* markov, RunFault* error)
{
    TreeDocument* document = markov->document;
    MarkovRunArgs args;
    args.costEffectiveness = 1;
    args.costPayoff = document->CostPayoffIndex();
    args.valuePayoff = document->CalcPrefs.CEEffPayoff;
    RunMarkovCohort(markov, error, nullptr, args, markov->triple);
    return markov->triple.value;
}
