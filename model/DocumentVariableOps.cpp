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
void RenameInStoredAnalyses(TreeDocument& document, const char* oldName, const char* newName)
{
    if (document.LastAnalysis != nullptr)
        RenameVariableInStoredAnalysis(*document.LastAnalysis, oldName, newName);
    if (document.StoredAnalysisRecords == nullptr)
        return;
    const StoredAnalysisList& records = *document.StoredAnalysisRecords;
    for (int i = 0; i < records.Count(); ++i)
        RenameVariableInStoredAnalysis(*records.At(i), oldName, newName);
}

// Nodes are marked by the variables they define only under display setting 2; then a change of the
// variables redraws the tree.
void RedrawMarkedVariables(TreeDocument& document)
{
    if (document.DisplayPrefs.MarkNodesWithVars == 2)
        document.Relayout();
}

// The custom interface's first parameter that sets the variable goes with it.
void RemoveInterfaceParameter(TreeDocument& document, const zString& name)
{
    CustomInterfaceSettings* settings = document.CustomInterface.get();
    for (int i = 0; settings != nullptr && i < settings->Count(); ++i) {
        if (EqualsNoCase(settings->At(i)->variableName, name)) {
            settings->DeleteAt(i);
            return;
        }
    }
}

// The custom interface's first parameter that sets the variable follows it to its new name.
void RenameInterfaceParameter(TreeDocument& document, const char* oldName, const char* newName)
{
    CustomInterfaceSettings* settings = document.CustomInterface.get();
    for (int i = 0; settings != nullptr && i < settings->Count(); ++i) {
        if (EqualsNoCase(settings->At(i)->variableName, oldName)) {
            settings->At(i)->variableName = newName;
            return;
        }
    }
}

// The roll-back display's custom calculations are kept as texts: the name is replaced in them alone.
void RenameInDisplayColumns(TreeDocument& document, const char* oldName, const char* newName)
{
    for (int i = 0; i < document.RollBackColumns.Count(); ++i) {
        DisplayColumn* column = document.RollBackColumns.At(i);
        if (column->kind == DisplayColumn::kCustomCalculation)
            ReplaceAll(column->formula, oldName, newName, true, false, 0, true);
    }
}

}  // namespace

bool FindVariableTrimmed(const TreeDocument& document, zString& text)
{
    const char* start = text.Text();
    while (*start == ' ' || *start == '\t')
        ++start;
    zString name(start);
    NormalizeVariableName(name);
    const DocVariable* variable = document.FindVariable(name.Text(), false);
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

void RenameVariable(TreeDocument& document, const char* oldName, const char* newName)
{
    zString oldUpper(oldName);
    oldUpper.MakeUpper();
    DocVariable* variable = document.FindVariable(oldUpper.Text(), true);
    if (variable == nullptr)
        return;
    document.SetModified(1);

    document.Variables.Remove(variable);
    variable->SetName(newName);
    if (document.Variables.InsertSorted(variable) < 0) {
        delete variable;
        variable = nullptr;
    }
    document.VariablesChanged();

    if (document.Root != nullptr)
        document.Root->RenameBindingInSubtree(oldName, newName);

    zString newUpper(newName);
    newUpper.MakeUpper();
    for (int i = 0; i < document.Variables.Count(); ++i)
        document.Variables.At(i)->RenameCorrelation(oldUpper.Text(), newUpper.Text());
    RenameInterfaceParameter(document, oldName, newName);

    RenameInDistributions(document.Distributions, oldName, newName);
    ReplaceVariableInFormula(document.CESettings.willingnessToPay, oldName, newName);
    ReplaceVariableInFormula(document.CESettings.costCeiling, oldName, newName);
    ReplaceVariableInFormula(document.CESettings.effectivenessFloor, oldName, newName);
    RenameInDisplayColumns(document, oldName, newName);
    RenameInStoredAnalyses(document, oldName, newName);

    if (document.Root != nullptr) {
        HostSilence quiet(Silence::FormulaMessages);
        ReparseTreeBindings(document.Root, true, nullptr, nullptr, nullptr);
    }
    RedrawMarkedVariables(document);
    if (document.View != nullptr)
        document.View->VariableRenamed(oldName, newName);
}

void DeleteVariable(TreeDocument& document, const char* name)
{
    zString upperName(name);
    upperName.MakeUpper();
    DocVariable* variable = document.FindVariable(upperName.Text(), true);
    if (variable == nullptr)
        return;

    if (document.View != nullptr)
        document.View->CloseVariableWindows(*variable);
    zString displayName;
    VariableDisplayName(document, variable->name.Text(), displayName);
    if (document.Root != nullptr)
        document.Root->RemoveBinding(displayName.Text(), true, false);
    RemoveInterfaceParameter(document, upperName);

    for (int i = 0; i < document.Variables.Count(); ++i)
        document.Variables.At(i)->RenameCorrelation(upperName.Text(), "");

    // Stored analyses keep the name: running one that varies it reports that it has no definitions.
    document.Variables.DeletePtr(variable);
    if (!document.SuspendVariablesSync) {
        document.VariablesChanged();
        RedrawMarkedVariables(document);
    }
}

void SetVariableCorrelations(TreeDocument& document, DocVariable& variable, CorrelationList* newEntries)
{
    if (variable.correlations != nullptr) {
        for (int i = 0; i < variable.correlations->Count(); ++i) {
            DocVariable* partner = document.FindVariable(variable.correlations->At(i)->name.Text(), true);
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
        DocVariable* partner = document.FindVariable(entry->name.Text(), false);
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

void VariableDisplayName(const TreeDocument& document, const char* name, zString& out)
{
    const DocVariable* variable = document.FindVariable(name, false);
    out.Clear();
    if (variable != nullptr && variable->tFlag)
        out = "{T} ";
    out += name;
}

int ListFlaggedVariables(const TreeDocument& document, std::vector<DocVariable*>* out)
{
    int count = 0;
    for (int i = 0; i < document.Variables.Count(); ++i) {
        DocVariable* variable = document.Variables.At(i);
        if (!variable->tFlag)
            continue;
        ++count;
        if (out != nullptr)
            out->push_back(variable);
    }
    return count;
}

void GetVariableDescription(const TreeDocument& document, const char* name, zString& out)
{
    out.Clear();
    const DocVariable* variable = document.FindVariable(name, false);
    if (variable == nullptr)
        return;
    out = variable->comment.IsEmpty() ? variable->shortDescription : variable->comment;
}

int CheckEditConflict(TreeDocument& document, const NodeChildList& nodes, const char* name, bool ask)
{
    if (document.IsRolledBack())
        return 0;
    if (document.View == nullptr)
        return 1;
    for (int i = 0; i < nodes.Count(); ++i)
        if (!document.View->AcceptsEdit(nodes.At(i), name, ask))
            return 0;
    return 1;
}

void FillVariableChoices(TreeDocument& document, NameList& out, int mode, const NodeChildList* selection)
{
    const NodeChildList none(1, Ownership::Borrows);
    for (int i = 0; i < document.Variables.Count(); ++i) {
        const DocVariable* variable = document.Variables.At(i);
        zString text(variable->name);
        if (mode == 1) {
            if (!CheckEditConflict(document, selection != nullptr ? *selection : none, variable->name.Text(), false))
                continue;
            if (SelectionBindsName(selection, variable->upperName.Text()))
                text += " *";
        } else if (mode == 3 && variable->tFlag) {
            continue;
        }
        out.AddCopy(text);
    }
}

void FillVariableRows(TreeDocument& document, NameList& out, int mode, const NodeChildList* selection)
{
    for (int i = 0; i < document.Variables.Count(); ++i) {
        const DocVariable* variable = document.Variables.At(i);
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

void CollectVariableDefinitionLines(TreeDocument& tree, const char* name, NameList& lines)
{
    struct Walk {
        TreeDocument* document;
        zString upperName;
        NameList* lines;
    } walk{&tree, zString(name), &lines};
    walk.upperName.MakeUpper();
    HostSilence quiet(Silence::FormulaMessages);
    WalkTreeWithSkip(
        tree.Root,
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
                FormatNumber(state->document->NumberFormat(), value, number, false, true, DigitsOfFormat);
                line += number;
            }
            line += '\t';
            line += binding->definition.Text();
            state->lines->AddCopy(line);
        },
        &walk, false);
}

void ShowVariableDefinitions(TreeDocument& document, const char* name)
{
    NameList lines(4, true);
    CollectVariableDefinitionLines(document, name, lines);
    if (lines.Count() == 0) {
        zString message("The variable \"");
        message += name;
        message += "\" has not been defined anywhere in the subtree. ";
        ReportNotice(OutcomeCode::VariableNotDefined, nullptr, message.Text(), -1);
        return;
    }
    TheHost().ShowVariableDefinitions(name, lines);
}
