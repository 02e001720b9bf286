#pragma once
// The bar graphs of a simulation as data: a probability distribution of outcomes and the share of trials in
// which each option was optimal. Analyses build them; the program's graphs take them over and show them.

#include "analysis/OutcomeDistribution.h"
#include "foundation/NumericFormat.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class GraphTemplate;

struct ProbDistributionData {
    std::string title;
    std::string nodeText;
    // The number of trials the outcomes come from.
    int trials = 0;
    // The component the outcomes were taken from (ValueTriple numbering); their value holds it.
    int component = ComponentValue;
    double minimum = 0.0;
    double maximum = 0.0;
    OutcomeDistribution outcomes{16, true};
    // The tree's number format, for the value axis.
    NumericFormat numberFormat;
    // The tree's calculation method word, kept with the graph.
    uint8_t calcFlag = 0;
    // The template of the stored analysis being run again, or null.
    const GraphTemplate* graphTemplate = nullptr;
};

// The distributions of several nodes over one value range, to be compared as lines.
struct ComparativeDistributionData {
    struct Node {
        std::string text;
        double expectedValue = 0.0;
        std::unique_ptr<OutcomeDistribution> outcomes;
    };
    std::vector<Node> nodes;
    double low = 0.0;
    double high = 0.0;
    // How many value intervals the caller asks for (the graph makes 6 to 18 of them).
    int requestedIntervals = 0;
    NumericFormat numberFormat;
    const GraphTemplate* graphTemplate = nullptr;
};

struct OptionBarData {
    // Title, second title (shown when not empty), horizontal and vertical axis titles.
    std::string texts[4];
    std::vector<std::string> optionNames;
    // Per option a share from 0 to 1.
    std::vector<double> shares;
};

// Hand a graph's data to the program, which takes it over. Until a presenter is installed nothing is shown.
void ShowProbDistributionGraph(std::unique_ptr<ProbDistributionData> data);
void ShowOptionBarGraph(std::unique_ptr<OptionBarData> data);
void ShowComparativeDistributionGraph(std::unique_ptr<ComparativeDistributionData> data);
using ProbDistributionPresenter = std::function<void(std::unique_ptr<ProbDistributionData>)>;
using OptionBarPresenter = std::function<void(std::unique_ptr<OptionBarData>)>;
ProbDistributionPresenter SetProbDistributionPresenter(ProbDistributionPresenter presenter);
OptionBarPresenter SetOptionBarPresenter(OptionBarPresenter presenter);
using ComparativeDistributionPresenter = std::function<void(std::unique_ptr<ComparativeDistributionData>)>;
ComparativeDistributionPresenter SetComparativeDistributionPresenter(ComparativeDistributionPresenter presenter);
