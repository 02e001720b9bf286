#pragma once
// The line graph: a family of lines over one common X range, one per strategy or series, with a legend and
// the threshold values where two lines cross. One-way sensitivity, Markov stage output and the risk
// preference function show their results in it; it is saved and reopened as a graph file.

#include "analysis/SensitivityResultGrid.h"
#include "graph/GraphLineElement.h"
#include "graph/GraphWindow.h"

#include "CommandIds.h"

#include <vector>

struct LineGraphData;

// The label of one threshold point: "<variable> = x" over "EV = y" (or "CE = y"), beside the marks of the
// two lines that cross there. Its text is made by the graph, never typed.
class ThresholdLabel : public GraphLabel {
public:
    void Measure(Display& display) override;
    void Draw(Display& display) override;
    bool Editable() const override { return false; }
    // The label record, then version record (3), threshold index (i16; negative: format error 11) and the
    // second text.
    void Serialize(Archive& archive) override;

    zString secondText;
    int16_t thresholdIndex = 0;
};

using ThresholdLabelList = LabelList<ThresholdLabel>;

class LineGraph : public GraphWindow {
public:
    static constexpr int kTypeCode = 44;
    static constexpr int MaximumShownLines = 30;

    LineGraph(int stepCount, int optionWord);
    // Reads the graph file; an unreadable file was reported and leaves the graph without a path.
    explicit LineGraph(const char* path);
    ~LineGraph() override;

    int TypeCode() override { return kTypeCode; }
    // Display Threshold Values and Strategy Graph while there are thresholds; Show/Hide and Line to
    // Table while there are lines.
    CommandTable KindCommands() const override;
    void UpdateMenus(HMENU bar) override;
    bool HasTextExport() override { return true; }
    // The threshold texts take the axes' new formats.
    void FormatChanged() override;
    // "KIVO(tm) Line Graph": the values by X, the threshold values, then the same values by line.
    bool WriteTextExport(TextReport& report) override;
    // The common elements, then the threshold title and labels, which are drawn and hit only while the
    // threshold block shows.
    bool ElementShown(const GraphElement& element) const override;
    // The marker picker on the key's line.
    bool EditLegendKey(GraphElement& key) override;

    // Adds a line of step count + 1 values (X values or null for the grid) with its legend text and key; the
    // first thirty lines are drawn, later ones are kept.
    GraphLineElement* AddLine(const double* values, const double* positions, const char* legend);
    // Adds the crossing points in ascending order of x, label i naming point i; the threshold block shows when
    // there is at least one.
    void AddThresholdValues(const std::vector<ThresholdPoint>& points);
    // The line's value at x on the horizontal axis's grid, interpolated; -1 from BestLineAt without lines.
    double ValueAt(int line, double x) const;
    int BestLineAt(double x) const;

    int StepCount() const { return stepCount_; }
    int LineCount() const { return lines_.Count(); }
    const GraphLineElement& Line(int index) const { return *lines_.Line(index); }
    int ShownLineCount() const { return static_cast<int>(shown_.size()); }
    bool LineShown(int index) const;
    // The two texts of threshold label i.
    const zString& ThresholdText(int index, int which) const
    {
        return which == 0 ? thresholdLabels_.Label(index)->text : thresholdLabels_.Label(index)->secondText;
    }
    int ThresholdCount() const { return thresholds_.Count(); }
    const GraphSeriesItem& Threshold(int index) const { return *thresholds_.Point(index); }
    bool DisplayThresholds() const { return displayThresholds_ != 0; }

    zString variableName;
    int riskAdjusted = 0;
    int16_t higherIsBetter = 0;
    int16_t thresholdsRecorded = 0;

protected:
    bool HasStoredForm() override { return true; }
    void StorePart(Archive& archive) override;
    bool LoadPart(Archive& archive) override;
    void DrawSeries(Display& display) override;
    // The threshold title and labels.
    std::vector<GraphElement*> LegendColumnBlock() override;

private:
    static const CommandRow KindRows[];
    void ToggleThresholds();
    // Strategy Graph: the best line's region between each two thresholds, in a new graph.
    void StrategyGraph();
    // Show/Hide: the person chooses which lines are drawn, at most thirty.
    void ShowHideLines();
    // Line to Table: the one line shown, or the one chosen, becomes a new lookup table of (x, y) entries.
    void LineToTable();

    void UpdateThresholdText(int index);
    bool ThresholdBlockShown() const { return displayThresholds_ != 0 && thresholdLabels_.Count() > 0; }

    int16_t stepCount_;
    int16_t displayThresholds_ = 0;
    int16_t optionWord_;
    int markKindCounter_ = 6;
    GraphLabel thresholdTitle_{"Threshold Values:"};
    GraphLineElementList lines_;
    std::vector<GraphLineElement*> shown_;
    GraphSeriesList thresholds_;
    ThresholdLabelList thresholdLabels_;
};

// Shows analysis graphs in line graph windows from now on.
void InstallLineGraphWindows();
// The line graph window of the data, laid out and shown.
LineGraph* OpenLineGraph(const LineGraphData& data);
