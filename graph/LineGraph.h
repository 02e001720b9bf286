#pragma once
// The line graph: a family of lines over one common X range, one per strategy or series, with a legend and
// the threshold values where two lines cross. One-way sensitivity, Markov stage output and the risk
// preference function show their results in it.

#include "analysis/SensitivityResultGrid.h"
#include "graph/GraphWindow.h"

#include "CommandIds.h"

#include <array>
#include <memory>
#include <vector>

struct LineGraphData;

struct GraphLineElement {
    std::vector<double> values;
    // X values of the points, empty for the regular grid of the horizontal axis.
    std::vector<double> positions;
    int markKind = 1;
};

class LineGraph : public GraphWindow {
public:
    static constexpr int MaximumShownLines = 30;
    static constexpr unsigned DisplayThresholdsCommand = Cmd::GraphDisplayThresholdValues;

    LineGraph(int stepCount, int optionWord);
    ~LineGraph() override;

    int TypeCode() override { return 44; }
    long OnCommandId(unsigned id, unsigned code, HWND control) override;

    // Adds a line of step count + 1 values (X values or null for the grid) with its legend text; the first
    // thirty lines are drawn, later ones are kept.
    GraphLineElement* AddLine(const double* values, const double* positions, const char* legend);
    // Adds the crossing points and their texts; the threshold block shows when there is at least one.
    void AddThresholdValues(const std::vector<ThresholdPoint>& points);
    // The line's value at x on the horizontal axis's grid, interpolated; -1 from BestLineAt without lines.
    double ValueAt(int line, double x) const;
    int BestLineAt(double x) const;

    int StepCount() const { return stepCount_; }
    int LineCount() const { return static_cast<int>(lines_.size()); }
    const GraphLineElement& Line(int index) const { return *lines_[index]; }
    int ShownLineCount() const { return static_cast<int>(shown_.size()); }
    // The two texts of threshold label i.
    const zString& ThresholdText(int index, int which) const { return thresholdTexts_[index][which]; }
    int ThresholdCount() const { return static_cast<int>(thresholds_.size()); }
    bool DisplayThresholds() const { return displayThresholds_ != 0; }

    zString variableName;
    int riskAdjusted = 0;
    int higherIsBetter = 0;
    int thresholdsRecorded = 0;

protected:
    void DrawSeries(Display& display) override;
    void DrawLegendKey(Display& display, int index, const LogicalRect& key) override;
    void ExtraLegendSize(Display& display, float& width, float& height) override;
    void DrawExtraLegend(Display& display, float left, float top) override;

private:
    void UpdateThresholdText(int index);
    float PointX(const GraphLineElement& line, int point) const;

    int stepCount_;
    int displayThresholds_ = 0;
    int optionWord_;
    int markKindCounter_ = 6;
    std::vector<std::unique_ptr<GraphLineElement>> lines_;
    std::vector<GraphLineElement*> shown_;
    std::vector<ThresholdPoint> thresholds_;
    std::vector<std::array<zString, 2>> thresholdTexts_;
};

// Shows analysis graphs in line graph windows from now on.
void InstallLineGraphWindows();
// The line graph window of the data, laid out and shown.
LineGraph* OpenLineGraph(const LineGraphData& data);
