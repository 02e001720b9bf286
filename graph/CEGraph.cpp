#include "graph/CEGraph.h"

#include "analysis/CEDominance.h"
#include "analysis/DecisionNodeStrategySet.h"
#include "framework/draw/Display.h"
#include "framework/draw/LogicalUnits.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <windows.h>

namespace {


// Every strategy's point and key: an open circle.
constexpr int kStrategyMark = 1;

NumericFormat AxisFormat(const TreeDocument& document, int payoff)
{
    NumericFormat format = payoff >= 0 && payoff < 4 ? document.CalcPrefs.PayoffFormats[payoff] : document.NumberFormat;
    format.axisDigits = format.expValDigits;
    return format;
}

}  // namespace

CEGraph::CEGraph(TreeNode* node, int effOnX) : effOnX(static_cast<int16_t>(effOnX != 0 ? 1 : 0))
{
    SetIconId(32026);
    BuildCEPoints(DecisionNodeStrategySet(node), points, 1);
    title.text = "Cost-Effectiveness Analysis";
    zString name;
    node->GetShortText(name, 30);
    subtitle.text = "At ";
    subtitle.text += name;
    hasSubtitle = 1;
    double minCost = 0, maxCost = 0, minEff = 0, maxEff = 0;
    GetCERanges(points, minCost, maxCost, minEff, maxEff);
    const TreeDocument& document = *node->document;
    const NumericFormat costFormat = AxisFormat(document, document.CostPayoffIndex());
    const NumericFormat effFormat = AxisFormat(document, document.CalcPrefs.CEEffPayoff);
    AutoScaleAxis(this->effOnX, costFormat, minCost, maxCost, "Cost", 1, 0);
    AutoScaleAxis(1 - this->effOnX, effFormat, minEff, maxEff, "Effectiveness", 1, 0);
    for (int i = 0; i < points.Count(); ++i)
        AddLegendEntry(points.Point(i)->name.Text(), new GraphMarkElement(kStrategyMark));
}

float CEGraph::PointX(const CEPoint& point) const
{
    return horizontalAxis.Position(effOnX != 0 ? point.effectiveness : point.cost, graphRect);
}

float CEGraph::PointY(const CEPoint& point) const
{
    return verticalAxis.Position(effOnX != 0 ? point.cost : point.effectiveness, graphRect);
}

void CEGraph::DrawSeries(Display& display)
{
    const CEPoint* previous = nullptr;
    for (int i = 0; i < points.Count(); ++i) {
        const CEPoint& point = *points.Point(i);
        DrawPointMark(display, kStrategyMark, PointX(point), PointY(point));
        if (!point.IsUndominated())
            continue;
        if (previous != nullptr)
            DrawLineBetween(display, PointX(*previous), PointY(*previous), PointX(point), PointY(point));
        previous = &point;
    }
}

