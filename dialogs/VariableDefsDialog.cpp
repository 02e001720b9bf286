#include "dialogs/VariableDefsDialog.h"

#include "widgets/ReportListView.h"
#include "widgets/ProgramDialog.h"
#include "dialogs/TextReportDialog.h"
#include "foundation/PresenterSlot.h"
#include "foundation/TextReport.h"

#include "CommandIds.h"

#include <memory>
#include <string>
#include <utility>

namespace {
using Slot = PresenterSlot<VariableDefsDialog, VariableDefsDialog::Presenter>;

// The lines in a report list under "Node", "Value" and "Expression", titled with the quoted name.
void ShowOnScreen(const VariableDefsDialog& definitions)
{
    ProgramDialog dialog(DialogRes::DefinitionsOfVariable);
    dialog.SetText((std::string("Definitions of Variable \"") + definitions.VariableName().Text() + "\"").c_str());
    TextReport table;
    const struct {
        const char* header;
        int width;
    } columns[] = {{"Node", 100}, {"Value", 75}, {"Expression", 180}};
    for (const auto& column : columns) {
        table.AddColumnHeader(column.header);
        table.AddColumnWidth(column.width);
    }
    for (int i = 0; i < definitions.Lines().Count(); ++i)
        table.AddLine(*definitions.Lines().At(i));
    std::unique_ptr<ReportListView> list = ShowReportTable(dialog, Ctl::DefinitionsOfVariable::ListArea, table);
    dialog.Run();
}

}  // namespace

VariableDefsDialog::Presenter VariableDefsDialog::SetPresenter(Presenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

VariableDefsDialog::VariableDefsDialog(const char* name, const NameList& source) : variableName(name)
{
    for (int i = 0; i < source.Count(); ++i)
        lines.AddCopy(*source.At(i));
}

void VariableDefsDialog::Run() const
{
    if (Slot::Current())
        Slot::Current()(*this);
    else
        ShowOnScreen(*this);
}
