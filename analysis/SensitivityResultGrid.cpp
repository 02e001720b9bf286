#include "analysis/SensitivityResultGrid.h"

#include "model/TreeNode.h"

SensitivityResultGrid::SensitivityResultGrid(TreeNode* node, int16_t intervals, int16_t series, double low,
                                             double high)
    : node(node),
      document(node ? node->document : nullptr),
      intervals(intervals),
      series(series),
      cellCount(static_cast<int16_t>(series * (intervals + 1))),
      low(low),
      high(high)
{
    if (cellCount > 0)
        cells = new ValueTriple[cellCount]();
}

SensitivityResultGrid::~SensitivityResultGrid()
{
    delete[] cells;
}
