#include "dialogs/VariablesWindow.h"

#include "analysis/VariableSubstitution.h"
#include "app/CursorStack.h"
#include "dialogs/VariablesReportDialog.h"
#include "formula/FormulaRef.h"
#include "foundation/Host.h"
#include "foundation/NumericFormatting.h"
#include "foundation/StringHelpers.h"
#include "foundation/TextReport.h"
#include "model/DocVariable.h"
#include "model/EvalContext.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

namespace {

// The formula and value columns from the definition the report uses, when there is one.
void DefinitionColumns(TreeDocument& document, TreeNode* root, const DocVariable& variable,
                       const VariablesReportSettings& settings, zString columns[ReportColumnCount])
{
    RangeBindingList definitions;
    CollectVariableDefinitions(definitions, root, variable.upperName.Text(), true);
    if (definitions.Count() == 0)
        return;
    RangeBinding& first = *definitions.At(0);
    if (definitions.Count() > 1 && !(first.node == root && settings.rootDefinitionWhenSeveral))
        return;
    Expression& expression = first.definition->definition;
    double value = 0.0;
    if (!expression.GetConstant(&value)) {
        columns[ReportFormula] = expression.Text();
        FormulaRef formula(new EvalContext(&document, first.node), 1, nullptr);
        value = formula.Evaluate(expression);
        if (formula.HasError())
            return;
    }
    FormatNumber(document.NumberFormat, value, columns[ReportValue], true, true, DigitsOfFormat);
}

} // namespace

void VariablesWindow::CopyAsText(TreeNode* root, TreeWindow* window)
{
    VariablesReportSettings settings{1, 1, 0, 1, 0, 0, 0, 1};
    if (!RunVariablesReportDialog(settings))
        return;
    TreeDocument& document = window->Document();
    TextReport report;
    report.SetTitle("Variables");
    static const char* const headers[ReportColumnCount] = {"Name", "Description", "Formula", "Value",
                                                           "Low", "High", "Comment"};
    const int32_t included[ReportColumnCount] = {settings.includeName, settings.includeShortDescription,
                                                 settings.includeFormula, settings.includeValue,
                                                 settings.includeLow, settings.includeHigh,
                                                 settings.includeComment};
    for (int column = 0; column < ReportColumnCount; ++column)
        if (included[column] != 0)
            report.AddColumnHeader(headers[column]);
    {
        WaitCursorScope wait;
        HostSilence notices(Silence::Notices);
        HostSilence messages(Silence::FormulaMessages);
        for (int i = 0; i < document.Variables.Count(); ++i) {
            const DocVariable& variable = *document.Variables.At(i);
            zString columns[ReportColumnCount];
            columns[ReportName] = variable.name;
            columns[ReportShortDescription] = variable.shortDescription;
            columns[ReportComment] = variable.comment;
            NormalizeLineEnds(columns[ReportComment], " ");
            if (variable.hasRange != 0) {
                FormatNumber(document.NumberFormat, variable.low.value, columns[ReportLow], true, true,
                             DigitsOfFormat);
                FormatNumber(document.NumberFormat, variable.high.value, columns[ReportHigh], true, true,
                             DigitsOfFormat);
            }
            DefinitionColumns(document, root, variable, settings, columns);
            zString line;
            FormatVariablesReportLine(columns, line, settings);
            report.AddLine(line);
        }
    }
    ShowTextReport(report);
}
