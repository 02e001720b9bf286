#pragma once
// The cost-effectiveness graph: the strategies of one decision node in the cost-effectiveness plane as
// the last roll back left them, one mark per strategy with its name in the legend and a line joining the
// undominated strategies in order of cost.

#include "analysis/CEPointList.h"
#include "graph/GraphWindow.h"

#include <cstdint>

struct TreeNode;

class CEGraph : public GraphWindow {
public:
    // effOnX 1 puts effectiveness on the horizontal axis, 0 cost.
    CEGraph(TreeNode* node, int effOnX);

    int TypeCode() override { return 50; }

    CEPointList points;
    int16_t effOnX;

protected:
    void DrawSeries(Display& display) override;

private:
    // The point's place in the plot (inches).
    float PointX(const CEPoint& point) const;
    float PointY(const CEPoint& point) const;
};
