#pragma once
// Select Nodes (dialog 3100, "Se&lect If..."): the person picks one rule and fills it in; on OK every node
// of the tree, or of the selected nodes' subtrees, that satisfies the rule is selected and the count of newly
// selected nodes is shown in the status line. Scripts fill a rule themselves and apply it with
// SelectMatching.

#include "widgets/PresentedDialog.h"
#include "foundation/zString.h"

#include "CommandIds.h"

#include <cstdint>

class TreeWindow;
struct TreeNode;

struct SelectRule {
    // The rule kinds, by the id of the page that describes each.
    enum : int32_t {
        NodeType = DialogRes::SelectByTypePage,
        Position = DialogRes::SelectByPositionPage,
        VariableDefined = DialogRes::SelectByVariablePage,
        ProbabilityValue = DialogRes::SelectByProbabilityPage,
        NameContains = DialogRes::SelectByNamePage
    };
    // The positions, by the ids of their buttons.
    enum : int32_t {
        Rightmost = Ctl::SelectByPositionPage::RightmostNode,
        DecisionStrategy,
        ChanceOutcome,
        MarkovState,
        MarkovTransition
    };

    int32_t kind = NodeType;
    // Only the subtrees of the nodes selected now are searched.
    int32_t selectedOnly = 0;
    // The matches join the selection instead of replacing it.
    int32_t addToSelection = 0;
    // A node kind code; while the dialog runs, the chosen type button (Chance to Label).
    int32_t nodeKind = Ctl::SelectByTypePage::Terminal;
    int32_t position = Rightmost;
    // Index into "<", "<=", "=", "<>", ">=", ">".
    int32_t comparison = 0;
    zString variable;
    zString name;
    double target = 0.5;
};

class SelectNodesDialog : public PresentedDialog<SelectNodesDialog> {
public:

    explicit SelectNodesDialog(TreeWindow& tree) : tree(tree) {}
    // Runs the dialog over the tree and, on OK, applies the rule filled in.
    void Run();
    // Selects the nodes that satisfy the rule, whose node kind is a kind code; returns how many were not
    // selected before.
    static int SelectMatching(const SelectRule& rule, TreeWindow& tree);
    static bool NodeMatches(const SelectRule& rule, TreeNode* node);

    TreeWindow& tree;
    SelectRule rule;
};
