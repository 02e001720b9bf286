// A probability distribution histogram of 100,000 trial outcomes (merged by equal value, to a tenth, as an
// outcome list holds at most 32,767 entries): its bars built from the outcomes, then drawn whole into a bitmap.

#include "bench/Bench.h"
#include "bench/BenchApp.h"

#include "analysis/BarGraphData.h"
#include "app/MainFrame.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/window/FrameworkApp.h"
#include "graph/ProbDistributionGraph.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

KIVO_BENCH(Histogram)
{
    constexpr int kOutcomes = 100000;
    BenchApp app(BenchApp::WithMainFrame);
    ProbDistributionData data;
    data.title = "Monte Carlo Simulation at";
    data.nodeText = "Decision";
    data.minimum = 0.0;
    data.maximum = 0.0;
    for (int i = 0; i < kOutcomes; ++i) {
        const double value = std::round((50.0 + 20.0 * std::sin(i * 0.7) * std::cos(i * 0.013)) * 10.0) / 10.0;
        data.outcomes.Add(value, 1.0 / kOutcomes, nullptr, true);
        data.maximum = std::max(data.maximum, value);
    }
    auto* graph = new ProbDistributionGraph(data);
    BitmapDisplay display(1200, 900);
    graph->Layout();
    bool built = false;
    BenchReport("histogram of 100,000 outcomes: build and draw", 1, [&] {
        built = graph->BuildHistogram(0.0);
        graph->Draw(&display);
    });
    std::printf("built %s, %d bars from %d distinct outcomes\n", built ? "yes" : "no", graph->bars.Count(),
                graph->Outcomes()->Count());
    delete graph;
}
