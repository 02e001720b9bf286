#include "analysis/OutcomeDistribution.h"

#include "foundation/MemoryStream.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

struct Item {
    double value;
    double probability;
};

void Fill(OutcomeDistribution& list, const std::vector<Item>& items)
{
    for (const Item& item : items)
        list.Add(item.value, item.probability, nullptr, false);
}

struct MergeCase {
    const char* title;
    double firstValue;
    const char* firstLabel;
    double secondValue;
    const char* secondLabel;
    bool merge;
    int expectedCount;
};

TEST(OutcomeDistribution, AddMergesEqualOutcomes)
{
    const MergeCase cases[] = {
        {"same value and label", 5.0, "A", 5.0, "A", true, 1},
        {"different labels", 5.0, "A", 5.0, "B", true, 2},
        {"labels differ in case", 5.0, "a", 5.0, "A", true, 2},
        {"no labels", 5.0, nullptr, 5.0, nullptr, true, 1},
        {"null and empty label", 5.0, nullptr, 5.0, "", true, 1},
        {"5e-11 apart", 5.0, nullptr, 5.0 + 5e-11, nullptr, true, 1},
        {"2e-10 apart", 5.0, nullptr, 5.0 + 2e-10, nullptr, true, 2},
        {"merge off", 5.0, "A", 5.0, "A", false, 2},
    };
    for (const MergeCase& c : cases) {
        OutcomeDistribution list;
        list.Add(c.firstValue, 0.25, c.firstLabel, c.merge);
        list.Add(c.secondValue, 0.5, c.secondLabel, c.merge);
        ASSERT_EQ(list.Count(), c.expectedCount) << c.title;
        if (c.expectedCount == 1) {
            EXPECT_DOUBLE_EQ(list.OutcomeAt(0)->probability, 0.75) << c.title;
        }
        EXPECT_EQ(list.OutcomeAt(0)->triple.value, c.firstValue) << c.title;
    }
}

TEST(OutcomeDistribution, AddTripleComparesEveryComponent)
{
    OutcomeDistribution list;
    list.AddTriple({10, 2, 5}, 0.5, "x", true);
    list.AddTriple({10, 3, 5}, 0.25, "x", true);
    list.AddTriple({10, 2, 5}, 0.25, "x", true);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.OutcomeAt(0)->probability, 0.75);
    EXPECT_STREQ(list.OutcomeAt(0)->label.Text(), "x");
    EXPECT_EQ(list.OutcomeAt(1)->triple.effectiveness, 3);
}

struct StatisticsCase {
    const char* title;
    std::vector<Item> items;  // sorted ascending
    double factor;
    double p;
    OutcomeStatistics expected;
};

void ExpectStatistics(const OutcomeStatistics& got, const OutcomeStatistics& want, const char* title)
{
    EXPECT_NEAR(got.mean, want.mean, 1e-12) << title;
    EXPECT_EQ(got.median, want.median) << title;
    EXPECT_EQ(got.mode, want.mode) << title;
    EXPECT_NEAR(got.variance, want.variance, 1e-12) << title;
    EXPECT_NEAR(got.standardDeviation, want.standardDeviation, 1e-12) << title;
    EXPECT_EQ(got.minimum, want.minimum) << title;
    EXPECT_EQ(got.maximum, want.maximum) << title;
    EXPECT_EQ(got.percentile5, want.percentile5) << title;
    EXPECT_EQ(got.percentile95, want.percentile95) << title;
    EXPECT_EQ(got.lowerTail, want.lowerTail) << title;
    EXPECT_EQ(got.upperTail, want.upperTail) << title;
    EXPECT_EQ(got.found95, want.found95) << title;
    EXPECT_EQ(got.foundMedian, want.foundMedian) << title;
    EXPECT_EQ(got.found5, want.found5) << title;
    EXPECT_EQ(got.foundLowerTail, want.foundLowerTail) << title;
    EXPECT_EQ(got.foundUpperTail, want.foundUpperTail) << title;
}

OutcomeStatistics Expected(double mean, double median, double mode, double variance, double minimum,
                           double maximum, double p5, double p95, double lower, double upper, int tails)
{
    OutcomeStatistics s;
    s.mean = mean;
    s.median = median;
    s.mode = mode;
    s.variance = variance;
    s.standardDeviation = std::sqrt(variance);
    s.minimum = minimum;
    s.maximum = maximum;
    s.percentile5 = p5;
    s.percentile95 = p95;
    s.lowerTail = lower;
    s.upperTail = upper;
    s.found95 = s.foundMedian = s.found5 = 1;
    s.foundLowerTail = s.foundUpperTail = tails;
    return s;
}

// Hand computations: mean = sum v p; variance = sum p (v - mean)^2 * factor; a percentile is the first value
// whose cumulative probability reaches its fraction of the total.
TEST(OutcomeDistribution, StatisticsByHand)
{
    const StatisticsCase cases[] = {
        {"1 2 3 at .25 .5 .25", {{1, 0.25}, {2, 0.5}, {3, 0.25}}, 1.0, -0.1,
         Expected(2, 2, 2, 0.5, 1, 3, 1, 3, 0, 0, 0)},
        // cumulative .1 .3 .6 1; mean 30; variance 40 + 20 + 0 + 40; tails at .2 and .8
        {"four values with tails", {{10, 0.1}, {20, 0.2}, {30, 0.3}, {40, 0.4}}, 1.0, 0.2,
         Expected(30, 30, 40, 100, 10, 40, 10, 40, 20, 40, 1)},
        {"factor scales the variance", {{10, 0.1}, {20, 0.2}, {30, 0.3}, {40, 0.4}}, 2.0, 0.2,
         Expected(30, 30, 40, 200, 10, 40, 10, 40, 20, 40, 1)},
        {"tail fraction 0.5 is not computed", {{10, 0.1}, {20, 0.2}, {30, 0.3}, {40, 0.4}}, 1.0, 0.5,
         Expected(30, 30, 40, 100, 10, 40, 10, 40, 0, 0, 0)},
        {"tail fraction 0 is not computed", {{10, 0.1}, {20, 0.2}, {30, 0.3}, {40, 0.4}}, 1.0, 0.0,
         Expected(30, 30, 40, 100, 10, 40, 10, 40, 0, 0, 0)},
        // equal maxima: the first wins; median reached exactly at cumulative 0.5
        {"first of equal maxima is the mode", {{-5, 0.4}, {0, 0.1}, {5, 0.4}, {9, 0.1}}, 1.0, -0.1,
         Expected(0.9, 0, -5, 0.4 * 34.81 + 0.1 * 0.81 + 0.4 * 16.81 + 0.1 * 65.61, -5, 9, -5, 9, 0, 0, 0)},
        // Monte Carlo weights 1/n: five trials
        {"equal weights", {{1, 0.2}, {2, 0.2}, {3, 0.2}, {4, 0.2}, {10, 0.2}}, 1.0, 0.1,
         Expected(4, 3, 1, 0.2 * (9 + 4 + 1 + 0 + 36), 1, 10, 1, 10, 1, 10, 1)},
        {"single outcome", {{7, 1.0}}, 1.0, 0.25, Expected(7, 7, 7, 0, 7, 7, 7, 7, 7, 7, 1)},
    };
    for (const StatisticsCase& c : cases) {
        OutcomeDistribution list;
        Fill(list, c.items);
        ExpectStatistics(list.Statistics(c.factor, ComponentValue, c.p), c.expected, c.title);
    }
}

TEST(OutcomeDistribution, StatisticsOfChosenComponent)
{
    OutcomeDistribution list;
    list.AddTriple({100, 1, 0}, 0.5, nullptr, false);
    list.AddTriple({300, 3, 0}, 0.5, nullptr, false);
    const OutcomeStatistics cost = list.Statistics(1.0, ComponentCost, -0.1);
    EXPECT_EQ(cost.mean, 200);
    EXPECT_EQ(cost.variance, 10000);
    EXPECT_EQ(cost.minimum, 100);
    EXPECT_EQ(cost.maximum, 300);
    const OutcomeStatistics eff = list.Statistics(1.0, ComponentEffectiveness, -0.1);
    EXPECT_EQ(eff.mean, 2);
    EXPECT_EQ(eff.median, 1);
    const OutcomeStatistics value = list.Statistics(1.0, 0, -0.1);
    EXPECT_EQ(value.mean, 0);
}

TEST(OutcomeDistribution, EmptyListGivesZeroStatistics)
{
    OutcomeDistribution list;
    const OutcomeStatistics s = list.Statistics(1.0, ComponentValue, 0.1);
    ExpectStatistics(s, OutcomeStatistics(), "empty");

    list.Add(4, 0.0, nullptr, false);
    list.Add(6, 0.0, nullptr, false);
    const OutcomeStatistics weightless = list.Statistics(1.0, ComponentValue, 0.1);
    EXPECT_EQ(weightless.mean, 0.0);
    EXPECT_EQ(weightless.variance, 16.0 * 0 + 36.0 * 0);
    EXPECT_EQ(weightless.minimum, 4);
    EXPECT_EQ(weightless.maximum, 6);
    EXPECT_EQ(weightless.median, 4);  // threshold 0 is reached at once
}

TEST(OutcomeDistribution, StandardDeviationAboutGivenMeanUsesSelector)
{
    OutcomeDistribution list;
    list.AddTriple({4, 0, 1}, 0.5, nullptr, false);
    list.AddTriple({8, 0, 3}, 0.5, nullptr, false);
    EXPECT_DOUBLE_EQ(list.StandardDeviation(2.0, 1.0), 1.0);
    EXPECT_DOUBLE_EQ(list.StandardDeviation(0.0, 1.0), std::sqrt(0.5 * 1 + 0.5 * 9));
    EXPECT_DOUBLE_EQ(list.StandardDeviation(2.0, 4.0), 2.0);
    ValueTripleSelector byCost(ComponentCost);
    EXPECT_DOUBLE_EQ(list.StandardDeviation(6.0, 1.0), 2.0);
}

TEST(OutcomeDistribution, SortByComponent)
{
    OutcomeDistribution list;
    list.AddTriple({3, 0, 10}, 0.2, "a", false);
    list.AddTriple({1, 0, 30}, 0.3, "b", false);
    list.AddTriple({2, 0, 20}, 0.5, "c", false);

    OutcomeDistribution byCost(16, false);
    list.SortByComponent(byCost, ComponentCost, false);
    ASSERT_EQ(byCost.Count(), 3);
    EXPECT_STREQ(byCost.OutcomeAt(0)->label.Text(), "b");
    EXPECT_STREQ(byCost.OutcomeAt(1)->label.Text(), "c");
    EXPECT_STREQ(byCost.OutcomeAt(2)->label.Text(), "a");
    EXPECT_EQ(byCost.OutcomeAt(0), list.OutcomeAt(1));
    EXPECT_EQ(ValueTriple::Selector(), ComponentValue);

    OutcomeDistribution byValue(16, true);
    list.SortByComponent(byValue, ComponentValue, true);
    ASSERT_EQ(byValue.Count(), 3);
    EXPECT_STREQ(byValue.OutcomeAt(0)->label.Text(), "a");
    EXPECT_STREQ(byValue.OutcomeAt(2)->label.Text(), "b");
    EXPECT_NE(byValue.OutcomeAt(0), list.OutcomeAt(0));

    const OutcomeStatistics s = byCost.Statistics(1.0, ComponentCost, -0.1);
    EXPECT_DOUBLE_EQ(s.mean, 0.6 + 0.3 + 1.0);
    EXPECT_EQ(s.median, 2);
}

TEST(OutcomeDistribution, RoundTrip)
{
    OutcomeDistribution list;
    list.AddTriple({1, 2, 0.5}, 0.0, "zero", false);
    list.AddTriple({3, 4, 0.75}, 1.0, "", false);
    MemoryStream out(100);
    list.Serialize(out);
    ASSERT_FALSE(out.Failed());
    MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position(), false);
    OutcomeDistribution read;
    read.Serialize(in);
    ASSERT_FALSE(in.Failed());
    ASSERT_EQ(read.Count(), 2);
    EXPECT_EQ(read.OutcomeAt(0)->triple.cost, 1);
    EXPECT_EQ(read.OutcomeAt(0)->triple.effectiveness, 2);
    EXPECT_EQ(read.OutcomeAt(0)->triple.value, 0.5);
    EXPECT_EQ(read.OutcomeAt(0)->probability, 0.0);
    EXPECT_STREQ(read.OutcomeAt(0)->label.Text(), "zero");
    EXPECT_EQ(read.OutcomeAt(1)->probability, 1.0);
}

// One outcome record written by hand in the form of the given version.
MemoryStream* WriteOldOutcome(int major, int minor, int build, double probability, bool withLabel)
{
    MemoryStream* out = new MemoryStream(100);
    VersionRecord version(major, minor, build);
    version.Serialize(*out);
    if (major >= 3 && minor >= 5) {
        out->WriteDouble(1).WriteDouble(2).WriteDouble(3);
    } else {
        out->WriteDouble(3);
    }
    out->WriteDouble(probability);
    if (withLabel)
        StoreString(*out, "old");
    return out;
}

struct LoadCase {
    const char* title;
    int major, minor, build;
    double probability;
    bool withLabel;
    double cost;
    const char* label;
    uint32_t formatError;
};

TEST(Outcome, LoadsEveryVersionAndChecksProbability)
{
    const LoadCase cases[] = {
        {"current", 3, 5, 0, 0.5, true, 1, "old", 0},
        {"3.0 holds the value only", 3, 0, 0, 0.5, true, 0, "old", 0},
        {"2.5 has no label", 2, 5, 0, 0.5, false, 0, "", 0},
        {"probability 1", 3, 5, 0, 1.0, true, 1, "old", 0},
        {"probability above 1", 3, 5, 0, 1.0000001, true, 1, "old", 7},
        {"negative probability", 3, 5, 0, -0.1, true, 1, "old", 7},
        {"not a number", 3, 5, 0, std::nan(""), true, 1, "old", 7},
    };
    for (const LoadCase& c : cases) {
        MemoryStream* out = WriteOldOutcome(c.major, c.minor, c.build, c.probability, c.withLabel);
        MemoryStream in(const_cast<uint8_t*>(out->Data()), out->Position(), false);
        Outcome outcome;
        outcome.Serialize(in);
        EXPECT_EQ(in.FormatError(), c.formatError) << c.title;
        EXPECT_EQ(in.Position(), out->Position()) << c.title;
        EXPECT_EQ(outcome.triple.value, 3) << c.title;
        EXPECT_EQ(outcome.triple.cost, c.cost) << c.title;
        EXPECT_STREQ(outcome.label.Text(), c.label) << c.title;
        delete out;
    }
}

TEST(Outcome, FirstFormatErrorIsKept)
{
    MemoryStream* out = WriteOldOutcome(3, 5, 0, 2.0, true);
    MemoryStream in(const_cast<uint8_t*>(out->Data()), out->Position(), false);
    in.SetFormatError(30);
    Outcome outcome;
    outcome.Serialize(in);
    EXPECT_EQ(in.FormatError(), 30u);
    EXPECT_EQ(in.Position(), 0u);
    delete out;
}

}  // namespace
