#include "dialogs/DistributionsDialog.h"

#include "dialogs/DistributionPicker.h"
#include "dialogs/ProgramDialog.h"
#include "formula/Distribution.h"
#include "formula/DistributionRecord.h"
#include "formula/DistributionList.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "treewin/TreeWindow.h"

#include <string>

namespace {

// The type code of a distribution that samples a lookup table.
constexpr int32_t kTableSampling = 16;

// The list of records and the controls that follow its selection.
void ShowRecords(DistributionsDialog& distributions, ProgramDialog& dialog, NotifyListCtrl& list)
{
    list.Clear();
    for (int i = 0; i < distributions.list.Count(); ++i) {
        const DistributionRecord& record = *distributions.list.RecordAt(i);
        const std::string line = std::to_string(record.index) + "\t" + record.comment.Text();
        list.AddChars(line.c_str());
    }
    list.SetCurSel(distributions.selected);
    dialog.SetItemText(DistributionsDialog::kDescription, distributions.Description().Text());
    const BOOL any = distributions.Selected() != nullptr;
    dialog.EnableItem(DistributionsDialog::kDeleteButton, any);
    if (distributions.chooser)
        dialog.EnableItem(IDOK, any);
}

int ShowOnScreen(DistributionsDialog& distributions)
{
    ProgramDialog dialog(DistributionsDialog::kTemplateId);
    NotifyListCtrl* list = NotifyListCtrl::FromTemplate(&dialog, DistributionsDialog::kList);
    if (list == nullptr)
        return IDCANCEL;
    if (distributions.chooser) {
        dialog.SetItemText(IDOK, "&Use");
        dialog.SetItemText(IDCANCEL, "Cancel");
    } else {
        dialog.ShowItem(IDOK, false);
    }
    // Editing a record's properties is not offered here.
    dialog.EnableItem(DistributionsDialog::kPropertiesButton, false);
    ShowRecords(distributions, dialog, *list);
    dialog.OnNotification(DistributionsDialog::kList, LBN_SELCHANGE, [&] {
        distributions.selected = list->GetCurSel();
        ShowRecords(distributions, dialog, *list);
    });
    dialog.OnButton(DistributionsDialog::kNewButton, [&] {
        if (distributions.New())
            ShowRecords(distributions, dialog, *list);
    });
    dialog.OnButton(DistributionsDialog::kDeleteButton, [&] {
        distributions.Delete();
        ShowRecords(distributions, dialog, *list);
    });
    return dialog.Run();
}

} // namespace

DistributionsDialog::DistributionsDialog(TreeWindow* window, bool chooser)
    : window(window), chooser(chooser), list(window->Document().Distributions)
{
}

int DistributionsDialog::Run()
{
    return (HasPresenter() ? Present() : ShowOnScreen(*this)) == IDOK ? 1 : 0;
}

DistributionRecord* DistributionsDialog::Selected() const
{
    return list.RecordAt(selected);
}

zString DistributionsDialog::Description() const
{
    zString text;
    DistributionRecord* record = Selected();
    Distribution* distribution = record != nullptr ? record->GetDistribution() : nullptr;
    if (distribution == nullptr)
        return text;
    if (distribution->TypeCode() == kTableSampling) {
        text = "Sample from table: ";
        text += record->tableName;
    } else {
        distribution->FormatText(text, false);
    }
    return text;
}

int32_t DistributionsDialog::NextFreeIndex() const
{
    int32_t expected = 1;
    for (int i = 0; i < list.Count(); ++i) {
        const int32_t index = list.RecordAt(i)->index;
        if (index > expected)
            break;
        expected = index + 1;
    }
    return expected;
}

bool DistributionsDialog::New()
{
    Distribution* distribution = RunDistributionPicker(window, nullptr, true);
    if (distribution == nullptr)
        return false;
    auto* record = new DistributionRecord();
    record->index = NextFreeIndex();
    record->SetDistribution(distribution);
    record->SetOwner(&window->Document());
    selected = list.InsertSorted(record);
    window->SetModified(1);
    return true;
}

void DistributionsDialog::Delete()
{
    if (Selected() == nullptr)
        return;
    list.DeleteAt(selected);
    if (selected >= list.Count())
        selected = list.Count() - 1;
    window->SetModified(1);
}
