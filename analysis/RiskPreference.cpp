#include "analysis/RiskPreference.h"

#include "analysis/LineGraphData.h"
#include "analysis/TreeQueries.h"
#include "foundation/Host.h"
#include "formula/RunOutcome.h"
#include "foundation/NumericFormat.h"
#include "model/RiskPrefAssessment.h"
#include "model/TreeDocument.h"

#include <algorithm>
#include <cfloat>

bool TreeEndValueRange(TreeDocument* document, double& lowest, double& highest)
{
    HostWaitCursor wait;
    RunFault error;
    lowest = DBL_MAX;
    highest = -DBL_MAX;
    RangeOfEndValues(document->Root, &lowest, &highest, &error);
    return !error;
}

bool RiskPointAssessment::Begin(TreeDocument* document, int segmentCount)
{
    double lowest = 0.0;
    double highest = 0.0;
    if (!TreeEndValueRange(document, lowest, highest))
        return false;
    if (!(lowest < highest)) {
        ReportFailure(OutcomeCode::PayoffRangeTooNarrow, nullptr, nullptr, "The tree does not have a wide enough payoff range to use this risk preference function.",
                     -1);
        return false;
    }
    segments = std::min(segmentCount, RiskPrefAssessment::kPointCount - 1);
    values = {lowest, highest};
    utilities = {0.0, 1.0};
    low = lowest;
    high = highest;
    return true;
}

bool RiskPointAssessment::Answer(double c)
{
    if (!(low < c && c < high)) {
        ReportFailure(OutcomeCode::CertaintyEquivalentOutOfRange, nullptr, nullptr, "You must enter a number between the low and high values of the given lottery.", -1);
        return false;
    }
    // The highest value stays last: c lies below it.
    size_t at = std::upper_bound(values.begin(), values.end() - 1, c) - values.begin();
    values.insert(values.begin() + at, c);
    utilities.insert(utilities.begin() + at, (utilities[at - 1] + utilities[at]) / 2);
    size_t asked = values.size() - 1;
    size_t power = 1;
    while (power * 2 <= asked)
        power *= 2;
    size_t i = 2 * (asked - power);
    if (i + 1 < values.size()) {
        low = values[i];
        high = values[i + 1];
    }
    return true;
}

void RiskPointAssessment::Store(TreeDocument* document) const
{
    RiskPrefAssessment& function = document->RiskAssessment;
    function.ResetTable();
    for (size_t i = 0; i < values.size() && i < RiskPrefAssessment::kPointCount; ++i)
        function.points[i] = {utilities[i], values[i]};
    function.pointsAssessed = 1;
    function.type = 2;
    document->SetModified(1);
}

bool MakeRiskPreferenceGraph(const TreeDocument* document, LineGraphData& graph)
{
    const RiskPrefAssessment& function = document->RiskAssessment;
    double xmin = 0.0;
    double xmax = 0.0;
    if (function.type == 1) {
        xmin = -function.coefficient;
        xmax = 2 * function.coefficient;
    } else if (function.type == 2 && function.points) {
        function.AssessedRange(xmin, xmax);
    } else {
        return false;
    }
    graph.title = "Risk Preference Function";
    graph.document = document;
    GraphAxisData& x = graph.horizontal;
    x.label = "Expected Value";
    x.bottom = xmin;
    x.top = xmax;
    x.interval = (xmax - xmin) / 10;
    x.format = RangeFormat;
    NumericFormat format = document->NumberFormat();
    AutoFormatForRange(format, xmin, xmax, 10);
    x.digits = format.axisDigits;
    x.scale = format.chopOff;
    GraphAxisData& y = graph.vertical;
    y.label = "Utility";
    y.bottom = function.type == 1 ? -2.0 : 0.0;
    y.top = 1.0;
    y.interval = function.type == 1 ? 0.3 : 0.1;
    y.format = TwoDecimalsFormat;
    GraphLineData line{"Utility", {}};
    for (int k = 0; k <= 10; ++k) {
        RunFault error;
        line.values.push_back(function.ToUtility(xmin + k * (xmax - xmin) / 10, &error));
    }
    graph.lines.push_back(std::move(line));
    return true;
}

void ShowRiskPreferenceGraph(const TreeDocument* document)
{
    LineGraphData graph;
    if (MakeRiskPreferenceGraph(document, graph))
        ShowLineGraph(graph);
}
