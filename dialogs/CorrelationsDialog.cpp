#include "dialogs/CorrelationsDialog.h"

#include "analysis/SensitivityRangeSet.h"
#include "analysis/VariableRange.h"
#include "widgets/MessageBoxes.h"
#include "widgets/MultiSelectListBox.h"
#include "widgets/ProgramDialog.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "formula/CorrelationList.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatParsing.h"
#include "foundation/NumericFormatting.h"
#include "foundation/PresenterSlot.h"
#include "model/DocVariable.h"
#include "model/TreeDocument.h"

#include "CommandIds.h"

#include <windows.h>

#include <utility>

namespace Ids = Ctl::Correlations;

namespace {

using Slot = PresenterSlot<CorrelationsDialog, CorrelationsDialog::Presenter>;

// A range bound as shown: its own text, else its value in the document's number format.
void AppendShownValue(const TreeDocument& document, const FormattedValue& bound, zString& out)
{
    if (!bound.text.IsEmpty()) {
        out += bound.text;
        return;
    }
    zString number;
    FormatNumber(document.NumberFormat(), bound.value, number, false, true, DigitsOfFormat);
    out += number;
}

// A bound as a range takes it: its own text, else its value's text with nine significant digits.
FormattedValue RangeBound(const FormattedValue& bound)
{
    FormattedValue value = bound;
    if (value.text.IsEmpty()) {
        FormatNumber(DefaultNumericFormat, value.value, value.text, false, false, -9);
    }
    return value;
}

// A range field as typed: its text and value; false when it holds no number.
bool ReadRangeField(const ProgramDialog& dialog, unsigned id, FormattedValue& field)
{
    const zString text = dialog.ItemText(id);
    int error = 0;
    double value = 0;
    ParseNumber(text.Text(), value, error);
    if (error != 0 || text.IsEmpty())
        return false;
    field.text = text;
    field.value = value;
    return true;
}

// The dialog on the screen: the list mirrors the lines and selection, the fields the one selected line.
int ShowOnScreen(CorrelationsDialog& rules, const DocVariable& variable)
{
    using D = CorrelationsDialog;
    ProgramDialog dialog(DialogRes::Correlations);
    dialog.SetItemText(Ids::MainVariableText, variable.name.Text());
    dialog.SetItemText(Ids::RangeText, rules.RangeText().Text());
    MultiSelectListBox list(&dialog, Ids::CorrelatedVariablesList);
    const int tabStop = 90;
    list.Box()->SetTabStops(&tabStop, 1);
    const auto showFields = [&] {
        const bool on = rules.FieldsEnabled();
        for (unsigned id : {Ids::LowValueEdit, Ids::HighValueEdit, Ids::Change})
            dialog.EnableItem(id, on);
        dialog.SetItemText(Ids::LowValueEdit, on && !rules.lowField.text.IsEmpty() ? rules.lowField.text.Text() : "");
        dialog.SetItemText(Ids::HighValueEdit,
                           on && !rules.highField.text.IsEmpty() ? rules.highField.text.Text() : "");
    };
    const auto showLines = [&] {
        list.Box()->Send(LB_RESETCONTENT);
        for (const zString& line : rules.Lines())
            list.Box()->Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.Text()));
        for (int line : rules.Selection())
            list.Select(line, false);
        showFields();
    };
    const auto readSelection = [&] {
        const int count = list.ReadSelection();
        rules.SetSelection(std::vector<int>(list.Selection, list.Selection + count));
    };
    dialog.OnNotification(Ids::CorrelatedVariablesList, LBN_SELCHANGE, [&] {
        readSelection();
        showFields();
    });
    dialog.OnButton(Ids::Change, [&] {
        // A field without a number counts as 0, so the range rule names what is wrong.
        if (!ReadRangeField(dialog, Ids::LowValueEdit, rules.lowField))
            rules.lowField = FormattedValue();
        if (!ReadRangeField(dialog, Ids::HighValueEdit, rules.highField))
            rules.highField = FormattedValue();
        if (rules.OnChange())
            showLines();
    });
    int answer = IDCANCEL;
    const auto accept = [&](bool all, int button) {
        readSelection();
        if (rules.OnOk(all)) {
            answer = button;
            dialog.EndModal();
        } else {
            list.ClearSelection();
            showLines();
        }
    };
    dialog.OnButton(IDOK, [&] { accept(false, IDOK); });
    dialog.OnButton(Ids::SelectAllOK, [&] { accept(true, Ids::SelectAllOK); });
    showLines();
    dialog.Run();
    return answer;
}

}  // namespace

CorrelationsDialog::Presenter CorrelationsDialog::SetPresenter(Presenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

CorrelationsDialog::CorrelationsDialog(TreeDocument& document, DocVariable& variable, const char* lowText,
                                       const char* highText)
    : document(document), variable(variable)
{
    rangeText = lowText;
    rangeText += " .. ";
    rangeText += highText;
    BuildLines();
    SetSelection({});
}

DocVariable* CorrelationsDialog::LineVariable(int line) const
{
    if (line < 0 || line >= static_cast<int>(lineItems.size()))
        return nullptr;
    return document.FindVariable(lineItems[line]->name.Text(), false);
}

void CorrelationsDialog::BuildLines()
{
    lines.clear();
    lineItems.clear();
    if (variable.correlations == nullptr)
        return;
    for (int i = 0; i < variable.correlations->Count(); ++i) {
        CorrelationItem* item = variable.correlations->At(i);
        const DocVariable* partner = document.FindVariable(item->name.Text(), false);
        if (partner == nullptr)
            continue;
        zString line(partner->name);
        line += '\t';
        if (partner->hasRange) {
            const FormattedValue& first = item->negative ? partner->high : partner->low;
            const FormattedValue& second = item->negative ? partner->low : partner->high;
            AppendShownValue(document, first, line);
            line += " .. ";
            AppendShownValue(document, second, line);
        }
        lines.push_back(line);
        lineItems.push_back(item);
    }
}

void CorrelationsDialog::SetSelection(const std::vector<int>& selectedLines)
{
    selection = selectedLines;
    fieldsEnabled = selection.size() == 1;
    if (!fieldsEnabled)
        return;
    const DocVariable* partner = LineVariable(selection[0]);
    if (partner != nullptr && partner->hasRange) {
        lowField = partner->low;
        highField = partner->high;
    } else {
        lowField = FormattedValue();
        highField = FormattedValue();
    }
}

bool CorrelationsDialog::OnChange()
{
    if (!fieldsEnabled)
        return false;
    if (highField.value <= lowField.value) {
        ShowErrorBox(nullptr, "To assign a range, the high value must be greater than the low value.", -1);
        return false;
    }
    DocVariable* partner = LineVariable(selection[0]);
    if (partner == nullptr)
        return false;
    partner->low = lowField;
    partner->high = highField;
    partner->hasRange = 1;
    // The range is the variable's own, kept with the document whatever button ends the dialog.
    document.SetModified(1);
    const std::vector<int> kept = selection;
    BuildLines();
    SetSelection(kept);
    return true;
}

bool CorrelationsDialog::OnOk(bool all)
{
    std::vector<int> chosenLines;
    if (all) {
        for (int i = 0; i < static_cast<int>(lines.size()); ++i)
            chosenLines.push_back(i);
    } else {
        chosenLines = selection;
    }
    for (int line : chosenLines) {
        const DocVariable* partner = LineVariable(line);
        if (partner != nullptr && !partner->hasRange) {
            ShowErrorBox(nullptr,
                         "One or more selected variables does not have a range assigned. You may assign one here "
                         "by deselecting all other variables, or enter a range in the properties dialog for the "
                         "variable.",
                         -1);
            SetSelection({line});
            return false;
        }
    }
    chosen.clear();
    for (int line : chosenLines)
        chosen.push_back(lineItems[line]);
    return true;
}

int CorrelationsDialog::RunModal()
{
    const Presenter& presenter = Slot::Current();
    if (!presenter)
        return ShowOnScreen(*this, variable) != IDCANCEL ? 1 : 0;
    for (;;) {
        const int button = presenter(*this);
        if (button != IDOK && button != Ids::SelectAllOK)
            return 0;
        if (OnOk(button == Ids::SelectAllOK))
            return 1;
    }
}

int ShowCorrelationRanges(TreeDocument& document, DocVariable& variable, const char* lowText, const char* highText,
                          std::vector<CorrelationItem*>& chosen)
{
    chosen.clear();
    if (variable.correlations == nullptr || variable.correlations->Count() == 0)
        return 1;
    CorrelationsDialog dialog(document, variable, lowText, highText);
    if (!dialog.RunModal())
        return 0;
    chosen = dialog.Chosen();
    return 1;
}

void BuildVariableRanges(const std::vector<CorrelationItem*>& chosen, SensitivityRangeSet& set,
                         const TreeDocument& document)
{
    for (const CorrelationItem* item : chosen) {
        const DocVariable* partner = document.FindVariable(item->name.Text(), false);
        if (partner == nullptr || !partner->hasRange)
            continue;
        const FormattedValue& low = item->negative ? partner->high : partner->low;
        const FormattedValue& high = item->negative ? partner->low : partner->high;
        set.Add(new VariableRange(partner->name, RangeBound(low), RangeBound(high)));
    }
}

bool GatherCorrelatedRanges(TreeDocument& document, SensitivityRangeSet& set)
{
    const VariableRange* main = set.Count() > 0 ? set.RangeAt(0) : nullptr;
    DocVariable* variable = main != nullptr ? document.FindVariable(main->name.Text(), false) : nullptr;
    if (variable == nullptr)
        return true;
    zString low;
    zString high;
    AppendShownValue(document, main->low, low);
    AppendShownValue(document, main->high, high);
    std::vector<CorrelationItem*> chosen;
    if (ShowCorrelationRanges(document, *variable, low.Text(), high.Text(), chosen) == 0)
        return false;
    BuildVariableRanges(chosen, set, document);
    return true;
}
