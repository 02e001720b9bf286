#include "app/MultiSelectListBox.h"

#include "framework/dialog/ListBoxCtrl.h"

#include <string>

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
    const LRESULT length = list_->Send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
    std::string text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
    list_->Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    out = text.c_str();
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
