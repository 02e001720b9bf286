#include "dialogs/NumericFormatDialog.h"
#include "widgets/HelpContext.h"
#include "widgets/RangeValidator.h"
#include "widgets/ProgramDialog.h"
#include "foundation/MessageBoxes.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/ComboBoxCtrl.h"
#include "framework/dialog/FormattedEdit.h"

#include "CommandIds.h"

#include <string>

namespace NumericFormattingPreferencesIds = Ctl::NumericFormattingPreferences;
namespace NumericFormattingPreferences2319Ids = Ctl::NumericFormattingPreferences2319;

namespace {

const char* const kScales[] = {"Exactly", "In thousands (K)", "In millions (M)", "In billions (B)", nullptr};
const char* const kUnits[] = {"None", "Currency", "Custom prefix", "Custom suffix", nullptr};

bool IsCustom(int units)
{
    return units == NumericFormat::UnitsTextBefore || units == NumericFormat::UnitsTextAfter;
}

// The dialog's buffers, loaded from a format and stored into one.
struct FormatFields {
    explicit FormatFields(const NumericFormat& format)
        : digits(format.axisFormat ? format.axisDigits : format.expValDigits), probDigits(format.probDigits),
          scale(format.chopOff > 0 && format.chopOff <= 9 ? format.chopOff / 3 : 0), units(format.unitsKind),
          commas(format.commas), tag(format.unitsText)
    {
    }
    void StoreInto(NumericFormat& format) const
    {
        (format.axisFormat ? format.axisDigits : format.expValDigits) = static_cast<uint8_t>(digits);
        format.probDigits = static_cast<uint8_t>(probDigits);
        format.unitsKind = units;
        format.unitsText = IsCustom(units) ? tag : zString();
        format.commas = static_cast<uint8_t>(commas);
        format.chopOff = static_cast<uint8_t>(scale * 3);
    }

    int digits;
    int probDigits;
    int scale;
    int units;
    int commas;
    zString tag;
    int save = 0;
};

ComboBoxCtrl* BindChoices(ProgramDialog& dialog, unsigned id, const char* const* texts, int* index)
{
    ComboBoxCtrl* box = ComboBoxCtrl::FromTemplate(&dialog, id);
    if (box != nullptr) {
        box->AddStrings(texts);
        box->SetIndexBuffer(index, 0);
        box->Load();
    }
    return box;
}

std::string Label(int method, int payoff)
{
    static const char* const methods[] = {"Cost-Effectiveness", "Benefit-Cost", "Multi-Attribute"};
    if (method < 0)
        return "";
    if (payoff < 0)
        return "For Influence diagram conversion";
    if (method == 0)
        return "For Payoff " + std::to_string(payoff + 1);
    return std::string("For ") + (method <= 3 ? methods[method - 1] : "");
}

// A probability axis (the format's spare flag) offers its decimal places only, another graph axis the
// value fields without the probabilities, any other format everything.
unsigned TemplateOf(const NumericFormat& format)
{
    if (format.spare)
        return DialogRes::NumericFormattingPreferences2312;
    return format.axisFormat ? unsigned(DialogRes::NumericFormattingPreferences2319)
                             : unsigned(DialogRes::NumericFormattingPreferences);
}

const char* const kAxisLabels[] = {"For Probability Axis", "For Graph Axis"};

class FormatScreen {
public:
    explicit FormatScreen(NumericFormatDialog& edited)
        : edited(edited), fields(edited.format), sample(edited.format), dialog(TemplateOf(edited.format))
    {
        dialog.SetItemText(NumericFormattingPreferences2319Ids::ForGraphAxisText,
                           edited.format.spare            ? kAxisLabels[0]
                               : edited.format.axisFormat ? kAxisLabels[1]
                                                          : Label(edited.method, edited.payoff).c_str());
        IntegerEdit::FromTemplate(&dialog, NumericFormattingPreferencesIds::DecimalPlacesEdit,
                                  new IntegerRangeValidator(0, 9, 1), 0, &fields.digits);
        if (dialog.FindChild(NumericFormattingPreferencesIds::ProbDigitsField) != nullptr)
            IntegerEdit::FromTemplate(&dialog, NumericFormattingPreferencesIds::ProbDigitsField,
                                      new IntegerRangeValidator(0, 9, 1), 0, &fields.probDigits);
        BindChoices(dialog, NumericFormattingPreferences2319Ids::ShowNumbersCombo, kScales, &fields.scale);
        units = BindChoices(dialog, NumericFormattingPreferences2319Ids::UnitsCombo, kUnits, &fields.units);
        if (dialog.FindChild(NumericFormattingPreferences2319Ids::TagEdit) != nullptr)
            StringEdit::FromTemplate(&dialog, NumericFormattingPreferences2319Ids::TagEdit, nullptr, 0, &fields.tag);
        if (dialog.FindChild(NumericFormattingPreferences2319Ids::UseCommas) != nullptr)
            CheckBoxCtrl::FromTemplate(&dialog, NumericFormattingPreferences2319Ids::UseCommas, &fields.commas);
        if (dialog.FindChild(NumericFormattingPreferencesIds::SaveSettings) != nullptr)
            CheckBoxCtrl::FromTemplate(&dialog, NumericFormattingPreferencesIds::SaveSettings, &fields.save);
        for (unsigned id : {unsigned(NumericFormattingPreferencesIds::DecimalPlacesEdit),
                            unsigned(NumericFormattingPreferencesIds::ProbDigitsField),
                            unsigned(NumericFormattingPreferences2319Ids::TagEdit)})
            dialog.OnNotification(id, EN_CHANGE, [this] { Refresh(); });
        for (unsigned id :
             {NumericFormattingPreferences2319Ids::ShowNumbersCombo, NumericFormattingPreferences2319Ids::UnitsCombo})
            dialog.OnNotification(id, CBN_SELCHANGE, [this] { Refresh(); });
        dialog.OnButton(NumericFormattingPreferences2319Ids::UseCommas, [this] { Refresh(); });
        dialog.OnButton(IDOK, [this] { Ok(); });
        Refresh();
        dialog.SelectField(NumericFormattingPreferencesIds::DecimalPlacesEdit);
    }

    int Run() { return dialog.Run(); }

private:
    // The tag shows only for custom units; the sample follows the fields as they stand.
    void Refresh()
    {
        const bool custom = units != nullptr && IsCustom(units->GetCurSel());
        for (unsigned id : {NumericFormattingPreferences2319Ids::TagEdit, NumericFormattingPreferences2319Ids::TagText})
            dialog.ShowItem(id, custom);
        FormatFields shown(fields);
        shown.digits = static_cast<int>(
            GetDlgItemInt(dialog.Handle(), NumericFormattingPreferencesIds::DecimalPlacesEdit, nullptr, FALSE));
        shown.scale = static_cast<int>(SendDlgItemMessageA(
            dialog.Handle(), NumericFormattingPreferences2319Ids::ShowNumbersCombo, CB_GETCURSEL, 0, 0));
        shown.units = units != nullptr ? units->GetCurSel() : fields.units;
        shown.commas = dialog.IsItemChecked(NumericFormattingPreferences2319Ids::UseCommas);
        shown.tag = dialog.ItemText(NumericFormattingPreferences2319Ids::TagEdit);
        shown.StoreInto(sample);
        zString text;
        FormatNumber(sample, 123456789.123456789, text, true, true, DigitsOfFormat);
        dialog.SetItemText(NumericFormattingPreferences2319Ids::N123Text, text.Text());
    }

    void Ok()
    {
        if (!dialog.ValidateAndStore())
            return;
        if (edited.format.spare) {
            (edited.format.axisFormat ? edited.format.axisDigits : edited.format.expValDigits) =
                static_cast<uint8_t>(fields.digits);
            dialog.Accept();
            return;
        }
        if (IsCustom(fields.units) && fields.tag.IsEmpty()) {
            dialog.SelectField(NumericFormattingPreferences2319Ids::TagEdit);
            ShowInfoBox(nullptr, "For custom quantity types (i.e., prefix or suffix), you should fill in the units "
                                 "here (e.g., \"QALY\").", 0);
            return;
        }
        fields.StoreInto(edited.format);
        if (fields.save)
            edited.format.WriteProfile();
        dialog.Accept();
    }

    NumericFormatDialog& edited;
    FormatFields fields;
    NumericFormat sample;
    ProgramDialog dialog;
    ComboBoxCtrl* units = nullptr;
};

}  // namespace

int NumericFormatDialog::Run()
{
    return (HasPresenter() ? Present() : FormatScreen(*this).Run()) == IDOK ? 1 : 0;
}

int RunNumericFormatDialog(NumericFormat& format, int method, int payoff)
{
    return NumericFormatDialog(format, method, payoff).Run();
}

int NumericFormatChoiceDialog::Run()
{
    int answer = IDCANCEL;
    if (HasPresenter()) {
        answer = Present();
    } else {
        ProgramDialog dialog(DialogRes::NumericFormatting);
        // The chooser has no Help button, but F1 in it and in the format dialog it opens (which has none either)
        // opens the chooser's topic, as the help says.
        HelpContextScope help(static_cast<int>(DialogRes::NumericFormatting));
        dialog.OnButton(Ctl::NumericFormatting::Cost,
                        [this] { changed |= RunNumericFormatDialog(cost, 0, costPayoff) != 0; });
        dialog.OnButton(Ctl::NumericFormatting::Effectiveness,
                        [this] { changed |= RunNumericFormatDialog(effectiveness, 0, effectivenessPayoff) != 0; });
        dialog.OnButton(Ctl::NumericFormatting::CostEff,
                        [this] { changed |= RunNumericFormatDialog(ratio, 1, 0) != 0; });
        // The chooser only closes: what it changed stays changed.
        dialog.Run();
        answer = IDOK;
    }
    return answer == IDOK && changed ? 1 : 0;
}

int RunNumericFormatPrefsDialog(NumericFormat& ratio, NumericFormat& cost, NumericFormat& effectiveness, int costPayoff,
                                int effectivenessPayoff)
{
    return NumericFormatChoiceDialog(ratio, cost, effectiveness, costPayoff, effectivenessPayoff).Run();
}
