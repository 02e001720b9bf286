#pragma once
// A line graph as data: what a line graph window needs to draw it (title, axes, one line per series with one
// value per point, threshold markers). Analyses build it; the program's graph windows show it.

#include "analysis/SensitivityResultGrid.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class NumericFormat;
class TreeDocument;

// Which number format an axis uses.
enum GraphAxisFormat : int32_t {
    TreeDisplayFormat = 0,  // the tree window's display format
    TwoDecimalsFormat = 1,  // plain numbers with `digits` places (two when 0): probabilities, utilities
    PayoffFormat = 2,  // the number format of the axis's payoff
    RangeFormat = 3,   // `digits` places after dividing by 10 to the power `scale` (AutoFormatForRange)
    CostEffectivenessFormat = 4,  // the tree's format of cost/effectiveness ratios
};

struct GraphAxisData {
    std::string label;
    double bottom = 0.0;
    double top = 0.0;
    double interval = 1.0;
    // The axis's own automatic flag, as the scale is set.
    bool automaticFlag = false;
    // Set: bottom and top hold the smallest and largest plotted value, and the graph chooses a range and an
    // interval from powers of ten around them.
    bool autoScale = false;
    GraphAxisFormat format = TreeDisplayFormat;
    int32_t payoff = 0;
    int32_t digits = 0;
    int32_t scale = 0;
    // The axis is not money: its numbers carry neither the currency nor a units text.
    bool plain = false;
};

struct GraphLineData {
    std::string name;
    std::vector<double> values;
};

class GraphTemplate;

struct LineGraphData {
    std::string title;
    // Extra title lines under the title.
    std::vector<std::string> subtitles;
    GraphAxisData horizontal;
    GraphAxisData vertical;
    std::vector<GraphLineData> lines;
    std::vector<ThresholdPoint> thresholds;
    bool maximizing = true;
    bool useUtility = false;
    // The swept variable's name, written in the threshold texts.
    std::string variableName;
    // The tree whose number formats the axes use; null gives the default format.
    const TreeDocument* document = nullptr;
    // The template kept with the stored analysis that drew the graph, applied to the new window; null for none.
    const GraphTemplate* graphTemplate = nullptr;
};

// The axis of a swept variable from low to high in that many intervals: plain numbers whose places and
// power of ten suit the range (AutoFormatForRange on the tree's number format).
void SetVariableAxis(GraphAxisData& axis, const NumericFormat& treeFormat, double low, double high, int intervals);

// Shows a graph in a line graph window. Until a presenter is installed nothing is shown.
void ShowLineGraph(const LineGraphData& graph);
using LineGraphPresenter = std::function<void(const LineGraphData&)>;
LineGraphPresenter SetLineGraphPresenter(LineGraphPresenter presenter);
