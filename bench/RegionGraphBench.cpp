// A two-way sensitivity graph of 10 strategies over 50 x 50 intervals (each strategy best around its own
// centre, so every one has a region bordering several others): its boundaries built, then the graph laid out
// and drawn whole into a bitmap with every region filled.

#include "bench/Bench.h"
#include "bench/BenchApp.h"

#include "analysis/TwoWaySensitivityAnalysis.h"
#include "app/MainFrame.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/window/FrameworkApp.h"
#include "graph/SensitivityRegionGraphs.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <memory>

KIVO_BENCH(RegionGraph)
{
    constexpr int kStrategies = 10;
    constexpr int kCount = 51;
    BenchApp app(BenchApp::WithMainFrame);
    auto map = std::make_shared<StrategyRegionMap>(nullptr, kCount, kCount, kStrategies, 0.0, 1.0, 0.0, 1.0);
    for (int s = 0; s < kStrategies; ++s) {
        const double cx = 0.5 + 0.4 * std::cos(s * 0.63);
        const double cy = 0.5 + 0.4 * std::sin(s * 1.7);
        for (int y = 0; y < kCount; ++y)
            for (int x = 0; x < kCount; ++x) {
                const double dx = map->XAt(x) - cx;
                const double dy = map->YAt(y) - cy;
                map->Cell(s, y, x).value = -(dx * dx + dy * dy);
            }
    }
    TwoWaySensitivityResults results;
    results.map = map;
    results.xLabel = "x";
    results.yLabel = "y";
    TwoWaySensGraph* graph = nullptr;
    BenchReport("two-way graph of 10 strategies over 50 x 50: boundaries built", 1,
                [&] { graph = new TwoWaySensGraph(results); });
    BitmapDisplay display(1200, 900);
    graph->Layout();
    graph->Draw(&display);
    BenchReport("two-way graph of 10 strategies over 50 x 50: drawn with filled regions (aim 50 ms)", 5,
                [&] { graph->Draw(&display); });
    delete graph;
}
