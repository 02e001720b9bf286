#include "treewin/DistributionsDialog.h"

#include "widgets/RangeValidator.h"
#include "treewin/DistributionPicker.h"
#include "widgets/ProgramDialog.h"
#include "formula/Distribution.h"
#include "formula/DistributionRecord.h"
#include "formula/DistributionList.h"
#include "foundation/MessageBoxes.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/FormattedEdit.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <algorithm>
#include <memory>
#include <string>

namespace DistributionPropertiesIds = Ctl::DistributionProperties;
namespace DistributionsIds = Ctl::Distributions;

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
    dialog.SetItemText(DistributionsIds::CommentText, distributions.Description().Text());
    const DistributionRecord* record = distributions.Selected();
    const BOOL editable = record != nullptr && !distributions.InProperties(record);
    dialog.EnableItem(DistributionsIds::Delete, editable);
    dialog.EnableItem(DistributionsIds::Properties, editable);
    if (distributions.chooser)
        dialog.EnableItem(IDOK, record != nullptr);
}

// The text of a distribution as the list's description shows it.
zString DistributionText(const DistributionRecord& record, Distribution* distribution)
{
    zString text;
    if (distribution == nullptr)
        return text;
    if (distribution->TypeCode() == kTableSampling) {
        text = "Sample from table: ";
        text += distribution == record.GetDistribution() ? record.tableName : distribution->Parameter(0)->Text();
    } else {
        distribution->FormatText(text, false);
    }
    return text;
}

int ShowOnScreen(DistributionsDialog& distributions)
{
    ProgramDialog dialog(DialogRes::Distributions);
    NotifyListCtrl* list = NotifyListCtrl::FromTemplate(&dialog, DistributionsIds::CommentList);
    if (list == nullptr)
        return IDCANCEL;
    if (distributions.chooser) {
        dialog.SetItemText(IDOK, "&Use");
        dialog.SetItemText(IDCANCEL, "Cancel");
    } else {
        dialog.ShowItem(IDOK, false);
    }
    ShowRecords(distributions, dialog, *list);
    // Refilled after Cancel too: a chooser opened inside the properties may have added records.
    const auto properties = [&] {
        distributions.EditProperties();
        ShowRecords(distributions, dialog, *list);
        SetFocus(list->Handle());
    };
    dialog.OnButton(DistributionsIds::Properties, properties);
    if (!distributions.chooser)
        dialog.OnNotification(DistributionsIds::CommentList, LBN_DBLCLK, properties);
    dialog.OnNotification(DistributionsIds::CommentList, LBN_SELCHANGE, [&] {
        distributions.selected = list->GetCurSel();
        ShowRecords(distributions, dialog, *list);
    });
    // A new record is kept only when its properties are accepted; a discarded one leaves the tree as it was.
    dialog.OnButton(DistributionsIds::New, [&] {
        DistributionRecord* record = distributions.AddPicked();
        if (record != nullptr && !distributions.EditProperties())
            distributions.Remove(record);
        ShowRecords(distributions, dialog, *list);
    });
    dialog.OnButton(DistributionsIds::Delete, [&] {
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
    DistributionRecord* record = Selected();
    return record != nullptr ? DistributionText(*record, record->GetDistribution()) : zString();
}

bool DistributionsDialog::InProperties(const DistributionRecord* record) const
{
    const auto& open = window->DistributionsInProperties;
    return std::find(open.begin(), open.end(), record) != open.end();
}

bool DistributionsDialog::EditProperties()
{
    DistributionRecord* record = Selected();
    if (record == nullptr || InProperties(record))
        return false;
    // The record stays in the list meanwhile, so that no new record takes its index; a chooser opened
    // inside the dialog may add records, so the record's place is found again afterwards.
    window->DistributionsInProperties.push_back(record);
    const bool accepted = RunPropertiesDialog(*record);
    window->DistributionsInProperties.pop_back();
    list.RemovePtr(record);
    selected = list.InsertSorted(record);
    if (accepted)
        window->SetModified(1);
    return accepted;
}

bool DistributionsDialog::RunPropertiesDialog(DistributionRecord& record)
{
    ProgramDialog dialog(DialogRes::DistributionProperties);
    int index = record.index;
    zString comment = record.comment;
    IntegerEdit::FromTemplate(&dialog, DistributionPropertiesIds::IndexEdit, new IntegerRangeValidator(1, 32000, 1), 0,
                              &index);
    EditCtrl* commentField =
        EditCtrl::FromTemplate(&dialog, DistributionPropertiesIds::CommentEdit, &comment, EditCtrl::MayBeEmpty);
    dialog.SetChecked(DistributionPropertiesIds::ResampleAtEachMarkovStage, record.resampleEachStage != 0);
    // A distribution picked again replaces the record's only on OK.
    std::unique_ptr<Distribution> picked;
    const auto showDistribution = [&] {
        Distribution* current = picked ? picked.get() : record.GetDistribution();
        dialog.SetItemText(DistributionPropertiesIds::DistributionText, DistributionText(record, current).Text());
    };
    showDistribution();
    dialog.OnButton(DistributionPropertiesIds::Edit, [&] {
        if (Distribution* chosen = RunDistributionPicker(window, picked ? picked.get() : record.GetDistribution(), true)) {
            picked.reset(chosen);
            showDistribution();
        }
    });
    dialog.OnButton(IDOK, [&] {
        if (!dialog.ValidateAndStore())
            return;
        for (int i = 0; i < list.Count(); ++i)
            if (list.RecordAt(i) != &record && list.RecordAt(i)->index == index) {
                ShowErrorBox(nullptr, "This index is being used by another sampling distribution.", 0);
                SetFocus(dialog.Control(DistributionPropertiesIds::IndexEdit));
                dialog.SendToItem(DistributionPropertiesIds::IndexEdit, EM_SETSEL, 0, -1);
                return;
            }
        dialog.EndModal();
    });
    commentField->SetSelection(0, -1);
    SetFocus(commentField->Handle());
    if (dialog.Run() != IDOK)
        return false;
    record.index = index;
    record.comment = comment;
    record.resampleEachStage = dialog.IsChecked(DistributionPropertiesIds::ResampleAtEachMarkovStage) ? 1 : 0;
    if (picked)
        record.SetDistribution(picked.release());
    return true;
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

DistributionRecord* DistributionsDialog::AddPicked()
{
    Distribution* distribution = RunDistributionPicker(window, nullptr, true);
    if (distribution == nullptr)
        return nullptr;
    auto* record = new DistributionRecord();
    record->index = NextFreeIndex();
    record->SetDistribution(distribution);
    record->SetOwner(&window->Document());
    selected = list.InsertSorted(record);
    return record;
}

bool DistributionsDialog::New()
{
    if (AddPicked() == nullptr)
        return false;
    window->SetModified(1);
    return true;
}

void DistributionsDialog::Delete()
{
    DistributionRecord* record = Selected();
    if (record == nullptr || InProperties(record))
        return;
    Remove(record);
    window->SetModified(1);
}

void DistributionsDialog::Remove(DistributionRecord* record)
{
    list.DeleteAt(list.IndexOf(record));
    selected = std::min(selected, list.Count() - 1);
}
