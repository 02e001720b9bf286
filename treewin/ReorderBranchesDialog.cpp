#include "treewin/ReorderBranchesDialog.h"

#include "widgets/ProgramDialog.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "model/TreeNode.h"

#include "CommandIds.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <utility>

namespace Ids = Ctl::ReorderBranches;

namespace {

// The list's rows in the present order, with the old index kept out of view past a far tab stop.
void ShowRows(ReorderBranchesDialog& reorder, ProgramDialog& dialog, ListBoxCtrl& list, int selected)
{
    list.Clear();
    for (int old : reorder.order) {
        const std::string row = std::string(reorder.texts[static_cast<size_t>(old)].Text()) + "\t_$^" +
                                std::to_string(old);
        list.AddChars(row.c_str());
    }
    list.SetCurSel(selected);
    dialog.EnableItem(Ids::MoveUp, selected > 0);
    dialog.EnableItem(Ids::MoveDown, selected >= 0 && selected + 1 < reorder.branches);
}

int ShowOnScreen(ReorderBranchesDialog& reorder)
{
    ProgramDialog dialog(DialogRes::ReorderBranches);
    ListBoxCtrl* list = NotifyListCtrl::FromTemplate(&dialog, Ids::List);
    if (list == nullptr)
        return IDCANCEL;
    int tabStop = 800;
    list->Send(LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
    ShowRows(reorder, dialog, *list, 0);
    dialog.OnNotification(Ids::List, LBN_SELCHANGE, [&] { ShowRows(reorder, dialog, *list, list->GetCurSel()); });
    for (int step : {-1, 1})
        dialog.OnButton(step < 0 ? Ids::MoveUp : Ids::MoveDown, [&, step] {
            const int selected = list->GetCurSel();
            if (reorder.Move(selected, step))
                ShowRows(reorder, dialog, *list, selected + step);
        });
    return dialog.Run();
}

} // namespace

ReorderBranchesDialog::ReorderBranchesDialog(const TreeNode& node)
    : branches(node.childCount), texts(static_cast<size_t>(node.childCount)), order(texts.size())
{
    for (int i = 0; i < branches; ++i)
        node.GetChild(i)->GetShortText(texts[static_cast<size_t>(i)], 30);
    std::iota(order.begin(), order.end(), 0);
}

bool ReorderBranchesDialog::Move(int position, int step)
{
    const int target = position + step;
    if (position < 0 || target < 0 || position >= branches || target >= branches)
        return false;
    std::swap(order[static_cast<size_t>(position)], order[static_cast<size_t>(target)]);
    return true;
}

bool ReorderBranchesDialog::Run()
{
    const int answer = HasPresenter() ? Present() : ShowOnScreen(*this);
    if (answer != IDOK || static_cast<int>(order.size()) != branches)
        return false;
    std::vector<int> sorted(order);
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < branches; ++i)
        if (sorted[static_cast<size_t>(i)] != i)
            return false;
    return !std::is_sorted(order.begin(), order.end());
}
