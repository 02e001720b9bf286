// A simulation's results and its run in idle slices: the seeded report, the graphs handed to the program,
// Finish exactly once whatever ends the run, and the record that makes it the tree's last analysis.

#include "analysis/BarGraphData.h"
#include "analysis/MonteCarloProgress.h"
#include "widgets/EscapeKey.h"
#include "foundation/TextReport.h"
#include "formula/Distribution.h"
#include "model/DocVariable.h"
#include "model/StoredAnalysis.h"
#include "model/TreeDocument.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/analysis/SimulatedTree.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include <string>
#include <vector>

namespace {

// In cost-effectiveness mode the second payoff is the effectiveness, 0 at "Ten".
struct EffectTree : SimulatedTree {
    explicit EffectTree(bool costEffectiveness = false) : SimulatedTree(true, true)
    {
        if (costEffectiveness) {
            TreeCalcPrefs& prefs = tree.Document().CalcPrefs;
            prefs.CalcMethod = CostEffectivenessMethod;
            prefs.CECostPayoff = 0;
            prefs.CEEffPayoff = 1;
        }
    }
};

std::unique_ptr<MonteCarloSimulation> Simulation(TreeNode* node, int trials, int reevaluate = 0)
{
    auto simulation = std::make_unique<MonteCarloSimulation>(node);
    MonteCarloSettings settings;
    settings.trials = static_cast<int16_t>(trials);
    settings.seed = 1000;
    settings.reevaluatePath = static_cast<int16_t>(reevaluate);
    EXPECT_TRUE(simulation->Setup(settings));
    return simulation;
}

std::vector<std::string> ReportText(const MonteCarloSimulation& simulation)
{
    TextReport report;
    simulation.WriteReport(report, 0);
    std::vector<std::string> text{report.Title().Text()};
    for (int i = 0; i < report.HeaderLines().Count(); ++i)
        text.push_back(report.HeaderLines().At(i)->Text());
    std::string headers;
    for (int i = 0; i < report.ColumnHeaders().Count(); ++i)
        headers += std::string(i ? "|" : "") + report.ColumnHeaders().At(i)->Text() + " " +
                   std::to_string(report.ColumnWidths().At(i));
    text.push_back(headers);
    for (int i = 0; i < report.Lines().Count(); ++i)
        text.push_back(report.Lines().At(i)->Text());
    return text;
}

TEST(MonteCarloResults, SeededReportIsGolden)
{
    MessageBoxRecorder boxes;
    struct Case {
        bool costEffectiveness;
        std::vector<std::string> golden;
    };
    const Case cases[] = {
        {false,
         {"KIVO(tm) Monte Carlo Simulation", "Ordered List of 4 Outcomes",
          "Trial 40|Outcome 100|Value 70|Optimal 100|Risky 100|Safe 100|Tracked 100|DistSamp(1) 85",
          "1\tSafe\t25\tSafe\t17.54463332\t25\t7.5\t25.08926664",
          "2\tDraw\t81.939146092\tRisky\t45.969573046\t25\t7.5\t81.939146092",
          "3\tSafe\t25\tSafe\t7.30262154\t25\t7.5\t4.60524308",
          "4\tSafe\t25\tSafe\t14.715567492\t25\t7.5\t19.431134983"}},
        {true,
         {"KIVO(tm) Monte Carlo Simulation", "Ordered List of 4 Outcomes",
          "Trial 40|Outcome 100|Value 70|Cost 70|Effect 70|Optimal 100|C(Risky) 100|E(Risky) 100|C(Safe) 100|"
          "E(Safe) 100|Tracked 100|DistSamp(1) 85",
          "1\tTen\t(Undef)\t10\t0\tRisky\t17.54463332\t1\t25\t1\t7.5\t25.08926664",
          "2\tSafe\t25\t25\t1\tSafe\t26.420941801\t1\t25\t1\t7.5\t42.841883602",
          "3\tDraw\t2.30262154\t4.60524308\t2\tRisky\t7.30262154\t1\t25\t1\t7.5\t4.60524308",
          "4\tTen\t(Undef)\t10\t0\tRisky\t16.987670522\t1\t25\t1\t7.5\t23.975341044"}},
    };
    for (const Case& c : cases) {
        for (int run = 0; run < 2; ++run) {
            EffectTree tree(c.costEffectiveness);
            DocVariable* tracked = tree.tree.Document().EnsureVariable("Track", nullptr);
            tracked->tFlag = 1;
            tracked->tValue2 = 7.5f;
            tracked->shortDescription = "Tracked";
            auto simulation = Simulation(tree.tree.Root(), 4, 1);
            simulation->Begin();
            while (!simulation->RunTrial()) {
            }
            simulation->End();
            const std::vector<std::string> text = ReportText(*simulation);
            EXPECT_EQ(text, c.golden);
        }
    }
}

// The simulation finds equal outcomes through its own index: the list must be what merging insertion makes.
TEST(MonteCarloResults, OutcomesMergeAsTheListDoes)
{
    MessageBoxRecorder boxes;
    for (int16_t mode : {SampleNone, SampleAll}) {
        EffectTree tree;
        auto simulation = std::make_unique<MonteCarloSimulation>(tree.tree.Root());
        MonteCarloSettings settings;
        settings.trials = 300;
        settings.seed = 5;
        settings.samplingMode = mode;
        ASSERT_TRUE(simulation->Setup(settings));
        simulation->Begin();
        while (!simulation->RunTrial()) {
        }
        OutcomeDistribution fresh;
        for (int i = 0; i < simulation->RecordCount(); ++i) {
            const MonteCarloTrialRecord& record = simulation->RecordAt(i);
            fresh.AddTriple({record.cost, record.effectiveness, record.value}, 1.0 / 300, record.outcomeLabel.Text(),
                            true);
        }
        ASSERT_EQ(simulation->outcomes.Count(), fresh.Count());
        EXPECT_EQ(fresh.Count() < 10, mode == SampleNone);
        for (int i = 0; i < fresh.Count(); ++i) {
            EXPECT_EQ(simulation->outcomes.OutcomeAt(i)->triple.value, fresh.OutcomeAt(i)->triple.value);
            EXPECT_EQ(simulation->outcomes.OutcomeAt(i)->probability, fresh.OutcomeAt(i)->probability);
        }
    }
}

// A clock that moves 40 ms at every reading: a slice of 200 ms runs four trials.
class SteppingClock {
public:
    SteppingClock() { previous = SetTickSource([this] { return now += 40; }); }
    ~SteppingClock() { SetTickSource(previous); }

private:
    uint32_t now = 0;
    std::function<uint32_t()> previous;
};

struct RecordingView : MonteCarloProgressView {
    void ShowTrialPosition(int trial) override { positions.push_back(trial); }
    void ShowStatistics(const std::vector<zString>& texts) override
    {
        statistics.clear();
        for (const zString& text : texts)
            statistics.push_back(text.Text());
    }
    void ShowFinished(bool resultsEnabled) override
    {
        ++finished;
        results = resultsEnabled;
    }
    std::vector<int> positions;
    std::vector<std::string> statistics;
    int finished = 0;
    bool results = false;
};

TEST(MonteCarloProgress, IdleSlicesRunTheTrialsAndFinishOnce)
{
    MessageBoxRecorder boxes;
    SteppingClock clock;
    struct Case {
        const char* name;
        int idleCalls;  // before Stop; -1 runs to the end
        bool breakProbabilities;
        int records;
        bool results;
        bool statistics;  // shown by Finish
        bool stored;      // the record became the tree's last analysis
    };
    const Case cases[] = {
        {"all trials", -1, false, 10, true, true, true},
        {"stopped after a slice", 1, false, 4, true, true, false},
        {"stopped before a trial", 0, false, 0, true, true, false},
        {"probabilities fail at the start", -1, true, 0, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EffectTree tree;
        if (c.breakProbabilities)
            tree.risky->GetChild(1)->SetProbabilityText("0.7", false);
        auto simulation = Simulation(tree.tree.Root(), 10);
        StoredAnalysis* record = MakeMonteCarloRecord(tree.tree.Root(), MonteCarloSettings());
        RecordingView view;
        MonteCarloProgress run(std::move(simulation), record, nullptr);
        run.SetView(&view);
        run.Start();
        int calls = 0;
        while (!run.Finished() && calls != c.idleCalls && calls < 100) {
            run.OnIdle();
            ++calls;
        }
        run.Finish();
        run.OnIdle();
        run.Finish();
        EXPECT_EQ(view.finished, 1);
        EXPECT_EQ(view.results, c.results);
        EXPECT_EQ(run.Simulation().RecordCount(), c.records);
        EXPECT_EQ(tree.tree.Document().LastAnalysis == record, c.stored);
        EXPECT_EQ(!view.statistics.empty(), c.statistics);
        if (c.idleCalls < 0 && !c.breakProbabilities) {
            EXPECT_EQ(calls, 3);
            EXPECT_EQ(view.positions, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
        }
        // Outcome probabilities of a stopped run are counted over the trials run.
        double total = 0.0;
        for (int i = 0; i < run.Simulation().outcomes.Count(); ++i) {
            const double probability = run.Simulation().outcomes.OutcomeAt(i)->probability;
            EXPECT_NEAR(probability * c.records, std::round(probability * c.records), 1e-9);
            total += probability;
        }
        EXPECT_NEAR(total, c.records > 0 ? 1.0 : 0.0, 1e-9);
        // "&Calc Stats": seven numbers, or seven empty fields before the first outcome.
        run.CalcStats();
        ASSERT_EQ(view.statistics.size(), 7u);
        for (const std::string& text : view.statistics) {
            EXPECT_EQ(text.empty(), c.records == 0) << text;
            EXPECT_EQ(text.find("nan"), std::string::npos);
        }
    }
}

TEST(MonteCarloResults, GraphsCountTheRecordedTrials)
{
    MessageBoxRecorder boxes;
    std::vector<std::unique_ptr<ProbDistributionData>> distributions;
    std::vector<std::unique_ptr<OptionBarData>> bars;
    auto previousDistributions = SetProbDistributionPresenter(
        [&](std::unique_ptr<ProbDistributionData> data) { distributions.push_back(std::move(data)); });
    auto previousBars =
        SetOptionBarPresenter([&](std::unique_ptr<OptionBarData> data) { bars.push_back(std::move(data)); });

    // One trial: one outcome of probability 1, and nothing to draw.
    EffectTree single;
    auto one = Simulation(single.risky, 1);
    one->Begin();
    while (!one->RunTrial()) {
    }
    one->End();
    ASSERT_EQ(one->outcomes.Count(), 1);
    EXPECT_EQ(one->outcomes.OutcomeAt(0)->probability, 1.0);
    EXPECT_FALSE(one->ShowResult(OutcomeDistributionResult));
    EXPECT_EQ(boxes.Last().text, "All outcomes are the same, with probability 1.0.");
    EXPECT_FALSE(one->ShowResult(StrategyFrequencyResult));

    // Stopped after 30 of 100 trials, re-evaluated per trial.
    EffectTree tree;
    auto simulation = Simulation(tree.tree.Root(), 100, 1);
    simulation->Begin();
    for (int k = 0; k < 30; ++k)
        simulation->RunTrial();
    simulation->End();
    EXPECT_TRUE(simulation->ShowResult(OutcomeDistributionResult));
    EXPECT_TRUE(simulation->ShowResult(StrategyFrequencyResult));
    SetProbDistributionPresenter(previousDistributions);
    SetOptionBarPresenter(previousBars);
    ASSERT_EQ(distributions.size(), 1u);
    EXPECT_EQ(distributions[0]->trials, 30);
    EXPECT_EQ(distributions[0]->nodeText, "");
    double total = 0.0;
    for (int i = 0; i < distributions[0]->outcomes.Count(); ++i)
        total += distributions[0]->outcomes.OutcomeAt(i)->probability;
    EXPECT_NEAR(total, 1.0, 1e-9);
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0]->optionNames, (std::vector<std::string>{"Risky", "Safe"}));
    EXPECT_NEAR(bars[0]->shares[0] + bars[0]->shares[1], 1.0, 1e-9);
    EXPECT_GT(bars[0]->shares[0], 0.0);
    EXPECT_GT(bars[0]->shares[1], 0.0);
}

}  // namespace
