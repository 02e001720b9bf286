#include "treewin/ClonesDialog.h"

#include "widgets/RangeValidator.h"
#include "widgets/ProgramDialog.h"
#include "foundation/MessageBoxes.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/FormattedEdit.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "model/NodeRef.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <algorithm>
#include <string>

namespace ClonePropertiesIds = Ctl::CloneProperties;
namespace ClonesIds = Ctl::Clones;

namespace {

void ShowOnScreen(ClonesDialog& clones)
{
    ProgramDialog dialog(DialogRes::Clones);
    ListBoxCtrl* list = ListBoxCtrl::FromTemplate(&dialog, ClonesIds::DescriptionList);
    const int tabStops[] = {25};
    list->SetTabStops(tabStops, 1);
    auto refill = [&](int select) {
        list->Clear();
        for (int i = 0; i < clones.Count(); ++i)
            list->AddString(clones.RowText(i));
        list->SetCurSel(select);
        SetFocus(list->Handle());
        const bool any = list->GetCurSel() >= 0;
        dialog.EnableItem(ClonesIds::Properties, any);
        dialog.EnableItem(ClonesIds::Destroy, any);
    };
    auto selected = [list] { return list->GetCurSel(); };
    auto edit = [&] {
        const int row = clones.Edit(selected());
        if (row >= 0)
            refill(row);
    };
    refill(0);
    dialog.OnNotification(ClonesIds::DescriptionList, LBN_DBLCLK, edit);
    dialog.OnButton(ClonesIds::Properties, edit);
    dialog.OnButton(ClonesIds::Destroy, [&] {
        const int row = selected();
        clones.Destroy(row);
        refill(std::min(row, clones.Count() - 1));
    });
    dialog.Run();
}

int ShowOnScreen(ClonePropsDialog& properties)
{
    ProgramDialog dialog(DialogRes::CloneProperties);
    IntegerEdit::FromTemplate(&dialog, ClonePropertiesIds::IndexEdit, new IntegerRangeValidator(1, 32000, 1), 0,
                              &properties.newIndex);
    EditCtrl::FromTemplate(&dialog, ClonePropertiesIds::DescriptionEdit, &properties.description);
    dialog.OnButton(IDOK, [&] {
        if (!dialog.ValidateAndStore())
            return;
        if (properties.IndexIsFree()) {
            dialog.EndModal();
            return;
        }
        dialog.SelectField(ClonePropertiesIds::IndexEdit);
        ShowErrorBox(nullptr, "This index is being used by another clone.", 0);
    });
    dialog.SelectField(ClonePropertiesIds::DescriptionEdit);
    return dialog.Run();
}

struct Renumbering {
    int from;
    int to;
};

void Renumber(TreeNode* node, void* arg)
{
    const auto& change = *static_cast<const Renumbering*>(arg);
    if (node->cloneId == change.from)
        node->cloneId = static_cast<int16_t>(change.to);
}

} // namespace

void ClonesDialog::Run()
{
    if (HasPresenter())
        Present();
    else
        ShowOnScreen(*this);
}

int ClonesDialog::Count() const
{
    return masters_.Count();
}

zString ClonesDialog::RowText(int row) const
{
    const NodeRef& entry = *masters_.At(row);
    return zString((std::to_string(entry.id) + "\t" + entry.name.Text()).c_str());
}

void ClonesDialog::Destroy(int row)
{
    if (row < 0 || row >= Count())
        return;
    if (TreeNode* master = tree_.Document().FindCloneMaster(masters_.At(row)->id))
        tree_.ConfirmDestroyClone(master);
}

int ClonesDialog::Edit(int row)
{
    NodeRef* entry = masters_.At(row);
    if (entry == nullptr)
        return -1;
    masters_.RemoveAt(row);
    const bool accepted = ClonePropsDialog(tree_, *entry, masters_).Run();
    const int at = masters_.InsertSorted(entry);
    if (!accepted)
        return -1;
    tree_.SetModified(1);
    return at;
}

ClonePropsDialog::ClonePropsDialog(TreeWindow& tree, NodeRef& entry, const NodeRefList& masters)
    : newIndex(entry.id), description(entry.name), tree_(tree), entry_(entry), masters_(masters)
{
}

bool ClonePropsDialog::Run()
{
    accepted = (HasPresenter() ? Present() : ShowOnScreen(*this)) == IDOK && IndexIsFree() && newIndex >= 1 &&
               newIndex <= 32000 && !description.IsEmpty();
    if (!accepted)
        return false;
    Renumbering change{entry_.id, newIndex};
    WalkTreeWithSkip(tree_.Document().Root, &Renumber, &change, false);
    entry_.id = static_cast<int16_t>(newIndex);
    entry_.name = description;
    return true;
}

bool ClonePropsDialog::IndexIsFree() const
{
    return masters_.FindId(newIndex) == nullptr;
}
