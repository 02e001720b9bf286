// Line-graph data of a Markov analysis.

#include "analysis/MarkovAnalysis.h"
#include "analysis/MarkovAnalysisGraph.h"
#include "model/TreeDocument.h"

#include <algorithm>

namespace {

bool KindQualifies(int reportKind, bool costEffectiveness)
{
    if (reportKind < 1 || reportKind > 9 || reportKind == 5)
        return false;
    const bool costKind = reportKind >= 6;
    const bool rewardKind = reportKind >= 2 && reportKind <= 4;
    return costEffectiveness ? !rewardKind : !costKind;
}

// The value a state line plots for one entry.
double StateValue(int reportKind, const MarkovStateEntry& entry)
{
    switch (reportKind) {
    case 1: return entry.probability;
    case 8: return entry.reward.cost;
    case 9: return entry.reward.effectiveness;
    default: return entry.reward.value;
    }
}

// The value the single line of kinds 2, 3, 6 and 7 plots for one row.
double RowValue(int reportKind, const MarkovStageRow& row)
{
    switch (reportKind) {
    case 3: return row.total.value;
    case 6: return row.stage.cost;
    case 7: return row.stage.effectiveness;
    default: return row.stage.value;
    }
}

const char* SingleLineName(int reportKind)
{
    switch (reportKind) {
    case 6: return "Cost";
    case 7: return "Effect";
    default: return "Reward";
    }
}

}  // namespace

bool MarkovAnalysis::MakeGraph(MarkovGraphRequest& request, LineGraphData& graph) const
{
    const int reportKind = request.reportKind;
    if (rows.Count() == 0 || lastStage <= 2 || request.stageStep < 1 || !KindQualifies(reportKind, costEffectiveness != 0))
        return false;
    request.points = static_cast<int16_t>((lastStage - request.firstStage) / request.stageStep);
    graph = LineGraphData();
    graph.title = MarkovReportTitle(reportKind);
    graph.document = document;
    GraphAxisData& stageAxis = graph.horizontal;
    stageAxis.label = "Stage";
    stageAxis.bottom = request.firstStage;
    stageAxis.top = request.firstStage + request.points;
    stageAxis.interval = request.stageStep;
    // Whole numbers in the tree's display format; a stage count is no money.
    stageAxis.format = RangeFormat;
    stageAxis.plain = true;
    GraphAxisData& valueAxis = graph.vertical;
    switch (reportKind) {
    case 1:
        valueAxis.label = "Probability";
        valueAxis.top = 1.0;
        valueAxis.interval = 0.1;
        valueAxis.automaticFlag = true;
        valueAxis.format = TwoDecimalsFormat;
        valueAxis.digits = 2;
        break;
    case 6:
        valueAxis.label = "Cost";
        valueAxis.format = PayoffFormat;
        valueAxis.payoff = document->CostPayoffIndex();
        break;
    case 7:
        valueAxis.label = "Effect";
        valueAxis.format = PayoffFormat;
        valueAxis.payoff = document->CalcPrefs.CEEffPayoff;
        break;
    default:
        valueAxis.label = "Reward";
        break;
    }
    const bool perState = reportKind == 1 || reportKind == 4 || reportKind == 8 || reportKind == 9;
    if (perState) {
        const int states = stateNames.Count();
        for (int s = 0; s < states; ++s) {
            GraphLineData line;
            line.name = stateNames.At(s)->Text();
            for (int r = 0; r < rows.Count(); ++r) {
                const MarkovStateEntry* entry = rows.At(r)->At(s);
                line.values.push_back(entry != nullptr ? StateValue(reportKind, *entry) : 0.0);
            }
            graph.lines.push_back(std::move(line));
        }
    } else {
        GraphLineData line;
        line.name = SingleLineName(reportKind);
        for (int r = 0; r < rows.Count(); ++r)
            line.values.push_back(RowValue(reportKind, *rows.At(r)));
        graph.lines.push_back(std::move(line));
    }
    if (reportKind != 1) {
        bool first = true;
        for (const GraphLineData& line : graph.lines) {
            for (double value : line.values) {
                valueAxis.bottom = first ? value : std::min(valueAxis.bottom, value);
                valueAxis.top = first ? value : std::max(valueAxis.top, value);
                first = false;
            }
        }
        valueAxis.autoScale = true;
    }
    return true;
}
