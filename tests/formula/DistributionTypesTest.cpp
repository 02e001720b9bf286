// The nineteen distribution types: descriptions, checks and their messages, densities, moments, ranges
// and samplers.

#include "foundation/RandomGenerator.h"
#include "formula/DistributionTypes.h"
#include "formula/FormulaRef.h"
#include "formula/ParseOnlyContext.h"
#include "formula/RunOutcome.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace {

// A distribution with constant parameters: Dist(type; variant; parameters...).
std::unique_ptr<Distribution> Make(int type, std::initializer_list<double> parameters, int variant = 1)
{
    std::vector<double> values{static_cast<double>(type), static_cast<double>(variant)};
    values.insert(values.end(), parameters);
    RunFault fault;
    std::unique_ptr<Distribution> d(MakeDistributionFromValues(static_cast<int>(values.size()), values.data(), &fault));
    EXPECT_FALSE(fault);
    return d;
}

struct TypeRow {
    int type;
    const char* text;     // FormatText of the defaults
    double scaleHint;
};

TEST(DistributionTypesTest, NamesLabelsAndDefaults)
{
    const TypeRow rows[] = {
        {1, "Normal; Mean = 0; Std Dev = 1", 2.0},
        {2, "Uniform; Low Value = 0; High Value = 1", 1.0},
        {3, "Beta; n = 8; r = 4", 10.0},
        {4, "Chi; n = 4; sigma = 1", 3.0},
        {5, "Chi-Square; n = 4; sigma = 1", 3.0},
        {6, "Erlang; k = 4; lambda = 0.5", 3.0},
        {7, "Exponential; lambda = 0.5", 3.0},
        {8, "Gamma; alpha = 2; beta = 1", 3.0},
        {9, "Hyper-Exponential; lambda = 2; p = 0.4", 3.0},
        {10, "Laplace; a = 1; b = 1", 3.0},
        {11, "Logistic; a = 1; b = 1", 3.0},
        {12, "Log-Normal; u = 5; sigma = 1", 3.0},
        {13, "Maxwell; alpha = 5", 3.0},
        {14, "Rayleigh; alpha = 1", 3.0},
        {15, "Weibull; lambda = 1; k = 2", 3.0},
        {16, "Table;  = ", 3.0},
        {17, "Triangular; Min = 0; Likeliest = 0.5; Max = 1", 3.0},
        {18, "Poisson; lambda = 10", 10.0},
        {19, "Binomial; Prob = 0.1; Trials = 20", 10.0},
    };
    for (const TypeRow& row : rows) {
        std::unique_ptr<Distribution> d(MakeDistribution(row.type));
        ASSERT_TRUE(d) << row.type;
        EXPECT_EQ(d->TypeCode(), row.type);
        zString text;
        d->FormatText(text, false);
        EXPECT_STREQ(text.Text(), row.text);
        EXPECT_EQ(d->ScaleHint(), row.scaleHint);
        EXPECT_EQ(d->IsDiscrete(), row.type == 18 || row.type == 19 ? 1 : 0);
        EXPECT_EQ(d->HasVariants(), row.type == 3 ? 1 : 0);
    }
    EXPECT_EQ(MakeDistribution(0), nullptr);
    EXPECT_EQ(MakeDistribution(20), nullptr);
}

TEST(DistributionTypesTest, FormulaTextAndBetaVariants)
{
    std::unique_ptr<Distribution> normal(MakeDistribution(1));
    zString text;
    normal->FormatText(text, true);
    EXPECT_STREQ(text.Text(), "Dist(dNormal; 1; 0; 1)");

    std::unique_ptr<Distribution> beta = Make(3, {2.5, 4}, 2);
    EXPECT_EQ(beta->Variant(), 2);
    EXPECT_STREQ(beta->ParameterLabel(0), "&alpha:");
    EXPECT_STREQ(beta->VariantName(1), "Integer parameters only");
    EXPECT_STREQ(beta->VariantName(2), "Real-numbered parameters");
    std::unique_ptr<Distribution> copy(beta->Clone());
    EXPECT_EQ(copy->Variant(), 2);
    copy->FormatText(text, true);
    EXPECT_STREQ(text.Text(), "Dist(dBeta; 2; 2.5; 4)");
    // Types without a keyword are written with their code, and the text evaluates to the same mean.
    struct Row {
        int type;
        std::vector<double> parameters;
        const char* formula;
    };
    const Row rows[] = {
        {17, {0, 0.5, 1}, "Dist(17; 1; 0; 0.5; 1)"},
        {18, {4}, "Dist(18; 1; 4)"},
        {19, {0.25, 8}, "Dist(19; 1; 0.25; 8)"},
        {12, {1, 0.5}, "Dist(dLogNormal; 1; 1; 0.5)"},
    };
    for (const Row& row : rows) {
        std::vector<double> values{static_cast<double>(row.type), 1.0};
        values.insert(values.end(), row.parameters.begin(), row.parameters.end());
        RunFault fault;
        std::unique_ptr<Distribution> d(MakeDistributionFromValues(static_cast<int>(values.size()), values.data(), &fault));
        ASSERT_TRUE(d);
        d->FormatText(text, true);
        EXPECT_STREQ(text.Text(), row.formula);
        FormulaRef ref(new ParseOnlyContext, 1, "payoff");
        EXPECT_DOUBLE_EQ(ref.EvaluateText(text.Text()), d->Mean(&fault)) << row.formula;
        EXPECT_EQ(ref.ErrorCode(), 0) << row.formula;
    }
    // Normal keeps variant 1 whatever it is given.
    EXPECT_EQ(Make(1, {0, 1}, 7)->Variant(), 1);
}

struct CheckRow {
    int type;
    std::vector<double> parameters;
    int variant;
    const char* message;
};

TEST(DistributionTypesTest, ParameterChecksShowTheirMessages)
{
    const CheckRow rows[] = {
        {2, {2, 2}, 1, "Invalid parameter (High Value) in Uniform distribution: must be greater than the other."},
        {17, {0, 0, 1}, 1, "Invalid parameter (Likeliest) in Triangular distribution: must be greater than the other."},
        {19, {1.5, 20}, 1, "Invalid parameter (Prob) in Binomial distribution: must be between zero and one."},
        {19, {0.5, 20.5}, 1, "Invalid parameter (Trials) in Binomial distribution: must be a positive integer."},
        {3, {5, 5}, 1, "Invalid parameter (r) in Beta distribution: must be smaller than the other."},
        {3, {2, -1}, 2, "Invalid parameter (beta) in Beta distribution: must be greater than zero."},
        {1, {0, 0}, 1, "Invalid parameter (Std Dev) in Normal distribution: must be greater than zero."},
        {9, {2, -0.1}, 1, "Invalid parameter (p) in Hyper-Exponential distribution: must be between zero and one."},
    };
    for (const CheckRow& row : rows) {
        std::vector<double> values{static_cast<double>(row.type), static_cast<double>(row.variant)};
        values.insert(values.end(), row.parameters.begin(), row.parameters.end());
        RunFault fault;
        std::unique_ptr<Distribution> d(MakeDistributionFromValues(static_cast<int>(values.size()), values.data(), &fault));
        ASSERT_TRUE(d);
        MessageBoxRecorder boxes;
        EXPECT_EQ(d->CheckDistributionParameter(&fault), 0);
        EXPECT_EQ(fault.Code(), OutcomeCode::DistributionParameterInvalid);
        ASSERT_EQ(boxes.Count(), 1u) << row.message;
        EXPECT_EQ(boxes.Last().text, row.message);
        EXPECT_EQ(boxes.Last().caption, "KIVO");
        // A numerical operation that fails its check gives 0.
        fault.Clear();
        EXPECT_EQ(d->IntervalProbability(20, 0, 1, &fault), 0.0);
        EXPECT_EQ(fault.Code(), OutcomeCode::DistributionParameterInvalid);
    }
}

// A passed check of constant parameters is kept only until a parameter or the variant changes.
TEST(DistributionTypesTest, ChangedParametersAreCheckedAgain)
{
    struct Row {
        const char* what;
        void (*change)(Distribution& d);
        const char* message;
    };
    const Row rows[] = {
        {"parameter text", [](Distribution& d) { d.Parameter(1)->SetText("-2"); },
         "Invalid parameter (Std Dev) in Normal distribution: must be greater than zero."},
        {"parameter number", [](Distribution& d) { d.Parameter(1)->SetNumber(0); },
         "Invalid parameter (Std Dev) in Normal distribution: must be greater than zero."},
        {"parameters replaced", [](Distribution& d) {
             Expression values[3];
             values[0].SetNumber(1);
             values[1].SetNumber(0);
             values[2].SetNumber(-1);
             d.SetParameters(values);
         },
         "Invalid parameter (Std Dev) in Normal distribution: must be greater than zero."},
    };
    for (const Row& row : rows) {
        std::unique_ptr<Distribution> d = Make(1, {0, 1});
        MessageBoxRecorder boxes;
        RunFault fault;
        d->Sample(&fault);
        d->Sample(&fault);
        EXPECT_FALSE(fault) << row.what;
        row.change(*d);
        EXPECT_EQ(d->Sample(&fault), 0.0) << row.what;
        EXPECT_EQ(fault.Code(), OutcomeCode::DistributionParameterInvalid) << row.what;
        ASSERT_EQ(boxes.Count(), 1u) << row.what;
        EXPECT_EQ(boxes.Last().text, row.message) << row.what;
    }

    // Beta (n = 5, r = 2) passes as integer parameters; read as alpha and beta the same numbers also pass,
    // but (2, 5) fails the integer variant's order only.
    std::unique_ptr<Distribution> beta = Make(3, {2, 5}, 2);
    MessageBoxRecorder boxes;
    RunFault fault;
    EXPECT_EQ(beta->CheckDistributionParameter(&fault), 1);
    beta->SetVariant(1);
    EXPECT_EQ(beta->CheckDistributionParameter(&fault), 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Invalid parameter (r) in Beta distribution: must be smaller than the other.");

    // A parameter that is a formula is evaluated at every check.
    std::unique_ptr<Distribution> formula = Make(1, {0, 1});
    formula->Parameter(1)->SetText("2*1");
    fault.Clear();
    EXPECT_EQ(formula->CheckDistributionParameter(&fault), 1);
    EXPECT_EQ(formula->CachedValue(1), 2.0);
}

TEST(DistributionTypesTest, CheckCodeWords)
{
    // Code 6 passes at exactly 1 although its words say "greater than one"; code 3 refuses 0.
    std::unique_ptr<Distribution> d(MakeDistribution(1));
    RunFault fault;
    EXPECT_EQ(d->CheckParameterValue(0, 1.0, CheckGreaterThanOne, &fault), 1);
    EXPECT_EQ(d->CheckParameterValue(0, -3.0, CheckInteger, &fault), 1);
    MessageBoxRecorder boxes;
    EXPECT_EQ(d->CheckParameterValue(0, 0.0, CheckNonZeroInteger, &fault), 0);
    EXPECT_EQ(boxes.Last().text, "Invalid parameter (Mean) in Normal distribution: must be a non-zero integer.");
    EXPECT_EQ(d->CheckParameterValue(0, 0.99, CheckGreaterThanOne, &fault), 0);
    EXPECT_EQ(boxes.Last().text, "Invalid parameter (Mean) in Normal distribution: must be greater than one.");
    EXPECT_EQ(d->CheckParameterValue(0, 0.5, CheckInteger, &fault), 0);
    EXPECT_EQ(boxes.Last().text, "Invalid parameter (Mean) in Normal distribution: must be an integer.");
    EXPECT_EQ(d->CheckParameterValue(0, 1.0, CheckZeroToMaximum, &fault), 0);
    EXPECT_EQ(boxes.Last().text, "Invalid parameter (Mean) in Normal distribution: must be between zero and 0.");
}

TEST(DistributionTypesTest, DensitiesAndIntegrals)
{
    RunFault fault;
    std::unique_ptr<Distribution> tri = Make(17, {0, 0.5, 1});
    EXPECT_DOUBLE_EQ(tri->Density(0.5, &fault), 2.0);
    EXPECT_EQ(tri->Density(0.0, &fault), 0.0);
    EXPECT_EQ(tri->Density(1.0, &fault), 0.0);
    EXPECT_DOUBLE_EQ(tri->IntervalProbability(20, 0, 1, &fault), 1.0);
    // Exact pieces: below the likeliest, across it, and beyond the ends.
    EXPECT_DOUBLE_EQ(tri->IntervalProbability(20, 0, 0.25, &fault), 0.125);
    EXPECT_DOUBLE_EQ(tri->IntervalProbability(20, 0.25, 0.75, &fault), 0.75);
    EXPECT_DOUBLE_EQ(tri->IntervalProbability(20, -5, 0.5, &fault), 0.5);
    EXPECT_EQ(tri->IntervalProbability(20, 2, 3, &fault), 0.0);

    std::unique_ptr<Distribution> uniform = Make(2, {2, 6});
    EXPECT_DOUBLE_EQ(uniform->IntervalProbability(0, 3, 10, &fault), 0.75);
    EXPECT_EQ(uniform->IntervalProbability(0, 7, 10, &fault), 0.0);

    // Simpson's rule, n = 20, weights 1, 4, 2, ..., 2, 4, 1, against a hand-written sum of the density.
    std::unique_ptr<Distribution> normal = Make(1, {0, 1});
    double simpson = 0.0;
    const double h = 6.0 / 20;
    for (int i = 0; i <= 20; ++i) {
        const double x = -3.0 + i * h;
        const double weight = i == 0 || i == 20 ? 1.0 : i % 2 ? 4.0 : 2.0;
        simpson += weight * std::exp(-x * x / 2) * 0.3989422804;
    }
    EXPECT_NEAR(normal->IntervalProbability(20, -3, 3, &fault), simpson * h / 3, 1e-12);
    EXPECT_NEAR(normal->IntervalProbability(19, -3, 3, &fault), simpson * h / 3, 1e-12);  // odd n raised to 20

    // Discrete types sum their probabilities; Poisson(2) at 0..2 is e^-2 (1 + 2 + 2).
    std::unique_ptr<Distribution> poisson = Make(18, {2});
    EXPECT_NEAR(poisson->IntervalProbability(0, 0, 2.9, &fault), std::exp(-2.0) * 5, 1e-12);
    std::unique_ptr<Distribution> binomial = Make(19, {0.5, 4});
    EXPECT_NEAR(binomial->Density(2, &fault), 6.0 / 16, 1e-12);
    EXPECT_FALSE(fault);
}

TEST(DistributionTypesTest, InverseCdf)
{
    RunFault fault;
    // A discrete inversion stops at trunc(to) even when the target is not reached.
    std::unique_ptr<Distribution> poisson = Make(18, {10});
    EXPECT_EQ(poisson->InverseCdf(1, 0, 3.7, 0.99, &fault), 3.0);
    std::unique_ptr<Distribution> uniform = Make(2, {0, 10});
    EXPECT_NEAR(uniform->QuantileFrom(0, 0.3, &fault), 3.0, 0.011);
    std::unique_ptr<Distribution> normal = Make(1, {5, 2});
    EXPECT_NEAR(normal->QuantileFrom(-2, 0.5, &fault), 5.0, 0.015);
    EXPECT_FALSE(fault);
}

struct MomentRow {
    int type;
    std::vector<double> parameters;
    int variant;
    double mean;
    double stdDev;
    double lo;
    double hi;
};

TEST(DistributionTypesTest, MomentsAndRanges)
{
    const double root2 = 1.414213562;
    const MomentRow rows[] = {
        {1, {1, 2}, 1, 1, 2, 1 - 7, 1 + 7},
        {2, {2, 8}, 1, 5, 6 / std::sqrt(12.0), 2, 8},
        {3, {8, 2}, 1, 0.25, std::sqrt(12.0 / (64 * 9)), 0, 1},
        {3, {2, 6}, 2, 0.25, std::sqrt(12.0 / (9 * 64)), 0, 1},
        {5, {3, 2}, 1, 12, std::sqrt(2 * 3 * 16.0), 0, 12 + 3.5 * std::sqrt(96.0)},
        {6, {4, 0.5}, 1, 2, 1, 0.01, 2 + 6.5},
        {7, {0.5}, 1, 2, 2, 0, 23},
        {8, {4, 2}, 1, 2, 1, 0, 100},
        {9, {2, 0.5}, 1, 0.5, 0.5, 0, 11.5 / 2},
        {10, {1, 2}, 1, 1, std::sqrt(8.0), 1 - 4 * std::sqrt(8.0), 1 + 4 * std::sqrt(8.0)},
        {11, {2, 4}, 1, -2, std::sqrt(9.869604400525171 / 12), -2 - 5 * std::sqrt(9.869604400525171 / 12),
         -2 + 5 * std::sqrt(9.869604400525171 / 12)},
        {12, {0, 1}, 1, std::exp(0.5), std::sqrt((std::exp(1.0) - 1) * std::exp(1.0)), 5e-06, std::exp(3.5)},
        {13, {2}, 1, 4 / 1.772453851, 2 * std::sqrt(0.2267604552648), 0.01,
         4 / 1.772453851 + 10 * std::sqrt(0.2267604552648)},
        {14, {2}, 1, 2 * 1.772453851 / root2, 2 * std::sqrt(0.4292036732051), 0.01,
         2 * 1.772453851 / root2 + 10 * std::sqrt(0.4292036732051)},
        {16, {}, 1, 0, 0, 0, 0},
        {17, {1, 2, 6}, 1, 3, std::sqrt((1 + 4 + 36 - 2 - 6 - 12) / 18.0), 1, 6},
        {18, {4}, 1, 4, 2, 0, 12},
        {18, {25}, 1, 25, 5, 0, 37.5},
        {19, {0.2, 10}, 1, 2, std::sqrt(1.6), 0, 10},
    };
    for (const MomentRow& row : rows) {
        std::unique_ptr<Distribution> d;
        if (row.type == 16) {
            d.reset(MakeDistribution(16));
        } else {
            std::vector<double> values{static_cast<double>(row.type), static_cast<double>(row.variant)};
            values.insert(values.end(), row.parameters.begin(), row.parameters.end());
            RunFault fault;
            d.reset(MakeDistributionFromValues(static_cast<int>(values.size()), values.data(), &fault));
        }
        ASSERT_TRUE(d) << row.type;
        RunFault fault;
        EXPECT_NEAR(d->Mean(&fault), row.mean, 1e-9) << d->Name();
        EXPECT_NEAR(d->StdDev(&fault), row.stdDev, 1e-9) << d->Name();
        double lo = -99;
        double hi = -99;
        d->Range(lo, hi, &fault);
        EXPECT_NEAR(lo, row.lo, 1e-9) << d->Name();
        EXPECT_NEAR(hi, row.hi, 1e-9) << d->Name();
        EXPECT_FALSE(fault) << d->Name();
    }
}

TEST(DistributionTypesTest, LogNormalOverflowIsReported)
{
    std::unique_ptr<Distribution> d = Make(12, {708, 2});
    MessageBoxRecorder boxes;
    RunFault fault;
    EXPECT_EQ(d->Mean(&fault), 0.0);
    EXPECT_EQ(fault.Code(), OutcomeCode::DistributionOverflow);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Overflow in lognormal distribution.");
}

TEST(DistributionTypesTest, LogisticTailsGiveNumbers)
{
    // Far in either tail e^-(a x + b) overflows; the density is symmetric and stays a number.
    std::unique_ptr<Distribution> d = Make(11, {1, 0});
    RunFault fault;
    EXPECT_NEAR(d->Density(0, &fault), 0.25, 1e-12);
    EXPECT_NEAR(d->Density(-800, &fault), 0.0, 1e-300);
    EXPECT_NEAR(d->Density(800, &fault), 0.0, 1e-300);
    EXPECT_NEAR(d->Density(-30, &fault), d->Density(30, &fault), 1e-25);
    EXPECT_FALSE(fault);
}

// Sample mean and variance of n seeded draws.
struct SampleMoments {
    double mean = 0;
    double variance = 0;
    double fourth = 0;
};

SampleMoments Draw(Distribution& d, int n)
{
    std::vector<double> xs(n);
    RunFault fault;
    for (double& x : xs)
        x = d.Sample(&fault);
    EXPECT_FALSE(fault);
    SampleMoments m;
    for (double x : xs)
        m.mean += x;
    m.mean /= n;
    for (double x : xs) {
        const double d2 = (x - m.mean) * (x - m.mean);
        m.variance += d2;
        m.fourth += d2 * d2;
    }
    m.variance /= n;
    m.fourth /= n;
    return m;
}

void ExpectMoments(const SampleMoments& m, double mean, double variance, int n, double slack, const char* what)
{
    const double seMean = std::sqrt(variance / n);
    const double seVariance = std::sqrt(std::fabs(m.fourth - m.variance * m.variance) / n);
    EXPECT_NEAR(m.mean, mean, 5 * seMean + slack) << what;
    EXPECT_NEAR(m.variance, variance, 5 * seVariance + slack) << what;
}

struct SamplerRow {
    int type;
    std::vector<double> parameters;
    int variant;
    double mean;      // textbook moments of what the sampler draws
    double variance;
};

TEST(DistributionTypesTest, OwnSamplersMatchTheirMoments)
{
    const SamplerRow rows[] = {
        {1, {3, 2}, 1, 3, 4},
        {2, {-1, 3}, 1, 1, 16.0 / 12},
        {3, {10, 3}, 1, 0.3, 0.3 * 0.7 / 11},         // Beta(3, 7)
        {3, {0.5, 0.7}, 2, 0.5 / 1.2, 0.35 / (1.44 * 2.2)},  // both shapes below 1
        {3, {2.5, 4}, 2, 2.5 / 6.5, 10.0 / (6.5 * 6.5 * 7.5)},
        {6, {3, 0.5}, 1, 2, 1.0 / (3 * 0.25)},
        {7, {0.5}, 1, 2, 4},
        {8, {0.6, 2}, 1, 0.3, 0.15},
        {8, {1, 3}, 1, 1.0 / 3, 1.0 / 9},
        {8, {2, 1}, 1, 2, 2},
        {8, {7, 0.5}, 1, 14, 28},
        {12, {0, 0.5}, 1, std::exp(0.125), (std::exp(0.25) - 1) * std::exp(0.25)},
        {17, {1, 2, 6}, 1, 3, 21.0 / 18},
        {18, {4}, 1, 4, 4},
        {19, {0.3, 12}, 1, 3.6, 2.52},
    };
    const int n = 100000;
    for (const SamplerRow& row : rows) {
        std::vector<double> values{static_cast<double>(row.type), static_cast<double>(row.variant)};
        values.insert(values.end(), row.parameters.begin(), row.parameters.end());
        RunFault fault;
        std::unique_ptr<Distribution> d(MakeDistributionFromValues(static_cast<int>(values.size()), values.data(), &fault));
        ASSERT_TRUE(d);
        SeedRandom(20240611);
        d->ResetSampler();
        const SampleMoments m = Draw(*d, n);
        ExpectMoments(m, row.mean, row.variance, n, 1e-9, d->Name());
    }
}

// The mass of the density over the type's range: a midpoint sum for a continuous type, the sum of the
// probabilities of the whole numbers in the range for a discrete one.
double MassOverRange(Distribution& d)
{
    RunFault fault;
    double lo = 0;
    double hi = 0;
    d.Range(lo, hi, &fault);
    double mass = 0;
    if (d.IsDiscrete()) {
        for (double k = std::ceil(lo); k <= hi; ++k)
            mass += d.Density(k, &fault);
    } else {
        const int pieces = 20000;
        const double h = (hi - lo) / pieces;
        for (int i = 0; i < pieces; ++i)
            mass += d.Density(lo + (i + 0.5) * h, &fault) * h;
    }
    EXPECT_FALSE(fault) << d.Name();
    return mass;
}

// Every type agrees with itself: its density holds all its mass over its range (up to the 1% that may lie
// beyond a range of a few standard deviations), and 100,000 seeded draws have its Mean and StdDev.
TEST(DistributionTypesTest, DensityMeanStdDevAndDrawsAgree)
{
    struct Row {
        int type;
        int variant;
        std::vector<double> parameters;
    };
    const Row rows[] = {
        {1, 1, {3, 2}},      {2, 1, {-1, 3}},    {3, 1, {8, 4}},      {3, 1, {10, 3}},     {3, 2, {2.5, 4}},
        {4, 1, {4, 1}},      {4, 1, {1, 2}},     {4, 1, {9, 0.5}},    {5, 1, {4, 1}},      {5, 1, {3, 2}},
        {6, 1, {4, 0.5}},    {7, 1, {0.5}},      {8, 1, {2, 1}},      {8, 1, {7, 0.5}},    {8, 1, {300, 1}},
        {9, 1, {2, 0.4}},    {9, 1, {1, 0.1}},   {9, 1, {1, 1}},      {10, 1, {1, 1}},     {11, 1, {1, 1}},
        {12, 1, {0, 0.5}},   {13, 1, {5}},       {14, 1, {1}},        {15, 1, {1, 2}},     {15, 1, {2, 0.8}},
        {17, 1, {1, 2, 6}},  {18, 1, {10}},      {18, 1, {4}},        {19, 1, {0.3, 12}},
    };
    const int n = 100000;
    for (const Row& row : rows) {
        std::vector<double> values{static_cast<double>(row.type), static_cast<double>(row.variant)};
        values.insert(values.end(), row.parameters.begin(), row.parameters.end());
        RunFault fault;
        std::unique_ptr<Distribution> d(MakeDistributionFromValues(static_cast<int>(values.size()), values.data(), &fault));
        ASSERT_TRUE(d);
        std::string what = d->Name();
        for (double p : row.parameters)
            what += " " + std::to_string(p);
        EXPECT_NEAR(MassOverRange(*d), 1.0, 0.01) << what;
        const double mean = d->Mean(&fault);
        const double stdDev = d->StdDev(&fault);
        SeedRandom(20240611);
        d->ResetSampler();
        const SampleMoments m = Draw(*d, n);
        ExpectMoments(m, mean, stdDev * stdDev, n, 1e-9, what.c_str());
        EXPECT_FALSE(fault) << what;
    }
}

// Large parameters, whose factorials and powers overflow on their own: the probabilities are numbers,
// sum to 1, and match a sum of logarithms computed here term by term.
TEST(DistributionTypesTest, LargeParametersGiveProbabilities)
{
    // ln(k!) as a plain sum.
    auto logFactorial = [](int k) {
        double sum = 0;
        for (int i = 2; i <= k; ++i)
            sum += std::log(static_cast<double>(i));
        return sum;
    };
    struct Row {
        std::vector<double> values;  // type, variant, parameters
        double x;
        double expected;
    };
    const Row rows[] = {
        {{18, 1, 200}, 180, std::exp(-200 + 180 * std::log(200.0) - logFactorial(180))},
        {{18, 1, 1000}, 1000, std::exp(-1000 + 1000 * std::log(1000.0) - logFactorial(1000))},
        {{19, 1, 0.5, 2000}, 1000, std::exp(logFactorial(2000) - 2 * logFactorial(1000) + 2000 * std::log(0.5))},
        {{19, 1, 0.01, 5000}, 40, std::exp(logFactorial(5000) - logFactorial(40) - logFactorial(4960) +
                                           40 * std::log(0.01) + 4960 * std::log(0.99))},
        // Erlang (k, lambda) is Gamma (k) with rate k lambda.
        {{6, 1, 300, 1}, 1.1, std::exp(std::log(300.0) + 299 * std::log(330.0) - 330 - logFactorial(299))},
        {{3, 1, 400, 100}, 0.26, std::exp(logFactorial(399) - logFactorial(99) - logFactorial(299) +
                                          99 * std::log(0.26) + 299 * std::log(0.74))},
    };
    for (const Row& row : rows) {
        RunFault fault;
        std::unique_ptr<Distribution> d(
            MakeDistributionFromValues(static_cast<int>(row.values.size()), row.values.data(), &fault));
        ASSERT_TRUE(d);
        const double p = d->Density(row.x, &fault);
        EXPECT_NEAR(p, row.expected, 1e-9 * row.expected) << d->Name() << " " << row.values[2];
        EXPECT_NEAR(MassOverRange(*d), 1.0, 1e-3) << d->Name() << " " << row.values[2];
        EXPECT_FALSE(fault);
    }
    // Outside the support: no probability.
    RunFault fault;
    EXPECT_EQ(Make(19, {0.5, 10})->Density(11, &fault), 0.0);
    EXPECT_EQ(Make(19, {0.5, 10})->Density(-1, &fault), 0.0);
    EXPECT_EQ(Make(18, {3})->Density(-1, &fault), 0.0);
    EXPECT_EQ(Make(19, {1, 10})->Density(10, &fault), 1.0);
}

TEST(DistributionTypesTest, FixedSeedGivesTheSameSequence)
{
    for (int type = 1; type <= 19; ++type) {
        std::unique_ptr<Distribution> d(MakeDistribution(type));
        std::vector<double> first;
        std::vector<double> second;
        RunFault fault;
        SeedRandom(7);
        d->ResetSampler();
        for (int i = 0; i < 50; ++i)
            first.push_back(d->Sample(&fault));
        SeedRandom(7);
        d->ResetSampler();
        for (int i = 0; i < 50; ++i)
            second.push_back(d->Sample(&fault));
        EXPECT_EQ(first, second) << d->Name();
        EXPECT_FALSE(fault) << d->Name();
    }
}

// Draws of seed 7 recorded from the samplers; a change to a sampler's arithmetic shows here.
TEST(DistributionTypesTest, GoldenDrawsOfSeed7)
{
    struct Row {
        std::vector<double> values;  // type, variant, parameters
        double draws[4];
    };
    const Row rows[] = {
        {{18, 1, 4}, {0, 4, 6, 3}},
        {{18, 1, 700}, {703, 725, 709, 707}},
        {{6, 1, 3, 0.5}, {5.123421060121955, 2.6001352850272954, 0.84801125525433385, 1.6909432036228511}},
        {{6, 1, 500, 0.5}, {2.0022858762054385, 1.9521865491814288, 1.8759024940106517, 2.0108521747560144}},
        {{10, 1, 3, 2}, {-8.186312291244251, 3.1309700854832041, 2.852014105071266, 1.3106668787132991}},
        {{4, 1, 4, 1}, {0.66589943802503315, 0.63429163723350823, 0.61225282354873456, 0.83854240462246854}},
        {{5, 1, 4, 1}, {1.77368824624822, 1.6093035242574578, 1.4994140797735915, 2.8126134574001274}},
        {{9, 1, 2, 0.4}, {0.39480508498534161, 0.64075572550137327, 0.67298384193060334, 0.42576290991455601}},
        {{15, 1, 1, 2}, {2.507250152294755, 0.79478810759632446, 0.87586535952982658, 1.2400861829741092}},
    };
    for (const Row& row : rows) {
        RunFault fault;
        std::unique_ptr<Distribution> d(
            MakeDistributionFromValues(static_cast<int>(row.values.size()), row.values.data(), &fault));
        ASSERT_TRUE(d);
        SeedRandom(7);
        for (double expected : row.draws)
            EXPECT_EQ(d->Sample(&fault), expected) << d->Name() << " " << row.values[2];
        EXPECT_FALSE(fault);
    }
}

// Parameters beyond the reach of the plain methods: e^-lambda below the normal numbers for Poisson, a
// product of a thousand draws for Erlang, a range too narrow for its own magnitude for inversion.
TEST(DistributionTypesTest, LargeParametersStillDraw)
{
    struct Row {
        std::vector<double> values;
        int n;
        double mean;
        double variance;
    };
    const Row rows[] = {
        {{18, 1, 1000}, 20000, 1000, 1000},
        {{18, 1, 1234.5}, 10000, 1234.5, 1234.5},
        {{6, 1, 1000, 0.001}, 5000, 1000, 1000},
    };
    for (const Row& row : rows) {
        RunFault fault;
        std::unique_ptr<Distribution> d(
            MakeDistributionFromValues(static_cast<int>(row.values.size()), row.values.data(), &fault));
        ASSERT_TRUE(d);
        SeedRandom(5);
        const SampleMoments m = Draw(*d, row.n);
        ExpectMoments(m, row.mean, row.variance, row.n, 1e-9, d->Name());
    }

    // The step of a thousandth of the range no longer moves a point near 1e20: inversion ends anyway.
    std::unique_ptr<Distribution> laplace = Make(10, {1e20, 1});
    RunFault fault;
    const double x = laplace->Sample(&fault);
    EXPECT_FALSE(fault);
    EXPECT_NEAR(x, 1e20, 1e5);
    std::unique_ptr<Distribution> normal = Make(1, {1e20, 1});
    EXPECT_NEAR(normal->QuantileFrom(1e20 - 10, 0.5, &fault), 1e20, 1e5);
    EXPECT_EQ(normal->InverseCdf(0, 0, 1, 0.5, &fault), 0.0);
    EXPECT_EQ(normal->InverseCdf(-0.1, 0, 1, 0.5, &fault), 0.0);
}

TEST(DistributionTypesTest, BetaWithTinyShapesGivesNumbers)
{
    // Seed 42 starts with two small draws whose 200th powers are 0 as doubles.
    std::unique_ptr<Distribution> beta = Make(3, {0.005, 0.005}, 2);
    SeedRandom(42);
    RunFault fault;
    for (int i = 0; i < 1000; ++i) {
        const double x = beta->Sample(&fault);
        ASSERT_TRUE(x >= 0.0 && x <= 1.0) << i << ": " << x;
    }
    EXPECT_FALSE(fault);
}

TEST(DistributionTypesTest, SamplersStayInTheirSupport)
{
    std::unique_ptr<Distribution> tri = Make(17, {1, 2, 6});
    std::unique_ptr<Distribution> binomial = Make(19, {0.3, 12});
    SeedRandom(3);
    RunFault fault;
    for (int i = 0; i < 5000; ++i) {
        const double t = tri->Sample(&fault);
        EXPECT_TRUE(t >= 1 && t <= 6);
        const double b = binomial->Sample(&fault);
        EXPECT_TRUE(b >= 0 && b <= 12 && b == std::floor(b));
    }
}

}  // namespace
