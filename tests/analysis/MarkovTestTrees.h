#pragma once
// Small Markov models built in a headless tree window for the tests.

#include "model/MarkovInfo.h"
#include "tests/model/TreeBuilder.h"

class MarkovTestTree {
public:
    // A decision root with one Markov node "Cohort" that stops when the condition is true.
    explicit MarkovTestTree(const char* termination = "_stage >= 10")
    {
        markov = tree.Add(tree.Root(), MarkovNode, "Cohort");
        markov->SetMarkovTerminationText(termination, 0);
    }

    TreeDocument& Document() { return tree.Document(); }

    // A state with its initial probability and its initial, incremental and final rewards of payoff 0.
    TreeNode* State(int kind, const char* name, const char* probability, const char* initial = "0",
                    const char* incremental = "0", const char* final = "0")
    {
        TreeNode* state = tree.Add(markov, kind, name, probability);
        SetRewards(state, initial, incremental, final, 0);
        return state;
    }

    static void SetRewards(TreeNode* state, const char* initial, const char* incremental, const char* final, int payoff)
    {
        state->SetMarkovRewardText(InitialReward, initial, payoff);
        state->SetMarkovRewardText(IncrementalReward, incremental, payoff);
        state->SetMarkovRewardText(FinalReward, final, payoff);
    }

    // A terminal below a state that jumps to the named state.
    TreeNode* Jump(TreeNode* parent, const char* name, const char* probability, const char* target)
    {
        TreeNode* terminal = tree.Add(parent, TerminalNode, name, probability);
        terminal->SetMarkovJumpState(target, false);
        return terminal;
    }

    // Well: stays with 1 - q, dies with q; Dead absorbing. Incremental reward 1 in Well.
    void WellDead(const char* deathProbability, const char* wellInitial = "0", const char* wellFinal = "0",
                  const char* wellIncremental = "1")
    {
        well = State(ChanceNode, "Well", "1", wellInitial, wellIncremental, wellFinal);
        stay = Jump(well, "stay", "#", "Well");
        die = Jump(well, "die", deathProbability, "Dead");
        dead = State(TerminalNode, "Dead", "0");
    }

    TreeBuilder tree;
    TreeNode* markov = nullptr;
    TreeNode* well = nullptr;
    TreeNode* stay = nullptr;
    TreeNode* die = nullptr;
    TreeNode* dead = nullptr;
};

// A Markov node "Cohort" under the root: Well (stays or dies with 0.5), Dead.
inline TreeNode* AddCohort(TreeDocument& document)
{
    TreeNode* cohort = document.AddChild(document.Root, MarkovNode, "Cohort");
    cohort->SetMarkovTerminationText("_stage >= 2", 0);
    TreeNode* well = document.AddChild(cohort, ChanceNode, "Well", "1");
    TreeNode* dead = document.AddChild(cohort, TerminalNode, "Dead", "0");
    for (TreeNode* state : {well, dead})
        for (int kind : {InitialReward, IncrementalReward, FinalReward})
            state->SetMarkovRewardText(kind, "0", 0);
    document.AddChild(well, TerminalNode, "stay", "#")->SetMarkovJumpState("Well", false);
    document.AddChild(well, TerminalNode, "die", "0.5")->SetMarkovJumpState("Dead", false);
    return cohort;
}
