#include "dialogs/PasteTableDialog.h"

#include "foundation/PresenterSlot.h"

namespace {
using Slot = PresenterSlot<PasteTableDialog, PasteTableDialog::Presenter>;
}  // namespace

PasteTableDialog::Presenter PasteTableDialog::SetPresenter(Presenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

PasteTableDialog::Choice PasteTableDialog::Ask()
{
    const Presenter& presenter = Slot::Current();
    if (!presenter)
        return SumEntries;
    const Choice choice = presenter();
    return choice == KeepLast || choice == KeepFirst ? choice : SumEntries;
}
