// The outcome table editor's cells filled from outside the entry field: a pasted link, a distribution's parts
// or formula, the probability wheel's shares.

#include "influence/OutcomeTableEditor.h"

#include "analysis/ProbabilityVerification.h"
#include "widgets/Shell.h"
#include "treewin/DistributionPicker.h"
#include "treewin/ProbabilityWheel.h"
#include "formula/Distribution.h"
#include "formula/FormulaRef.h"
#include "formula/RunOutcome.h"
#include "foundation/NameList.h"
#include "model/EvalContext.h"
#include "model/InfluenceChecks.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace Id = Ctl::Assign;

// The clipboard's link made a link of the table's tree; the cell reads it, its value kept beside.
void OutcomeTableEditor::OnPasteLink()
{
    if (current_ < 0 || !TheShell().CanPasteLink())
        return;
    zString formula;
    if (!tree_.PasteLink(formula))
        return;
    PreparedRow& row = rows_[current_];
    FormulaRef evaluation(new EvalContext(&tree_.Document(), row.node), 0, "expression");
    const double value = evaluation.EvaluateText(formula.Text());
    if (evaluation.HasError()) {
        evaluation.ShowError(nullptr, 0);
        return;
    }
    char shown[40];
    std::snprintf(shown, sizeof shown, "%g", value);
    row.cell.formula = formula;
    row.cell.expression = shown;
    row.cell.number = value;
    row.cell.kind = DefinitionCell::Formula;
    WriteCell(row);
    ShowCell();
}

// Probabilities: the chosen distribution's range cut into as many equal parts as the branch has siblings,
// each branch the part's probability and the last one the rest. Values: the distribution's formula.
void OutcomeTableEditor::OnDistribution()
{
    if (current_ < 0)
        return;
    TreeNode* parent = rows_[current_].node->parent;
    if (!values_ && (parent == nullptr || parent->childCount < 2))
        return;
    std::unique_ptr<Distribution> chosen(RunDistributionPicker(&tree_, nullptr, false));
    if (!chosen)
        return;
    if (values_) {
        zString text;
        chosen->FormatText(text, true);
        SetItemText(Id::ProbabilityEdit, text.Text());
        SetItemText(Id::ProbabilityText3722, "");
        return;
    }
    RunFault fault;
    double low = 0;
    double high = 0;
    chosen->Range(low, high, &fault);
    const int parts = parent->childCount;
    double sum = 0;
    for (int i = 0; i < parts; ++i) {
        zString text;
        double p = 0;
        if (i + 1 < parts) {
            const double from = low + (high - low) * i / parts;
            const double to = low + (high - low) * (i + 1) / parts;
            p = RoundAsDisplayed(chosen->IntervalProbability(60, from, to, &fault), &text, &tree_.Document().NumberFormat(),
                                 tree_.Document().NumberFormat().probDigits);
            sum += p;
        } else {
            char last[32];
            std::snprintf(last, sizeof last, "%.3f", 1 - sum);
            text = last;
            p = 1 - sum;
        }
        const int row = FindRow(parent->GetChild(i));
        if (row < 0)
            continue;
        rows_[row].cell.formula.Clear();
        rows_[row].cell.expression = text;
        rows_[row].cell.number = p;
        rows_[row].cell.kind = DefinitionCell::ExpressionOnly;
        ApplyCellAsProbability(rows_[row].cell, *rows_[row].node);
    }
    ShowCell();
    SetItemText(Id::ProbabilityText3722, "");
    RedrawTree(parent, 1);
}

// The wheel of the current branch's group; each branch's cell takes its share, a variable keeping its name
// and a "#" staying as it is.
void OutcomeTableEditor::OnWheel()
{
    if (values_ || current_ < 0 || !KeepCurrentCell())
        return;
    TreeNode* parent = rows_[current_].node->parent;
    if (parent == nullptr || parent->childCount < 2)
        return;
    std::vector<double> shares;
    NameList names;
    double sum = 0;
    for (int i = 0; i < parent->childCount; ++i) {
        const int row = FindRow(parent->GetChild(i));
        const bool numeric = row >= 0 && rows_[row].cell.kind == DefinitionCell::ExpressionOnly;
        shares.push_back(numeric ? rows_[row].cell.number : 0);
        sum += shares.back();
        names.AddText(parent->GetChild(i)->text.Text());
    }
    if (std::abs(sum - 1) > 1e-6)
        shares.assign(shares.size(), 1.0 / static_cast<double>(shares.size()));
    ProbabilityWheelDialog wheel(shares, names, nullptr);
    if (wheel.Run() != 1)
        return;
    const NumericFormat& format = tree_.Document().NumberFormat();
    for (int i = 0; i < parent->childCount && i < static_cast<int>(wheel.shares.size()); ++i) {
        const int row = FindRow(parent->GetChild(i));
        if (row < 0)
            continue;
        zString text;
        const double share = RoundAsDisplayed(wheel.shares[i], &text, &format, format.probDigits);
        DefinitionCell& cell = rows_[row].cell;
        if (cell.kind == DefinitionCell::Formula) {
            if (cell.formula.Text()[0] != '#')
                cell.formula = text;
        } else {
            if (cell.kind != DefinitionCell::Variable) {
                cell.formula.Clear();
                cell.kind = DefinitionCell::ExpressionOnly;
            }
            cell.expression = text;
            cell.number = share;
        }
        ApplyCellAsProbability(cell, *rows_[row].node);
    }
    ShowCell();
    RedrawTree(parent, 1);
}
