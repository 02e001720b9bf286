#pragma once
// The probabilities of a distribution's outcomes gathered into bars of equal width along a value axis: bar k
// covers [bottom + k x interval, bottom + (k + 1) x interval), shifted down by interval / 10,000 so that a
// value a rounding error below an edge counts in the upper bar.

#include <vector>

class OutcomeDistribution;

// The most bars a histogram is drawn with.
constexpr int kMaximumHistogramBars = 150;

struct OutcomeHistogram {
    // Per bar the summed probability.
    std::vector<double> bars;
    // The probability of the outcomes below the first bar; those above the last are left out.
    double below = 0.0;
};

// The bar (possibly negative, or past the last) that holds the value, as a whole number in double.
double HistogramBin(double value, double bottom, double interval);
// Bars of the interval over [bottom, top]; false when more than kMaximumHistogramBars would be needed or
// the interval is not positive.
bool BuildOutcomeHistogram(const OutcomeDistribution& outcomes, double bottom, double top, double interval,
                           OutcomeHistogram& histogram);
