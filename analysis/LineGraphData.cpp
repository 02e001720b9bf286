#include "analysis/LineGraphData.h"

#include "foundation/PresenterSlot.h"

namespace {

using Slot = PresenterSlot<LineGraphData, LineGraphPresenter>;

}  // namespace

void ShowLineGraph(const LineGraphData& graph)
{
    if (Slot::Current())
        Slot::Current()(graph);
}

LineGraphPresenter SetLineGraphPresenter(LineGraphPresenter presenter)
{
    return Slot::Replace(std::move(presenter));
}
