#pragma once
// Summary statistics of an outcome distribution; every field starts at zero. The flags tell which
// percentiles were reached.

#include <cstdint>

struct OutcomeStatistics {
    double mean = 0.0;
    double median = 0.0;
    double mode = 0.0;
    double standardDeviation = 0.0;
    double variance = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
    double percentile5 = 0.0;
    double percentile95 = 0.0;
    double lowerTail = 0.0;
    double upperTail = 0.0;
    int32_t found95 = 0;
    int32_t foundMedian = 0;
    int32_t found5 = 0;
    int32_t foundLowerTail = 0;
    int32_t foundUpperTail = 0;
};
