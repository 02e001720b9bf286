#pragma once
// The probability distribution of a node's outcomes as a histogram: one bar per interval of the value axis,
// its height the probability of the outcomes in it, or, cumulative, of those up to its end. The graph owns
// the outcomes, so that a new axis interval rebuilds the bars and a bar lists the outcomes it holds.

#include "analysis/OutcomeDistribution.h"
#include "graph/LineListGraph.h"

#include <memory>

struct ProbDistributionData;

class ProbDistributionGraph : public LineListGraph {
public:
    static constexpr int kTypeCode = 45;

    // Takes the data's outcomes over.
    explicit ProbDistributionGraph(ProbDistributionData& data);
    // Reads the graph file; an unreadable file was reported and leaves the graph without a path.
    explicit ProbDistributionGraph(const char* path);
    ~ProbDistributionGraph() override;

    // The bar count a new graph asks its axis for: 6 to 16 by the number of outcomes.
    static int BarCountFor(int outcomeCount);

    // The bars of the interval (0: the axis's) from the axis's bottom; false after the message, the bars as
    // they were.
    bool BuildHistogram(double interval);
    // Cumulative on: each bar holds the probability up to its end; off: the plain bars again.
    void ToggleCumulative();

    int TypeCode() override { return kTypeCode; }
    // Cumulative and Distribution Statistics, always offered.
    CommandTable KindCommands() const override;
    void UpdateMenus(HMENU bar) override;
    bool HasTextExport() override { return true; }
    // "KIVO(tm) Bar Graph": each outcome's value and probability, then the bars by their intervals.
    bool WriteTextExport(TextReport& report) override;
    // The bars follow a new vertical axis; a new horizontal interval rebuilds them or is refused.
    int AxisChanged(int vertical) override;
    // Over a bar: "Bar (<low> - <high>); P = <probability>".
    zString CoordinateText(float x, float y) const override;

    // The outcomes bar `index` lists in Bar Details: those in it, and below it when cumulative.
    void BarOutcomes(int index, OutcomeDistribution& listed) const;
    const OutcomeDistribution* Outcomes() const { return outcomes_.get(); }

    uint8_t isCumulative = 0;
    uint8_t calcFlag = 0;
    int16_t outcomeCount = 0;
    double belowProbability = 0.0;

protected:
    bool HasStoredForm() override { return true; }
    void StorePart(Archive& archive) override;
    bool LoadPart(Archive& archive) override;
    bool OnBarDoubleClick(int index) override;

private:
    void ScaleForBars(const NumericFormat& format, double low, double high, int barCount);
    void MakeCumulative();
    static const CommandRow KindRows[];
    void ShowStatistics();

    std::unique_ptr<OutcomeDistribution> outcomes_;
};
