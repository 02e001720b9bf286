#include "dialogs/TableConflictDialog.h"

namespace {
TableConflictDialog::Presenter& CurrentPresenter()
{
    static TableConflictDialog::Presenter presenter;
    return presenter;
}
}  // namespace

TableConflictDialog::Presenter TableConflictDialog::SetPresenter(Presenter presenter)
{
    Presenter previous = std::move(CurrentPresenter());
    CurrentPresenter() = std::move(presenter);
    return previous;
}

TableConflictDialog::Choice TableConflictDialog::Run()
{
    const Presenter& presenter = CurrentPresenter();
    if (!presenter)
        return Ignore;
    const Choice choice = presenter(*this);
    return choice == Rename || choice == Overwrite ? choice : Ignore;
}
