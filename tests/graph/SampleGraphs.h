#pragma once
// Results of the analyses built in code, for the graph tests: a one-way sweep with two lines crossing, a
// two-way map of two strategies and three steps of a three-way run.

#include "analysis/LineGraphData.h"
#include "analysis/ThreeWaySensitivityAnalysis.h"
#include "analysis/TwoWaySensitivityAnalysis.h"

#include <memory>

// A and B over p from 0 to 1, crossing at p = 0.5 (value 50), with a subtitle.
inline LineGraphData OneWayData()
{
    LineGraphData data;
    data.title = "Sensitivity Analysis on p";
    data.subtitles.push_back("[q:  0 to 1]");
    data.variableName = "p";
    data.horizontal.label = "p";
    data.horizontal.top = 1.0;
    data.horizontal.interval = 0.5;
    data.vertical.label = "Expected Value";
    data.vertical.top = 100.0;
    data.vertical.autoScale = true;
    data.lines.push_back({"A", {0.0, 50.0, 100.0}});
    data.lines.push_back({"B", {50.0, 50.0, 50.0}});
    ThresholdPoint crossing;
    crossing.first = 0;
    crossing.second = 1;
    crossing.x = 0.5;
    crossing.value = 50.0;
    data.thresholds.push_back(crossing);
    return data;
}

// Strategy "Left" is better left of x = 0.5, "Right" right of it.
inline TwoWaySensitivityResults LeftRightResults()
{
    auto map = std::make_shared<StrategyRegionMap>(nullptr, 5, 5, 2, 0.0, 1.0, 0.0, 1.0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            map->Cell(0, y, x).value = 100.0 - 25.0 * x;
            map->Cell(1, y, x).value = 25.0 * x;
        }
    map->labels = {"Left", "Right"};
    TwoWaySensitivityResults results;
    results.map = map;
    results.xLabel = "x";
    results.yLabel = "y";
    return results;
}

// Three steps of a third variable, z = 0, 50 and 100, move the boundary between "Left" and "Right" from
// x = 2.5 to 6.5.
inline ThreeWaySensitivityResults ThreeStepResults()
{
    ThreeWaySensitivityResults results;
    for (int step = 0; step < 3; ++step) {
        auto map = std::make_shared<StrategyRegionMap>(nullptr, 11, 11, 2, 0.0, 10.0, 0.0, 10.0);
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 11; ++x)
                map->Cell(1, y, x).value = x - (3.0 + 2 * step) + 0.5;
        map->labels = {"Left", "Right"};
        results.maps.push_back(map);
    }
    results.labels[0] = "x";
    results.labels[1] = "y";
    results.labels[2] = "z";
    results.zHigh = 100.0;
    results.zStep = 50.0;
    return results;
}
