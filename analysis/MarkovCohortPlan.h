#pragma once
// The shape of a prepared Markov node, flattened once per cohort run so that the cycles do not walk the
// subtrees again: for each state, the nodes whose branch probabilities are evaluated every stage and every
// way out of the state (terminal, target state and the path that decides its share). Built after the run is
// prepared, when tunnel copies exist and jump targets are resolved; the tree keeps its shape while the run
// lasts. Only the shape is kept: probabilities and rewards are read from the nodes each cycle.

#include "analysis/MarkovCohort.h"

#include <cstdint>
#include <vector>

struct MarkovInfo;

class MarkovCohortPlan {
public:
    // One node on the path from a terminal up to its state that scales the share reaching the terminal.
    struct PathStep {
        TreeNode* node;
        // Null for a branch of a chance node (the share is multiplied by its probability); otherwise the
        // logic node above, which passes the share on only along the branch it selects.
        TreeNode* logicParent;
    };

    struct Exit {
        TreeNode* terminal;
        TreeNode* target;
        MarkovInfo* targetInfo;
        uint32_t firstStep;
        uint32_t stepCount;
        // Some node on the path carries a transition reward of a payoff the run uses.
        bool transitionRewards;
    };

    struct State {
        TreeNode* node;
        MarkovInfo* info;
        int32_t tunnel;
        uint32_t firstCheck;
        uint32_t checkCount;
        uint32_t firstExit;
        uint32_t exitCount;
    };

    // The shape of every state of the prepared Markov node, subtrees in pre-order.
    void Build(TreeNode* markov, const MarkovRunArgs& args);

    std::vector<State> states;
    // Nodes of a state's subtree whose children's branch probabilities are checked each stage.
    std::vector<TreeNode*> checks;
    std::vector<Exit> exits;
    std::vector<PathStep> steps;

private:
    void AddExit(TreeNode* terminal, TreeNode* state, const MarkovRunArgs& args);
    std::vector<TreeNode*> pending;
};
