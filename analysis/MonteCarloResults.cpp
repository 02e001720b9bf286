// What a finished simulation shows: the graphs of its outcomes and strategies, and its text report.

#include "analysis/BarGraphData.h"
#include "analysis/MonteCarloSimulation.h"
#include "formula/RunOutcome.h"
#include "foundation/NumericFormatting.h"
#include "foundation/StringHelpers.h"
#include "foundation/TextReport.h"
#include "formula/DistributionRecord.h"
#include "model/DocVariable.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <cmath>

namespace {

constexpr int kLabelLength = 30;
constexpr int16_t kReportDigits = -9;

std::string ShortText(const TreeNode* node)
{
    zString text;
    node->GetShortText(text, kLabelLength);
    return text.Text();
}

void AddColumn(TextReport& report, const char* header, int width)
{
    report.AddColumnHeader(header);
    report.AddColumnWidth(width);
}

}  // namespace

bool MonteCarloSimulation::ShowResult(int choice) const
{
    if (choice == StrategyFrequencyResult) {
        if (!reevaluatePath)
            return false;
        auto data = std::make_unique<OptionBarData>();
        data->texts[0] = "Monte Carlo Simulation";
        data->texts[2] = "Option";
        data->texts[3] = "Percent Optimal";
        data->shares.assign(static_cast<size_t>(optionCount), 0.0);
        for (int i = 0; i < optionCount; ++i)
            data->optionNames.push_back(ShortText(node->GetChild(i)));
        const double share = kept.empty() ? 0.0 : 1.0 / static_cast<double>(kept.size());
        for (const KeptTrial& trial : kept)
            if (trial.optimalIndex >= 0 && trial.optimalIndex < optionCount)
                data->shares[static_cast<size_t>(trial.optimalIndex)] += share;
        ShowOptionBarGraph(std::move(data));
        return true;
    }
    int component = 0;
    switch (choice) {
    case OutcomeDistributionResult:
        component = costEffectiveness ? ComponentValue : 0;
        break;
    case CostDistributionResult:
        component = ComponentCost;
        break;
    case EffectivenessDistributionResult:
        component = ComponentEffectiveness;
        break;
    default:
        return false;
    }
    const double low = minimum.Component(component);
    const double high = maximum.Component(component);
    if (std::fabs(high - low) < 1e-10) {
        ReportFailure(OutcomeCode::AllOutcomesEqual, nullptr, nullptr, "All outcomes are the same, with probability 1.0.", 0);
        return false;
    }
    auto data = std::make_unique<ProbDistributionData>();
    data->title = "Monte Carlo Simulation at";
    data->numberFormat = document->NumberFormat();
    data->nodeText = ShortText(node);
    // The trials recorded, also after a stop or an error.
    data->trials = RecordCount();
    data->component = component;
    data->minimum = low;
    data->maximum = high;
    for (int i = 0; i < outcomes.Count(); ++i) {
        const Outcome* outcome = outcomes.OutcomeAt(i);
        ValueTriple triple = outcome->triple;
        triple.value = triple.Component(component);
        data->outcomes.AddTriple(triple, outcome->probability, outcome->label.Text(), false);
    }
    ShowProbDistributionGraph(std::move(data));
    return true;
}

void MonteCarloSimulation::WriteReport(TextReport& report, int) const
{
    const NumericFormat& format = document->NumberFormat();
    // Option columns belong to a decision re-evaluated per trial; rows write their fields under the same rule.
    const bool options = isDecision && optionCount > 0 && reevaluatePath;
    report.SetTitle("KIVO(tm) Monte Carlo Simulation");
    zString subtitle("Ordered List of ");
    AppendInt(subtitle, RecordCount());
    subtitle += " Outcomes";
    report.AddHeaderLine(subtitle.Text());
    AddColumn(report, "Trial", 40);
    AddColumn(report, "Outcome", 100);
    AddColumn(report, "Value", 70);
    if (costEffectiveness) {
        AddColumn(report, "Cost", 70);
        AddColumn(report, "Effect", 70);
    }
    if (options) {
        AddColumn(report, "Optimal", 100);
        for (int i = 0; i < optionCount; ++i) {
            const std::string name = ShortText(node->GetChild(i));
            if (costEffectiveness) {
                for (const char* pattern : {"C($1)", "E($1)"}) {
                    zString header(pattern);
                    SubstituteArgs(header, name.c_str());
                    AddColumn(report, header.Text(), 100);
                }
            } else {
                AddColumn(report, name.c_str(), 100);
            }
        }
    }
    for (DocVariable* variable : flaggedVariables) {
        zString label;
        variable->GetLabel(label);
        AddColumn(report, label.Text(), 100);
    }
    for (int i = 0; i < sampled.Count(); ++i) {
        zString header("DistSamp(");
        AppendInt(header, sampled.RecordAt(i)->index);
        header += ")";
        AddColumn(report, header.Text(), 85);
    }

    for (int r = 0; r < RecordCount(); ++r) {
        const MonteCarloTrialRecord record = RecordAt(r);
        zString line;
        AppendInt(line, r + 1);
        line += '\t';
        line += record.outcomeLabel;
        line += '\t';
        zString number;
        if (costEffectiveness && std::fabs(record.effectiveness) < 1e-10) {
            line += "(Undef)";
        } else {
            FormatNumber(format, record.value, number, true, false, kReportDigits);
            line += number;
        }
        if (costEffectiveness) {
            for (double part : {record.cost, record.effectiveness}) {
                FormatNumber(format, part, number, true, false, kReportDigits);
                line += '\t';
                line += number;
            }
        }
        if (options) {
            line += '\t';
            line += record.optimalLabel;
            for (double value : record.optionValues) {
                line += '\t';
                AppendFormattedNumber(line, value, kReportDigits);
            }
        }
        for (const std::vector<double>* values : {&record.variableValues, &record.samples}) {
            for (double value : *values) {
                line += '\t';
                AppendFormattedNumber(line, value, kReportDigits);
            }
        }
        report.AddLine(line);
    }
}
