#include "dialogs/PasteTableDialog.h"

#include "widgets/ProgramDialog.h"
#include "foundation/PresenterSlot.h"

#include "CommandIds.h"

namespace {
namespace Ids = Ctl::PasteTable;

// The dialog on the screen: the checked button on OK; Cancel (or Escape) pastes nothing, so that the table
// a person meant to keep is never replaced by sums they did not ask for.
PasteTableDialog::Choice ShowOnScreen()
{
    int checked = Ids::SumEntries;
    if (ProgramDialog::RunRadioChoice(DialogRes::PasteTable, Ids::KeepLastEntry, Ids::SumEntries, checked) != IDOK)
        return PasteTableDialog::Cancel;
    switch (checked) {
    case Ids::KeepLastEntry: return PasteTableDialog::KeepLast;
    case Ids::KeepFirstEntry: return PasteTableDialog::KeepFirst;
    default: return PasteTableDialog::SumEntries;
    }
}

using Slot = PresenterSlot<PasteTableDialog, PasteTableDialog::Presenter>;
}  // namespace

PasteTableDialog::Presenter PasteTableDialog::SetPresenter(Presenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

PasteTableDialog::Choice PasteTableDialog::Ask()
{
    const Presenter& presenter = Slot::Current();
    const Choice choice = presenter ? presenter() : ShowOnScreen();
    return choice == KeepLast || choice == KeepFirst || choice == Cancel ? choice : SumEntries;
}
