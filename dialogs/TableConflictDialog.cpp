#include "dialogs/TableConflictDialog.h"

#include "widgets/ProgramDialog.h"
#include "foundation/PresenterSlot.h"

namespace {
// The dialog on the screen: Rename and Overwrite end it with their choice, Cancel ignores the new table.
TableConflictDialog::Choice ShowOnScreen(TableConflictDialog& conflict)
{
    ProgramDialog dialog(DialogRes::TableNameConflict);
    if (WindowCL* name = dialog.FindChild(Ctl::TableNameConflict::TheTableNameText))
        name->SetText(conflict.TableName());
    TableConflictDialog::Choice choice = TableConflictDialog::Ignore;
    for (TableConflictDialog::Choice button : {TableConflictDialog::Rename, TableConflictDialog::Overwrite}) {
        dialog.OnButton(button, [&dialog, &choice, button] {
            choice = button;
            dialog.EndModal();
        });
    }
    dialog.Run();
    return choice;
}

using Slot = PresenterSlot<TableConflictDialog, TableConflictDialog::Presenter>;
}  // namespace

TableConflictDialog::Presenter TableConflictDialog::SetPresenter(Presenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

TableConflictDialog::Choice TableConflictDialog::Run()
{
    const Presenter& presenter = Slot::Current();
    const Choice choice = presenter ? presenter(*this) : ShowOnScreen(*this);
    return choice == Rename || choice == Overwrite ? choice : Ignore;
}
