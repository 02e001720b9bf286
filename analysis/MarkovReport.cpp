// The full text report of a Markov analysis, report titles and the description of a stored analysis.

#include "analysis/MarkovAnalysis.h"
#include "model/StoredAnalysis.h"
#include "foundation/TextReport.h"
#include "foundation/NumericFormatting.h"
#include "foundation/StringHelpers.h"
#include "model/TreeNode.h"

#include <cstdlib>

namespace {

const char* const kReportTitles[10] = {
    "",
    "Markov Probability Analysis",
    "Markov Per-Stage Rewards",
    "Markov Total Reward",
    "Markov Reward Per State",
    "Markov Full Text Report",
    "Markov Per-Stage Costs",
    "Markov Per-Stage Effects",
    "Markov Cost Per State",
    "Markov Effectiveness Per State",
};

constexpr int kStageColumnWidth = 40;
constexpr int kValueColumnWidth = 65;
constexpr int kStateColumnWidth = 60;
constexpr int16_t kValueDigits = -6;
constexpr int16_t kProbabilityDigits = -5;

// "P(S3)" / "r{S3}" with shorthand names, else the state's name.
zString StateHeader(const char* open, const char* close, int number, const zString& name, bool shorthand)
{
    if (!shorthand)
        return name;
    zString header(open);
    AppendInt(header, number);
    header += close;
    return header;
}

void AddField(zString& line, double value, int16_t digits)
{
    line += '\t';
    AppendFormattedNumber(line, value, digits);
}

}  // namespace

const char* MarkovReportTitle(int reportKind)
{
    return reportKind >= 1 && reportKind <= 9 ? kReportTitles[reportKind] : "";
}

void MarkovAnalysis::WriteReport(TextReport& report, int options) const
{
    const bool shorthand = (options & ReportShorthandNames) != 0;
    const bool probabilities = (options & ReportStateProbabilities) != 0;
    const bool stageRewards = (options & ReportStageRewards) != 0;
    const bool totalRewards = (options & ReportTotalRewards) != 0;
    const bool stateRewards = (options & ReportStateRewards) != 0 && costEffectiveness == 0;
    const int states = stateNames.Count();
    report.SetTitle("KIVO(tm) Markov Analysis");
    if (shorthand) {
        report.AddHeaderLine("Shorthand state names:");
        for (int s = 0; s < states; ++s) {
            zString line("S");
            AppendInt(line, s + 1);
            line += " = ";
            line += *stateNames.At(s);
            report.AddHeaderLine(line.Text());
        }
        report.AddHeaderLine("");
        report.AddHeaderLine("P(Sn) = Probability of being in state n");
        report.AddHeaderLine("r{Sn} = Contribution to _stage_reward from state n");
    }
    report.AddColumnHeader("Stage");
    if (costEffectiveness == 0) {
        if (stageRewards)
            report.AddColumnHeader("_stage_rwd");
        if (totalRewards)
            report.AddColumnHeader("_total_rwd");
    } else {
        if (stageRewards) {
            report.AddColumnHeader("Stage Cost");
            report.AddColumnHeader("Stage Eff");
        }
        if (totalRewards) {
            report.AddColumnHeader("Net Cost");
            report.AddColumnHeader("Net Eff");
        }
    }
    for (int s = 0; probabilities && s < states; ++s)
        report.AddColumnHeader(StateHeader("P(S", ")", s + 1, *stateNames.At(s), shorthand).Text());
    for (int s = 0; stateRewards && s < states; ++s)
        report.AddColumnHeader(StateHeader("r{S", "}", s + 1, *stateNames.At(s), shorthand).Text());

    report.AddColumnWidth(kStageColumnWidth);
    report.AddColumnWidth(kValueColumnWidth);
    report.AddColumnWidth(kValueColumnWidth);
    if (costEffectiveness != 0) {
        report.AddColumnWidth(kValueColumnWidth);
        report.AddColumnWidth(kValueColumnWidth);
    }
    const int stateColumns = costEffectiveness != 0 ? states : 2 * states;
    for (int c = 0; c < stateColumns; ++c)
        report.AddColumnWidth(kStateColumnWidth);

    double netCost = 0.0;
    double netEffectiveness = 0.0;
    for (int r = 0; r < rows.Count(); ++r) {
        const MarkovStageRow& row = *rows.At(r);
        zString line;
        AppendInt(line, r);
        netCost += row.stage.cost;
        netEffectiveness += row.stage.effectiveness;
        if (costEffectiveness == 0) {
            if (stageRewards)
                AddField(line, row.stage.value, kValueDigits);
            if (totalRewards)
                AddField(line, row.total.value, kValueDigits);
        } else {
            if (stageRewards) {
                AddField(line, row.stage.cost, kValueDigits);
                AddField(line, row.stage.effectiveness, kValueDigits);
            }
            if (totalRewards) {
                AddField(line, netCost, kValueDigits);
                AddField(line, netEffectiveness, kValueDigits);
            }
        }
        for (int s = 0; probabilities && s < states; ++s)
            AddField(line, row.At(s) != nullptr ? row.At(s)->probability : 0.0, kProbabilityDigits);
        for (int s = 0; stateRewards && s < states; ++s)
            AddField(line, row.At(s) != nullptr ? row.At(s)->reward.value : 0.0, kValueDigits);
        report.AddLine(line);
    }
}

// The report kind is the record's second parameter (the first is the node path).
void DescribeMarkovAnalysis(TreeDocument* document, StoredAnalysis* record, zString& text)
{
    MarkovGraphRequest request;
    TreeNode* node = nullptr;
    const bool found = ReadMarkovRequest(document, record, request, &node);
    const zString* kindText = record->parameters->At(1);
    text = MarkovReportTitle(kindText != nullptr ? std::atoi(kindText->Text()) : 0);
    text += "\r\n at ";
    zString name;
    if (found)
        node->GetShortText(name, 30);
    if (found && name.IsEmpty()) {
        text += NodeMention(*node);
    } else {
        text += "node ";
        text += name;
    }
}
