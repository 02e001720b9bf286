#pragma once
// The program's bar graphs: the data an analysis hands over becomes a graph of its kind, kept until the
// program ends.

#include "graph/OptionBarGraph.h"
#include "graph/ProbDistributionGraph.h"

#include <memory>
#include <vector>

struct BarGraphs {
    std::vector<std::unique_ptr<ProbDistributionGraph>> distributions;
    std::vector<std::unique_ptr<OptionBarGraph>> optionBars;
};

// The graphs made so far.
BarGraphs& OpenBarGraphs();
// Installs the presenters that make the graphs.
void InstallBarGraphs();
