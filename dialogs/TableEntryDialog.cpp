#include "dialogs/TableEntryDialog.h"

#include <windows.h>

#include <utility>

namespace {
TableEntryDialog::Presenter& CurrentPresenter()
{
    static TableEntryDialog::Presenter presenter;
    return presenter;
}
}  // namespace

TableEntryDialog::Presenter TableEntryDialog::SetPresenter(Presenter presenter)
{
    Presenter previous = std::move(CurrentPresenter());
    CurrentPresenter() = std::move(presenter);
    return previous;
}

TableEntryDialog::TableEntryDialog(bool edit, double startIndex, double startValue)
    : index(edit ? startIndex : 0.0),
      value(edit ? startValue : 0.0),
      editing(edit),
      caption(edit ? "Edit Table Entry" : "Add Table Entry")
{
    pairs.push_back({index, value});
}

void TableEntryDialog::OnMore()
{
    if (editing)
        return;
    pairs.back() = {index, value};
    pairs.push_back({0.0, 0.0});
    index = 0.0;
    value = 0.0;
    focusedField = kIndexField;
}

void TableEntryDialog::OnOk()
{
    pairs.back() = {index, value};
}

int TableEntryDialog::RunModal()
{
    const Presenter& presenter = CurrentPresenter();
    if (!presenter || presenter(*this) != IDOK) {
        pairs.clear();
        return 0;
    }
    OnOk();
    return 1;
}
