#include "treewin/MarkovBindingsDialog.h"

#include "widgets/MenuButton.h"
#include "widgets/ProgramDialog.h"
#include "framework/dialog/FormattedEdit.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "framework/dialog/Menu.h"
#include "model/MarkovBinding.h"
#include "model/TreeNode.h"

#include "CommandIds.h"

#include <memory>
#include <string>
#include <vector>

namespace AddMarkovBindingIds = Ctl::AddMarkovBinding;
namespace MarkovBindingsIds = Ctl::MarkovBindings;

namespace {

enum : unsigned { kFirstState = 800 };

// Add Markov Binding: a user name and the state it points to; editing one binding, or adding new ones
// ("&More" stores one and starts the next). True when a binding was stored.
bool EditBinding(MarkovBindingsDialog& bindings, MarkovBinding* binding)
{
    ProgramDialog dialog(DialogRes::AddMarkovBinding);
    TreeNode* markov = bindings.node->FindMarkovNode();
    auto menu = std::make_unique<Menu>();
    // The offered states' whole texts by child position; empty for a state that is not offered.
    std::vector<zString> states(markov != nullptr ? markov->childCount : 0);
    int first = -1;
    int match = -1;
    for (int i = 0; i < static_cast<int>(states.size()); ++i) {
        zString shortText;
        markov->GetChild(i)->GetShortText(shortText, 30);
        if (shortText.IsEmpty())
            continue;
        menu->AppendItem(kFirstState + i, shortText.Text());
        markov->GetChild(i)->GetDisplayText(states[i], true);
        first = first < 0 ? i : first;
        if (match < 0 && binding != nullptr && states[i] == binding->target)
            match = i;
    }
    const int preset = match >= 0 ? match : first;
    MenuButton* button = MakeOwningMenuButton(std::move(menu), &dialog, AddMarkovBindingIds::StatesText);
    if (button == nullptr)
        return false;
    int picked = preset;
    auto pick = [&](int state) {
        picked = state;
        if (state >= 0)
            button->ShowPickedItem(kFirstState + state);
    };
    for (int i = 0; i < static_cast<int>(states.size()); ++i)
        dialog.OnButton(kFirstState + i, [&pick, i] { pick(i); });
    pick(preset);

    zString name(binding != nullptr ? binding->userName : zString());
    StringEdit::FromTemplate(&dialog, AddMarkovBindingIds::NameForUseInTransitionNodesEdit, nullptr, 0, &name);
    if (binding != nullptr) {
        dialog.ShowItem(AddMarkovBindingIds::More, false);
        dialog.SetText("Binding Properties");
    }
    dialog.SelectField(AddMarkovBindingIds::NameForUseInTransitionNodesEdit);
    bool stored = false;
    // An empty name or state stores nothing.
    auto store = [&] {
        if (!dialog.ValidateAndStore() || name.IsEmpty() || picked < 0 || states[picked].IsEmpty())
            return;
        stored = true;
        if (binding == nullptr) {
            bindings.bindings.Add(new MarkovBinding(states[picked].Text(), name.Text()));
            return;
        }
        const zString old(binding->userName);
        binding->SetTarget(states[picked].Text());
        binding->SetUserName(name.Text());
        if (old == name)
            return;
        TreeNode* state = bindings.node;
        while (state != nullptr && (state->parent == nullptr || state->parent->kind != MarkovNode))
            state = state->parent;
        if (state != nullptr) {
            state->UpdateMarkovStateBindings(old.Text(), name.Text());
            state->UpdateMarkovStateBindings(("=" + std::string(old.Text())).c_str(),
                                             ("=" + std::string(name.Text())).c_str());
        }
    };
    dialog.OnButton(IDOK, [&] {
        store();
        dialog.EndModal();
    });
    dialog.OnButton(AddMarkovBindingIds::More, [&] {
        store();
        dialog.SetItemText(AddMarkovBindingIds::NameForUseInTransitionNodesEdit, "");
        pick(preset);
        dialog.SelectField(AddMarkovBindingIds::NameForUseInTransitionNodesEdit);
        dialog.SetItemText(IDCANCEL, "&Close");
    });
    dialog.Run();
    return stored;
}

class BindingsScreen {
public:
    explicit BindingsScreen(MarkovBindingsDialog& bindings)
        : bindings(bindings), dialog(DialogRes::MarkovBindings),
          list(ListBoxCtrl::FromTemplate(&dialog, MarkovBindingsIds::PointsToList))
    {
        const int tabStop = 90;
        list->SetTabStops(&tabStop, 1);
        dialog.OnNotification(MarkovBindingsIds::PointsToList, LBN_SELCHANGE, [this] {
            selected = list->GetCurSel();
            Fill();
        });
        dialog.OnButton(MarkovBindingsIds::New, [this] { Edit(nullptr); });
        dialog.OnButton(MarkovBindingsIds::Properties, [this] { Edit(Selected()); });
        dialog.OnNotification(MarkovBindingsIds::PointsToList, LBN_DBLCLK, [this] { Edit(Selected()); });
        dialog.OnButton(MarkovBindingsIds::Delete, [this] {
            if (Selected() == nullptr)
                return;
            this->bindings.bindings.DeleteAt(selected);
            this->bindings.changed = true;
            if (selected >= this->bindings.bindings.Count())
                selected = this->bindings.bindings.Count() - 1;
            Fill();
        });
        Fill();
    }

    int Run() { return dialog.Run(); }

private:
    MarkovBinding* Selected() const
    {
        return selected >= 0 && selected < bindings.bindings.Count() ? bindings.bindings.At(selected) : nullptr;
    }

    void Edit(MarkovBinding* binding)
    {
        const int before = bindings.bindings.Count();
        if (!EditBinding(bindings, binding) || (binding == nullptr && bindings.bindings.Count() == before))
            return;
        bindings.changed = true;
        if (binding == nullptr)
            selected = bindings.bindings.Count() - 1;
        Fill();
    }

    // The lines, the selection and the buttons that need one.
    void Fill()
    {
        list->Clear();
        for (int i = 0; i < bindings.bindings.Count(); ++i) {
            const MarkovBinding& binding = *bindings.bindings.At(i);
            list->AddChars((std::string(binding.userName.Text()) + "\t" + binding.target.Text()).c_str());
        }
        list->SetCurSel(selected);
        dialog.EnableItem(MarkovBindingsIds::Delete, Selected() != nullptr);
        dialog.EnableItem(MarkovBindingsIds::Properties, Selected() != nullptr);
    }

    MarkovBindingsDialog& bindings;
    ProgramDialog dialog;
    ListBoxCtrl* list;
    int selected = 0;
};

} // namespace

bool MarkovBindingsDialog::Run()
{
    if (HasPresenter())
        return Present() == IDOK && changed;
    // Every change is made at once, so closing the dialog keeps them.
    BindingsScreen(*this).Run();
    return changed;
}
