#include "treewin/CreateSliderDialog.h"

#include "analysis/SensitivityResultGrid.h"
#include "widgets/RangeValidator.h"
#include "widgets/ProgramDialog.h"
#include "foundation/MessageBoxes.h"
#include "framework/dialog/ComboBoxCtrl.h"
#include "framework/dialog/FormattedEdit.h"
#include "model/DocVariable.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include "CommandIds.h"

namespace Ids = Ctl::CreateSlider;

namespace {

bool RangeAccepted(const CreateSliderDialog& slider)
{
    if (slider.low < slider.high)
        return true;
    ShowErrorBox(nullptr, "The high value must be greater than the low value.", -1);
    return false;
}

int ShowOnScreen(CreateSliderDialog& slider)
{
    ProgramDialog dialog(DialogRes::CreateSlider);
    ComboBoxCtrl* names = ComboBoxCtrl::FromTemplate(&dialog, Ids::VariableCombo);
    for (const std::string& name : slider.names)
        names->AddString(name.c_str());
    names->SetTextBuffer(&slider.variable, 0);
    names->Load();
    IntegerEdit::FromTemplate(&dialog, Ids::NumberOfIntervalsEdit, new IntegerRangeValidator(3, 100, 1), 0,
                              &slider.intervals);
    RealEdit* lowField =
        RealEdit::FromTemplate(&dialog, Ids::LowValueEdit, new RealRangeValidator(0.0, 0.0, 0), 0, &slider.low);
    RealEdit* highField =
        RealEdit::FromTemplate(&dialog, Ids::HighValueEdit, new RealRangeValidator(0.0, 0.0, 0), 0, &slider.high);
    // Another variable brings its own range, replacing what was typed.
    dialog.OnNotification(Ids::VariableCombo, CBN_SELCHANGE, [&] {
        names->Store();
        slider.LoadRange();
        lowField->Load();
        highField->Load();
    });
    dialog.OnButton(IDOK, [&] {
        if (dialog.ValidateAndStore() && RangeAccepted(slider))
            dialog.EndModal();
    });
    return dialog.Run();
}

} // namespace

CreateSliderDialog::CreateSliderDialog(TreeDocument* document, const NodeChildList& nodes)
    : document(document), firstNode(nodes.Count() > 0 ? nodes.At(0) : nullptr)
{
    for (int i = 0; i < document->Variables.Count(); ++i) {
        const char* name = document->Variables.At(i)->name.Text();
        bool everywhere = nodes.Count() > 0;
        for (int n = 0; everywhere && n < nodes.Count(); ++n)
            everywhere = nodes.At(n)->FindBinding(name, false) != nullptr;
        if (everywhere)
            names.emplace_back(name);
    }
    if (!names.empty()) {
        variable = names.front().c_str();
        LoadRange();
    }
}

void CreateSliderDialog::LoadRange()
{
    ReadStoredRange(variable.Text(), firstNode, document, low, high);
}

int CreateSliderDialog::Run()
{
    if (names.empty()) {
        ShowErrorBox(nullptr, "No variables are defined at each of the selected nodes.", -1);
        return 0;
    }
    if (HasPresenter()) {
        if (Present() != IDOK || !RangeAccepted(*this))
            return 0;
    } else if (ShowOnScreen(*this) != IDOK) {
        return 0;
    }
    return !variable.IsEmpty() && intervals >= 3 && intervals <= 100 ? 1 : 0;
}
