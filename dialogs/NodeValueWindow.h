#pragma once
// The base of the modeless windows that edit a formula-valued property of tree nodes (definitions, payoffs,
// Markov settings): a window bound to the tree that holds the nodes it edits and a key naming what it
// edits, so that one item of one node is edited in one window only.

#include "foundation/zString.h"
#include "model/NodeChildList.h"
#include "treewin/TreeChildWindow.h"

class NodeValueWindow : public TreeChildWindow {
public:
    // Built from the template for a copy of the node list; a counted window raises the tree's count of
    // bound windows while it lives.
    NodeValueWindow(TreeWindow* tree, unsigned templateId, bool counted, const NodeChildList& nodes,
                    const char* key);

    // The key and the text are equal after both are upper-cased.
    bool MatchesKey(const char* text) const;
    // The key matches, and the node is one of the window's (a null node: the window has none).
    bool Matches(const TreeNode* node, const char* key) const override;
    // The window closes with any of its nodes.
    bool DependsOn(const void* object) const override;

    const NodeChildList& Nodes() const { return nodes; }
    const zString& Key() const { return key; }

private:
    NodeChildList nodes{4, false};
    zString key;
};

// Change Payoff (template 31100): the payoffs of the selected terminal nodes.
class EnterPayoffWindow : public NodeValueWindow {
public:
    EnterPayoffWindow(TreeWindow* tree, const NodeChildList& nodes)
        : NodeValueWindow(tree, 31100, false, nodes, "***enterPay") {}
};

// Define Variable (template 31109): the definition of one variable at the nodes, keyed by its name.
class DefineVariableWindow : public NodeValueWindow {
public:
    DefineVariableWindow(TreeWindow* tree, const NodeChildList& nodes, const char* name)
        : NodeValueWindow(tree, 31109, false, nodes, name) {}
};

// Markov Termination (template 31110): the termination condition of one Markov node.
class MarkovTerminationWindow : public NodeValueWindow {
public:
    MarkovTerminationWindow(TreeWindow* tree, const NodeChildList& nodes)
        : NodeValueWindow(tree, 31110, true, nodes, "***markovTerm") {}
};

// Markov State Information (template 31111): the rewards of the selected Markov states.
class MarkovRewardsWindow : public NodeValueWindow {
public:
    MarkovRewardsWindow(TreeWindow* tree, const NodeChildList& nodes)
        : NodeValueWindow(tree, 31111, true, nodes, "***markovRewards") {}
};

// Markov Transition Rewards (template 31114): the transition rewards of the selected nodes.
class MarkovTollWindow : public NodeValueWindow {
public:
    MarkovTollWindow(TreeWindow* tree, const NodeChildList& nodes)
        : NodeValueWindow(tree, 31114, false, nodes, "***markovToll") {}
};
