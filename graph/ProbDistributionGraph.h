#pragma once
// The probability distribution of a list of outcomes as a bar graph; the graph owns its data.

#include "analysis/BarGraphData.h"

#include <memory>

class ProbDistributionGraph {
public:
    explicit ProbDistributionGraph(std::unique_ptr<ProbDistributionData> data) : data(std::move(data)) {}

    const ProbDistributionData& Data() const { return *data; }

private:
    std::unique_ptr<ProbDistributionData> data;
};
