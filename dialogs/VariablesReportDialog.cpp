#include "dialogs/VariablesReportDialog.h"

#include <windows.h>

#include <utility>

namespace {
VariablesReportDialog::Presenter& CurrentPresenter()
{
    static VariablesReportDialog::Presenter presenter;
    return presenter;
}
}  // namespace

VariablesReportDialog::Presenter VariablesReportDialog::SetPresenter(Presenter presenter)
{
    Presenter previous = std::move(CurrentPresenter());
    CurrentPresenter() = std::move(presenter);
    return previous;
}

int RunVariablesReportDialog(VariablesReportSettings& settings)
{
    VariablesReportSettings edited = settings;
    const int result = CurrentPresenter() ? CurrentPresenter()(edited) : IDCANCEL;
    if (result != IDOK)
        return 0;
    edited.includeHigh = edited.includeLow;
    settings = edited;
    return 1;
}
