// The individual evaluator of a Markov node: one individual walks from state to state by random branch
// choices, as Monte Carlo trials evaluate a tree.

#include "analysis/MarkovCohort.h"

#include "analysis/MarkovCohortSteps.h"
#include "foundation/Host.h"
#include "formula/DistributionList.h"
#include "model/DocumentVariableOps.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "analysis/TreeQueries.h"
#include "model/TreeDocument.h"

namespace {

void Add(ValueTriple& to, const ValueTriple& from)
{
    to.cost += from.cost;
    to.effectiveness += from.effectiveness;
    to.value += from.value;
}

// Braced bindings of a node are applied on the walk when the document has flagged variables.
bool ApplyBracedBindings(TreeNode* node, const CalcState& calc, RunFault* error)
{
    if (calc.flaggedVariables == 0 || !node->LastBindingIsBraced())
        return true;
    if (node->EvaluateBracedBindings())
        return true;
    error->Set(OutcomeCode::FormulaFailed);
    return false;
}

// One cycle's walk from the state down to a terminal; the transition rewards on the path go to the stage.
TreeNode* WalkCycle(TreeNode* state, const MarkovRunArgs& args, CalcState& calc, RunFault* error)
{
    const int32_t savedTunnel = calc.tunnelIndex;
    calc.tunnelIndex = TunnelNumber(state);
    TreeNode* node = state;
    while (!*error && ApplyBracedBindings(node, calc, error) && !node->IsTerminal()) {
        const int index = RandomBranchIndex(node, error);
        if (*error)
            break;
        node = node->GetChild(index);
    }
    ValueTriple reward;
    if (!*error && SumTransitionRewards(node, state, args, error, reward))
        Add(calc.stage, reward);
    calc.tunnelIndex = savedTunnel;
    return !*error ? node->markovInfo->jumpNode : nullptr;
}

bool CreditReward(TreeNode* state, int rewardKind, const MarkovRunArgs& args, CalcState& calc, RunFault* error)
{
    ValueTriple reward;
    if (!EvaluateStateReward(state, rewardKind, args, error, reward))
        return false;
    Add(calc.stage, reward);
    return true;
}

// Draws the per-cycle distributions of the document; perCycle is cleared when there are none. False (with
// *error set) when a draw failed.
bool ResampleCycleDistributions(TreeDocument& document, bool& perCycle, RunFault* error)
{
    RunFault failed;
    perCycle = document.Distributions.ResampleEachStage(&failed) > 0;
    if (!failed)
        return true;
    error->Set(failed.Code());
    return false;
}

}  // namespace

// The individual's walk has the same cycle limit as the cohort, so that a condition that never becomes
// true cannot hold a trial for ever.
double SimulateMarkovIndividual(TreeNode* markov, RunFault* error)
{
    if (*error)
        return 0.0;
    TreeDocument* document = markov->document;
    const TreeCalcPrefs& prefs = document->CalcPrefs;
    MarkovRunArgs args;
    args.costEffectiveness = prefs.CalcMethod == CostEffectivenessMethod ? 1 : 0;
    args.costPayoff = document->CostPayoffIndex();
    args.valuePayoff = args.costEffectiveness ? prefs.CEEffPayoff : prefs.CurrentPayoff;
    const int terminationPayoff = prefs.CalcMethod == PayoffMethod ? prefs.CurrentPayoff : 0;
    if (!PrepareMarkovRun(markov, error))
        return 0.0;
    MarkovWalkValues known(markov, args);
    CalcState& calc = document->CalcStateRecord;
    calc.flaggedVariables = ListFlaggedVariables(*document, nullptr) > 0 ? 1 : 0;
    const int first = RandomBranchIndex(markov, error);
    calc.currentState = !*error ? markov->GetChild(first) : nullptr;
    // While a trial samples, the distributions marked for it draw anew each cycle; the scan stops once it
    // finds none. The resample switch itself stays as the trial set it: DistSamp reads it to give the
    // trial's draws rather than expected values.
    bool resamplePerCycle = calc.resample != 0;
    bool stopped = false;
    if (calc.currentState != nullptr && CreditReward(calc.currentState, InitialReward, args, calc, error)) {
        calc.previousStage = calc.stage;
        Add(calc.total, calc.stage);
        calc.stage = ValueTriple();
        bool terminated = false;
        while (!terminated && !*error) {
            calc.currentState = WalkCycle(calc.currentState, args, calc, error);
            if (calc.currentState == nullptr)
                break;
            calc.previousStage = calc.stage;
            Add(calc.total, calc.stage);
            calc.stage = ValueTriple();
            ++calc.stageCounter;
            if (resamplePerCycle && !ResampleCycleDistributions(*document, resamplePerCycle, error))
                break;
            terminated = prefs.MarkovMonteFastTerm != 0 && calc.currentState->IsTerminal();
            if (!terminated)
                terminated = MarkovTerminates(markov, args.costEffectiveness != 0, terminationPayoff, calc, error);
            if (!terminated && !*error)
                CreditReward(calc.currentState, IncrementalReward, args, calc, error);
            if (TheHost().EscapePressed()) {
                stopped = true;
                break;
            }
        }
    }
    double result = 0.0;
    if (stopped || *error || calc.currentState == nullptr) {
        error->Set(OutcomeCode::Cancelled);
    } else {
        calc.previousStage = calc.stage;
        calc.stage = ValueTriple();
        if (CreditReward(calc.currentState, FinalReward, args, calc, error)) {
            Add(calc.total, calc.stage);
            markov->triple = calc.total;
            if (args.costEffectiveness)
                markov->triple.ComputeRatio();
            result = markov->triple.value;
        }
    }
    FinishMarkovRun(markov);
    return result;
}
