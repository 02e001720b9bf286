#pragma once
// A Markov analysis's graph as data: what a line graph window needs to draw it (title, axes, one line per
// series with one value per recorded stage). The graph windows turn it into a line graph.

#include "foundation/zString.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What the user asked to see.
struct MarkovGraphRequest {
    int16_t firstStage = 0;
    int16_t stageStep = 1;
    int16_t points = 0;  // (last stage - first stage) / step, computed
    int16_t settingA = 1;
    int32_t settingB = 30;
    int32_t reportKind = 1;
};

// Which number format an axis uses.
enum MarkovAxisFormat : int32_t {
    TreeDisplayFormat = 0,  // the tree window's display format
    TwoDecimalsFormat = 1,
    PayoffFormat = 2,  // the number format of the axis's payoff
};

struct MarkovGraphAxis {
    std::string label;
    double bottom = 0.0;
    double top = 0.0;
    double interval = 1.0;
    // The axis's own automatic flag, as the scale is set.
    bool automaticFlag = false;
    // Set: bottom and top hold the smallest and largest plotted value, and the graph chooses a range and an
    // interval from powers of ten around them.
    bool autoScale = false;
    MarkovAxisFormat format = TreeDisplayFormat;
    int32_t payoff = 0;
    int32_t digits = 0;
};

struct MarkovGraphLine {
    std::string name;
    std::vector<double> values;
};

struct MarkovGraphData {
    std::string title;
    MarkovGraphAxis horizontal;
    MarkovGraphAxis vertical;
    std::vector<MarkovGraphLine> lines;
};

// Shows a graph in a graph window. Until a presenter is installed nothing is shown.
void ShowMarkovGraph(const MarkovGraphData& graph);
using MarkovGraphPresenter = std::function<void(const MarkovGraphData&)>;
MarkovGraphPresenter SetMarkovGraphPresenter(MarkovGraphPresenter presenter);
