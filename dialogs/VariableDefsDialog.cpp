#include "dialogs/VariableDefsDialog.h"

#include <utility>

namespace {
VariableDefsDialog::Presenter& CurrentPresenter()
{
    static VariableDefsDialog::Presenter presenter;
    return presenter;
}
}  // namespace

VariableDefsDialog::Presenter VariableDefsDialog::SetPresenter(Presenter presenter)
{
    Presenter previous = std::move(CurrentPresenter());
    CurrentPresenter() = std::move(presenter);
    return previous;
}

VariableDefsDialog::VariableDefsDialog(const char* name, const NameList& source) : variableName(name)
{
    for (int i = 0; i < source.Count(); ++i)
        lines.AddCopy(*source.At(i));
    if (CurrentPresenter())
        CurrentPresenter()(*this);
}
