// The designer's dialogs of a custom interface on the screen: Design Custom Interface, the Basic parameters
// and Add or Edit Parameter. Lists and choices edit the settings at once and mark the tree modified at once.

#include "CommandIds.h"
#include "app/RangeValidator.h"
#include "dialogs/CustomInterfaceDialog.h"
#include "dialogs/CustomInterfaceOptionsDialogs.h"
#include "dialogs/NamedCommentDialog.h"
#include "dialogs/ProgramDialog.h"
#include "foundation/MessageBoxes.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatParsing.h"
#include "foundation/NumericFormatting.h"
#include "formula/FormulaRef.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/FormattedEdit.h"
#include "model/CustomInterfaceSettings.h"
#include "model/DocVariable.h"
#include "model/EvalContext.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "treewin/TreeWindow.h"

#include <cmath>
#include <string>
#include <vector>

namespace {


std::string NumberText(double value)
{
    zString text;
    FormatNumber(DefaultNumericFormat, value, text, false, false, -9);
    return text.Text();
}

// What Add or Edit Parameter edits: the parameter's fields and its variable's description and comment.
struct ParameterFields {
    zString description;
    zString comment;
    zString switchLabel;
    double low = 0.0, high = 0.0, fallback = 0.0;
    bool wheel = false, integer = false, onOff = false;
};

// The first check the fields fail, with the control to focus; empty when they pass.
std::string FirstFailure(const ParameterFields& fields, unsigned& control)
{
    const auto whole = [&fields](double v) { return fields.integer ? std::trunc(v) : v; };
    const double low = whole(fields.low), high = whole(fields.high), fallback = whole(fields.fallback);
    const struct {
        bool failed;
        unsigned control;
        const char* text;
    } checks[] = {
        {!(high > low), Ctl::AddParameter::HighValueEdit, "The high value must be greater than the low value."},
        {!(low <= fallback && fallback <= high), Ctl::AddParameter::DefaultValueEdit, "The default value must be between the low and high values."},
        {fields.wheel && (low < 0 || high > 1 || fields.integer), Ctl::AddParameter::AllowProbabilityWheel,
         "The probability wheel may only be used for values between zero and one."},
        {fields.switchLabel.Length() > 8, Ctl::AddParameter::NameEdit, "The name for the check box must be 8 letters or less."},
    };
    for (const auto& check : checks)
        if (check.failed) {
            control = check.control;
            return check.text;
        }
    return std::string();
}

// Add Parameter (or, editing, Edit Parameter) on the fields; true after OK.
bool RunParameterDialog(const char* variable, const char* definition, ParameterFields& fields, bool editing)
{
    ProgramDialog dialog(DialogRes::AddParameter);
    if (editing)
        dialog.SetText("Edit Parameter");
    dialog.SetItemText(Ctl::AddParameter::VariableText, variable);
    dialog.SetItemText(Ctl::AddParameter::ExpressionText, definition);
    EditCtrl* description = EditCtrl::FromTemplate(&dialog, Ctl::AddParameter::DescriptionEdit, &fields.description);
    std::vector<RealEdit*> numbers;
    for (const auto& field : {std::pair<unsigned, double*>{Ctl::AddParameter::LowValueEdit, &fields.low}, {Ctl::AddParameter::HighValueEdit, &fields.high},
                              {Ctl::AddParameter::DefaultValueEdit, &fields.fallback}})
        numbers.push_back(RealEdit::FromTemplate(&dialog, field.first, new RealRangeValidator(0, 0, 0), 0, field.second));
    EditCtrl* name = EditCtrl::FromTemplate(&dialog, Ctl::AddParameter::NameEdit, &fields.switchLabel);
    dialog.SetChecked(Ctl::AddParameter::AllowProbabilityWheel, fields.wheel);
    dialog.SetChecked(Ctl::AddParameter::IntegerValuesOnly, fields.integer);
    dialog.SetChecked(Ctl::AddParameter::OnOffSwitch, fields.onOff);
    const auto switchMode = [&](bool on) {
        for (RealEdit* number : numbers)
            number->Store();
        if (on) {
            fields.low = 0;
            fields.high = 1;
            fields.fallback = std::fabs(fields.fallback) >= 1e-10 ? 1 : 0;
            dialog.SetChecked(Ctl::AddParameter::AllowProbabilityWheel, false);
        } else {
            fields.switchLabel.Clear();
            name->Load();
        }
        for (RealEdit* number : numbers)
            number->Load();
        dialog.EnableItem(Ctl::AddParameter::LowValueEdit, !on);
        dialog.EnableItem(Ctl::AddParameter::HighValueEdit, !on);
        dialog.EnableItem(Ctl::AddParameter::NameEdit, on);
    };
    switchMode(fields.onOff);
    dialog.OnButton(Ctl::AddParameter::OnOffSwitch, [&] { switchMode(dialog.IsChecked(Ctl::AddParameter::OnOffSwitch)); });
    dialog.OnButton(Ctl::AddParameter::IntegerValuesOnly, [&] {
        if (dialog.IsChecked(Ctl::AddParameter::IntegerValuesOnly))
            dialog.SetChecked(Ctl::AddParameter::AllowProbabilityWheel, false);
    });
    dialog.OnButton(Ctl::AddParameter::AllowProbabilityWheel, [&] {
        if (!dialog.IsChecked(Ctl::AddParameter::AllowProbabilityWheel))
            return;
        dialog.SetChecked(Ctl::AddParameter::IntegerValuesOnly, false);
        dialog.SetChecked(Ctl::AddParameter::OnOffSwitch, false);
        switchMode(false);
    });
    dialog.OnButton(Ctl::AddParameter::Comment, [&] {
        RunCommentDialog(fields.comment, (std::string("Parameter Comment: ") + variable).c_str());
    });
    dialog.OnButton(IDOK, [&] {
        if (!dialog.ValidateAndStore())
            return;
        fields.wheel = dialog.IsChecked(Ctl::AddParameter::AllowProbabilityWheel);
        fields.integer = dialog.IsChecked(Ctl::AddParameter::IntegerValuesOnly);
        fields.onOff = dialog.IsChecked(Ctl::AddParameter::OnOffSwitch);
        unsigned control = 0;
        const std::string failure = FirstFailure(fields, control);
        if (failure.empty()) {
            dialog.EndModal();
            return;
        }
        ShowErrorBox(nullptr, failure.c_str(), 0);
        SetFocus(dialog.Control(control));
        SendMessageA(dialog.Control(control), EM_SETSEL, 0, -1);
    });
    description->SetSelection(0, -1);
    SetFocus(description->Handle());
    return dialog.Run() == IDOK;
}

// The default definition of the variable: the root's binding, else none.
std::string DefaultDefinition(const TreeDocument& tree, const char* name)
{
    const VariableDefinition* binding = tree.Root->FindBinding(name, false);
    return binding != nullptr ? binding->definition.Text().Text() : "";
}

// Basic Custom Interface Parameters: the root's numeric variables not yet parameters, and the parameters.
class BasicParameters {
public:
    BasicParameters(TreeWindow& tree, CustomInterfaceSettings& settings)
        : tree_(tree), settings_(settings), dialog_(DialogRes::BasicCustomInterfaceParameters)
    {
    }
    void Run();

private:
    TreeDocument& Document() const { return tree_.Document(); }
    bool IsParameter(const zString& name) const;
    void FillVariables();
    void FillParameters(int selected);
    int Selected() { return static_cast<int>(dialog_.SendToItem(Ctl::BasicCustomInterfaceParameters::DefaultList, LB_GETCURSEL)); }
    void EnableButtons();
    void Add();
    void Edit();
    void Remove();
    void Move(int by);
    // The parameter takes the dialog's fields, its variable their description and comment.
    void Fill(CustomInterfaceParameter& parameter, const ParameterFields& fields, const std::string& definition);

    TreeWindow& tree_;
    CustomInterfaceSettings& settings_;
    ProgramDialog dialog_;
};

bool BasicParameters::IsParameter(const zString& name) const
{
    for (int i = 0; i < settings_.Count(); ++i)
        if (_stricmp(settings_.At(i)->variableName.Text(), name.Text()) == 0)
            return true;
    return false;
}

void BasicParameters::FillVariables()
{
    const TreeNode* root = Document().Root;
    for (int i = 0; i < root->BindingCount(); ++i) {
        VariableDefinition* binding = root->GetBinding(i);
        double value = 0.0;
        if (binding != nullptr && !binding->IsBraced() && binding->definition.GetConstant(&value) &&
            !IsParameter(binding->name))
            dialog_.SendToItem(Ctl::BasicCustomInterfaceParameters::VariablesWithNumericDefaultDefinitionsList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(binding->name.Text()));
    }
}

void BasicParameters::FillParameters(int selected)
{
    dialog_.SendToItem(Ctl::BasicCustomInterfaceParameters::DefaultList, LB_RESETCONTENT);
    for (int i = 0; i < settings_.Count(); ++i) {
        const CustomInterfaceParameter& parameter = *settings_.At(i);
        zString label(parameter.variableName);
        if (const DocVariable* variable = Document().FindVariable(parameter.variableName.Text(), false))
            variable->GetLabel(label);
        // Each text cut to its column.
        const std::string line = dialog_.FittedText(label.Text(), 58) + "\t" +
                                 dialog_.FittedText(parameter.variableName.Text(), 48) + "\t" +
                                 NumberText(parameter.low) + "\t" + NumberText(parameter.high) + "\t" +
                                 NumberText(parameter.defaultValue);
        dialog_.SendToItem(Ctl::BasicCustomInterfaceParameters::DefaultList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    dialog_.SendToItem(Ctl::BasicCustomInterfaceParameters::DefaultList, LB_SETCURSEL, static_cast<WPARAM>(selected));
    EnableButtons();
}

void BasicParameters::EnableButtons()
{
    const int selected = Selected();
    const bool any = selected >= 0;
    dialog_.EnableItem(Ctl::BasicCustomInterfaceParameters::Add, dialog_.SendToItem(Ctl::BasicCustomInterfaceParameters::VariablesWithNumericDefaultDefinitionsList, LB_GETCURSEL) >= 0);
    dialog_.EnableItem(Ctl::BasicCustomInterfaceParameters::Remove, any);
    dialog_.EnableItem(Ctl::BasicCustomInterfaceParameters::Edit, any);
    dialog_.EnableItem(Ctl::BasicCustomInterfaceParameters::MoveUp, any && selected > 0);
    dialog_.EnableItem(Ctl::BasicCustomInterfaceParameters::MoveDown, any && selected + 1 < settings_.Count());
}

void BasicParameters::Fill(CustomInterfaceParameter& parameter, const ParameterFields& fields,
                           const std::string& definition)
{
    if (DocVariable* variable = Document().FindVariable(parameter.variableName.Text(), false)) {
        variable->shortDescription = fields.description;
        variable->comment = fields.comment;
    }
    parameter.low = fields.low;
    parameter.high = fields.high;
    parameter.defaultValue = parameter.currentValue = fields.fallback;
    parameter.wheelAllowed = fields.wheel ? 1 : 0;
    parameter.integerOnly = fields.integer ? 1 : 0;
    parameter.onOffSwitch = fields.onOff ? 1 : 0;
    parameter.switchLabel = fields.switchLabel;
    double value = 0.0;
    int error = 0;
    ParseNumber(definition.c_str(), value, error);
    parameter.valueText = error == 0 ? definition.c_str() : "";
    Document().SetModified(1);
}

void BasicParameters::Add()
{
    const LRESULT line = dialog_.SendToItem(Ctl::BasicCustomInterfaceParameters::VariablesWithNumericDefaultDefinitionsList, LB_GETCURSEL);
    if (line < 0)
        return;
    char name[256] = "";
    dialog_.SendToItem(Ctl::BasicCustomInterfaceParameters::VariablesWithNumericDefaultDefinitionsList, LB_GETTEXT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(name));
    FormulaRef formula(new EvalContext(&Document(), Document().Root), 1, "the selected variable");
    const double value = formula.EvaluateText(name);
    if (formula.ShowError(nullptr, 0) != 0)
        return;
    ParameterFields fields;
    const DocVariable* variable = Document().FindVariable(name, false);
    const bool ranged = variable != nullptr && variable->hasRange != 0;
    fields.low = ranged ? variable->low.value : value;
    fields.high = ranged ? variable->high.value : value;
    fields.fallback = value;
    if (variable != nullptr) {
        fields.description = variable->shortDescription;
        fields.comment = variable->comment;
    }
    const std::string definition = DefaultDefinition(Document(), name);
    if (!RunParameterDialog(name, definition.c_str(), fields, false))
        return;
    dialog_.SendToItem(Ctl::BasicCustomInterfaceParameters::VariablesWithNumericDefaultDefinitionsList, LB_DELETESTRING, static_cast<WPARAM>(line));
    auto* parameter = new CustomInterfaceParameter{name};
    settings_.Add(parameter);
    Fill(*parameter, fields, definition);
    FillParameters(settings_.Count() - 1);
}

void BasicParameters::Edit()
{
    const int selected = Selected();
    if (selected < 0)
        return;
    CustomInterfaceParameter& parameter = *settings_.At(selected);
    ParameterFields fields;
    if (const DocVariable* variable = Document().FindVariable(parameter.variableName.Text(), false)) {
        fields.description = variable->shortDescription;
        fields.comment = variable->comment;
    }
    fields.switchLabel = parameter.switchLabel;
    fields.low = parameter.low;
    fields.high = parameter.high;
    fields.fallback = parameter.defaultValue;
    fields.wheel = parameter.wheelAllowed != 0;
    fields.integer = parameter.integerOnly != 0;
    fields.onOff = parameter.onOffSwitch != 0;
    const std::string definition = DefaultDefinition(Document(), parameter.variableName.Text());
    if (RunParameterDialog(parameter.variableName.Text(), definition.c_str(), fields, true)) {
        Fill(parameter, fields, definition);
        FillParameters(selected);
    }
}

void BasicParameters::Remove()
{
    const int selected = Selected();
    if (selected < 0)
        return;
    const LRESULT line = dialog_.SendToItem(Ctl::BasicCustomInterfaceParameters::VariablesWithNumericDefaultDefinitionsList, LB_ADDSTRING, 0,
                                          reinterpret_cast<LPARAM>(settings_.At(selected)->variableName.Text()));
    dialog_.SendToItem(Ctl::BasicCustomInterfaceParameters::VariablesWithNumericDefaultDefinitionsList, LB_SETCURSEL, static_cast<WPARAM>(line));
    settings_.DeleteAt(selected);
    Document().SetModified(1);
    FillParameters(std::min(selected, settings_.Count() - 1));
}

void BasicParameters::Move(int by)
{
    const int selected = Selected();
    const int other = selected + by;
    if (selected < 0 || other < 0 || other >= settings_.Count())
        return;
    void* moving = settings_.At(selected);
    settings_.RemoveAt(selected);
    settings_.InsertAt(other, moving);
    FillParameters(other);
}

void BasicParameters::Run()
{
    FillVariables();
    // Under the headings: the label, the name, then low, high and default.
    const int tabs[] = {60, 110, 150, 190};
    dialog_.SendToItem(Ctl::BasicCustomInterfaceParameters::DefaultList, LB_SETTABSTOPS, 4, reinterpret_cast<LPARAM>(tabs));
    FillParameters(-1);
    dialog_.OnButton(Ctl::BasicCustomInterfaceParameters::Add, [this] { Add(); });
    dialog_.OnButton(Ctl::BasicCustomInterfaceParameters::Edit, [this] { Edit(); });
    dialog_.OnButton(Ctl::BasicCustomInterfaceParameters::Remove, [this] { Remove(); });
    dialog_.OnButton(Ctl::BasicCustomInterfaceParameters::MoveUp, [this] { Move(-1); });
    dialog_.OnButton(Ctl::BasicCustomInterfaceParameters::MoveDown, [this] { Move(1); });
    dialog_.OnNotification(Ctl::BasicCustomInterfaceParameters::VariablesWithNumericDefaultDefinitionsList, LBN_SELCHANGE, [this] { EnableButtons(); });
    dialog_.OnNotification(Ctl::BasicCustomInterfaceParameters::VariablesWithNumericDefaultDefinitionsList, LBN_DBLCLK, [this] { Add(); });
    dialog_.OnNotification(Ctl::BasicCustomInterfaceParameters::DefaultList, LBN_SELCHANGE, [this] { EnableButtons(); });
    dialog_.OnNotification(Ctl::BasicCustomInterfaceParameters::DefaultList, LBN_DBLCLK, [this] { Edit(); });
    dialog_.Run();
}

} // namespace

bool CustomInterfaceDialog::Run()
{
    if (HasPresenter())
        return Present() == IDOK;
    ProgramDialog dialog(DialogRes::DesignCustomInterface);
    bool extendedChosen = settings.options.extended != 0;
    dialog.SetChecked(extendedChosen ? Ctl::DesignCustomInterface::Extended : Ctl::DesignCustomInterface::Basic, true);
    const auto relabel = [&] {
        extendedChosen = dialog.IsChecked(Ctl::DesignCustomInterface::Extended);
        const std::string kind = extendedChosen ? "Extended " : "Basic ";
        dialog.SetItemText(Ctl::DesignCustomInterface::BasicOptions, (kind + "&Options").c_str());
        dialog.SetItemText(Ctl::DesignCustomInterface::BasicParameters, (kind + "&Parameters").c_str());
    };
    relabel();
    dialog.OnButton(Ctl::DesignCustomInterface::Basic, relabel);
    dialog.OnButton(Ctl::DesignCustomInterface::Extended, relabel);
    dialog.OnButton(Ctl::DesignCustomInterface::BasicOptions, [&] {
        if (extendedChosen)
            RunExtendedOptions(tree, settings.options);
        else
            RunBasicOptions(tree, settings.options);
    });
    dialog.OnButton(Ctl::DesignCustomInterface::BasicParameters, [&] {
        if (extendedChosen)
            RunExtendedParameters(tree);
        else
            BasicParameters(tree, settings).Run();
    });
    dialog.OnButton(Ctl::DesignCustomInterface::EditAnalyses, [&] { tree.OnCommand(Cmd::AnalysisMaintainAnalyses); });
    dialog.OnButton(Ctl::DesignCustomInterface::Comments, [&] {
        if (RunCommentDialog(settings.comment, nullptr))
            tree.Document().SetModified(1);
    });
    dialog.Run();
    // However the dialog ends, the choice of interface is kept.
    const int16_t extended = extendedChosen ? 1 : 0;
    if (extended != settings.options.extended)
        tree.Document().SetModified(1);
    settings.options.extended = extended;
    return false;
}
