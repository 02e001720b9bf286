#include "graph/SensitivityRegionGraphs.h"

#include "analysis/ThreeWaySensitivityAnalysis.h"
#include "analysis/TwoWaySensitivityAnalysis.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <windows.h>

namespace {

NumericFormat PlaneFormat(const StrategyRegionMap& map)
{
    return map.document != nullptr ? map.document->NumberFormat : NumericFormat(true);
}

}  // namespace

void RegionGraph::SetUpPlane(const StrategyRegionMap& map, const zString& xLabel, const zString& yLabel)
{
    const NumericFormat format = PlaneFormat(map);
    AutoScaleAxis(0, format, map.xLow, map.xHigh, xLabel.Text(), 1, 0);
    AutoScaleAxis(1, format, map.yLow, map.yHigh, yLabel.Text(), 1, 0);
    legendTexts.Clear();
    legendKeys.Clear();
    for (int s = 0; s < map.strategies; ++s) {
        zString label = s < static_cast<int>(map.labels.size()) ? map.labels[s] : zString();
        if (label.IsEmpty() && map.node != nullptr && s < map.node->childCount)
            map.node->GetChild(s)->GetShortText(label, 30);
        AddLegendEntry(label.Text(), new GraphFillElement(GraphItemStyle(s)));
    }
}

void RegionGraph::DrawBoundaries(Display& display, const StrategyBoundaryTable& table)
{
    const int strategies = legendTexts.Count();
    for (int i = 0; i < strategies; ++i) {
        for (int j = i + 1; j < strategies; ++j) {
            const BoundaryPointList* points = table.Entry(i, j);
            for (int k = 1; points != nullptr && k < points->Count(); ++k) {
                const BoundaryPoint* a = points->Point(k - 1);
                const BoundaryPoint* b = points->Point(k);
                DrawLineBetween(display, horizontalAxis.Position(a->x, graphRect),
                                verticalAxis.Position(a->y, graphRect), horizontalAxis.Position(b->x, graphRect),
                                verticalAxis.Position(b->y, graphRect));
            }
        }
    }
}

TwoWaySensGraph::TwoWaySensGraph(const TwoWaySensitivityResults& results)
    : valueMap(results.map), boundaries(std::make_unique<StrategyBoundaryTable>(*results.map))
{
    title.text = results.title;
    subtitle.text = results.subtitle;
    hasSubtitle = subtitle.text.IsEmpty() ? 0 : 1;
    SetUpPlane(*valueMap, results.xLabel, results.yLabel);
}

bool TwoWaySensGraph::WriteTextExport(TextReport& report)
{
    if (!valueMap)
        return false;
    valueMap->ExportText(report, horizontalLabel.text, verticalLabel.text);
    return true;
}

void TwoWaySensGraph::DrawSeries(Display& display)
{
    DrawBoundaries(display, *boundaries);
}

ThreeWaySensGraph::ThreeWaySensGraph(const ThreeWaySensitivityResults& results)
    : maps(results.maps), zLow(results.zLow), zStep(results.zStep)
{
    title.text = results.title;
    subtitle.text = results.subtitle;
    hasSubtitle = subtitle.text.IsEmpty() ? 0 : 1;
    for (const auto& map : maps)
        boundaries.push_back(std::make_unique<StrategyBoundaryTable>(*map));
    if (!maps.empty())
        SetUpPlane(*maps.front(), results.labels[0], results.labels[1]);
}

void ThreeWaySensGraph::DrawSeries(Display& display)
{
    if (shownStep >= 0 && shownStep < static_cast<int>(boundaries.size()))
        DrawBoundaries(display, *boundaries[shownStep]);
}

void InstallSensitivityRegionGraphs()
{
    SetTwoWaySensitivityPresenter([](const TwoWaySensitivityResults& results) {
        if (!results.map)
            return;
        (new TwoWaySensGraph(results))->Open(results.graphTemplate);
    });
    SetThreeWaySensitivityPresenter([](const ThreeWaySensitivityResults& results) {
        if (results.maps.empty())
            return;
        (new ThreeWaySensGraph(results))->Open(results.graphTemplate);
    });
}
