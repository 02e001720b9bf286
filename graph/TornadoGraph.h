#pragma once
// The tornado diagram: one horizontal bar per variable (or group of correlated variables), from the lowest to
// the highest result its sweep reached, the widest on top. The graph owns the analysis's bars.

#include "analysis/TornadoDiagram.h"
#include "graph/GraphWindow.h"

#include <memory>

class TornadoGraph : public GraphWindow {
public:
    explicit TornadoGraph(const TornadoResults& results);

    int TypeCode() override { return 52; }

    std::shared_ptr<TornadoVariableList> allBars;
    int16_t strategyCount = 1;
    int16_t maximizing = 1;
    int16_t steps = 0;

protected:
    void DrawSeries(Display& display) override;
};

// Shows tornado diagrams in this graph window from now on.
void InstallTornadoGraphs();
