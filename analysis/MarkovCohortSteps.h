#pragma once
// The pieces both Markov evaluators are made of: state rewards, transition rewards along a path, the
// termination test and the status line with its Escape poll.

#include "analysis/MarkovCohort.h"

#include <cstdint>

class CalcState;

// The tunnel number of a state: 0 for an ordinary state, k for its k-th tunnel copy.
int TunnelNumber(const TreeNode* state);

// Reward of kind 0 initial, 1 incremental, 2 final of the state, not weighted, with "_tunnel" set for the
// state. An empty or missing reward is 0. False (error shown, state selected, *error set) on a formula
// error.
bool EvaluateStateReward(TreeNode* state, int rewardKind, const MarkovRunArgs& args, int* error, ValueTriple& out);
// Sum of the transition rewards of the nodes from the terminal up to the state (the state excluded); false
// when none of them has a reward. *error is set on a formula error.
bool SumTransitionRewards(TreeNode* terminal, TreeNode* state, const MarkovRunArgs& args, int* error,
                          ValueTriple& out);
// The termination condition (the shared one, else that of the payoff) is true, or the cycle limit is
// reached. *error on a formula error.
bool MarkovTerminates(TreeNode* markov, bool shared, int payoffIndex, const CalcState& calc, int* error);

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
