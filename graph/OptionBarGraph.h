#pragma once
// One bar per option of a decision: the share of trials in which it was optimal; the graph owns its data.

#include "analysis/BarGraphData.h"

#include <memory>

class OptionBarGraph {
public:
    explicit OptionBarGraph(std::unique_ptr<OptionBarData> data) : data(std::move(data)) {}

    const OptionBarData& Data() const { return *data; }

private:
    std::unique_ptr<OptionBarData> data;
};
