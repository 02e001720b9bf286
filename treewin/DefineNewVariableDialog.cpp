#include "treewin/DefineNewVariableDialog.h"

#include "widgets/PromptDialog.h"
#include "foundation/MessageBoxes.h"
#include "model/NameRules.h"
#include "model/TreeDocument.h"

int DefineNewVariableDialog::Run()
{
    for (;;) {
        const int answer = HasPresenter() ? Present()
                           : PromptForText(name, nullptr, 0, Caption(), Prompt(), 0, false) == 1 ? IDOK : IDCANCEL;
        if (answer != IDOK) {
            name.Clear();
            return 0;
        }
        if (!CheckVariableName(name, true, false))
            continue;
        if (document.FindVariable(name.Text(), false) == nullptr)
            return 1;
        ShowErrorBox(nullptr, "That variable name is already being used.", 0);
    }
}
