#include "dialogs/DefineNewVariableDialog.h"

#include "foundation/MessageBoxes.h"
#include "model/NameRules.h"
#include "model/TreeDocument.h"

int DefineNewVariableDialog::Run()
{
    for (;;) {
        if (Present() != IDOK) {
            name.Clear();
            return 0;
        }
        if (!CheckVariableName(name, true, false))
            continue;
        if (window.FindVariable(name.Text(), false) == nullptr)
            return 1;
        ShowErrorBox(nullptr, "That variable name is already being used.", 0);
    }
}
