#include "treewin/MarkovValueWindows.h"

#include "widgets/RangeValidator.h"
#include "framework/dialog/ComboBoxCtrl.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/FormattedEdit.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "treewin/TreeValueActions.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <string>

namespace MarkovStateInfoIds = Ctl::MarkovStateInfo;
namespace MarkovTerminationIds = Ctl::MarkovTermination;

namespace {

// The payoffs the Markov rewards count under the tree's method: "2", "1 / 2" (cost / effectiveness),
// "2 - 1" (benefit - cost) or "(All)".
std::string ActiveRewardsText(const TreeDocument& document)
{
    const TreeCalcPrefs& prefs = document.CalcPrefs;
    const auto number = [](int payoff) { return std::to_string(payoff + 1); };
    switch (prefs.CalcMethod) {
    case PayoffMethod:
        return number(prefs.CurrentPayoff);
    case CostEffectivenessMethod:
        return number(prefs.CECostPayoff) + " / " + number(prefs.CEEffPayoff);
    case BenefitCostMethod:
        return number(prefs.BCBenefitPayoff) + " - " + number(prefs.BCCostPayoff);
    default:
        return "(All)";
    }
}

zString EditText(const EditCtrl* edit)
{
    return edit != nullptr ? edit->GetText() : zString();
}

bool Modified(const EditCtrl* edit)
{
    return edit != nullptr && SendMessageA(edit->Handle(), EM_GETMODIFY, 0, 0) != 0;
}

} // namespace

MarkovPagedWindow::MarkovPagedWindow(TreeWindow* tree, unsigned templateId, const NodeChildList& nodes,
                                     const char* key)
    : NodeValueWindow(tree, templateId, true, nodes, key)
{
    combo = ComboBoxCtrl::FromTemplate(this, MarkovTerminationIds::TestCombo);
    if (Handle() != nullptr)
        SetItemText(MarkovTerminationIds::ActiveMarkovRewardsText, ActiveRewardsText(tree->Document()).c_str());
}

void MarkovPagedWindow::BuildPages(bool sharedPage)
{
    shared = sharedPage;
    page = shared ? 0 : Tree()->Document().CalcPrefs.CurrentPayoff;
    if (combo != nullptr) {
        static const char* const numbers[] = {"1", "2", "3", "4", nullptr};
        static const char* const single[] = {"C/E", nullptr};
        combo->AddStrings(shared ? single : numbers);
        combo->SetCurSel(page);
    }
    ShowPage(page, page);
}

long MarkovPagedWindow::OnCommandId(unsigned id, unsigned code, HWND control)
{
    if (id != MarkovTerminationIds::TestCombo || code != CBN_SELCHANGE || combo == nullptr)
        return NodeValueWindow::OnCommandId(id, code, control);
    const int chosen = combo->GetCurSel();
    if (chosen < 0 || chosen == page)
        return 1;
    // A page with a syntax error is not left.
    if (!Apply(false)) {
        combo->SetCurSel(page);
        return 1;
    }
    // Showing the new page clears the edits' modified flags.
    keptTyped = keptTyped || NodeValueWindow::Edited();
    KeepPage(page);
    const int left = page;
    page = chosen;
    ShowPage(page, left);
    return 1;
}

bool MarkovPagedWindow::Edited() const
{
    return keptTyped || NodeValueWindow::Edited();
}

bool MarkovPagedWindow::EndEdit()
{
    if (!NodeValueWindow::EndEdit())
        return false;
    keptTyped = false;
    return true;
}

MarkovTerminationWindow::MarkovTerminationWindow(TreeWindow* tree, const NodeChildList& nodes)
    : MarkovPagedWindow(tree, DialogRes::MarkovTermination, nodes, "***markovTerm")
{
    SetIconId(32018);
    PlaceAt(0.4, 0.5);
    SetCaption(": Markov Termination");
    ShowNodeLabel();
    edit = BindEdit(MarkovTerminationIds::TerminateIfEdit);
    HookFormulaKeys(edit);
    if (Nodes().Count() > 0) {
        for (int i = 0; i < 4; ++i)
            Nodes().At(0)->GetMarkovTerminationText(texts[i], i);
        Nodes().At(0)->GetMarkovSharedTermination(sharedText);
    }
    BuildPages(tree->Document().CalcPrefs.CalcMethod == CostEffectivenessMethod);
}

zString MarkovTerminationWindow::DefaultCondition() const
{
    zString text;
    DefaultMarkovTermination(text, SharedPage() ? -1 : 0);
    return text;
}

void MarkovTerminationWindow::KeepPage(int shown)
{
    (SharedPage() ? sharedText : texts[shown]) = EditText(edit);
}

void MarkovTerminationWindow::ShowPage(int shown, int left)
{
    // The page's own text, else the node's, else the page just left, else the default condition.
    zString text = SharedPage() ? sharedText : texts[shown];
    if (text.IsEmpty() && !SharedPage() && Nodes().Count() > 0)
        Nodes().At(0)->GetMarkovTerminationText(text, shown);
    if (text.IsEmpty() && !SharedPage())
        text = texts[left];
    if (text.IsEmpty())
        text = DefaultCondition();
    if (edit != nullptr)
        edit->SetText(text);
    FocusWhole(edit);
}

long MarkovTerminationWindow::OnCommandId(unsigned id, unsigned code, HWND control)
{
    if (id != MarkovTerminationIds::UseDefault)
        return MarkovPagedWindow::OnCommandId(id, code, control);
    // Chosen by the person, the default is taken as typed.
    if (edit != nullptr)
        edit->SetTypedText(DefaultCondition().Text());
    FocusWhole(edit);
    return 1;
}

bool MarkovTerminationWindow::Apply(bool commit)
{
    if (!Parses(EditText(edit), edit, "termination condition") || Nodes().Count() == 0)
        return false;
    if (!commit)
        return true;
    KeepPage(page);
    const char* pointers[4] = {texts[0].Text(), texts[1].Text(), texts[2].Text(), texts[3].Text()};
    Store(new TreeMarkovTerminationAction(Tree(), Nodes().At(0), pointers, sharedText.Text()));
    return true;
}

void MarkovTerminationWindow::RenameVariable(const char* oldName, const char* newName)
{
    RenameInEdit(edit, oldName, newName);
}

MarkovRewardsWindow::MarkovRewardsWindow(TreeWindow* tree, const NodeChildList& nodes)
    : MarkovPagedWindow(tree, DialogRes::MarkovStateInfo, nodes, "***markovRewards")
{
    SetIconId(32019);
    PlaceAt(0.4, 0.5);
    SetCaption(": Markov State Info");
    ShowNodeLabel();
    for (int kind = 0; kind < 3; ++kind)
        for (int payoff = 0; payoff < 4; ++payoff) {
            bool found = false;
            for (int i = 0; i < Nodes().Count() && !mixed[kind][payoff]; ++i) {
                zString text;
                Nodes().At(i)->GetMarkovRewardText(kind, text, payoff);
                if (text.IsEmpty())
                    continue;
                mixed[kind][payoff] = found && !(rewards[kind][payoff] == text);
                rewards[kind][payoff] = mixed[kind][payoff] ? zString() : text;
                found = true;
            }
        }
    // One state shows its tunnel; a count of 0 is no tunnel, shown as 2 states.
    const bool one = Nodes().Count() == 1;
    const MarkovInfo* info = one ? Nodes().At(0)->markovInfo.get() : nullptr;
    const int count = info != nullptr ? info->tunnelCount + 1 : 0;
    const bool tunnel = count > 1;
    stateCount = tunnel ? count : 2;
    states = IntegerEdit::FromTemplate(this, MarkovStateInfoIds::StatesEdit, new IntegerRangeValidator(2, 1000, 1), 0,
                                       &stateCount);
    if (Handle() != nullptr) {
        CheckItem(MarkovStateInfoIds::TunnelState, tunnel);
        EnableItem(MarkovStateInfoIds::TunnelState, one);
        EnableItem(MarkovStateInfoIds::StatesEdit, tunnel);
    }
    for (int kind = 0; kind < 3; ++kind) {
        edits[kind] = BindEdit(MarkovStateInfoIds::InitEdit + kind);
        HookFormulaKeys(edits[kind]);
    }
    BuildPages(false);
    tunnelTaken = tunnel;
    statesTaken = EditText(states);
}

void MarkovRewardsWindow::KeepPage(int shown)
{
    for (int kind = 0; kind < 3; ++kind) {
        const zString text = EditText(edits[kind]);
        touched[kind][shown] = touched[kind][shown] || Modified(edits[kind]) || !(text == rewards[kind][shown]);
        rewards[kind][shown] = text;
    }
}

bool MarkovRewardsWindow::Edited() const
{
    if (MarkovPagedWindow::Edited())
        return true;
    const bool tunnel = IsItemChecked(MarkovStateInfoIds::TunnelState);
    return tunnel != tunnelTaken || (tunnel && !(EditText(states) == statesTaken));
}

void MarkovRewardsWindow::ShowPage(int shown, int)
{
    for (int kind = 0; kind < 3; ++kind)
        if (edits[kind] != nullptr)
            edits[kind]->SetText(rewards[kind][shown]);
    FocusWhole(edits[0]);
}

long MarkovRewardsWindow::OnCommandId(unsigned id, unsigned code, HWND control)
{
    if (id == MarkovStateInfoIds::TunnelState)
        EnableItem(MarkovStateInfoIds::StatesEdit, IsItemChecked(MarkovStateInfoIds::TunnelState));
    return MarkovPagedWindow::OnCommandId(id, code, control);
}

bool MarkovRewardsWindow::Apply(bool commit)
{
    static const char* const names[3] = {"initial reward", "incremental reward", "final reward"};
    for (int kind = 0; kind < 3; ++kind)
        if (!Parses(EditText(edits[kind]), edits[kind], names[kind]))
            return false;
    if (!commit)
        return true;
    const bool tunnel = IsItemChecked(MarkovStateInfoIds::TunnelState);
    if (tunnel && states != nullptr) {
        if (!states->Validate())
            return false;
        states->Store();
    }
    KeepPage(page);
    // A reward left empty only because the nodes differ keeps each node's own.
    const char* pointers[3][4];
    for (int kind = 0; kind < 3; ++kind)
        for (int payoff = 0; payoff < 4; ++payoff) {
            const bool kept = mixed[kind][payoff] && !touched[kind][payoff] && rewards[kind][payoff].IsEmpty();
            pointers[kind][payoff] = kept ? nullptr : rewards[kind][payoff].Text();
        }
    Store(new TreeMarkovStateInfoAction(Tree(), Nodes(), tunnel ? stateCount - 1 : 0, pointers));
    tunnelTaken = tunnel;
    statesTaken = EditText(states);
    return true;
}

void MarkovRewardsWindow::RenameVariable(const char* oldName, const char* newName)
{
    for (EditCtrl* edit : edits)
        RenameInEdit(edit, oldName, newName);
}

MarkovTollWindow::MarkovTollWindow(TreeWindow* tree, const NodeChildList& nodes)
    : PayoffEditsWindow(tree, DialogRes::MarkovTransitionRewards, false, nodes, "***markovToll")
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
    const CalcMethodKind method = document.CalcPrefs.CalcMethod;
    if (method == CostEffectivenessMethod || method == BenefitCostMethod) {
        if (payoff == document.CostPayoffIndex())
            return zString("&Cost:");
        const bool ce = method == CostEffectivenessMethod;
        if (payoff == (ce ? document.CalcPrefs.CEEffPayoff : document.CalcPrefs.BCBenefitPayoff))
            return zString(ce ? "&Effect:" : "&Benefit:");
    }
    return zString(("Transition Rwd &" + std::to_string(payoff + 1) + ":").c_str());
}

UndoAction* MarkovTollWindow::MakeAction(const char* const texts[4], const bool active[4])
{
    return new TreeMarkovTransitionRewardsAction(Tree(), Nodes(), texts, active);
}
