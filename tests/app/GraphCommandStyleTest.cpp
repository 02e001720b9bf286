#include "widgets/GraphCommandStyle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(GraphCommandStyle, CommandsChooseMeasureAndMarginal)
{
    struct Row {
        int command;
        int marginal;
        int measure; // starting at 9: unchanged outside the range
    };
    const Row rows[] = {{1581, 0, 9}, {1582, 0, 1}, {1583, 1, 1}, {1584, 0, 2},
                        {1585, 1, 2}, {1586, 0, 3}, {1587, 1, 3}, {1588, 0, 9}};
    for (const Row& row : rows) {
        int marginal = 7;
        int measure = 9;
        StyleForCommand(row.command, marginal, measure);
        EXPECT_EQ(marginal, row.marginal) << row.command;
        EXPECT_EQ(measure, row.measure) << row.command;
    }
}

TEST(GraphCommandStyle, ScalePointsWidensOrStartsTheRange)
{
    const double values[] = {3.0, -1.5, 2.0};
    double low = 0.0, high = 1.0;
    ScalePoints(true, low, high, values, 3);
    EXPECT_EQ((std::vector<double>{low, high}), (std::vector<double>{-1.5, 3.0}));
    low = -10.0;
    high = 10.0;
    ScalePoints(false, low, high, values, 3);
    EXPECT_EQ((std::vector<double>{low, high}), (std::vector<double>{-1.5, 3.0}));
    const double one[] = {5.0};
    ScalePoints(false, low, high, one, 1);
    EXPECT_EQ((std::vector<double>{low, high}), (std::vector<double>{5.0, 5.0}));
}

} // namespace
