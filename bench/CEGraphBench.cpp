// The cost-effectiveness graph of a decision between 1,000 strategies (costs rising, effectiveness rising
// unevenly, so that many are dominated in either sense): built from the rolled-back tree, laid out and drawn
// into a bitmap, and its dominance report written.

#include "bench/Bench.h"
#include "bench/BenchApp.h"

#include "analysis/TreeEngines.h"
#include "app/MainFrame.h"
#include "foundation/TextReport.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/window/FrameworkApp.h"
#include "graph/CEGraph.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

KIVO_BENCH(CEGraph)
{
    constexpr int kStrategies = 1000;
    BenchApp app(BenchApp::WithMainFrame);
    auto document = std::make_unique<TreeDocument>();
    document->CalcPrefs.CalcMethod = CostEffectivenessMethod;
    document->CalcPrefs.CECostPayoff = 0;
    document->CalcPrefs.CEEffPayoff = 1;
    document->Root->kind = DecisionNode;
    for (int i = 0; i < kStrategies; ++i) {
        const std::string cost = std::to_string(i * 10 + (i * 37) % 11);
        const std::string effectiveness = std::to_string(std::sqrt(i + 1.0) * 10.0 + (i * 7919) % 13);
        document->AddChild(document->Root, TerminalNode, ("s" + std::to_string(i)).c_str(), "", cost.c_str())
            ->SetPayoffText(effectiveness.c_str(), 1, false);
    }
    RollBackDocument(*document);
    BitmapDisplay display(1600, 1200);
    // The fastest of five: the machine's other work comes and goes.
    CEGraph* graph = nullptr;
    double build = 0, layout = 0, draw = 0;
    for (int round = 0; round < 5; ++round) {
        delete graph;
        const double built = BenchBestSeconds(1, [&] { graph = new CEGraph(document->Root, 0); });
        const double laidOut = BenchBestSeconds(1, [&] { graph->Layout(); });
        const double drawn = BenchBestSeconds(1, [&] { graph->Draw(&display); });
        build = round == 0 ? built : std::min(build, built);
        layout = round == 0 ? laidOut : std::min(layout, laidOut);
        draw = round == 0 ? drawn : std::min(draw, drawn);
    }
    std::printf("cost-effectiveness graph of 1,000 strategies, fastest of 5: build %.1f ms, lay out %.1f ms, draw "
                "%.1f ms, together %.1f ms (aim 50 ms)\n",
                build * 1e3, layout * 1e3, draw * 1e3, (build + layout + draw) * 1e3);
    int dominated = 0;
    int extended = 0;
    for (int i = 0; i < graph->points.Count(); ++i) {
        dominated += graph->points.Point(i)->state == CEPoint::Dominated;
        extended += graph->points.Point(i)->state == CEPoint::ExtendedDominated;
    }
    size_t lines = 0;
    BenchReport("cost-effectiveness report of 1,000 strategies (aim 50 ms)", 10, [&] {
        TextReport report;
        graph->WriteTextExport(report);
        lines = report.ExportText().size();
    });
    std::printf("%d dominated, %d extended-dominated, report of %zu characters\n", dominated, extended, lines);
    delete graph;
    document.reset();
}
