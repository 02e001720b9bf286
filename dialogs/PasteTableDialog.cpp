#include "dialogs/PasteTableDialog.h"

namespace {
PasteTableDialog::Presenter& CurrentPresenter()
{
    static PasteTableDialog::Presenter presenter;
    return presenter;
}
}  // namespace

PasteTableDialog::Presenter PasteTableDialog::SetPresenter(Presenter presenter)
{
    Presenter previous = std::move(CurrentPresenter());
    CurrentPresenter() = std::move(presenter);
    return previous;
}

PasteTableDialog::Choice PasteTableDialog::Ask()
{
    const Presenter& presenter = CurrentPresenter();
    if (!presenter)
        return SumEntries;
    const Choice choice = presenter();
    return choice == KeepLast || choice == KeepFirst ? choice : SumEntries;
}
