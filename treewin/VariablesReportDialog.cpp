#include "treewin/VariablesReportDialog.h"

#include "widgets/ProgramDialog.h"
#include "foundation/PresenterSlot.h"
#include "framework/dialog/ButtonCtrl.h"

#include "CommandIds.h"

#include <windows.h>

#include <utility>

namespace Ids = Ctl::VariablesReport;

namespace {
using Slot = PresenterSlot<VariablesReportDialog, VariablesReportDialog::Presenter>;

// The check boxes on the screen, one per setting.
int ShowOnScreen(VariablesReportSettings& settings)
{
    ProgramDialog dialog(DialogRes::VariablesReport);
    const std::pair<unsigned, int32_t*> boxes[] = {
        {Ids::VariableName, &settings.includeName},
        {Ids::ShortDescription, &settings.includeShortDescription},
        {Ids::Formula, &settings.includeFormula},
        {Ids::NumericValue, &settings.includeValue},
        {Ids::Range, &settings.includeLow},
        {Ids::Comment, &settings.includeComment},
        {Ids::IncludeFormulaValueFromRootNodeWhen, &settings.rootDefinitionWhenSeveral},
    };
    for (const auto& [id, state] : boxes)
        CheckBoxCtrl::FromTemplate(&dialog, id, state);
    return dialog.Run();
}
}  // namespace

VariablesReportDialog::Presenter VariablesReportDialog::SetPresenter(Presenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

int RunVariablesReportDialog(VariablesReportSettings& settings)
{
    VariablesReportSettings edited = settings;
    const int result = Slot::Current() ? Slot::Current()(edited) : ShowOnScreen(edited);
    if (result != IDOK)
        return 0;
    edited.includeHigh = edited.includeLow;
    settings = edited;
    return 1;
}
