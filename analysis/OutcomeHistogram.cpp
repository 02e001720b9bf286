#include "analysis/OutcomeHistogram.h"

#include "analysis/OutcomeDistribution.h"

#include <cmath>

namespace {

double Slack(double interval)
{
    return interval / 10000.0;
}

}  // namespace

double HistogramBin(double value, double bottom, double interval)
{
    return std::floor((value + Slack(interval) - bottom) / interval);
}

bool BuildOutcomeHistogram(const OutcomeDistribution& outcomes, double bottom, double top, double interval,
                           OutcomeHistogram& histogram)
{
    if (!(interval > 0.0))
        return false;
    // Counted in double, so that a tiny interval over a wide range cannot wrap an integer.
    const double needed = std::ceil((top + Slack(interval) - bottom) / interval);
    if (!(needed <= kMaximumHistogramBars))
        return false;
    histogram.bars.assign(static_cast<size_t>(needed > 0.0 ? needed : 0.0), 0.0);
    histogram.below = 0.0;
    for (int i = 0; i < outcomes.Count(); ++i) {
        const Outcome* outcome = outcomes.OutcomeAt(i);
        const double bin = HistogramBin(outcome->triple.value, bottom, interval);
        if (bin < 0.0)
            histogram.below += outcome->probability;
        else if (bin < needed)
            histogram.bars[static_cast<size_t>(bin)] += outcome->probability;
    }
    return true;
}
