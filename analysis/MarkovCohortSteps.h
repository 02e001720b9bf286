#pragma once
// The pieces both Markov evaluators are made of: state rewards, transition rewards along a path, the
// termination test and the status line with its Escape poll.

#include "formula/RunOutcome.h"
#include "analysis/MarkovCohort.h"

#include <cstdint>

class CalcState;
class Expression;

// The tunnel number of a state: 0 for an ordinary state, k for its k-th tunnel copy.
int TunnelNumber(const TreeNode* state);

// The role under which a reward of kind 0 initial, 1 incremental, 2 final is evaluated.
const char* StateRewardRole(int rewardKind);
// A state's reward, not weighted: evaluate(0) gives the value payoff's reward and, in a cost-effectiveness
// run, evaluate(1) the cost payoff's (each 0 when missing). False when *error is set.
template <typename Evaluate>
bool CombineStateReward(const MarkovRunArgs& args, RunFault* error, ValueTriple& out, Evaluate evaluate)
{
    out = ValueTriple();
    if (args.costEffectiveness) {
        out.effectiveness = evaluate(0);
        if (!*error)
            out.cost = evaluate(1);
        out.ComputeRatio();
    } else {
        out.value = evaluate(0);
    }
    return !*error;
}
// Reward of kind 0 initial, 1 incremental, 2 final of the state, not weighted, with "_tunnel" set for the
// state. An empty or missing reward is 0. False (error shown, state selected, *error set) on a formula
// error.
bool EvaluateStateReward(TreeNode* state, int rewardKind, const MarkovRunArgs& args, RunFault* error, ValueTriple& out);
// Sum of the transition rewards of the nodes from the terminal up to the state (the state excluded); false
// when none of them has a reward. *error is set on a formula error.
bool SumTransitionRewards(TreeNode* terminal, TreeNode* state, const MarkovRunArgs& args, RunFault* error,
                          ValueTriple& out);
// The termination condition (the shared one, else that of the payoff) is true, or the cycle limit is
// reached. *error on a formula error.
bool MarkovTerminates(TreeNode* markov, bool shared, int payoffIndex, const CalcState& calc, RunFault* error);
// The condition that test evaluates (an empty one when the node has none).
Expression& MarkovTerminationCondition(TreeNode* markov, bool shared, int payoffIndex);
// The test on the condition's value, given the error of its evaluation.
bool MarkovTerminatesOn(double value, const CalcState& calc, bool failed);

// The status line "Markov EV at "<node>"; Stage n", shown at the start and refreshed at most every 501 ms;
// each refresh also asks for the Escape key.
class MarkovStatus {
public:
    explicit MarkovStatus(TreeNode* markov);
    ~MarkovStatus();
    MarkovStatus(const MarkovStatus&) = delete;
    MarkovStatus& operator=(const MarkovStatus&) = delete;

    // Refreshes when due; true when Escape was pressed.
    bool Update(int32_t stage);

private:
    void Show(int32_t stage);

    TreeNode* markov;
    uint32_t lastUpdate = 0;
    bool updated = false;
};
