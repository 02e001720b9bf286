#include "dialogs/CreateSliderDialog.h"

#include "app/RangeValidator.h"
#include "dialogs/ProgramDialog.h"
#include "framework/dialog/FormattedEdit.h"

namespace {

int ShowOnScreen(CreateSliderDialog& slider)
{
    ProgramDialog dialog(CreateSliderDialog::kTemplateId);
    dialog.BindVariableNames(CreateSliderDialog::kVariableBox, slider.variables, &slider.variable);
    IntegerEdit::FromTemplate(&dialog, CreateSliderDialog::kIntervalsField, new IntegerRangeValidator(3, 100, 1), 0,
                              &slider.intervals);
    RealEdit::FromTemplate(&dialog, CreateSliderDialog::kLowField, new RealRangeValidator(0.0, 0.0, 0), 0,
                           &slider.low);
    RealEdit::FromTemplate(&dialog, CreateSliderDialog::kHighField, new RealRangeValidator(0.0, 0.0, 0), 0,
                           &slider.high);
    return dialog.Run();
}

} // namespace

int CreateSliderDialog::Run()
{
    const int answer = HasPresenter() ? Present() : ShowOnScreen(*this);
    return answer == IDOK && !variable.IsEmpty() && intervals >= 3 && intervals <= 100 ? 1 : 0;
}
