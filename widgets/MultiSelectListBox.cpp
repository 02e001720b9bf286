#include "widgets/MultiSelectListBox.h"

#include "framework/dialog/ListBoxCtrl.h"

MultiSelectListBox::MultiSelectListBox(WindowCL* dialog, unsigned id) : list_(ListIndexCtrl::FromTemplate(dialog, id)) {}

int MultiSelectListBox::ReadSelection()
{
    const LRESULT count = list_->Send(LB_GETSELITEMS, CacheSize, reinterpret_cast<LPARAM>(Selection));
    SelectionCount = count > 0 ? static_cast<int32_t>(count) : 0;
    return SelectionCount;
}

int MultiSelectListBox::SelectedText(int i, zString& out) const
{
    const int index = Selection[i];
    list_->GetString(out, index);
    return index;
}

void MultiSelectListBox::ClearSelection()
{
    // The cache holds at most 100 indexes: read again until nothing is left selected.
    while (ReadSelection() > 0) {
        for (int i = 0; i < SelectionCount; ++i)
            list_->Send(LB_SETSEL, FALSE, Selection[i]);
    }
}

void MultiSelectListBox::Select(int index, bool clearFirst)
{
    if (clearFirst)
        ClearSelection();
    list_->Send(LB_SETSEL, TRUE, index);
}
