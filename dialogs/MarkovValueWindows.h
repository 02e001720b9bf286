#pragma once
// The node-bound windows of Markov settings. Termination and State Information edit the page of the
// tree's current payoff (the shared condition under Cost-Effectiveness); Transition Rewards edits one
// reward per payoff.

#include "dialogs/PayoffEditsWindow.h"

// Markov Termination (template 31110): the termination condition of one Markov node.
class MarkovTerminationWindow : public NodeValueWindow {
public:
    enum : unsigned { kTemplateId = 31110, kConditionEdit = 31011 };

    MarkovTerminationWindow(TreeWindow* tree, const NodeChildList& nodes);
    bool Apply(bool commit) override;

private:
    int page;
    EditCtrl* edit = nullptr;
};

// Markov State Information (template 31111): the initial, incremental and final rewards of the selected
// Markov states.
class MarkovRewardsWindow : public NodeValueWindow {
public:
    enum : unsigned { kTemplateId = 31111, kFirstRewardEdit = 31011 };

    MarkovRewardsWindow(TreeWindow* tree, const NodeChildList& nodes);
    bool Apply(bool commit) override;

private:
    int page;
    // The texts the nodes share, by reward kind and payoff.
    zString rewards[3][4];
    EditCtrl* edits[3] = {nullptr, nullptr, nullptr};
};

// Markov Transition Rewards (template 31114): the transition rewards of the selected nodes.
class MarkovTollWindow : public PayoffEditsWindow {
public:
    enum : unsigned { kTemplateId = 31114 };

    MarkovTollWindow(TreeWindow* tree, const NodeChildList& nodes);

protected:
    void NodeText(TreeNode* node, int payoff, zString& out) const override;
    zString Label(int payoff) const override;
    UndoAction* MakeAction(const char* const texts[4], const bool active[4]) override;
    const char* FormulaName() const override { return "transition reward"; }
};
