#include "dialogs/MarkovValueWindows.h"

#include "framework/dialog/EditCtrl.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "treewin/TreeValueActions.h"
#include "treewin/TreeWindow.h"

#include <string>

namespace {

int CurrentPage(const TreeWindow* tree)
{
    return tree->Document().CalcPrefs.CurrentPayoff;
}

} // namespace

MarkovTerminationWindow::MarkovTerminationWindow(TreeWindow* tree, const NodeChildList& nodes)
    : NodeValueWindow(tree, kTemplateId, true, nodes, "***markovTerm"), page(CurrentPage(tree))
{
    SetIconId(32018);
    PlaceAt(0.4, 0.5);
    SetCaption(": Markov Termination");
    ShowNodeLabel();
    edit = BindEdit(kConditionEdit);
    if (edit == nullptr || Nodes().Count() == 0)
        return;
    zString text;
    if (tree->Document().CalcPrefs.CalcMethod == 1)
        Nodes().At(0)->GetMarkovSharedTermination(text);
    else
        Nodes().At(0)->GetMarkovTerminationText(text, page);
    edit->SetText(text);
    FocusWhole(edit);
}

bool MarkovTerminationWindow::Apply(bool)
{
    const zString text = edit != nullptr ? edit->GetText() : zString();
    if (!Parses(text, edit, "termination condition") || Nodes().Count() == 0)
        return false;
    TreeNode* node = Nodes().At(0);
    zString texts[4];
    zString shared;
    for (int i = 0; i < 4; ++i)
        node->GetMarkovTerminationText(texts[i], i);
    node->GetMarkovSharedTermination(shared);
    if (Tree()->Document().CalcPrefs.CalcMethod == 1)
        shared = text;
    else
        texts[page] = text;
    const char* pointers[4] = {texts[0].Text(), texts[1].Text(), texts[2].Text(), texts[3].Text()};
    Store(new TreeMarkovTerminationAction(Tree(), node, pointers, shared.Text()));
    return true;
}

MarkovRewardsWindow::MarkovRewardsWindow(TreeWindow* tree, const NodeChildList& nodes)
    : NodeValueWindow(tree, kTemplateId, true, nodes, "***markovRewards"), page(CurrentPage(tree))
{
    SetIconId(32019);
    PlaceAt(0.4, 0.5);
    SetCaption(": Markov State Info");
    ShowNodeLabel();
    for (int kind = 0; kind < 3; ++kind)
        for (int payoff = 0; payoff < 4; ++payoff) {
            bool found = false;
            for (int i = 0; i < Nodes().Count(); ++i) {
                zString text;
                Nodes().At(i)->GetMarkovRewardText(kind, text, payoff);
                if (text.IsEmpty())
                    continue;
                if (found && !(rewards[kind][payoff] == text)) {
                    rewards[kind][payoff].Clear();
                    break;
                }
                rewards[kind][payoff] = text;
                found = true;
            }
        }
    for (int kind = 0; kind < 3; ++kind) {
        edits[kind] = BindEdit(kFirstRewardEdit + kind);
        if (edits[kind] != nullptr)
            edits[kind]->SetText(rewards[kind][page]);
    }
    FocusWhole(edits[0]);
}

bool MarkovRewardsWindow::Apply(bool)
{
    static const char* const names[3] = {"initial reward", "incremental reward", "final reward"};
    for (int kind = 0; kind < 3; ++kind) {
        const zString text = edits[kind] != nullptr ? edits[kind]->GetText() : zString();
        if (!Parses(text, edits[kind], names[kind]))
            return false;
        rewards[kind][page] = text;
    }
    const char* pointers[3][4];
    for (int kind = 0; kind < 3; ++kind)
        for (int payoff = 0; payoff < 4; ++payoff)
            pointers[kind][payoff] = rewards[kind][payoff].Text();
    const MarkovInfo* info = Nodes().Count() == 1 ? Nodes().At(0)->markovInfo.get() : nullptr;
    Store(new TreeMarkovStateInfoAction(Tree(), Nodes(), info != nullptr ? info->tunnelCount : 0, pointers));
    return true;
}

MarkovTollWindow::MarkovTollWindow(TreeWindow* tree, const NodeChildList& nodes)
    : PayoffEditsWindow(tree, kTemplateId, false, nodes, "***markovToll")
{
    SetIconId(32020);
    PlaceAt(0.4, 0.5);
    SetCaption(": Markov Transition Rewards");
    ShowNodeLabel();
    BuildEdits(true);
}

void MarkovTollWindow::NodeText(TreeNode* node, int payoff, zString& out) const
{
    node->GetMarkovTransitionReward(out, payoff);
}

zString MarkovTollWindow::Label(int payoff) const
{
    const TreeDocument& document = Tree()->Document();
    const int method = document.CalcPrefs.CalcMethod;
    if (method == 1 || method == 2) {
        if (payoff == document.CostPayoffIndex())
            return zString("&Cost:");
        if (payoff == (method == 1 ? document.CalcPrefs.CEEffPayoff : document.CalcPrefs.BCBenefitPayoff))
            return zString(method == 1 ? "&Effect:" : "&Benefit:");
    }
    return zString(("Transition Rwd &" + std::to_string(payoff + 1) + ":").c_str());
}

UndoAction* MarkovTollWindow::MakeAction(const char* const texts[4], const bool active[4])
{
    return new TreeMarkovTransitionRewardsAction(Tree(), Nodes(), texts, active);
}
