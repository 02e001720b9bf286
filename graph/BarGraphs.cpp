#include "graph/BarGraphs.h"

#include "analysis/BarGraphData.h"
#include "graph/DistributionGraph.h"
#include "graph/OptionBarGraph.h"
#include "graph/ProbDistributionGraph.h"

void InstallBarGraphs()
{
    SetProbDistributionPresenter([](std::unique_ptr<ProbDistributionData> data) {
        auto* graph = new ProbDistributionGraph(*data);
        graph->Open(data->graphTemplate);
        graph->BuildHistogram(0.0);
        graph->InvalidateAll();
    });
    SetOptionBarPresenter([](std::unique_ptr<OptionBarData> data) { (new OptionBarGraph(*data))->Open(nullptr); });
    InstallDistributionGraphs();
}
