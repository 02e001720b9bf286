// A line graph of one line of 10,000 points: laid out, drawn whole into a bitmap, saved and opened again; and
// one of thirty lines of 1,000 steps with their crossings drawn into a bitmap.

#include "bench/Bench.h"
#include "bench/BenchApp.h"

#include "app/MainFrame.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/window/FrameworkApp.h"
#include "graph/LineGraph.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

KIVO_BENCH(LineGraph)
{
    constexpr int kSteps = 9999;
    const char* temp = std::getenv("TEMP");
    const std::string path = std::string(temp != nullptr ? temp : ".") + "\\kivo_bench_graph.grf";
    BenchApp app(BenchApp::WithMainFrame);
    auto* graph = new LineGraph(kSteps, 1);
    std::vector<double> values(kSteps + 1);
    for (int i = 0; i <= kSteps; ++i)
        values[i] = std::sin(i / 500.0) * 50.0 + 50.0;
    graph->AddLine(values.data(), nullptr, "sine");
    graph->AutoScaleAxis(0, NumericFormat(true), 0.0, 1.0, "x", 1, 0);
    graph->AutoScaleAxis(1, NumericFormat(true), 0.0, 100.0, "y", 1, 0);
    BitmapDisplay display(1200, 900);
    BenchReport("line graph of 10,000 points: lay out and draw", 1, [&] {
        graph->Layout();
        graph->Draw(&display);
    });
    int saved = 0;
    BenchReport("line graph of 10,000 points: save", 1, [&] { saved = graph->SaveAs(path.c_str()); });
    LineGraph* opened = nullptr;
    BenchReport("line graph of 10,000 points: open", 1, [&] { opened = new LineGraph(path.c_str()); });
    std::printf("saved %s, opened %d points\n", saved ? "yes" : "no", opened->Line(0).Count());
    delete opened;
    delete graph;

    // Thirty rising lines, each crossing the next, every mark drawn.
    constexpr int kLineSteps = 1000;
    auto* lines = new LineGraph(kLineSteps, 1);
    std::vector<ThresholdPoint> crossings;
    for (int line = 0; line < 30; ++line) {
        for (int i = 0; i <= kLineSteps; ++i)
            values[i] = line * 3.0 + (30 - line) * 0.1 * i / kLineSteps * 30.0;
        lines->AddLine(values.data(), nullptr, ("line " + std::to_string(line + 1)).c_str());
        if (line > 0)
            crossings.push_back(ThresholdPoint{static_cast<int16_t>(line - 1), static_cast<int16_t>(line),
                                               0.5 + line / 100.0, line * 3.0});
    }
    lines->AddThresholdValues(crossings);
    lines->AutoScaleAxis(0, NumericFormat(true), 0.0, 1.0, "x", 1, 0);
    lines->AutoScaleAxis(1, NumericFormat(true), 0.0, 180.0, "y", 1, 0);
    lines->Layout();
    BenchReport("30 lines x 1,000 steps drawn into a bitmap", 10, [&] { lines->Draw(&display); });
    delete lines;
    std::remove(path.c_str());
}
