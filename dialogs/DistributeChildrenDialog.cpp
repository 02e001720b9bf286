#include "dialogs/DistributeChildrenDialog.h"

#include "app/RangeValidator.h"
#include "dialogs/ProgramDialog.h"
#include "formula/Distribution.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "framework/dialog/FormattedEdit.h"
#include "model/DocVariable.h"

#include <cmath>

int DistributeChildrenDialog::Run()
{
    int answer = IDCANCEL;
    if (HasPresenter()) {
        answer = Present();
    } else {
        ProgramDialog dialog(kTemplateId);
        zString chosen;
        if (variableIndex >= 0 && variableIndex < variables.Count())
            chosen = variables.At(variableIndex)->name;
        IntegerEdit::FromTemplate(&dialog, kCountField, new IntegerRangeValidator(0, 3, 3), 0, &count);
        dialog.BindVariableNames(kVariableBox, &variables, &chosen);
        dialog.SelectField(kCountField);
        answer = dialog.Run();
        // The list is sorted: the chosen name gives the index.
        variableIndex = -1;
        for (int i = 0; i < variables.Count(); ++i)
            if (variables.At(i)->name == chosen)
                variableIndex = i;
    }
    return answer == IDOK && count >= 3 ? 1 : 0;
}

DistributeChildrenRangesDialog::DistributeChildrenRangesDialog(Distribution& distribution, int count)
    : distribution(distribution), discrete(distribution.IsDiscrete() != 0), probabilities(count, 0.0),
      boundaries(count + 1, 0.0)
{
}

namespace {

void ShowNumber(ProgramDialog& dialog, unsigned id, double value)
{
    zString text;
    FormatNumber(NumericFormat(), value, text, true, false, -4);
    SetDlgItemTextA(dialog.Handle(), id, text.Text());
}

int ShowOnScreen(DistributeChildrenRangesDialog& ranges)
{
    ProgramDialog dialog(DistributeChildrenRangesDialog::kTemplateId);
    ShowNumber(dialog, DistributeChildrenRangesDialog::kLowText, ranges.low);
    ShowNumber(dialog, DistributeChildrenRangesDialog::kHighText, ranges.high);
    dialog.OnButton(DistributeChildrenRangesDialog::kEqualRangesButton, [&ranges] { ranges.EqualRanges(); });
    dialog.OnButton(DistributeChildrenRangesDialog::kEqualProbsButton, [&ranges] { ranges.EqualProbabilities(); });
    return dialog.Run();
}

} // namespace

int DistributeChildrenRangesDialog::Run()
{
    int32_t error = 0;
    distribution.Range(low, high, &error);
    if (error != 0 || !(high > low))
        return 0;
    EqualRanges();
    return (HasPresenter() ? Present() : ShowOnScreen(*this)) == IDOK ? 1 : 0;
}

void DistributeChildrenRangesDialog::EqualRanges()
{
    const int n = static_cast<int>(probabilities.size());
    for (int k = 0; k <= n; ++k)
        boundaries[k] = low + k * (high - low) / n;
    ComputeProbabilities();
}

void DistributeChildrenRangesDialog::EqualProbabilities()
{
    const int n = static_cast<int>(probabilities.size());
    for (int k = 1; k < n; ++k) {
        int32_t error = 0;
        boundaries[k] = distribution.QuantileFrom(low, static_cast<double>(k) / n, &error);
    }
    probabilities.assign(n, 1.0 / n);
}

void DistributeChildrenRangesDialog::ComputeProbabilities()
{
    const int n = static_cast<int>(probabilities.size());
    int32_t error = 0;
    if (!discrete) {
        for (int k = 0; k < n; ++k)
            probabilities[k] = distribution.IntervalProbability(60, boundaries[k], boundaries[k + 1], &error);
        return;
    }
    probabilities.assign(n, 0.0);
    int range = 0;
    for (int x = 0; x <= high; ++x) {
        if (x > boundaries[range + 1]) {
            if (++range >= n)
                break;
        }
        probabilities[range] += distribution.Density(x, &error);
    }
}

double DistributeChildrenRangesDialog::RangeValue(int i) const
{
    if (!discrete)
        return (boundaries[i] + boundaries[i + 1]) / 2;
    const double a = std::ceil(boundaries[i]);
    const double b = std::floor(boundaries[i + 1]);
    return a == b ? a : (a + b) / 2;
}
