// One-way sensitivity of 100 intervals on a generated tree of about 10,000 nodes: a decision between three
// strategies, each a three-level chance subtree whose terminal payoffs read the swept variable.

#include "bench/Bench.h"

#include "analysis/OneWaySensitivityAnalysis.h"
#include "analysis/ThresholdAnalysis.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace {

void GrowStrategy(TreeDocument& document, TreeNode* strategy, int index)
{
    const std::string payoff = "x * " + std::to_string(index + 1) + " + cost";
    for (int a = 0; a < 10; ++a) {
        TreeNode* first = document.AddChild(strategy, ChanceNode, "a", "0.1");
        for (int b = 0; b < 10; ++b) {
            TreeNode* second = document.AddChild(first, ChanceNode, "b", "0.1");
            for (int c = 0; c < 33; ++c)
                document.AddChild(second, TerminalNode, "t", c == 0 ? "#" : "1/33", payoff.c_str());
        }
    }
}

template <typename Run>
double TimeRun(TreeDocument& document, Run start)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point begin = Clock::now();
    start();
    while (document.CurrentAnalysis != nullptr)
        document.CurrentAnalysis->OnIdle();
    return std::chrono::duration<double>(Clock::now() - begin).count();
}

}  // namespace

KIVO_BENCH(OneWaySensitivity)
{
    auto document = std::make_unique<TreeDocument>();
    document->EnsureVariable("x", "1");
    document->EnsureVariable("cost", "100");
    document->Root->SetBinding("x", "1", false);
    for (int s = 0; s < 3; ++s)
        GrowStrategy(*document, document->AddChild(document->Root, ChanceNode, "strategy"), s);
    std::printf("tree of %ld nodes\n", CountSubtreeNodes(document->Root, true));

    OneWaySettings settings;
    settings.variable = "x";
    settings.low = FormattedValue{"0", 0.0};
    settings.high = FormattedValue{"10", 10.0};
    settings.intervals = 100;
    for (int pass = 0; pass < 4; ++pass) {
        settings.checkCoherence = pass < 2;
        const double seconds = TimeRun(*document, [&] {
            RunAnalysis(std::make_unique<OneWaySensitivityAnalysis>(document->Root, settings));
        });
        std::printf("one-way sensitivity, 100 intervals x 3 strategies, %s: %.3f s\n",
                    settings.checkCoherence ? "checked at each step" : "unchecked", seconds);
    }
    ThresholdSettings threshold;
    static_cast<OneWaySettings&>(threshold) = settings;
    threshold.intervals = 4;
    threshold.tolerance = 0.001;
    const double seconds =
        TimeRun(*document, [&] { RunAnalysis(std::make_unique<ThresholdAnalysis>(document->Root, threshold)); });
    std::printf("threshold analysis, tolerance 0.001 over 0..10: %.3f s\n", seconds);
}
