#pragma once
// What a tree node carries for Markov modelling: termination conditions (on a Markov node), rewards and the
// tunnel count (on a state), transition rewards and the jump target (inside a state's subtree), and the
// run-time shares and rewards of the cohort engine. Owned by its node; absent on nodes that never had
// Markov settings. The node's accessors and setters (TreeNode::GetMarkovRewardText and the rest) create it
// on demand.

#include "foundation/ValueTriple.h"
#include "formula/Expression.h"
#include "foundation/zString.h"

#include <cstdint>

struct TreeNode;

// The reward kinds of a state, in their stored order.
enum MarkovRewardKind : int { InitialReward = 0, IncrementalReward = 1, FinalReward = 2 };

constexpr int kMarkovPayoffCount = 4;

struct MarkovInfo {
    MarkovInfo() = default;
    MarkovInfo(const MarkovInfo&) = delete;
    MarkovInfo& operator=(const MarkovInfo&) = delete;

    // Copies every expression (text and parse tree), the numbers and the jump name; the run-time pointer
    // to the jump node is not copied.
    void Assign(const MarkovInfo& source);
    // The reward expression of kind 0 to 2 for payoff 0 to 3, else null.
    Expression* Reward(int rewardKind, int payoffIndex);
    // The run-time shares and reward back to zero.
    void ClearRunValues();

    Expression termination[kMarkovPayoffCount];
    Expression sharedTermination;  // used in cost-effectiveness mode, one for all payoffs
    Expression initialReward[kMarkovPayoffCount];
    Expression incrementalReward[kMarkovPayoffCount];
    Expression finalReward[kMarkovPayoffCount];
    Expression transitionReward[kMarkovPayoffCount];
    double probability = 0.0;      // share of the cohort in this state in the current cycle
    double nextProbability = 0.0;  // share arriving for the next cycle
    ValueTriple reward;            // reward credited to this state in the latest step
    // On a state: extra tunnel cycles (> 0 makes a tunnel state); on an expanded tunnel copy: minus its
    // 1-based copy number.
    int16_t tunnelCount = 0;
    // On a terminal: 1-based index of the target state; 0 unresolved; -1 never resolved.
    int16_t jumpIndex = -1;
    TreeNode* jumpNode = nullptr;  // set only while a run is prepared
    zString jumpName;              // the target state's text, or "=" and a Markov binding's user name
};

// The default termination condition: for a payoff index >= 0 the reward test, for a negative index (the
// cost-effectiveness condition) the effectiveness test.
void DefaultMarkovTermination(zString& text, int payoffIndex);
