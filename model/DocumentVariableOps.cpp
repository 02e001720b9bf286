#include "model/DocumentVariableOps.h"

#include "model/StoredAnalysis.h"
#include "model/StoredAnalysisList.h"
#include "model/StoredAnalysisVariables.h"
#include "foundation/Host.h"
#include "formula/RunOutcome.h"
#include "formula/CorrelationList.h"
#include "formula/Distribution.h"
#include "formula/DistributionList.h"
#include "model/EvalContext.h"
#include "formula/FormulaErrors.h"
#include "formula/FormulaRef.h"
#include "foundation/NameList.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "foundation/StringHelpers.h"
#include "model/DocVariable.h"
#include "model/ExpressionWalk.h"
#include "model/NameRules.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "model/TreeDocument.h"
#include "model/TreeDocumentView.h"

namespace {

constexpr int kDefinitionLabelLength = 30;

// True when there is a selection and every selected node binds the name.
bool SelectionBindsName(const NodeChildList* selection, const char* upperName)
{
    if (selection == nullptr || selection->Count() == 0)
        return false;
    for (int i = 0; i < selection->Count(); ++i) {
        if (selection->At(i)->FindBinding(upperName, true) == nullptr)
            return false;
    }
    return true;
}

void RenameInDistributions(DistributionList& distributions, const char* oldName, const char* newName)
{
    for (int i = 0; i < distributions.Count(); ++i) {
        Distribution* distribution = distributions.RecordAt(i)->GetDistribution();
        if (distribution == nullptr)
            continue;
        for (int p = 0; p < distribution->ParameterCount(); ++p)
            ReplaceVariableInFormula(*distribution->Parameter(p), oldName, newName);
    }
}

// The last analysis's record and every stored analysis follow the variable to its new name.
void RenameInStoredAnalyses(TreeDocument& window, const char* oldName, const char* newName)
{
    if (window.LastAnalysis != nullptr)
        RenameVariableInStoredAnalysis(*window.LastAnalysis, oldName, newName);
    if (window.StoredAnalysisRecords == nullptr)
        return;
    const StoredAnalysisList& records = *window.StoredAnalysisRecords;
    for (int i = 0; i < records.Count(); ++i)
        RenameVariableInStoredAnalysis(*records.At(i), oldName, newName);
}

// Nodes are marked by the variables they define only under display setting 2; then a change of the
// variables redraws the tree.
void RedrawMarkedVariables(TreeDocument& window)
{
    if (window.DisplayPrefs.MarkNodesWithVars == 2)
        window.Relayout();
}

// The custom interface's first parameter that sets the variable goes with it.
void RemoveInterfaceParameter(TreeDocument& window, const zString& name)
{
    CustomInterfaceSettings* settings = window.CustomInterface.get();
    for (int i = 0; settings != nullptr && i < settings->Count(); ++i) {
        if (EqualsNoCase(settings->At(i)->variableName, name)) {
            settings->DeleteAt(i);
            return;
        }
    }
}

// The custom interface's first parameter that sets the variable follows it to its new name.
void RenameInterfaceParameter(TreeDocument& window, const char* oldName, const char* newName)
{
    CustomInterfaceSettings* settings = window.CustomInterface.get();
    for (int i = 0; settings != nullptr && i < settings->Count(); ++i) {
        if (EqualsNoCase(settings->At(i)->variableName, oldName)) {
            settings->At(i)->variableName = newName;
            return;
        }
    }
}

// The roll-back display's custom calculations are kept as texts: the name is replaced in them alone.
void RenameInDisplayColumns(TreeDocument& window, const char* oldName, const char* newName)
{
    for (int i = 0; i < window.RollBackColumns.Count(); ++i) {
        DisplayColumn* column = window.RollBackColumns.At(i);
        if (column->kind == DisplayColumn::kCustomCalculation)
            ReplaceAll(column->formula, oldName, newName, true, false, 0, true);
    }
}

}  // namespace

bool FindVariableTrimmed(const TreeDocument& window, zString& text)
{
    const char* start = text.Text();
    while (*start == ' ' || *start == '\t')
        ++start;
    zString name(start);
    NormalizeVariableName(name);
    const DocVariable* variable = window.FindVariable(name.Text(), false);
    if (variable == nullptr)
        return false;
    text = variable->name;
    return true;
}

bool ReplaceVariableInFormula(Expression& formula, const char* oldName, const char* newName)
{
    zString text(formula.Text());
    if (ReplaceAll(text, oldName, newName, true, false, 0, true) <= 0)
        return false;
    formula.SetText(text.Text());
    return true;
}

void RenameVariable(TreeDocument& window, const char* oldName, const char* newName)
{
    zString oldUpper(oldName);
    oldUpper.MakeUpper();
    DocVariable* variable = window.FindVariable(oldUpper.Text(), true);
    if (variable == nullptr)
        return;
    window.SetModified(1);

    window.Variables.Remove(variable);
    variable->SetName(newName);
    if (window.Variables.InsertSorted(variable) < 0) {
        delete variable;
        variable = nullptr;
    }
    window.VariablesChanged();

    if (window.Root != nullptr)
        window.Root->RenameBindingInSubtree(oldName, newName);

    zString newUpper(newName);
    newUpper.MakeUpper();
    for (int i = 0; i < window.Variables.Count(); ++i)
        window.Variables.At(i)->RenameCorrelation(oldUpper.Text(), newUpper.Text());
    RenameInterfaceParameter(window, oldName, newName);

    RenameInDistributions(window.Distributions, oldName, newName);
    ReplaceVariableInFormula(window.CESettings.willingnessToPay, oldName, newName);
    ReplaceVariableInFormula(window.CESettings.costCeiling, oldName, newName);
    ReplaceVariableInFormula(window.CESettings.effectivenessFloor, oldName, newName);
    RenameInDisplayColumns(window, oldName, newName);
    RenameInStoredAnalyses(window, oldName, newName);

    if (window.Root != nullptr) {
        HostSilence quiet(Silence::FormulaMessages);
        ReparseTreeBindings(window.Root, true, nullptr, nullptr, nullptr);
    }
    RedrawMarkedVariables(window);
    if (window.View != nullptr)
        window.View->VariableRenamed(oldName, newName);
}

void DeleteVariable(TreeDocument& window, const char* name)
{
    zString upperName(name);
    upperName.MakeUpper();
    DocVariable* variable = window.FindVariable(upperName.Text(), true);
    if (variable == nullptr)
        return;

    if (window.View != nullptr)
        window.View->CloseVariableWindows(*variable);
    zString displayName;
    VariableDisplayName(window, variable->name.Text(), displayName);
    if (window.Root != nullptr)
        window.Root->RemoveBinding(displayName.Text(), true, false);
    RemoveInterfaceParameter(window, upperName);

    for (int i = 0; i < window.Variables.Count(); ++i)
        window.Variables.At(i)->RenameCorrelation(upperName.Text(), "");

    // Stored analyses keep the name: running one that varies it reports that it has no definitions.
    window.Variables.DeletePtr(variable);
    if (!window.SuspendVariablesSync) {
        window.VariablesChanged();
        RedrawMarkedVariables(window);
    }
}

void SetVariableCorrelations(TreeDocument& window, DocVariable& variable, CorrelationList* newEntries)
{
    if (variable.correlations != nullptr) {
        for (int i = 0; i < variable.correlations->Count(); ++i) {
            DocVariable* partner = window.FindVariable(variable.correlations->At(i)->name.Text(), true);
            if (partner != nullptr)
                partner->RemoveCorrelation(variable.upperName.Text());
        }
        variable.correlations->DeleteAll();
    }
    if (newEntries == nullptr)
        return;
    for (int i = 0; i < newEntries->Count(); ++i) {
        const CorrelationItem* entry = newEntries->At(i);
        CorrelationList& own = variable.GetCorrelations();
        own.Add(own.CloneItem(newEntries->At(i)));
        DocVariable* partner = window.FindVariable(entry->name.Text(), false);
        // A variable is not recorded twice as its own partner.
        if (partner == nullptr || partner == &variable)
            continue;
        auto* mirror = new CorrelationItem;
        mirror->name = variable.upperName;
        mirror->negative = entry->negative;
        partner->GetCorrelations().Add(mirror);
    }
    newEntries->DeleteAll();
}

void VariableDisplayName(const TreeDocument& window, const char* name, zString& out)
{
    const DocVariable* variable = window.FindVariable(name, false);
    out.Clear();
    if (variable != nullptr && variable->tFlag)
        out = "{T} ";
    out += name;
}

int ListFlaggedVariables(const TreeDocument& window, std::vector<DocVariable*>* out)
{
    int count = 0;
    for (int i = 0; i < window.Variables.Count(); ++i) {
        DocVariable* variable = window.Variables.At(i);
        if (!variable->tFlag)
            continue;
        ++count;
        if (out != nullptr)
            out->push_back(variable);
    }
    return count;
}

void GetVariableDescription(const TreeDocument& window, const char* name, zString& out)
{
    out.Clear();
    const DocVariable* variable = window.FindVariable(name, false);
    if (variable == nullptr)
        return;
    out = variable->comment.IsEmpty() ? variable->shortDescription : variable->comment;
}

int CheckEditConflict(TreeDocument& window, const NodeChildList& nodes, const char* name, bool ask)
{
    if (window.RolledBack)
        return 0;
    if (window.View == nullptr)
        return 1;
    for (int i = 0; i < nodes.Count(); ++i)
        if (!window.View->AcceptsEdit(nodes.At(i), name, ask))
            return 0;
    return 1;
}

void FillVariableChoices(TreeDocument& window, NameList& out, int mode, const NodeChildList* selection)
{
    const NodeChildList none(1, false);
    for (int i = 0; i < window.Variables.Count(); ++i) {
        const DocVariable* variable = window.Variables.At(i);
        zString text(variable->name);
        if (mode == 1) {
            if (!CheckEditConflict(window, selection != nullptr ? *selection : none, variable->name.Text(), false))
                continue;
            if (SelectionBindsName(selection, variable->upperName.Text()))
                text += " *";
        } else if (mode == 3 && variable->tFlag) {
            continue;
        }
        out.AddCopy(text);
    }
}

void FillVariableRows(TreeDocument& window, NameList& out, int mode, const NodeChildList* selection)
{
    for (int i = 0; i < window.Variables.Count(); ++i) {
        const DocVariable* variable = window.Variables.At(i);
        zString row(variable->name);
        switch (mode) {
        case 1:
            row += '\t';
            if (SelectionBindsName(selection, variable->upperName.Text()))
                row += '*';
            row += '\t';
            if (variable->tFlag)
                row += "{T} ";
            row += '\t';
            if (variable->flag3)
                row += '+';
            break;
        case 3:
            if (variable->tFlag)
                continue;
            break;
        case 4:
            row += '\t';
            row += variable->text4;
            break;
        case 5:
            row += '\t';
            if (variable->hasRange && !variable->tFlag && variable->flag3 && !variable->shortDescription.IsEmpty())
                row += '+';
            break;
        default:
            break;
        }
        out.AddCopy(row);
    }
}

void CollectVariableDefinitionLines(TreeDocument& window, const char* name, NameList& lines)
{
    struct Walk {
        TreeDocument* document;
        zString upperName;
        NameList* lines;
    } walk{&window, zString(name), &lines};
    walk.upperName.MakeUpper();
    HostSilence quiet(Silence::FormulaMessages);
    WalkTreeWithSkip(
        window.Root,
        [](TreeNode* node, void* arg) {
            auto* state = static_cast<Walk*>(arg);
            VariableDefinition* binding = node->FindBindingByText(state->upperName.Text(), true);
            if (binding == nullptr)
                return;
            zString line;
            if (node == state->document->Root)
                line = "(Tree Default)";
            else
                node->GetShortText(line, kDefinitionLabelLength);
            line += '\t';
            FormulaRef formula(new EvalContext(state->document, node), 1, binding->name.Text());
            const double value = formula.Evaluate(binding->definition);
            if (formula.HasError()) {
                line += "???";
            } else {
                zString number;
                FormatNumber(state->document->NumberFormat, value, number, false, true, DigitsOfFormat);
                line += number;
            }
            line += '\t';
            line += binding->definition.Text();
            state->lines->AddCopy(line);
        },
        &walk, false);
}

void ShowVariableDefinitions(TreeDocument& window, const char* name)
{
    NameList lines(4, true);
    CollectVariableDefinitionLines(window, name, lines);
    if (lines.Count() == 0) {
        zString message("The variable \"");
        message += name;
        message += "\" has not been defined anywhere in the subtree. ";
        ReportNotice(OutcomeCode::VariableNotDefined, nullptr, message.Text(), -1);
        return;
    }
    TheHost().ShowVariableDefinitions(name, lines);
}
