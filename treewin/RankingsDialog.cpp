#include "treewin/RankingsDialog.h"

#include "widgets/ReportListView.h"
#include "widgets/ProgramDialog.h"
#include "dialogs/TextReportDialog.h"
#include "foundation/NumericFormat.h"
#include "framework/window/Clipboard.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include "CommandIds.h"

#include <cmath>
#include <string>

namespace Ids = Ctl::Rankings;

namespace {

void AppendValue(zString& line, double value)
{
    zString text;
    FormatNumber(DefaultNumericFormat, value, text, true, false, DigitsOfFormat);
    line += text;
}

// The marginal of a row against the row above, or the reason there is none.
void AppendMarginal(zString& line, const TreeNode& above, const TreeNode& row, bool costEffectiveness,
                    bool maximizing)
{
    double marginal = above.triple.value - row.triple.value;
    if (costEffectiveness) {
        const double effectiveness = above.triple.effectiveness - row.triple.effectiveness;
        if (std::fabs(effectiveness) < 1e-10) {
            line += "(Undefined)";
            return;
        }
        marginal = (above.triple.cost - row.triple.cost) / effectiveness;
        if (marginal < 0) {
            line += "(Dominated)";
            return;
        }
    }
    AppendValue(line, maximizing ? marginal : -marginal);
}

int ShowOnScreen(RankingsDialog& rankings)
{
    ProgramDialog dialog(DialogRes::Rankings);
    std::unique_ptr<ReportListView> list = ShowReportTable(dialog, Ids::ListArea, rankings.table);
    dialog.OnButton(Ids::ToClipboard, [&] {
        Clipboard clipboard = MainWindowClipboard();
        clipboard.Empty();
        clipboard.PutText(rankings.ClipboardText().Text());
        dialog.EnableItem(Ids::ToClipboard, false);
    });
    return dialog.Run();
}

} // namespace

RankingsDialog::RankingsDialog(TreeNode* node, const char* label)
    : node(node), valueLabel(label != nullptr ? label : "Value")
{
    BuildTable();
}

void RankingsDialog::Run()
{
    if (HasPresenter())
        Present();
    else
        ShowOnScreen(*this);
    ranking.Clear();
}

void RankingsDialog::BuildTable()
{
    const TreeDocument& tree = *node->document;
    const int32_t costEffectiveness = tree.IsCostEffectiveness() ? 1 : 0;
    for (int i = 0; i < node->childCount; ++i)
        ranking.InsertSorted(node->GetChild(i), costEffectiveness);
    bool maximizing = tree.IsMaximizing();
    if (node->kind == ReversedDecisionNode)
        maximizing = !maximizing;

    zString marginal("Marginal ");
    marginal += valueLabel;
    const char* headers[] = {"Rank", "Strategy", valueLabel.Text(), marginal.Text()};
    for (const char* header : headers) {
        table.AddColumnHeader(header);
        table.AddColumnWidth(header == headers[0] ? 40 : 100);
    }
    for (int i = 0; i < ranking.Count(); ++i) {
        const TreeNode& row = *ranking.At(i)->node;
        zString line((std::to_string(i + 1) + "\t").c_str());
        zString text;
        row.GetShortText(text, 30);
        line += text;
        line += "\t";
        AppendValue(line, row.triple.value);
        if (i > 0) {
            line += "\t";
            AppendMarginal(line, *ranking.At(i - 1)->node, row, costEffectiveness != 0, maximizing);
        }
        table.AddLine(line);
    }
}

zString RankingsDialog::ClipboardText() const
{
    zString text("KIVO(tm) Rankings Calculation\r\nRank\tNode\t");
    text += valueLabel;
    text += "\tMarginal ";
    text += valueLabel;
    text += "\r\n";
    table.Lines().Join(text, "\r\n", TextReport::kClipboardLimit);
    return text;
}
