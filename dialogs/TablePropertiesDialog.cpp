#include "dialogs/TablePropertiesDialog.h"

#include "widgets/MessageBoxes.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "foundation/FileNameRules.h"
#include "foundation/PresenterSlot.h"
#include "model/NameRules.h"

#include "widgets/ProgramDialog.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/RadioGroup.h"

#include <windows.h>

namespace Ids = Ctl::PropertiesNewTable;

namespace {
// The dialog on the screen; OK applies the dialog's rule and stays open on the field that fails it.
int ShowOnScreen(TablePropertiesDialog& properties)
{
    ProgramDialog dialog(DialogRes::PropertiesNewTable);
    dialog.SetText(properties.Caption());
    EditCtrl::FromTemplate(&dialog, Ids::NameEdit, &properties.name, CtrlWindowCL::MayBeEmpty);
    EditCtrl::FromTemplate(&dialog, Ids::FileEdit, &properties.file, CtrlWindowCL::MayBeEmpty);
    new RadioGroup(&dialog, Ids::Truncation, Ids::IndexSpecific, &properties.methodButton, 0);
    CheckBoxCtrl::FromTemplate(&dialog, Ids::IndexOffEdgeIsError, &properties.offEdgeIsError);
    // The comment dialog is not part of the program yet.
    dialog.EnableItem(Ids::Comment, false);
    dialog.OnButton(IDOK, [&] {
        if (!dialog.ValidateAndStore())
            return;
        if (properties.OnOk())
            dialog.EndModal();
        else
            dialog.SelectField(static_cast<unsigned>(properties.FocusedField()));
    });
    dialog.SelectField(Ids::NameEdit);
    return dialog.Run();
}

using Slot = PresenterSlot<TablePropertiesDialog, TablePropertiesDialog::Presenter>;
}  // namespace

TablePropertiesDialog::Presenter TablePropertiesDialog::SetPresenter(Presenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

TablePropertiesDialog::TablePropertiesDialog(const LookupTable* table, const char* name, const char* file,
                                             const char* comment, int32_t method, bool offEdgeIsError)
    : name(name), file(file), comment(comment), methodButton((method < 1 || method > 3 ? 2 : method) + Ids::FileEdit),
      offEdgeIsError(offEdgeIsError ? 1 : 0), table(table)
{
    if (table) {
        caption = "Properties: ";
        caption += table->Name();
        caption += " [ ]";
    } else {
        caption = "Properties: New Table";
    }
}

int TablePropertiesDialog::RunModal()
{
    for (;;) {
        const Presenter& presenter = Slot::Current();
        if ((presenter ? presenter(*this) : ShowOnScreen(*this)) != IDOK)
            return 0;
        if (OnOk())
            return 1;
    }
}

bool TablePropertiesDialog::OnOk()
{
    // A table keeps its own name without tripping over the rule that names of tables are taken.
    zString upper(name);
    upper.MakeUpper();
    const bool ownName = table && upper == table->Key();
    if (!ownName && !CheckVariableName(name, true, false)) {
        focusedField = Ids::NameEdit;
        return false;
    }
    if (!IsLegalFileName(file.Text())) {
        zString message("\"");
        message += file;
        message += "\" is not a legal filename.";
        ShowErrorBox(nullptr, message.Text(), -1);
        focusedField = Ids::FileEdit;
        return false;
    }
    if (FileUsedByOtherTable(table, file.Text())) {
        zString message("The file \"");
        message += file;
        message += "\" is being used for another table.";
        ShowErrorBox(nullptr, message.Text(), -1);
        focusedField = Ids::FileEdit;
        return false;
    }
    return true;
}
