#include "graph/BarGraphs.h"

#include "graph/DistributionGraph.h"

void InstallBarGraphs()
{
    InstallDistributionGraphs();
}
