// Two-way sensitivity of 20 x 20 intervals and a tornado of 10 bars x 10 intervals on a generated tree of about
// 10,000 nodes (a decision between three strategies, each a three-level chance subtree whose payoffs read the
// swept variables), and the boundary tables of a 100 x 100 region map of five strategies.

#include "bench/Bench.h"

#include "analysis/StrategyBoundaryTable.h"
#include "analysis/StrategyRegionMap.h"
#include "analysis/TornadoDiagram.h"
#include "analysis/TwoWaySensitivityAnalysis.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr int kBars = 10;

void GrowStrategy(TreeDocument& document, TreeNode* strategy, int index)
{
    const std::string payoff = "x * " + std::to_string(index + 1) + " + y * " + std::to_string(3 - index) +
                               " + v" + std::to_string(index) + " + v" + std::to_string(index + 3) + " + cost";
    for (int a = 0; a < 10; ++a) {
        TreeNode* first = document.AddChild(strategy, ChanceNode, "a", "0.1");
        for (int b = 0; b < 10; ++b) {
            TreeNode* second = document.AddChild(first, ChanceNode, "b", "0.1");
            for (int c = 0; c < 33; ++c)
                document.AddChild(second, TerminalNode, "t", c == 0 ? "#" : "1/33", payoff.c_str());
        }
    }
}

double TimeRun(TreeDocument& document, std::unique_ptr<AnalysisRun> run)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point begin = Clock::now();
    RunAnalysis(std::move(run));
    while (document.CurrentAnalysis != nullptr)
        document.CurrentAnalysis->OnIdle();
    return std::chrono::duration<double>(Clock::now() - begin).count();
}

FormattedValue Value(double value)
{
    return FormattedValue{zString(std::to_string(value).c_str()), value};
}

}  // namespace

KIVO_BENCH(StrategyRegions)
{
    auto document = std::make_unique<TreeDocument>();
    for (const char* name : {"x", "y", "cost"})
        document->EnsureVariable(name, "1");
    for (int v = 0; v < kBars; ++v)
        document->EnsureVariable(("v" + std::to_string(v)).c_str(), "0");
    for (int s = 0; s < 3; ++s)
        GrowStrategy(*document, document->AddChild(document->Root, ChanceNode, "strategy"), s);
    std::printf("tree of %ld nodes\n", CountSubtreeNodes(document->Root, true));

    TwoWaySettings twoWay;
    twoWay.x = {"x", Value(0), Value(10), 20};
    twoWay.y = {"y", Value(0), Value(10), 20};
    for (bool check : {true, false}) {
        twoWay.checkCoherence = check;
        const double seconds = TimeRun(*document, std::make_unique<TwoWaySensitivityAnalysis>(document->Root, twoWay));
        std::printf("two-way sensitivity, 20 x 20 intervals x 3 strategies, %s: %.3f s (aim 0.5 s)\n",
                    check ? "checked at each point" : "unchecked", seconds);
    }

    auto previous = SetTornadoSetupDialog([](TornadoSetupRequest& request) {
        for (int v = 0; v < kBars; ++v) {
            auto* bar = new TornadoSetup;
            bar->barName = ("v" + std::to_string(v)).c_str();
            bar->ranges.Add(new VariableRange(bar->barName, Value(-v), Value(v + 1)));
            request.bars->Add(bar);
        }
        request.intervals = 10;
        request.thisNodeOnly = 0;
        return true;
    });
    const double tornadoSeconds = TimeRun(*document, std::make_unique<TornadoDiagram>(document.get(), document->Root));
    SetTornadoSetupDialog(previous);
    std::printf("tornado diagram, 10 bars x 10 intervals x 3 strategies: %.3f s (aim 0.15 s)\n", tornadoSeconds);

    // Five strategies whose best changes along circles and lines across the map.
    StrategyRegionMap map(nullptr, 101, 101, 5, 0.0, 1.0, 0.0, 1.0);
    for (int y = 0; y < 101; ++y) {
        for (int x = 0; x < 101; ++x) {
            const double fx = x / 100.0;
            const double fy = y / 100.0;
            map.Cell(0, y, x).value = fx;
            map.Cell(1, y, x).value = fy;
            map.Cell(2, y, x).value = 1.0 - fx * fy;
            map.Cell(3, y, x).value = 0.8 - std::hypot(fx - 0.5, fy - 0.5);
            map.Cell(4, y, x).value = 0.5 + 0.3 * std::sin(6.0 * fx);
        }
    }
    BenchReport("boundary tables of a 100 x 100 map, 5 strategies (aim 50 ms)", 5,
                [&] { BenchKeep(StrategyBoundaryTable(map).Entry(0, 1) != nullptr); });
}
