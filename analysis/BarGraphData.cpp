#include "analysis/BarGraphData.h"

#include "foundation/PresenterSlot.h"

namespace {

using DistributionSlot = PresenterSlot<ProbDistributionData, ProbDistributionPresenter>;

using BarSlot = PresenterSlot<OptionBarData, OptionBarPresenter>;

using ComparativeSlot = PresenterSlot<ComparativeDistributionData, ComparativeDistributionPresenter>;

}  // namespace

void ShowProbDistributionGraph(std::unique_ptr<ProbDistributionData> data)
{
    if (DistributionSlot::Current())
        DistributionSlot::Current()(std::move(data));
}

void ShowOptionBarGraph(std::unique_ptr<OptionBarData> data)
{
    if (BarSlot::Current())
        BarSlot::Current()(std::move(data));
}

ProbDistributionPresenter SetProbDistributionPresenter(ProbDistributionPresenter presenter)
{
    return DistributionSlot::Replace(std::move(presenter));
}

OptionBarPresenter SetOptionBarPresenter(OptionBarPresenter presenter)
{
    return BarSlot::Replace(std::move(presenter));
}

void ShowComparativeDistributionGraph(std::unique_ptr<ComparativeDistributionData> data)
{
    if (ComparativeSlot::Current())
        ComparativeSlot::Current()(std::move(data));
}

ComparativeDistributionPresenter SetComparativeDistributionPresenter(ComparativeDistributionPresenter presenter)
{
    return ComparativeSlot::Replace(std::move(presenter));
}
