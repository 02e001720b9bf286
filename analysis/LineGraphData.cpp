#include "analysis/LineGraphData.h"

#include "analysis/SensitivityResultGrid.h"
#include "foundation/NumericFormat.h"
#include "foundation/PresenterSlot.h"

namespace {

using Slot = PresenterSlot<LineGraphData, LineGraphPresenter>;

}  // namespace

void SetVariableAxis(GraphAxisData& axis, const NumericFormat& treeFormat, double low, double high, int intervals)
{
    axis.bottom = low;
    axis.top = high;
    axis.interval = (high - low) / intervals;
    axis.format = RangeFormat;
    axis.plain = true;
    NumericFormat format = treeFormat;
    AutoFormatForRange(format, low, high, intervals);
    axis.digits = format.axisDigits;
    axis.scale = format.chopOff;
}

void ShowLineGraph(const LineGraphData& graph)
{
    if (Slot::Current())
        Slot::Current()(graph);
}

LineGraphPresenter SetLineGraphPresenter(LineGraphPresenter presenter)
{
    return Slot::Replace(std::move(presenter));
}
