#include "graph/DistributionDialogs.h"

#include "widgets/ReportListView.h"
#include "widgets/ProgramDialog.h"
#include "dialogs/TextReportDialog.h"
#include "foundation/NumericFormatting.h"
#include "foundation/TextReport.h"
#include "framework/window/Clipboard.h"

#include "CommandIds.h"

#include <algorithm>
#include <memory>
#include <string>

namespace BarDetailsIds = Ctl::BarDetails;
namespace DistributionStatisticsIds = Ctl::DistributionStatistics;

namespace {

zString Formatted(const NumericFormat& format, double value, bool payoff)
{
    zString text;
    FormatNumber(format, value, text, payoff, true, DigitsOfFormat);
    return text;
}

void PutOnClipboard(const zString& text)
{
    Clipboard clipboard = MainWindowClipboard();
    clipboard.Empty();
    clipboard.PutText(text.Text());
}

}  // namespace

DistStatsDialog::DistStatsDialog(const OutcomeDistribution& outcomes, const NumericFormat& format)
{
    OutcomeDistribution sorted(16, false);
    outcomes.SortByComponent(sorted, ComponentValue, false);
    const OutcomeStatistics statistics = sorted.Statistics(1.0, 0, -0.1);
    const struct {
        unsigned id;
        const char* label;
        double value;
    } table[] = {{DistributionStatisticsIds::MeanValueText, "Mean:", statistics.mean},
                 {DistributionStatisticsIds::ModeText, "Mode:", statistics.mode},
                 {DistributionStatisticsIds::StdDevText, "Std Dev:", statistics.standardDeviation},
                 {DistributionStatisticsIds::MinimumValueText, "Minimum:", statistics.minimum},
                 {DistributionStatisticsIds::N5Text, "5%:", statistics.percentile5},
                 {DistributionStatisticsIds::MedianText, "Median:", statistics.median},
                 {DistributionStatisticsIds::N95Text, "95%:", statistics.percentile95},
                 {DistributionStatisticsIds::MaximumValueText, "Maximum:", statistics.maximum}};
    for (size_t i = 0; i < 8; ++i)
        rows[i] = Row{table[i].id, table[i].label, Formatted(format, table[i].value, true)};
}

zString DistStatsDialog::ClipboardText() const
{
    zString text = "KIVO(tm) Distribution Statistics\r\n";
    for (const Row& row : rows) {
        text += row.label;
        text += "\t";
        text += row.text;
        text += "\r\n";
    }
    return text;
}

void DistStatsDialog::Run()
{
    ProgramDialog dialog(DialogRes::DistributionStatistics);
    for (const Row& row : rows)
        dialog.SetItemText(row.id, row.text.Text());
    dialog.OnButton(DistributionStatisticsIds::ToClipboard, [&] {
        PutOnClipboard(ClipboardText());
        dialog.EnableItem(DistributionStatisticsIds::ToClipboard, false);
    });
    dialog.Run();
}

BarDetailsDialog::BarDetailsDialog(double low, double high, const OutcomeDistribution& listed,
                                   const NumericFormat& probabilityFormat, const NumericFormat& valueFormat)
    : lowText(Formatted(valueFormat, low, true)),
      highText(Formatted(valueFormat, high, true)),
      probabilityFormat(probabilityFormat),
      valueFormat(valueFormat)
{
    double total = 0.0;
    for (int i = 0; i < listed.Count(); ++i) {
        const Outcome* outcome = listed.OutcomeAt(i);
        outcomes.AddTriple(outcome->triple, outcome->probability, outcome->label.Text(), false);
        total += outcome->probability;
    }
    totalText = Formatted(probabilityFormat, total, false);
}

zString BarDetailsDialog::Row(int index) const
{
    const Outcome* outcome = outcomes.OutcomeAt(index);
    zString row = outcome->label;
    row += "\t";
    row += Formatted(valueFormat, outcome->triple.value, true);
    row += "\t";
    row += Formatted(probabilityFormat, outcome->probability, false);
    return row;
}

zString BarDetailsDialog::ClipboardText() const
{
    std::string rows;
    for (int i = 0; i < outcomes.Count() && rows.size() < TextReport::kClipboardLimit; ++i)
        rows += (i > 0 ? "\r\n" : "") + std::string(Row(i).Text());
    rows.resize(std::min(rows.size(), TextReport::kClipboardLimit));
    zString text = "KIVO(tm) Bar Detail\r\nOutcome\tValue\tProbability\r\n";
    text += rows.c_str();
    return text;
}

void BarDetailsDialog::Run()
{
    ProgramDialog dialog(DialogRes::BarDetails);
    dialog.SetItemText(BarDetailsIds::LowText, lowText.Text());
    dialog.SetItemText(BarDetailsIds::HighText, highText.Text());
    dialog.SetItemText(BarDetailsIds::TotalText, totalText.Text());
    TextReport table;
    table.AddColumnHeader("Outcome");
    table.AddColumnWidth(100);
    table.AddColumnHeader("Value");
    table.AddColumnWidth(95);
    table.AddColumnHeader("Probability");
    table.AddColumnWidth(95);
    for (int i = 0; i < outcomes.Count(); ++i)
        table.AddLine(Row(i));
    std::unique_ptr<ReportListView> list = ShowReportTable(dialog, BarDetailsIds::ListArea, table);
    dialog.OnButton(BarDetailsIds::ToClipboard, [&] { PutOnClipboard(ClipboardText()); });
    dialog.OnButton(BarDetailsIds::Statistics, [&] { DistStatsDialog(outcomes, valueFormat).Run(); });
    dialog.Run();
}
