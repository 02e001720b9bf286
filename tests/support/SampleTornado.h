#pragma once
// Tornado results built in code for tests and the tour.

#include "analysis/TornadoDiagram.h"

#include <initializer_list>

struct SampleTornadoBar {
    const char* name;
    double low;
    double high;
};

// One bar per entry, its results from low to high while its one variable runs from 0 to 1 (one strategy,
// two intervals: low, middle, high); the first bar's strategies tie at the result `tie` (variable 0.5); the
// axis runs from axisLow to axisHigh.
TornadoResults MakeTornadoResults(std::initializer_list<SampleTornadoBar> bars, double tie, double axisLow,
                                  double axisHigh, const char* label);
