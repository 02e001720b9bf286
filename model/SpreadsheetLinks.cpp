#include "model/SpreadsheetLinks.h"

#include "formula/BuiltinRegistry.h"
#include "formula/CalcState.h"
#include "formula/Formula.h"
#include "formula/FormulaErrors.h"
#include "formula/SpreadsheetAutomation.h"
#include "foundation/NumericFormatting.h"
#include "foundation/StringHelpers.h"
#include "model/DocVariable.h"
#include "model/DocumentLink.h"
#include "model/EvalContext.h"
#include "model/TreeDocument.h"
#include "model/TreeDocumentView.h"
#include "model/TreeNode.h"

#include <string>
#include <vector>

void TreeDocument::CollectLinkedVariables(std::vector<DocVariable*>& written, std::vector<DocVariable*>& read) const
{
    for (int i = 0; i < Variables.Count(); ++i) {
        DocVariable* variable = Variables.At(i);
        if (!variable->WriteCell().IsEmpty())
            written.push_back(variable);
        else if (!variable->ReadCell().IsEmpty())
            read.push_back(variable);
    }
}

namespace {

// Digits of the text a link takes from its cell: the shortest exact form.
constexpr int16_t kLinkValueDigits = -9;

void FailOpening(EvalContext& context, const char* text)
{
    const zString message(text);
    context.SetError(FormulaGivenMessage, &message);
}

// The variable's value as a formula at the node reads it (error 25 when nothing defines it there).
double WrittenValue(EvalContext& context, TreeNode* node, const DocVariable& variable)
{
    Formula formula(new EvalContext(context.Document(), node), 1, variable.name.Text());
    const double value = formula.EvaluateText(variable.upperName.Text());
    if (formula.HasError())
        context.SetError(formula.Error(), &formula.ErrorArg1(), &formula.ErrorArg2());
    return value;
}

} // namespace

int OpenLinkedWorkbook(EvalContext& context)
{
    TreeDocument& document = *context.Document();
    const zString& path = document.Links.WorkbookPath();
    if (path.IsEmpty()) {
        FailOpening(context, "You have not set up the bi-directional links.");
        return 0;
    }
    SpreadsheetAutomation& spreadsheet = document.CalcStateRecord.Automation();
    if (spreadsheet.Connect(true) == 0) {
        FailOpening(context, "Unable to start Excel.");
        return 0;
    }
    if (spreadsheet.OpenWorkbook(path.Text(), false, document.Links.Flags()) == 0) {
        zString message("Unable to load workbook \"$1\".");
        SubstituteArgs(message, path.Text());
        FailOpening(context, message.Text());
        return 0;
    }
    return 1;
}

void RefreshSpreadsheetLinks(EvalContext& context, DocumentLink& link)
{
    TreeDocument* document = context.Document();
    if (document == nullptr || document->CalcStateRecord.refreshingLinks != 0)
        return;
    CalcState& state = document->CalcStateRecord;
    state.refreshingLinks = 1;
    struct Done {
        CalcState& state;
        ~Done() { state.refreshingLinks = 0; }
    } done{state};
    if (OpenLinkedWorkbook(context) == 0)
        return;
    SpreadsheetAutomation& spreadsheet = state.Automation();
    std::vector<DocVariable*> written;
    std::vector<DocVariable*> read;
    document->CollectLinkedVariables(written, read);
    TreeNode* node = context.StartNode();
    for (const DocVariable* variable : written) {
        if (context.HasError())
            return;
        const double value = WrittenValue(context, node, *variable);
        if (!context.HasError() && spreadsheet.SetCellValue(variable->WriteCell().Text(), value) == 0)
            context.SetError(FormulaCellSetFailed, &variable->name, &variable->WriteCell());
    }
    if (context.HasError())
        return;
    double value = 0.0;
    if (spreadsheet.GetCellValue(link.item.Text(), value) == 0) {
        // The link's call as a formula writes it.
        const std::string written = kBuiltinFunctions[BuiltinSub].name + ("(" + std::to_string(link.index) + ")");
        const zString call(written.c_str());
        context.SetError(FormulaCellGetFailed, &call, &link.item);
        return;
    }
    // The value is taken quietly: telling the document would start another calculation inside this one.
    zString text;
    AppendFormattedNumber(text, value, kLinkValueDigits);
    link.value = text;
    if (node == nullptr)
        return;
    for (const DocVariable* variable : read) {
        if (context.HasError() || spreadsheet.GetCellValue(variable->ReadCell().Text(), value) == 0) {
            if (!context.HasError())
                context.SetError(FormulaCellGetFailed, &variable->name, &variable->ReadCell());
            return;
        }
        if (VariableDefinition* binding = node->SetBinding(variable->name.Text(), "", true))
            binding->definition.SetNumber(value);
    }
    if (!read.empty() && document->View != nullptr)
        document->View->SpreadsheetValuesBound(node);
}
