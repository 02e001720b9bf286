#include "graph/BarGraphs.h"

BarGraphs& OpenBarGraphs()
{
    static BarGraphs graphs;
    return graphs;
}

void InstallBarGraphs()
{
    SetProbDistributionPresenter([](std::unique_ptr<ProbDistributionData> data) {
        OpenBarGraphs().distributions.push_back(std::make_unique<ProbDistributionGraph>(std::move(data)));
    });
    SetOptionBarPresenter([](std::unique_ptr<OptionBarData> data) {
        OpenBarGraphs().optionBars.push_back(std::make_unique<OptionBarGraph>(std::move(data)));
    });
}
