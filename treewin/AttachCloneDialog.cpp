#include "treewin/AttachCloneDialog.h"

#include "dialogs/ChoiceControls.h"

int AttachCloneDialog::Run()
{
    const int answer =
        HasPresenter() ? Present() : ShowListChooser("Attach Clone", "Choose a &clone to attach:", names, choice);
    return answer == IDOK && choice >= 0 && choice < names.Count() ? choice : -1;
}
