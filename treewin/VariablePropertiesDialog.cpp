#include "treewin/VariablePropertiesDialog.h"

#include "treewin/NamedCommentDialog.h"
#include "treewin/VariableCorrelationsDialog.h"
#include "foundation/MessageBoxes.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "framework/dialog/FormattedEdit.h"
#include "model/DocVariable.h"
#include "model/DocumentVariableOps.h"
#include "model/NameRules.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <cstdlib>
#include <utility>

namespace Ids = Ctl::VariableProperties;

namespace {

struct BindingSearch {
    const char* upperName;
    bool found;
};

void NoteBinding(TreeNode* node, void* argument)
{
    auto* search = static_cast<BindingSearch*>(argument);
    search->found = search->found || node->FindBinding(search->upperName, true) != nullptr;
}

// A bound's text as typed, else its number.
zString BoundText(const FormattedValue& bound)
{
    zString text(bound.text);
    if (text.IsEmpty())
        FormatNumber(DefaultNumericFormat, bound.value, text, false, false, -9);
    return text;
}

// The number of a field's text; empty reads as 0. False when the text is no number.
bool ReadNumber(const zString& text, double& number)
{
    const char* begin = text.Text();
    while (*begin == ' ')
        ++begin;
    if (*begin == '\0') {
        number = 0.0;
        return true;
    }
    char* end = nullptr;
    number = std::strtod(begin, &end);
    while (*end == ' ')
        ++end;
    return end != begin && *end == '\0';
}

} // namespace

VariablePropertiesDialog::VariablePropertiesDialog(TreeWindow& window, DocVariable& variable)
    : AppDialog(DialogRes::VariableProperties), window(window), record(&variable)
{
    name = variable.name;
    BindFields();
    SetText(("Properties: " + std::string(name.Text())).c_str());
    ::ShowWindow(Control(Ids::More), SW_HIDE);
    SendMessageA(Control(Ids::NameEdit), EM_SETSEL, 0, 1000);
    SetFocus(Control(Ids::NameEdit));
}

VariablePropertiesDialog::VariablePropertiesDialog(TreeWindow& window, const char* givenName)
    : AppDialog(DialogRes::VariableProperties), window(window)
{
    name = givenName != nullptr ? givenName : "";
    BindFields();
    if (name.IsEmpty()) {
        SetText("Properties: New Variable");
        SetFocus(Control(Ids::NameEdit));
    } else {
        SetText(("Properties: " + std::string(name.Text())).c_str());
        EnableItem(Ids::NameEdit, false);
        ::ShowWindow(Control(Ids::More), SW_HIDE);
        SetFocus(Control(Ids::DescriptionEdit));
    }
}

void VariablePropertiesDialog::BindFields()
{
    numberFields[0] = AddRealFieldUnbounded(Ids::ValueEdit, &value);
    numberFields[1] = AddRealFieldUnbounded(Ids::InitialValueEdit, &initialValue);
    FillFromRecord();
    LoadControls();
}

void VariablePropertiesDialog::FillFromRecord()
{
    if (record != nullptr) {
        formerName = record->upperName;
        description = record->shortDescription;
        comment = record->comment;
        showInTree = record->flag3 != 0;
        if (record->hasRange) {
            low = record->low.value;
            high = record->high.value;
        }
        if (record->correlations != nullptr && record->correlations->Count() > 0)
            correlations.Copy(*record->correlations, true);
    }
    VariableDefinition* binding = window.Document().Root->FindBinding(name.Text(), false);
    defined = binding != nullptr && binding->definition.GetConstant(&value);
    if (!defined)
        value = 0.0;
    tracker = initialTracker = record != nullptr && record->tFlag != 0;
    initialValue = tracker ? record->tValue1 : 0.0;
    correlationsChanged = false;
}

// Every control from its field; the enabled states follow the definition and tracker flags.
void VariablePropertiesDialog::LoadControls()
{
    SetItemText(Ids::NameEdit, name.Text());
    SetItemText(Ids::DescriptionEdit, description.Text());
    CheckItem(Ids::ShowInTree, showInTree != 0);
    CheckItem(Ids::DefineNumerically, defined != 0);
    CheckItem(Ids::UseAsMonteCarloTracker, tracker != 0);
    for (RealEdit* field : numberFields)
        field->Load();
    // A range shows its own texts (its numbers when they have none); no range, empty fields.
    const bool ranged = record != nullptr && record->hasRange;
    SetItemText(Ids::LowValueEdit, ranged ? BoundText(record->low).Text() : "");
    SetItemText(Ids::HighValueEdit, ranged ? BoundText(record->high).Text() : "");
    EnableItem(Ids::DefineNumerically, !tracker);
    EnableItem(Ids::LowValueEdit, !tracker);
    EnableItem(Ids::HighValueEdit, !tracker);
    EnableItem(Ids::InitialValueEdit, tracker != 0);
    EnableItem(Ids::UseAsMonteCarloTracker, !defined && !initialTracker);
    EnableItem(Ids::ValueEdit, defined != 0);
    RefreshCorrelationText();
}

void VariablePropertiesDialog::RefreshCorrelationText()
{
    zString text;
    FormatCorrelationText(&window.Document(), &correlations, text);
    SetItemText(Ids::HighValueText, text.Text());
}

void VariablePropertiesDialog::StoreTexts()
{
    if (IsWindowEnabled(Control(Ids::NameEdit)))
        name = ItemText(Ids::NameEdit);
    description = ItemText(Ids::DescriptionEdit);
    showInTree = IsItemChecked(Ids::ShowInTree);
}

bool VariablePropertiesDialog::TrackerChangeAllowed() const
{
    zString upper(formerName.IsEmpty() ? name : formerName);
    upper.MakeUpper();
    BindingSearch search{upper.Text(), false};
    WalkTreeWithSkip(window.Document().Root, &NoteBinding, &search, false);
    return !search.found;
}

bool VariablePropertiesDialog::FieldsPass()
{
    StoreTexts();
    // An empty bound is 0: a variable without a range leaves both empty.
    for (const auto& [id, bound] :
         {std::pair<unsigned, double*>{Ids::LowValueEdit, &low}, {Ids::HighValueEdit, &high}}) {
        if (!ReadNumber(ItemText(id), *bound)) {
            ShowErrorBox(nullptr, "This field takes numbers only.", -1);
            SelectField(id);
            return false;
        }
    }
    if (!tracker && low > high) {
        ShowErrorBox(nullptr, "To assign a range, the high value must be greater than the low value.", -1);
        SelectField(Ids::HighValueEdit);
        return false;
    }
    zString upper(name);
    upper.MakeUpper();
    renaming = !formerName.IsEmpty() && formerName != upper;
    // A new name, for a new variable as for a rename, is one no variable has and that the name rules allow.
    if (renaming || (formerName.IsEmpty() && record == nullptr && !name.IsEmpty())) {
        SelectField(Ids::NameEdit);
        if (window.Document().FindVariable(upper.Text(), true) != nullptr) {
            ShowErrorBox(nullptr, "That name has already been used by a variable or table.", -1);
            return false;
        }
        if (!CheckVariableName(name, true, false))
            return false;
        if (renaming && AskYesNo(nullptr, "Are you sure you want to rename this variable?", -1) != 1)
            return false;
    }
    if (tracker != initialTracker && !TrackerChangeAllowed()) {
        ShowErrorBox(nullptr, "You cannot change this variable's tracker flag because it has definitions. You must "
                              "delete the definitions before proceeding.", -1);
        return false;
    }
    return true;
}

void VariablePropertiesDialog::Apply()
{
    if (name.IsEmpty())
        return;
    TreeDocument& document = window.Document();
    if (renaming) {
        // The old name is copied: the rename changes the record's own.
        const zString oldName(record->name);
        RenameVariable(document, oldName.Text(), name.Text());
        record = document.FindVariable(name.Text(), false);
    }
    if (record == nullptr)
        record = window.Document().EnsureVariable(name.Text(), nullptr);
    if (record == nullptr)
        return;
    record->shortDescription = description;
    record->comment = comment;
    record->flag3 = static_cast<int16_t>(showInTree != 0);
    if (defined) {
        zString text = ItemText(Ids::ValueEdit);
        if (text.IsEmpty())
            text = "0";
        document.Root->SetBinding(record->name.Text(), text.Text(), true);
        window.RedrawNode(document.Root, 0);
    }
    record->hasRange = high > low;
    if (record->hasRange) {
        record->low = FormattedValue{ItemText(Ids::LowValueEdit), low};
        record->high = FormattedValue{ItemText(Ids::HighValueEdit), high};
    }
    record->tFlag = static_cast<int16_t>(tracker != 0);
    if (tracker) {
        record->tValue1 = record->tValue3 = static_cast<float>(initialValue);
        record->tValue2 = 0.0f;
    }
    if (correlationsChanged)
        SetVariableCorrelations(document, *record, &correlations);
    appliedName = record->name;
    document.VariablesChanged();
    window.SetModified(1);
}

void VariablePropertiesDialog::ClearForNext()
{
    name.Clear();
    formerName.Clear();
    description.Clear();
    comment.Clear();
    showInTree = 1;
    defined = tracker = initialTracker = 0;
    value = low = high = initialValue = 0.0;
    record = nullptr;
    renaming = correlationsChanged = false;
    correlations.DeleteAll();
    SetItemText(IDCANCEL, "&Close");
    EnableItem(Ids::NameEdit, true);
    LoadControls();
}

void VariablePropertiesDialog::OnDefineClicked()
{
    defined = IsItemChecked(Ids::DefineNumerically);
    EnableItem(Ids::ValueEdit, defined != 0);
    if (defined) {
        tracker = 0;
        CheckItem(Ids::UseAsMonteCarloTracker, false);
        EnableItem(Ids::InitialValueEdit, false);
    }
    EnableItem(Ids::UseAsMonteCarloTracker, !defined);
}

void VariablePropertiesDialog::OnTrackerClicked()
{
    tracker = IsItemChecked(Ids::UseAsMonteCarloTracker);
    EnableItem(Ids::InitialValueEdit, tracker != 0);
    if (tracker) {
        defined = 0;
        CheckItem(Ids::DefineNumerically, false);
        EnableItem(Ids::ValueEdit, false);
    }
    for (unsigned id : {Ids::DefineNumerically, Ids::LowValueEdit, Ids::HighValueEdit})
        EnableItem(id, !tracker);
}

void VariablePropertiesDialog::EditCorrelations()
{
    StoreTexts();
    bool changed = false;
    VariableCorrelationsDialog dialog(window.Document(), record, name.Text(), correlations, changed);
    dialog.RunModal();
    if (changed) {
        correlationsChanged = true;
        RefreshCorrelationText();
    }
}

// Characters that may not stand in a name become '_' as they are typed.
void VariablePropertiesDialog::MapNameCharacters()
{
    zString text = ItemText(Ids::NameEdit);
    bool mapped = false;
    char* buffer = text.Buffer();
    for (char* p = buffer; *p != '\0'; ++p) {
        const char allowed = NameValidator::MapChar(*p, p == buffer);
        mapped = mapped || allowed != *p;
        *p = allowed;
    }
    if (!mapped)
        return;
    SetItemText(Ids::NameEdit, text.Text());
    SendMessageA(Control(Ids::NameEdit), EM_SETSEL, text.Length(), text.Length());
}

long VariablePropertiesDialog::OnCommandId(unsigned id, unsigned code, HWND control)
{
    switch (id) {
    case Ids::NameEdit:
        if (code == EN_CHANGE)
            MapNameCharacters();
        return 0;
    case Ids::Comment:
        RunCommentDialog(comment, "Variable Comment");
        return 1;
    case Ids::DefineNumerically:
        OnDefineClicked();
        return 1;
    case Ids::UseAsMonteCarloTracker:
        OnTrackerClicked();
        return 1;
    case Ids::Correlations:
        EditCorrelations();
        return 1;
    case Ids::More:
        if (ValidateAndStore() && FieldsPass()) {
            Apply();
            ClearForNext();
            SetFocus(Control(Ids::NameEdit));
        }
        return 1;
    default:
        return AppDialog::OnCommandId(id, code, control);
    }
}

int VariablePropertiesDialog::OkResult()
{
    if (!FieldsPass())
        return 0;
    Apply();
    return 1;
}
