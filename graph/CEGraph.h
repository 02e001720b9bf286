#pragma once
// The cost-effectiveness graph: the strategies of one decision node in the cost-effectiveness plane as
// the last roll back left them, one mark per strategy with its name in the legend, a line joining the
// undominated strategies in order of cost and, on request, dashed guide lines from each extended-dominated
// strategy to the segment of its two undominated neighbours, with their coefficient-of-inequity ranges
// under the legend. Its text export is the cost-effectiveness table with the dominance report.

#include "analysis/CEPointList.h"
#include "foundation/NumericFormat.h"
#include "graph/GraphWindow.h"

#include "CommandIds.h"

#include <cstdint>
#include <functional>

struct TreeNode;

// The legend item of one extended-dominated strategy: its mark, then "<cost bound> <= k <= <eff bound>".
class ExtDomLegendItem : public GraphLabel {
public:
    void Measure(Display& display) override;
    void Draw(Display& display) override;
    bool Editable() const override { return false; }
    // The label record, then version record (3) and the point's index (i16; negative: format error 11).
    void Serialize(Archive& archive) override;

    int16_t pointIndex = 0;
};

using ExtDomLegendList = LabelList<ExtDomLegendItem>;

class CEGraph : public GraphWindow {
public:
    static constexpr int kTypeCode = 50;

    // effOnX 1 puts effectiveness on the horizontal axis, 0 cost.
    CEGraph(TreeNode* node, int effOnX);
    // Reads the graph file; an unreadable file was reported and leaves the graph without a path.
    explicit CEGraph(const char* path);

    int TypeCode() override { return kTypeCode; }
    // Display Extended Dominance while there are extended-dominated strategies, checked while shown.
    CommandTable KindCommands() const override;
    void UpdateMenus(HMENU bar) override;
    bool HasTextExport() override { return true; }
    // The cost-effectiveness table and the dominance report.
    bool WriteTextExport(TextReport& report) override;
    // "Cost = c; Eff = e; C/E = r" at the point.
    zString CoordinateText(float x, float y) const override;
    bool ElementShown(const GraphElement& element) const override;
    // The marker picker on a strategy's mark, which its point takes too.
    bool EditLegendKey(GraphElement& key) override { return PickLegendMark(key); }

    // The two ends of the guide lines of extended-dominated point i on the segment of its neighbours: at the
    // point's effectiveness (first) and at its cost (second), as (cost, effectiveness).
    void GuideEnds(int i, double ends[2][2]) const;
    bool ExtendedShown() const { return showExtended != 0; }
    int ExtendedItemCount() const { return extItems.Count(); }
    const ExtDomLegendItem& ExtendedItem(int i) const { return *extItems.Label(i); }
    // The mark kind of point i (its legend key's).
    int MarkKind(int i) const;

    CEPointList points;
    int16_t effOnX;

protected:
    bool HasStoredForm() override { return true; }
    void StorePart(Archive& archive) override;
    bool LoadPart(Archive& archive) override;
    void DrawSeries(Display& display) override;
    // The heading "Extended Dominance:" and the legend items.
    std::vector<GraphElement*> LegendColumnBlock() override;

private:
    static const CommandRow KindRows[];
    void ToggleExtended();
    const AxisElement& CostAxis() const { return effOnX != 0 ? verticalAxis : horizontalAxis; }
    const AxisElement& EffectivenessAxis() const { return effOnX != 0 ? horizontalAxis : verticalAxis; }
    bool IsExtendedPart(const GraphElement& element) const;

    int16_t showExtended = 0;
    NumericFormat ceFormat;
    GraphLabel extHeading{"Extended Dominance:"};
    ExtDomLegendList extItems;
};

// The two ends of the guide lines of extended-dominated point i on the segment of its neighbours: at the
// point's effectiveness (first) and at its cost (second), as (cost, effectiveness).
void CEGuideEnds(const CEPointList& points, int i, double ends[2][2]);
// The points on the graph's axes (cost across when effOnX is 0): point i with the mark markOf(i), the
// undominated ones joined in order of cost and, with guides, dashed guide lines from every extended-dominated
// point to its neighbours' segment.
void DrawCEPoints(const GraphWindow& graph, Display& display, const CEPointList& points, int effOnX, bool guides,
                  const std::function<int(int)>& markOf);
// "Cost = c; Eff = e; C/E = r" at the point (inches), in the axes' formats and ceFormat; "(Undefined)" for an
// effectiveness of about 0.
zString CEStatusText(const GraphWindow& graph, int effOnX, const NumericFormat& ceFormat, float x, float y);
