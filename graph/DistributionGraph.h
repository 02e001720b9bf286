#pragma once
// The comparative distribution graph: the probability distributions of several tree nodes as step lines
// over one common value axis, each line's values the probability per interval of the axis. The lines keep
// their nodes' outcome points, so that a new axis interval recomputes them. Its steps add one node's line
// after another, so that "Animate" shows the distributions appearing in turn.

#include "analysis/OutcomeDistribution.h"
#include "graph/GraphLineElement.h"
#include "graph/GraphWindow.h"
#include "graph/StepAnimation.h"

#include <memory>
#include <vector>

struct ComparativeDistributionData;

// A distribution drawn as a step line: its values are the probabilities of the axis intervals from the
// axis's bottom on; a dashed line marks the expected value.
class DistributionLine : public GraphLineElement {
public:
    void Draw(Display& display) override;
    // The line record, then
    //   version record                   3 bytes
    //   expected value                   f64
    //   has points (1 when they follow)  i16
    //   points                           outcome list
    void Serialize(Archive& archive) override;

    double expectedValue = 0.0;
    std::unique_ptr<OutcomeDistribution> points;
};

class DistributionLineList : public GraphLineElementList {
public:
    ~DistributionLineList() override { Clear(); }
    DistributionLine* Line(int index) const { return static_cast<DistributionLine*>(At(index)); }
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;
};

class DistributionGraph : public GraphWindow, public SteppedGraph {
public:
    static constexpr int kTypeCode = 46;

    explicit DistributionGraph(ComparativeDistributionData& data);
    // Reads the graph file; an unreadable file was reported and leaves the graph without a path.
    explicit DistributionGraph(const char* path);
    ~DistributionGraph() override;

    // 16 above 16, 6 below 6, else the larger of the request and 30 - 2 x request.
    static int EffectiveIntervals(int requested);

    int TypeCode() override { return kTypeCode; }
    // Show/Hide of the lines, while there are lines.
    CommandTable KindCommands() const override;
    bool HasTextExport() override { return true; }
    // "KIVO(tm) Line Graph": every line's outcome points (value, probability), then the lines' names.
    bool WriteTextExport(TextReport& report) override;
    // A new horizontal interval recomputes every line; refused when a line cannot be recomputed.
    int AxisChanged(int vertical) override;
    bool EditLegendKey(GraphElement& key) override;
    // The legend names the lines drawn.
    bool ElementShown(const GraphElement& element) const override;

    int StepCount() const override { return lines_.Count(); }

    int LineCount() const { return lines_.Count(); }
    const DistributionLine& Line(int index) const { return *lines_.Line(index); }
    int ShownLineCount() const { return static_cast<int>(shown_.size()); }
    StepAnimationStrip* Strip() const { return strip_; }

    double lowValue = 0.0;
    double highValue = 0.0;
    double intervalWidth = 0.0;
    int16_t requestedIntervals = 0;
    int16_t axisIntervals = 0;

protected:
    bool HasStoredForm() override { return true; }
    void StorePart(Archive& archive) override;
    bool LoadPart(Archive& archive) override;
    void DrawSeries(Display& display) override;

private:
    // The line's values from its points over the axis; false after the interval message.
    bool ComputeLine(DistributionLine& line);
    static const CommandRow KindRows[];
    void ShowHideLines();

    DistributionLineList lines_;
    std::vector<DistributionLine*> shown_;
    int markKindCounter_ = 6;
    StepAnimationStrip* strip_ = nullptr;
};

// Shows comparative distributions in this graph window from now on.
void InstallDistributionGraphs();
