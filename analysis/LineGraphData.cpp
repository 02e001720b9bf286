#include "analysis/LineGraphData.h"

namespace {

LineGraphPresenter& Presenter()
{
    static LineGraphPresenter presenter;
    return presenter;
}

}  // namespace

void ShowLineGraph(const LineGraphData& graph)
{
    if (Presenter())
        Presenter()(graph);
}

LineGraphPresenter SetLineGraphPresenter(LineGraphPresenter presenter)
{
    LineGraphPresenter previous = std::move(Presenter());
    Presenter() = std::move(presenter);
    return previous;
}
