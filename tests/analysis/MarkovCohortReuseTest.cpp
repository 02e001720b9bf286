// Cohort runs reuse the storage of earlier runs, match jump names without copying them, evaluate alike
// stage-only formulas once per stage, keep the values of formulas of numbers and "_stage" from run to run
// and, in Monte Carlo trials back to back, their whole plans: random models run again and again, against
// the same chain computed here in plain arrays, against the same model built afresh and against each
// formula evaluated on its own.

#include "analysis/MarkovCohort.h"
#include "analysis/MonteCarloSimulation.h"
#include "analysis/TreeEngines.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "foundation/FilePath.h"
#include "foundation/RandomGenerator.h"
#include "formula/Distribution.h"
#include "formula/RunOutcome.h"
#include "model/NodeFormula.h"
#include "model/TreeDocument.h"
#include "tests/analysis/MarkovTestTrees.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

struct RandomModel {
    int cycles = 0;
    std::vector<std::string> names;
    std::vector<double> initial;
    std::vector<double> initialReward;
    std::vector<double> reward;
    // Per state its exits (target, probability); none for the absorbing last state.
    std::vector<std::vector<std::pair<int, double>>> exits;
};

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

RandomModel MakeModel(RandomGenerator& random)
{
    RandomModel model;
    const int states = 2 + random.Next() % 6;
    model.cycles = 1 + random.Next() % 8;
    double rest = 1.0;
    for (int s = 0; s < states; ++s) {
        model.names.push_back("State" + std::string(1, static_cast<char>('a' + s)) + "x");
        const double share = s + 1 < states ? rest * (random.Next() % 100) / 100.0 : rest;
        model.initial.push_back(share);
        rest -= share;
        model.initialReward.push_back((random.Next() % 50) / 10.0);
        model.reward.push_back((random.Next() % 90) / 10.0);
        std::vector<std::pair<int, double>> exits;
        if (s + 1 < states) {
            const int count = 1 + random.Next() % 3;
            double left = 1.0;
            for (int e = 0; e < count; ++e) {
                const double p = e + 1 < count ? (random.Next() % 40) / 100.0 : left;
                exits.emplace_back(random.Next() % states, p);
                left -= p;
            }
        }
        model.exits.push_back(exits);
    }
    return model;
}

// The name in a random mixture of letter cases.
std::string AnyCase(const std::string& name, RandomGenerator& random)
{
    std::string text = name;
    for (char& c : text)
        c = static_cast<char>(random.Next() % 2 ? std::toupper(static_cast<unsigned char>(c))
                                                : std::tolower(static_cast<unsigned char>(c)));
    return text;
}

void Build(const RandomModel& model, MarkovTestTree& tree, RandomGenerator& random)
{
    const int states = static_cast<int>(model.names.size());
    for (int s = 0; s < states; ++s) {
        const bool absorbing = model.exits[s].empty();
        const std::string incremental = Number(model.reward[s]) + "/1.03^_stage";
        TreeNode* state = tree.State(absorbing ? TerminalNode : ChanceNode, model.names[s].c_str(),
                                     s + 1 < states ? Number(model.initial[s]).c_str() : "#",
                                     Number(model.initialReward[s]).c_str(), incremental.c_str(), "0");
        for (size_t e = 0; e < model.exits[s].size(); ++e) {
            const auto& [target, p] = model.exits[s][e];
            const bool last = e + 1 == model.exits[s].size();
            tree.Jump(state, "exit", last ? "#" : Number(p).c_str(), AnyCase(model.names[target], random).c_str());
        }
    }
}

// The chain in plain arrays: initial rewards, then per cycle the moves, the stage advanced and, until the
// termination stage, the discounted rewards.
double PlainValue(const RandomModel& model)
{
    const size_t states = model.names.size();
    std::vector<double> share = model.initial;
    share.back() = 1.0;
    for (size_t s = 0; s + 1 < states; ++s)
        share.back() -= model.initial[s];
    double total = 0.0;
    for (size_t s = 0; s < states; ++s)
        total += share[s] * model.initialReward[s];
    for (int stage = 1;; ++stage) {
        std::vector<double> next(states, 0.0);
        for (size_t s = 0; s < states; ++s) {
            if (model.exits[s].empty())
                next[s] += share[s];
            for (const auto& [target, p] : model.exits[s])
                next[static_cast<size_t>(target)] += share[s] * p;
        }
        share = next;
        if (stage >= model.cycles)
            return total;
        for (size_t s = 0; s < states; ++s)
            total += share[s] * model.reward[s] / std::pow(1.03, stage);
    }
}

TEST(MarkovCohortReuse, RandomModelsRunAgainGiveTheChainsValue)
{
    RandomGenerator random(20261207);
    for (int round = 0; round < 40; ++round) {
        const RandomModel model = MakeModel(random);
        const std::string termination = "_stage >= " + std::to_string(model.cycles);
        MarkovTestTree tree(termination.c_str());
        Build(model, tree, random);
        const double expected = PlainValue(model);
        for (int run = 0; run < 3; ++run) {
            RunFault error;
            const double value = EvaluateMarkovNode(tree.markov, &error, 0, nullptr);
            ASSERT_FALSE(error) << "round " << round;
            EXPECT_NEAR(value, expected, 1e-9 * std::max(1.0, std::fabs(expected))) << "round " << round;
        }
    }
}

// Formulas repeated in many states, alike or nearly so, some reading variables bound per state (to numbers,
// to formulas of numbers, or to formulas reading the stage or a variable bound at the root) or failing at
// some stage: every run of a model again (whose formulas have their cached trees) gives what the first run
// of the same model built afresh gives, to the bit, with the same messages.
TEST(MarkovCohortReuse, RepeatedFormulasGiveWhatAFreshModelGives)
{
    const char* const probabilities[] = {"0.05 + 0.001*_stage", "0.05+0.001*_stage", "0.001*_stage + 0.05",
                                         "0.1",  "risk*_stage/100", "If(_stage < 3; 0.1; 0.2)",
                                         "0.02*(_stage + 1)", "0.1*0.5"};
    const char* const rewards[] = {"1/1.03^_stage", "1/1.03^_stage", "2/1.03^_stage", "risk + _stage",
                                   "1/(_stage - 4)", "_stage*0.5", "1/1.03^_stage + risk", "0.5*3"};
    const char* const risks[] = {"0", "1+2", "2*base", "base + _stage/10", "Max(1; Exp(base))"};
    struct Shape {
        int states;
        int cycles;
        std::vector<int> picks;
    };
    RandomGenerator random(77);
    for (int round = 0; round < 60; ++round) {
        Shape shape{2 + static_cast<int>(random.Next() % 6), 1 + static_cast<int>(random.Next() % 9), {}};
        for (int i = 0; i < 6 * shape.states; ++i)
            shape.picks.push_back(static_cast<int>(random.Next() % 1000));
        const std::string termination = "_stage >= " + std::to_string(shape.cycles);
        auto build = [&](MarkovTestTree& tree) {
            tree.tree.Bind(tree.tree.Root(), "base", "0.5*3");
            for (int s = 0; s < shape.states; ++s) {
                const int* pick = &shape.picks[6 * s];
                const bool absorbing = s + 1 == shape.states;
                const std::string name = "S" + std::to_string(s);
                TreeNode* state = tree.State(absorbing ? TerminalNode : ChanceNode, name.c_str(), s == 0 ? "1" : "0",
                                             rewards[pick[0] % 8], rewards[pick[1] % 8], rewards[pick[2] % 8]);
                tree.tree.Bind(state, "risk", risks[pick[3] % 5]);
                if (absorbing)
                    continue;
                const std::string move = "S" + std::to_string(pick[3] % shape.states);
                const std::string next = "S" + std::to_string(s + 1);
                tree.Jump(state, "move", probabilities[pick[4] % 8], move.c_str());
                tree.Jump(state, "next", probabilities[pick[5] % 8], next.c_str());
                tree.Jump(state, "stay", "#", name.c_str());
            }
        };
        MessageBoxRecorder boxes;
        MarkovTestTree kept(termination.c_str());
        build(kept);
        for (int run = 0; run < 3; ++run) {
            MarkovTestTree fresh(termination.c_str());
            build(fresh);
            RunFault freshError;
            boxes.Clear();
            const double expected = EvaluateMarkovNode(fresh.markov, &freshError, 0, nullptr);
            const std::vector<MessageBoxRecorder::Box> freshBoxes = boxes.Boxes();
            RunFault error;
            boxes.Clear();
            const double value = EvaluateMarkovNode(kept.markov, &error, 0, nullptr);
            EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << "round " << round << " run " << run;
            EXPECT_EQ(error.Code(), freshError.Code()) << "round " << round;
            ASSERT_EQ(boxes.Count(), freshBoxes.size()) << "round " << round;
            for (size_t b = 0; b < freshBoxes.size(); ++b)
                EXPECT_EQ(boxes.Boxes()[b].text, freshBoxes[b].text) << "round " << round;
            for (int s = 0; s < shape.states; ++s)
                EXPECT_EQ(kept.markov->GetChild(s)->markovInfo->probability,
                          fresh.markov->GetChild(s)->markovInfo->probability) << "round " << round;
        }
    }
}

// A model whose formulas already have their trees on its first run, its death probability edited between
// runs: each run gives, to the bit, what the same model built afresh gives.
TEST(MarkovCohortReuse, FormulasEditedBetweenRunsGiveWhatAFreshModelGives)
{
    const char* const edits[] = {"0.1", "0.05 + 0.001*_stage", "0.05+0.001*_stage", "0.1", "0.02*(_stage + 1)"};
    MarkovTestTree kept("_stage >= 6");
    kept.WellDead(edits[0], "0", "0", "1/1.03^_stage");
    RunFault error;
    EvaluateNodeFormula(kept.well, *kept.well->MarkovRewardExpr(IncrementalReward, 0), "reward", &error, false);
    for (const char* edit : edits) {
        kept.die->SetProbabilityText(edit, false);
        EvaluateNodeFormula(kept.die, kept.die->probability, "probability", &error, false);
        for (int run = 0; run < 2; ++run) {
            MarkovTestTree fresh("_stage >= 6");
            fresh.WellDead(edit, "0", "0", "1/1.03^_stage");
            const double expected = EvaluateMarkovNode(fresh.markov, &error, 0, nullptr);
            const double value = EvaluateMarkovNode(kept.markov, &error, 0, nullptr);
            EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << edit << " run " << run;
        }
    }
}

// A model edited through the model's setters between runs, with nothing else between them, so that a run
// may take up the plan of the run before: every run gives, to the bit, what the same model built afresh gives.
TEST(MarkovCohortReuse, ModelEditedBetweenRunsGivesWhatAFreshModelGives)
{
    const std::function<void(MarkovTestTree&)> edits[] = {
        [](MarkovTestTree&) {},
        [](MarkovTestTree& t) { t.die->SetProbabilityText("0.2", false); },
        [](MarkovTestTree& t) { t.die->SetMarkovJumpState("Sick", false); },
        [](MarkovTestTree& t) { t.markov->GetChild(2)->SetText("Ill", false); },
        [](MarkovTestTree& t) { t.well->SetMarkovRewardText(IncrementalReward, "2 + risk", 0); },
        [](MarkovTestTree& t) { t.Jump(t.well, "worsen", "0.1", "Dead"); },
        [](MarkovTestTree& t) { t.tree.Root()->SetBinding("risk", "3", false); },
        [](MarkovTestTree& t) { t.tree.Root()->SetBinding("risk", "2+2", false); },
        [](MarkovTestTree& t) { t.tree.Bind(t.well, "risk", "risk*_stage"); },
        [](MarkovTestTree& t) { t.markov->SetMarkovTerminationText("_stage >= 4", 0); },
    };
    auto build = [&](MarkovTestTree& t, size_t count) {
        t.tree.Bind(t.tree.Root(), "risk", "1");
        t.WellDead("0.1");
        t.Jump(t.State(ChanceNode, "Sick", "0", "0", "3 + risk"), "stay", "#", "Sick");
        for (size_t i = 0; i < count; ++i)
            edits[i](t);
    };
    std::vector<double> expected;
    for (size_t step = 1; step <= std::size(edits); ++step) {
        MarkovTestTree fresh;
        build(fresh, step);
        RunFault error;
        expected.push_back(EvaluateMarkovNode(fresh.markov, &error, 0, nullptr));
        ASSERT_FALSE(error);
    }
    MarkovTestTree kept;
    build(kept, 0);
    for (size_t step = 0; step < std::size(edits); ++step) {
        edits[step](kept);
        for (int run = 0; run < 3; ++run) {
            RunFault error;
            const double value = EvaluateMarkovNode(kept.markov, &error, 0, nullptr);
            EXPECT_EQ(std::memcmp(&value, &expected[step], sizeof value), 0) << "step " << step << " run " << run;
        }
    }
}

// A death probability read from a table by the stage: after the table's entries change, or another table
// takes its name, the next run follows the table as it is then.
TEST(MarkovCohortReuse, StageValuesFromTablesFollowTheTables)
{
    auto addTable = [](double scale) {
        auto* table = new LookupTable;
        table->SetName("risks");
        table->SetMethod(LookupTable::Truncation);
        table->SetLoaded(true);
        for (int stage = 0; stage < 8; ++stage)
            table->SetEntry(stage, scale * (stage + 1));
        Tables().InsertSorted(new TableDirEntry(table, FilePath("C:\\", "risks.tbl")));
        return table;
    };
    LookupTable* table = addTable(0.01);
    MarkovTestTree tree("_stage >= 8");
    tree.WellDead("risks[_stage]");
    for (int round = 0; round < 4; ++round) {
        double share = 1.0;
        double expected = 0.0;
        for (int stage = 0; stage < 8; ++stage) {
            RunFault fault;
            share *= 1.0 - table->Lookup(stage, &fault);
            expected += stage < 7 ? share : 0.0;
        }
        RunFault error;
        EXPECT_NEAR(EvaluateMarkovNode(tree.markov, &error, 0, nullptr), expected, 1e-12) << "round " << round;
        table->SetEntry(3, 0.2 + 0.1 * round);
        if (round == 2) {
            Tables().DeletePtr(FindEntryOfTable(table));
            table = addTable(0.02);
        }
    }
    Tables().DeletePtr(FindEntryOfTable(table));
}

// A random formula of numbers and "_stage" from a few parts, among them 1.03 and its next double, so that
// equal and nearly equal formulas abound.
std::string RandomStageFormula(RandomGenerator& random, int depth)
{
    static const std::string parts[] = {"1.03", Number(std::nextafter(1.03, 2.0)), "2", "_stage"};
    static const char* const operators[] = {"/", "^", "-", ">="};
    if (depth == 0 || random.Next() % 4 == 0)
        return parts[random.Next() % 4];
    return "(" + RandomStageFormula(random, depth - 1) + operators[random.Next() % 4] +
           RandomStageFormula(random, depth - 1) + ")";
}

// Absorbing states holding 1/2, 1/4, ... of the cohort earn random formulas of numbers and "_stage": every
// run, fresh or kept, gives to the bit the stage sums of each formula evaluated on its own, or fails where
// one of them fails.
TEST(MarkovCohortReuse, StageFormulasKeptFromRunToRunGiveTheirOwnValues)
{
    RandomGenerator random(4242);
    MessageBoxRecorder boxes;
    for (int round = 0; round < 80; ++round) {
        const int states = 2 + static_cast<int>(random.Next() % 5);
        const int cycles = 1 + static_cast<int>(random.Next() % 8);
        const std::string termination = "_stage >= " + std::to_string(cycles);
        MarkovTestTree tree(termination.c_str());
        std::vector<TreeNode*> nodes;
        std::vector<double> shares;
        for (int s = 0; s < states; ++s) {
            const std::string name = "S" + std::to_string(s);
            const double share = std::ldexp(1.0, -std::min(s + 1, states - 1));
            const std::string reward = RandomStageFormula(random, 2);
            nodes.push_back(tree.State(TerminalNode, name.c_str(), s + 1 < states ? Number(share).c_str() : "#", "0",
                                       reward.c_str(), "0"));
            shares.push_back(share);
        }
        CalcState& calc = tree.Document().CalcStateRecord;
        double expected = 0.0;
        RunFault expectedError;
        for (int stage = 1; stage < cycles && !expectedError; ++stage) {
            calc.stageCounter = stage;
            double sum = 0.0;
            for (int s = 0; s < states && !expectedError; ++s)
                sum += EvaluateNodeFormula(nodes[s], *nodes[s]->MarkovRewardExpr(IncrementalReward, 0),
                                           "incremental reward", &expectedError, false) *
                       shares[s];
            expected += sum;
        }
        calc.stageCounter = 0;
        for (int run = 0; run < 2; ++run) {
            RunFault error;
            const double value = EvaluateMarkovNode(tree.markov, &error, 0, nullptr);
            EXPECT_EQ(error.Code(), expectedError.Code()) << "round " << round;
            if (!expectedError) {
                EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << "round " << round << " run " << run;
            }
        }
    }
}

// Random models of draws (some drawn anew each cycle of a walk), "_stage", a bound variable and numbers,
// some with tunnel states, against a terminal worth a draw: trials that take up the plans and values of
// earlier runs, in a simulation of the whole tree keeping plans for its trials and in one of the Markov node
// alone, give to the bit what trials of the same model built afresh give with every formula times
// "(1 + 0*_tunnel)", which no plan shares or keeps.
TEST(MarkovCohortReuse, TrialsWithKeptPlansGiveWhatAFreshModelGives)
{
    const char* const probabilities[] = {"DistSamp(1)*0.5", "0.1", "0.01*_stage + DistSamp(2)*0.1",
                                         "If(_stage < 3; DistSamp(1)*0.3; 0.2)", "risk/10", "0.1*0.5"};
    const char* const rewards[] = {"1/1.03^_stage", "DistSamp(2)", "DistSamp(1)*_stage", "risk", "0"};
    // "base" is drawn anew each trial: risks reading it change from trial to trial.
    const char* const risks[] = {"0", "1", "base", "2*base + 1", "4"};
    RandomGenerator random(31);
    MessageBoxRecorder boxes;
    for (int round = 0; round < 30; ++round) {
        const int states = 2 + static_cast<int>(random.Next() % 4);
        const std::string termination = "_stage >= " + std::to_string(1 + random.Next() % 8);
        std::vector<int> picks(static_cast<size_t>(6 * states));
        for (int& pick : picks)
            pick = static_cast<int>(random.Next() % 1000);
        // Every third round draws DistSamp(2) anew each cycle of a walk, and every state earns it.
        const bool redrawn = round % 3 == 0;
        auto build = [&](MarkovTestTree& tree, bool shareable) {
            // Formulas of the reference read "_tunnel": each is evaluated whenever it is needed.
            std::vector<std::string> texts;
            texts.reserve(8 * static_cast<size_t>(states));
            auto f = [&](const char* text) {
                texts.push_back(shareable ? text : "(" + std::string(text) + ")*(1 + 0*_tunnel)");
                return texts.back().c_str();
            };
            AddUniform(tree.Document(), 1, "0", "1");
            AddUniform(tree.Document(), 2, "0.5", "1.5")->resampleEachStage = redrawn;
            tree.tree.Bind(tree.tree.Root(), "base", "DistSamp(1)*4");
            for (int s = 0; s < states; ++s) {
                const int* pick = &picks[static_cast<size_t>(6 * s)];
                const bool absorbing = s + 1 == states;
                const std::string name = "S" + std::to_string(s);
                TreeNode* state = tree.State(absorbing ? TerminalNode : ChanceNode, name.c_str(), s == 0 ? "1" : "0",
                                             f(rewards[pick[0] % 5]), f(redrawn ? "DistSamp(2)" : rewards[pick[1] % 5]),
                                             f(rewards[pick[2] % 5]));
                tree.tree.Bind(state, "risk", risks[pick[3] % 5]);
                if (absorbing)
                    continue;
                if (pick[3] % 10 == 0)
                    state->EnsureMarkovInfo()->tunnelCount = static_cast<int16_t>(1 + pick[3] % 3);
                tree.Jump(state, "move", f(probabilities[pick[4] % 6]), ("S" + std::to_string(pick[3] % states)).c_str());
                tree.Jump(state, "next", f(probabilities[pick[5] % 6]), ("S" + std::to_string(s + 1)).c_str());
                tree.Jump(state, "stay", "#", name.c_str());
            }
            tree.tree.Terminal(tree.tree.Root(), "Other", "", "DistSamp(2)*3");
        };
        // Each trial's error, value, option values and draws.
        auto trials = [](MarkovTestTree& tree, bool keepPlans) {
            MonteCarloSimulation simulation(keepPlans ? tree.tree.Root() : tree.markov);
            MonteCarloSettings settings;
            settings.trials = 20;
            settings.seed = 7;
            settings.reevaluatePath = 1;
            EXPECT_TRUE(simulation.Setup(settings));
            std::optional<MarkovRunReuse> reuse;
            if (keepPlans)
                reuse.emplace(*tree.tree.Root()->document);
            simulation.Begin();
            while (!simulation.RunTrial()) {
            }
            simulation.End();
            std::vector<double> numbers{static_cast<double>(simulation.error.Code())};
            for (int i = 0; i < simulation.RecordCount(); ++i) {
                const MonteCarloTrialRecord record = simulation.RecordAt(i);
                numbers.push_back(record.value);
                numbers.insert(numbers.end(), record.optionValues.begin(), record.optionValues.end());
                numbers.insert(numbers.end(), record.samples.begin(), record.samples.end());
            }
            return numbers;
        };
        MarkovTestTree kept(termination.c_str());
        build(kept, true);
        const std::string unshared = "(" + termination + ")*(1 + 0*_tunnel)";
        for (int simulation = 0; simulation < 2; ++simulation) {
            MarkovTestTree fresh(unshared.c_str());
            build(fresh, false);
            const std::vector<double> expected = trials(fresh, simulation == 0);
            const std::vector<double> numbers = trials(kept, simulation == 0);
            ASSERT_EQ(numbers.size(), expected.size()) << "round " << round;
            EXPECT_EQ(std::memcmp(numbers.data(), expected.data(), numbers.size() * sizeof(double)), 0)
                << "round " << round << " simulation " << simulation;
        }
    }
}

}  // namespace

// Two documents rolled back and run in turn, while one of them keeps its plans for a slice of trials and the
// other gains a branch: each gives what the same model built afresh gives alone.
TEST(MarkovCohortReuse, TwoDocumentsInterleavedGiveTheirOwnResults)
{
    auto worsen = [](MarkovTestTree& tree) { tree.Jump(tree.well, "worsen", "0.2", "Dead"); };
    auto alone = [&](const char* death, bool worse) {
        MarkovTestTree fresh;
        fresh.WellDead(death);
        if (worse)
            worsen(fresh);
        return RollBackDocument(fresh.Document()).root.value;
    };
    const double expected[] = {alone("0.1", false), alone("0.3", false), alone("0.3", true)};
    MarkovTestTree first, second;
    first.WellDead("0.1");
    second.WellDead("0.3");
    MarkovRunReuse slice(first.Document());
    for (int round = 0; round < 3; ++round) {
        if (round == 2)
            worsen(second);
        const int secondModel = round == 2 ? 2 : 1;
        const RollBackResult firstRoll = RollBackDocument(first.Document());
        const RollBackResult secondRoll = RollBackDocument(second.Document());
        const MarkovCohortResult firstCohort = RunMarkovCohortAt(first.Document(), first.markov);
        const MarkovCohortResult secondCohort = RunMarkovCohortAt(second.Document(), second.markov);
        ASSERT_EQ(firstCohort.status | secondCohort.status | firstRoll.status | secondRoll.status, 0);
        EXPECT_EQ(firstRoll.root.value, expected[0]) << "round " << round;
        EXPECT_EQ(secondRoll.root.value, expected[secondModel]) << "round " << round;
        EXPECT_EQ(firstCohort.stages.back().total.value, expected[0]) << "round " << round;
        EXPECT_EQ(secondCohort.stages.back().total.value, expected[secondModel]) << "round " << round;
    }
}
