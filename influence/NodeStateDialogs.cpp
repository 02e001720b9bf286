// The Outcomes (or Alternatives) dialog of a chance or decision node: the list of names, moved, renamed,
// deleted and added to, kept as one undo step.

#include "influence/NodePropertyDialogs.h"

#include "widgets/ProgramDialog.h"
#include "foundation/MessageBoxes.h"
#include "influence/InfluenceDiagramWindow.h"
#include "influence/NodePropertyActions.h"
#include "model/InfluenceDiagram.h"

#include "CommandIds.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace States = Ctl::EditNodeOutcomes;
namespace AddState = Ctl::AddOutcomes;

std::vector<std::string> StateNames(const InfluenceNodeRecord& node)
{
    std::vector<std::string> names;
    for (int i = 0; i < node.outcomeNames.Count(); ++i)
        names.emplace_back(node.outcomeNames.At(i)->Text());
    return names;
}

// The list shows the names, the one at the index selected (none below 0).
void ShowStates(ProgramDialog& dialog, const std::vector<std::string>& names, int selected)
{
    dialog.SendToItem(States::OutcomesList, LB_RESETCONTENT);
    for (const std::string& name : names)
        dialog.SendToItem(States::OutcomesList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    dialog.SendToItem(States::OutcomesList, LB_SETCURSEL, static_cast<WPARAM>(selected));
}

// "Add Outcomes" or "Add Alternatives": "&More" adds and goes on, "O&K" adds and closes; empty texts add
// nothing.
void AddStates(InfluenceNodeRecord& node, bool outcomes, std::vector<std::string>& names, ProgramDialog& list)
{
    ProgramDialog dialog(DialogRes::AddOutcomes);
    dialog.SetText(outcomes ? "Add Outcomes" : "Add Alternatives");
    // The prompt's mnemonic leads to the field; an ampersand of the name is shown as itself.
    std::string name;
    for (const char* c = node.name.Text(); c && *c; ++c)
        name += *c == '&' ? std::string("&&") : std::string(1, *c);
    const std::string prompt =
        std::string("Enter a new ") + (outcomes ? "ou&tcome" : "al&ternative") + " at node \"" + name + "\":";
    dialog.SetItemText(AddState::Prompt, prompt.c_str());
    const auto take = [&] {
        const zString text = dialog.ItemText(AddState::NameEdit);
        if (text.IsEmpty())
            return;
        names.emplace_back(text.Text());
        ShowStates(list, names, static_cast<int>(names.size()) - 1);
    };
    dialog.OnButton(AddState::More, [&] {
        take();
        dialog.SetItemText(AddState::NameEdit, "");
        dialog.SelectField(AddState::NameEdit);
    });
    dialog.OnButton(IDOK, [&] {
        take();
        dialog.EndModal();
    });
    dialog.SelectField(AddState::NameEdit);
    dialog.Run();
}

} // namespace

void EditNodeStates(InfluenceDiagramWindow& window, InfluenceNodeRecord& node)
{
    window.EndInPlaceEdit();
    const bool outcomes = node.kind == InfluenceKind::Chance;
    std::vector<std::string> names = StateNames(node);
    ProgramDialog dialog(DialogRes::EditNodeOutcomes);
    dialog.SetText(outcomes ? "Edit Node Outcomes" : "Edit Node Alternatives");
    dialog.SetItemText(States::OutcomesText, outcomes ? "Ou&tcomes:" : "Al&ternatives:");
    const auto selected = [&dialog] { return static_cast<int>(dialog.SendToItem(States::OutcomesList, LB_GETCURSEL)); };
    // The name field shows the selected item; moving is offered where the item can move.
    const auto follow = [&] {
        const int at = selected();
        const bool any = at >= 0 && at < static_cast<int>(names.size());
        dialog.SetItemText(States::NameEdit, any ? names[static_cast<size_t>(at)].c_str() : "");
        dialog.EnableItem(States::MoveUp, any && at > 0);
        dialog.EnableItem(States::MoveDown, any && at + 1 < static_cast<int>(names.size()));
        dialog.EnableItem(States::Delete, any);
        dialog.EnableItem(States::Rename, any);
    };
    const auto move = [&](int step) {
        const int at = selected();
        const int to = at + step;
        if (at < 0 || to < 0 || to >= static_cast<int>(names.size()))
            return;
        std::swap(names[static_cast<size_t>(at)], names[static_cast<size_t>(to)]);
        ShowStates(dialog, names, to);
        follow();
    };
    dialog.OnNotification(States::OutcomesList, LBN_SELCHANGE, follow);
    dialog.OnButton(States::MoveUp, [&] { move(-1); });
    dialog.OnButton(States::MoveDown, [&] { move(1); });
    dialog.OnButton(States::Rename, [&] {
        const int at = selected();
        const zString text = dialog.ItemText(States::NameEdit);
        if (at < 0 || at >= static_cast<int>(names.size()) || text.IsEmpty())
            return;
        names[static_cast<size_t>(at)] = text.Text();
        ShowStates(dialog, names, at);
        follow();
    });
    dialog.OnButton(States::Add, [&] {
        AddStates(node, outcomes, names, dialog);
        follow();
    });
    dialog.OnButton(States::Delete, [&] {
        const int at = selected();
        if (at < 0 || at >= static_cast<int>(names.size()) ||
            AskYesNo(nullptr, "Do you want to delete this item?", 0) != 1)
            return;
        names.erase(names.begin() + at);
        ShowStates(dialog, names, std::min(at, static_cast<int>(names.size()) - 1));
        follow();
    });
    ShowStates(dialog, names, names.empty() ? -1 : 0);
    follow();
    if (dialog.Run() != IDOK || names == StateNames(node))
        return;
    window.AddUndoAction(new NodeStatesAction(&window, &node, std::move(names)));
}
