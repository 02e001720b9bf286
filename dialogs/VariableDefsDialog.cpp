#include "dialogs/VariableDefsDialog.h"

#include "foundation/PresenterSlot.h"

#include <utility>

namespace {
using Slot = PresenterSlot<VariableDefsDialog, VariableDefsDialog::Presenter>;
}  // namespace

VariableDefsDialog::Presenter VariableDefsDialog::SetPresenter(Presenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

VariableDefsDialog::VariableDefsDialog(const char* name, const NameList& source) : variableName(name)
{
    for (int i = 0; i < source.Count(); ++i)
        lines.AddCopy(*source.At(i));
    if (Slot::Current())
        Slot::Current()(*this);
}
