#pragma once
// The cost-effectiveness planes of a one-way sensitivity run: at each step of the varied variable the
// strategies as the cost-effectiveness graph draws them, dominance and extended dominance worked out again
// for that step, each strategy keeping its mark by name however the order changes. The label
// "<variable> = <value>" names the step; the strip under the plot steps and animates.

#include "analysis/SensitivityResultGrid.h"
#include "foundation/NameList.h"
#include "foundation/NumericFormat.h"
#include "graph/GraphWindow.h"
#include "graph/StepAnimation.h"

#include <memory>

struct TreeNode;

class CESensitivityGraph : public GraphWindow, public SteppedGraph {
public:
    static constexpr int kTypeCode = 53;

    // A copy of the grid; effOnX 1 puts effectiveness on the horizontal axis, 0 cost.
    CESensitivityGraph(const SensitivityResultGrid& grid, TreeNode* node, const char* subtitleText,
                       const char* variable, int effOnX);
    // Reads the graph file; an unreadable file was reported and leaves the graph without a path.
    explicit CESensitivityGraph(const char* path);

    int TypeCode() override { return kTypeCode; }
    int StepCount() const override { return grid_ ? grid_->Intervals() + 1 : 0; }
    StepValueLabel* StepLabel() override { return &stepLabel; }
    StepAnimationStrip* Strip() const { return strip_; }
    bool HasTextExport() override { return grid_ != nullptr; }
    // The cost-effectiveness table of every step.
    bool WriteTextExport(TextReport& report) override;
    zString CoordinateText(float x, float y) const override;
    // The marker picker on the key's strategy.
    bool EditLegendKey(GraphElement& key) override { return PickLegendMark(key); }
    void ForEachElement(const ElementVisit& visit) override;
    void SetGraphRect(const LogicalRect& rect) override;

    // The mark of the point named `name` at the step shown: the key of the first strategy of that name.
    int MarkOfStrategy(const zString& name) const;

    StepValueLabel stepLabel;
    NameList strategyNames;
    zString variableName;
    NumericFormat ceFormat;
    int16_t effOnX = 0;

protected:
    // Plays the steps, as "Animate" does.
    void FirstShown() override { strip_->Animate(); }
    void DrawSeries(Display& display) override;
    LogicalRect PlotBlockSize() override;
    void PlacePlotBlock(const LogicalRect& block) override;
    bool HasStoredForm() override { return true; }
    void StorePart(Archive& archive) override;
    bool LoadPart(Archive& archive) override;

private:
    std::unique_ptr<SensitivityResultGrid> grid_;
    StepAnimationStrip* strip_ = nullptr;
};
