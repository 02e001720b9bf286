#include "analysis/BarGraphData.h"

namespace {

ProbDistributionPresenter& DistributionPresenter()
{
    static ProbDistributionPresenter presenter;
    return presenter;
}

OptionBarPresenter& BarPresenter()
{
    static OptionBarPresenter presenter;
    return presenter;
}

}  // namespace

void ShowProbDistributionGraph(std::unique_ptr<ProbDistributionData> data)
{
    if (DistributionPresenter())
        DistributionPresenter()(std::move(data));
}

void ShowOptionBarGraph(std::unique_ptr<OptionBarData> data)
{
    if (BarPresenter())
        BarPresenter()(std::move(data));
}

ProbDistributionPresenter SetProbDistributionPresenter(ProbDistributionPresenter presenter)
{
    ProbDistributionPresenter previous = std::move(DistributionPresenter());
    DistributionPresenter() = std::move(presenter);
    return previous;
}

OptionBarPresenter SetOptionBarPresenter(OptionBarPresenter presenter)
{
    OptionBarPresenter previous = std::move(BarPresenter());
    BarPresenter() = std::move(presenter);
    return previous;
}
