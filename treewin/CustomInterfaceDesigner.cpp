// The designer's dialogs of a custom interface on the screen: Design Custom Interface, the Basic parameters
// and Add or Edit Parameter. Lists and choices edit the settings at once and mark the tree modified at once.

#include "widgets/RangeValidator.h"
#include "treewin/CustomInterfaceDialog.h"
#include "treewin/CustomInterfaceOptionsDialogs.h"
#include "treewin/NamedCommentDialog.h"
#include "widgets/ProgramDialog.h"
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

#include "CommandIds.h"

#include <cmath>
#include <string>
#include <vector>

namespace AddParameterIds = Ctl::AddParameter;
namespace BasicCustomInterfaceParametersIds = Ctl::BasicCustomInterfaceParameters;
namespace DesignCustomInterfaceIds = Ctl::DesignCustomInterface;

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
        {!(high > low), AddParameterIds::HighValueEdit, "The high value must be greater than the low value."},
        {!(low <= fallback && fallback <= high), AddParameterIds::DefaultValueEdit,
         "The default value must be between the low and high values."},
        {fields.wheel && (low < 0 || high > 1 || fields.integer), AddParameterIds::AllowProbabilityWheel,
         "The probability wheel may only be used for values between zero and one."},
        {fields.switchLabel.Length() > 8, AddParameterIds::NameEdit,
         "The name for the check box must be 8 letters or less."},
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
    dialog.SetItemText(AddParameterIds::VariableText, variable);
    dialog.SetItemText(AddParameterIds::ExpressionText, definition);
    EditCtrl* description = EditCtrl::FromTemplate(&dialog, AddParameterIds::DescriptionEdit, &fields.description);
    std::vector<RealEdit*> numbers;
    for (const auto& field : {std::pair<unsigned, double*>{AddParameterIds::LowValueEdit, &fields.low},
                              {AddParameterIds::HighValueEdit, &fields.high},
                              {AddParameterIds::DefaultValueEdit, &fields.fallback}})
        numbers.push_back(RealEdit::FromTemplate(&dialog, field.first, new RealRangeValidator(0, 0, 0), 0, field.second));
    EditCtrl* name = EditCtrl::FromTemplate(&dialog, AddParameterIds::NameEdit, &fields.switchLabel);
    dialog.SetChecked(AddParameterIds::AllowProbabilityWheel, fields.wheel);
    dialog.SetChecked(AddParameterIds::IntegerValuesOnly, fields.integer);
    dialog.SetChecked(AddParameterIds::OnOffSwitch, fields.onOff);
    const auto switchMode = [&](bool on) {
        for (RealEdit* number : numbers)
            number->Store();
        if (on) {
            fields.low = 0;
            fields.high = 1;
            fields.fallback = std::fabs(fields.fallback) >= 1e-10 ? 1 : 0;
            dialog.SetChecked(AddParameterIds::AllowProbabilityWheel, false);
        } else {
            fields.switchLabel.Clear();
            name->Load();
        }
        for (RealEdit* number : numbers)
            number->Load();
        dialog.EnableItem(AddParameterIds::LowValueEdit, !on);
        dialog.EnableItem(AddParameterIds::HighValueEdit, !on);
        dialog.EnableItem(AddParameterIds::NameEdit, on);
    };
    switchMode(fields.onOff);
    dialog.OnButton(AddParameterIds::OnOffSwitch, [&] { switchMode(dialog.IsChecked(AddParameterIds::OnOffSwitch)); });
    dialog.OnButton(AddParameterIds::IntegerValuesOnly, [&] {
        if (dialog.IsChecked(AddParameterIds::IntegerValuesOnly))
            dialog.SetChecked(AddParameterIds::AllowProbabilityWheel, false);
    });
    dialog.OnButton(AddParameterIds::AllowProbabilityWheel, [&] {
        if (!dialog.IsChecked(AddParameterIds::AllowProbabilityWheel))
            return;
        dialog.SetChecked(AddParameterIds::IntegerValuesOnly, false);
        dialog.SetChecked(AddParameterIds::OnOffSwitch, false);
        switchMode(false);
    });
    dialog.OnButton(AddParameterIds::Comment,
                    [&] { RunCommentDialog(fields.comment, (std::string("Parameter Comment: ") + variable).c_str()); });
    dialog.OnButton(IDOK, [&] {
        if (!dialog.ValidateAndStore())
            return;
        fields.wheel = dialog.IsChecked(AddParameterIds::AllowProbabilityWheel);
        fields.integer = dialog.IsChecked(AddParameterIds::IntegerValuesOnly);
        fields.onOff = dialog.IsChecked(AddParameterIds::OnOffSwitch);
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
    int Selected()
    {
        return static_cast<int>(dialog_.SendToItem(BasicCustomInterfaceParametersIds::DefaultList, LB_GETCURSEL));
    }
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
            dialog_.SendToItem(BasicCustomInterfaceParametersIds::VariablesWithNumericDefaultDefinitionsList,
                               LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(binding->name.Text()));
    }
}

void BasicParameters::FillParameters(int selected)
{
    dialog_.SendToItem(BasicCustomInterfaceParametersIds::DefaultList, LB_RESETCONTENT);
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
        dialog_.SendToItem(BasicCustomInterfaceParametersIds::DefaultList, LB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(line.c_str()));
    }
    dialog_.SendToItem(BasicCustomInterfaceParametersIds::DefaultList, LB_SETCURSEL, static_cast<WPARAM>(selected));
    EnableButtons();
}

void BasicParameters::EnableButtons()
{
    const int selected = Selected();
    const bool any = selected >= 0;
    dialog_.EnableItem(BasicCustomInterfaceParametersIds::Add,
                       dialog_.SendToItem(BasicCustomInterfaceParametersIds::VariablesWithNumericDefaultDefinitionsList,
                                          LB_GETCURSEL) >= 0);
    dialog_.EnableItem(BasicCustomInterfaceParametersIds::Remove, any);
    dialog_.EnableItem(BasicCustomInterfaceParametersIds::Edit, any);
    dialog_.EnableItem(BasicCustomInterfaceParametersIds::MoveUp, any && selected > 0);
    dialog_.EnableItem(BasicCustomInterfaceParametersIds::MoveDown, any && selected + 1 < settings_.Count());
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
    tree_.SetModified(1);
}

void BasicParameters::Add()
{
    const LRESULT line =
        dialog_.SendToItem(BasicCustomInterfaceParametersIds::VariablesWithNumericDefaultDefinitionsList, LB_GETCURSEL);
    if (line < 0)
        return;
    char name[256] = "";
    dialog_.SendToItem(BasicCustomInterfaceParametersIds::VariablesWithNumericDefaultDefinitionsList, LB_GETTEXT,
                       static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(name));
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
    dialog_.SendToItem(BasicCustomInterfaceParametersIds::VariablesWithNumericDefaultDefinitionsList, LB_DELETESTRING,
                       static_cast<WPARAM>(line));
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
    const LRESULT line =
        dialog_.SendToItem(BasicCustomInterfaceParametersIds::VariablesWithNumericDefaultDefinitionsList, LB_ADDSTRING,
                           0, reinterpret_cast<LPARAM>(settings_.At(selected)->variableName.Text()));
    dialog_.SendToItem(BasicCustomInterfaceParametersIds::VariablesWithNumericDefaultDefinitionsList, LB_SETCURSEL,
                       static_cast<WPARAM>(line));
    settings_.DeleteAt(selected);
    tree_.SetModified(1);
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
    tree_.SetModified(1);
    FillParameters(other);
}

void BasicParameters::Run()
{
    FillVariables();
    // Under the headings: the label, the name, then low, high and default.
    const int tabs[] = {60, 110, 150, 190};  // not a resource id: tab stops
    dialog_.SendToItem(BasicCustomInterfaceParametersIds::DefaultList, LB_SETTABSTOPS, 4,
                       reinterpret_cast<LPARAM>(tabs));
    FillParameters(-1);
    dialog_.OnButton(BasicCustomInterfaceParametersIds::Add, [this] { Add(); });
    dialog_.OnButton(BasicCustomInterfaceParametersIds::Edit, [this] { Edit(); });
    dialog_.OnButton(BasicCustomInterfaceParametersIds::Remove, [this] { Remove(); });
    dialog_.OnButton(BasicCustomInterfaceParametersIds::MoveUp, [this] { Move(-1); });
    dialog_.OnButton(BasicCustomInterfaceParametersIds::MoveDown, [this] { Move(1); });
    dialog_.OnNotification(BasicCustomInterfaceParametersIds::VariablesWithNumericDefaultDefinitionsList, LBN_SELCHANGE,
                           [this] { EnableButtons(); });
    dialog_.OnNotification(BasicCustomInterfaceParametersIds::VariablesWithNumericDefaultDefinitionsList, LBN_DBLCLK,
                           [this] { Add(); });
    dialog_.OnNotification(BasicCustomInterfaceParametersIds::DefaultList, LBN_SELCHANGE, [this] { EnableButtons(); });
    dialog_.OnNotification(BasicCustomInterfaceParametersIds::DefaultList, LBN_DBLCLK, [this] { Edit(); });
    dialog_.Run();
}

}  // namespace

bool CustomInterfaceDialog::Run()
{
    if (HasPresenter())
        return Present() == IDOK;
    ProgramDialog dialog(DialogRes::DesignCustomInterface);
    bool extendedChosen = settings.options.extended != 0;
    dialog.SetChecked(extendedChosen ? DesignCustomInterfaceIds::Extended : DesignCustomInterfaceIds::Basic, true);
    const auto relabel = [&] {
        extendedChosen = dialog.IsChecked(DesignCustomInterfaceIds::Extended);
        const std::string kind = extendedChosen ? "Extended " : "Basic ";
        dialog.SetItemText(DesignCustomInterfaceIds::BasicOptions, (kind + "&Options").c_str());
        dialog.SetItemText(DesignCustomInterfaceIds::BasicParameters, (kind + "&Parameters").c_str());
    };
    relabel();
    dialog.OnButton(DesignCustomInterfaceIds::Basic, relabel);
    dialog.OnButton(DesignCustomInterfaceIds::Extended, relabel);
    dialog.OnButton(DesignCustomInterfaceIds::BasicOptions, [&] {
        if (extendedChosen)
            RunExtendedOptions(tree, settings.options);
        else
            RunBasicOptions(tree, settings.options);
    });
    dialog.OnButton(DesignCustomInterfaceIds::BasicParameters, [&] {
        if (extendedChosen)
            RunExtendedParameters(tree);
        else
            BasicParameters(tree, settings).Run();
    });
    dialog.OnButton(DesignCustomInterfaceIds::EditAnalyses, [&] { tree.OnCommand(Cmd::AnalysisMaintainAnalyses); });
    dialog.OnButton(DesignCustomInterfaceIds::Comments, [&] {
        if (RunCommentDialog(settings.comment, nullptr))
            tree.SetModified(1);
    });
    dialog.Run();
    // However the dialog ends, the choice of interface is kept.
    const int16_t extended = extendedChosen ? 1 : 0;
    if (extended != settings.options.extended)
        tree.SetModified(1);
    settings.options.extended = extended;
    return false;
}
