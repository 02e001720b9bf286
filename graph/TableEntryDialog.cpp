#include "graph/TableEntryDialog.h"

#include "widgets/RangeValidator.h"
#include "widgets/ProgramDialog.h"
#include "foundation/PresenterSlot.h"
#include "framework/dialog/FormattedEdit.h"

#include <windows.h>

#include <utility>

namespace Ids = Ctl::AddTableEntry;

namespace {
// The dialog on the screen: two number fields without bounds; "&More" keeps the pair and starts another.
int ShowOnScreen(TableEntryDialog& entry)
{
    ProgramDialog dialog(DialogRes::AddTableEntry);
    dialog.SetText(entry.Caption());
    auto* index = RealEdit::FromTemplate(&dialog, Ids::IndexEdit, new RealRangeValidator(0, 0, 0), 0, &entry.index);
    auto* value = RealEdit::FromTemplate(&dialog, Ids::ValueEdit, new RealRangeValidator(0, 0, 0), 0, &entry.value);
    if (!entry.MoreShown()) {
        if (WindowCL* more = dialog.FindChild(Ids::More))
            more->ShowWindow(SW_HIDE);
    } else {
        dialog.OnButton(Ids::More, [&] {
            if (!index->Validate() || !value->Validate())
                return;
            index->Store();
            value->Store();
            entry.OnMore();
            index->Load();
            value->Load();
            dialog.SelectField(Ids::IndexEdit);
        });
    }
    return dialog.Run();
}

using Slot = PresenterSlot<TableEntryDialog, TableEntryDialog::Presenter>;
}  // namespace

TableEntryDialog::Presenter TableEntryDialog::SetPresenter(Presenter presenter)
{
    return Slot::Replace(std::move(presenter));
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
    focusedField = Ids::IndexEdit;
}

void TableEntryDialog::OnOk()
{
    pairs.back() = {index, value};
}

int TableEntryDialog::RunModal()
{
    const Presenter& presenter = Slot::Current();
    if ((presenter ? presenter(*this) : ShowOnScreen(*this)) != IDOK) {
        pairs.clear();
        return 0;
    }
    OnOk();
    return 1;
}
