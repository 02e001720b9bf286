#include "treewin/SelectNodesDialog.h"

#include "analysis/RollBack.h"
#include "widgets/RangeValidator.h"
#include "widgets/StatusMessage.h"
#include "dialogs/HookedDialog.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/FormattedEdit.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "framework/dialog/RadioGroup.h"
#include "model/DocVariable.h"
#include "foundation/StringHelpers.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace ProbabilityIds = Ctl::SelectByProbabilityPage;
namespace SelectNodesIds = Ctl::SelectNodes;
namespace Type = Ctl::SelectByTypePage;
namespace Place = Ctl::SelectByPositionPage;

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

// The dialog on the screen: the rule's category on the left, its page on the right.
class SelectNodesScreen : public HookedDialog {
public:
    SelectNodesScreen(SelectRule& rule, TreeWindow& tree) : HookedDialog(DialogRes::SelectNodes), rule(rule), tree(tree)
    {
        const bool anySelected = tree.Selection.Count() > 0;
        PlacePages(68, 6, 188, 114);
        for (unsigned id : {unsigned(SelectNodesIds::AddToSelection), unsigned(SelectNodesIds::SearchBranchesOf)}) {
            CheckBoxCtrl* check = CheckBoxCtrl::FromTemplate(
                this, id, id == SelectNodesIds::AddToSelection ? &rule.addToSelection : &rule.selectedOnly);
            if (!anySelected)
                check->Disable();
        }
        // The check box's text goes on beside it and is grey with it.
        if (!anySelected)
            EnableWindow(Control(SelectNodesIds::SelectedNodeOnlyText), FALSE);
        categories = ListBoxCtrl::FromTemplate(this, SelectNodesIds::SelectIfList);
        for (const char* entry : {"Node type is...", "Node name contains...", "Position in tree is...",
                                  "Variable defined...", "Probability value is..."})
            categories->AddChars(entry);
        categories->SetCurSel(0);
        categories->OnSelChange(this, &SelectNodesScreen::OnCategoryChange);
        ShowPage(kPages[0]);
    }

private:
    static constexpr int kPages[] = {SelectRule::NodeType, SelectRule::NameContains, SelectRule::Position,
                                     SelectRule::VariableDefined, SelectRule::ProbabilityValue};

    long OnCategoryChange(WindowEvent*)
    {
        const int index = categories->GetCurSel();
        if (index >= 0 && index < 5 && !ShowPage(kPages[index]))
            categories->SetCurSel(static_cast<int>(std::find(kPages, kPages + 5, PageId()) - kPages));
        if (categories->Handle() != nullptr)
            SetFocus(categories->Handle());
        return 1;
    }

    void BuildPage() override
    {
        rule.kind = PageId();
        switch (PageId()) {
        case SelectRule::NodeType:
            new RadioGroup(Page(), Type::Chance, Type::Label, &rule.nodeKind, 0);
            break;
        case SelectRule::Position:
            new RadioGroup(Page(), Place::RightmostNode, Place::MarkovTransitionNode, &rule.position, 0);
            break;
        case SelectRule::VariableDefined: {
            ListBoxCtrl* names =
                NotifyListCtrl::FromTemplateText(Page(), Ctl::SelectByVariablePage::VariableList, &rule.variable, 0);
            const DocVariableList& variables = tree.Document().Variables;
            for (int i = 0; i < variables.Count(); ++i)
                names->AddString(variables.At(i)->name);
            names->Load();
            if (names->GetCurSel() < 0)
                names->SetCurSel(0);
            break;
        }
        case SelectRule::ProbabilityValue: {
            ListBoxCtrl* operators =
                NotifyListCtrl::FromTemplateIndex(Page(), ProbabilityIds::ComparisonList, &rule.comparison, 0);
            for (const char* text : {"<", "<=", "=", "<>", ">=", ">"})
                operators->AddChars(text);
            operators->Load();
            RealEdit::FromTemplate(Page(), ProbabilityIds::TargetValueEdit, new RealRangeValidator(0.0, 1.0, 1), 0,
                                   &rule.target);
            break;
        }
        default:
            StringEdit::FromTemplate(Page(), ProbabilityIds::TargetValueEdit, nullptr, 0, &rule.name);
            break;
        }
    }

    SelectRule& rule;
    TreeWindow& tree;
    ListBoxCtrl* categories = nullptr;
};

} // namespace

void SelectNodesDialog::Run()
{
    int answer = IDCANCEL;
    if (HasPresenter()) {
        answer = Present();
    } else {
        SelectNodesScreen screen(rule, tree);
        answer = screen.RunModal() ? IDOK : IDCANCEL;
    }
    if (answer != IDOK)
        return;
    // The type page's buttons stand for kinds in their own order.
    static const int kinds[] = {ChanceNode, TerminalNode, DecisionNode, LogicNode, MarkovNode, LabelNode};
    if (rule.kind == SelectRule::NodeType)
        rule.nodeKind =
            rule.nodeKind >= Type::Chance && rule.nodeKind <= Type::Label ? kinds[rule.nodeKind - Type::Chance] : 0;
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
        RunFault error;
        const double p = BranchProbability(node, &error, true);
        return !error && Compare(rule.comparison, p, rule.target);
    }
    case SelectRule::NameContains: {
        zString text;
        node->GetDisplayText(text, true);
        // An empty text to look for is found in every text that is not empty.
        return rule.name.IsEmpty() ? !text.IsEmpty() : FindInText(text, rule.name.Text(), false, false, 0) > 0;
    }
    default: return false;
    }
}

int SelectNodesDialog::SelectMatching(const SelectRule& rule, TreeWindow& tree)
{
    const NodeChildList& selection = tree.Selection;
    NodeChildList matches(4, Ownership::Borrows);
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
        NodeChildList joined(4, Ownership::Borrows);
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
