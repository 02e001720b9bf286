#include "dialogs/DistributionsDialog.h"

#include "dialogs/DistributionPicker.h"
#include "formula/Distribution.h"
#include "formula/DistributionRecord.h"
#include "treewin/TreeWindow.h"

namespace {

// The type code of a distribution that samples a lookup table.
constexpr int32_t kTableSampling = 16;

} // namespace

DistributionsDialog::DistributionsDialog(TreeWindow* window, bool chooser)
    : window(window), chooser(chooser), list(window->Document().Distributions)
{
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
