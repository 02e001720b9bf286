#pragma once
// The bar graphs of a simulation as data: a probability distribution of outcomes and the share of trials in
// which each option was optimal. Analyses build them; the program's graphs take them over and show them.

#include "analysis/OutcomeDistribution.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

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
using ProbDistributionPresenter = std::function<void(std::unique_ptr<ProbDistributionData>)>;
using OptionBarPresenter = std::function<void(std::unique_ptr<OptionBarData>)>;
ProbDistributionPresenter SetProbDistributionPresenter(ProbDistributionPresenter presenter);
OptionBarPresenter SetOptionBarPresenter(OptionBarPresenter presenter);
