#include "dialogs/SelectNodesDialog.h"

#include "analysis/RollBack.h"
#include "app/StatusMessage.h"
#include "foundation/StringHelpers.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "treewin/TreeWindow.h"

#include <cmath>
#include <string>

namespace {

bool IsDecisionKind(int kind)
{
    return kind == DecisionNode || kind == ReversedDecisionNode;
}

bool HasChanceParent(const TreeNode* node)
{
    const int kind = node->parent != nullptr ? node->parent->kind : -1;
    return kind == ChanceNode || kind == MarkovNode || kind == LogicNode;
}

bool Compare(int comparison, double p, double t)
{
    switch (comparison) {
    case 0: return p < t;
    case 1: return p <= t;
    case 2: return std::fabs(p - t) < 1e-10;
    case 3: return p != t;
    case 4: return p >= t;
    case 5: return p > t;
    default: return false;
    }
}

struct Search {
    const SelectRule& rule;
    TreeWindow& tree;
    NodeChildList& matches;
};

} // namespace

SelectNodesDialog::SelectNodesDialog(TreeWindow& tree) : tree(tree)
{
    if (Present() != IDOK)
        return;
    // The type page's buttons stand for kinds in their own order.
    static const int kinds[] = {ChanceNode, TerminalNode, DecisionNode, LogicNode, MarkovNode, LabelNode};
    if (rule.kind == SelectRule::NodeType)
        rule.nodeKind = rule.nodeKind >= 2071 && rule.nodeKind <= 2076 ? kinds[rule.nodeKind - 2071] : 0;
    SelectMatching(rule, tree);
}

bool SelectNodesDialog::NodeMatches(const SelectRule& rule, TreeNode* node)
{
    switch (rule.kind) {
    case SelectRule::NodeType: return node->kind == rule.nodeKind;
    case SelectRule::Position:
        switch (rule.position) {
        case SelectRule::Rightmost: return node->childCount == 0;
        case SelectRule::DecisionStrategy: return node->parent != nullptr && IsDecisionKind(node->parent->kind);
        case SelectRule::ChanceOutcome: return HasChanceParent(node);
        case SelectRule::MarkovState: return node->parent != nullptr && node->parent->kind == MarkovNode;
        case SelectRule::MarkovTransition: return node->kind == TerminalNode && node->IsInMarkovSubtree();
        default: return false;
        }
    case SelectRule::VariableDefined: return node->FindBinding(rule.variable.Text(), false) != nullptr;
    case SelectRule::ProbabilityValue: {
        if (!HasChanceParent(node))
            return false;
        int error = 0;
        const double p = BranchProbability(node, &error, true);
        return error == 0 && Compare(rule.comparison, p, rule.target);
    }
    case SelectRule::NameContains: {
        zString text;
        node->GetDisplayText(text, true);
        // An empty text to look for is found in every text that is not empty.
        return rule.name.IsEmpty() ? !text.IsEmpty() : FindText(text, rule.name.Text(), false, false, 0) > 0;
    }
    default: return false;
    }
}

int SelectNodesDialog::SelectMatching(const SelectRule& rule, TreeWindow& tree)
{
    const NodeChildList& selection = tree.Document().Selection;
    NodeChildList matches(4, false);
    Search search{rule, tree, matches};
    const NodeVisitor visit = [](TreeNode* node, void* arg) {
        auto* s = static_cast<Search*>(arg);
        // Searching the selected subtrees counts only nodes that were not selected already.
        if (SelectNodesDialog::NodeMatches(s->rule, node) && !(s->rule.selectedOnly && s->tree.IsNodeSelected(node)))
            s->matches.Add(node);
    };
    if (rule.selectedOnly) {
        for (int i = 0; i < selection.Count(); ++i)
            WalkTreeWithSkip(selection.At(i), visit, &search, false);
    } else if (tree.Document().Root != nullptr) {
        WalkTreeWithSkip(tree.Document().Root, visit, &search, false);
    }
    const int found = matches.Count();
    if (rule.addToSelection) {
        NodeChildList joined(4, false);
        joined.AssignShallow(selection);
        for (int i = 0; i < matches.Count(); ++i)
            joined.Add(matches.At(i));
        tree.SelectNodes(joined);
    } else {
        tree.SelectNodes(matches);
    }
    ShowStatusMessage((std::to_string(found) + " new node(s) selected").c_str());
    return found;
}
