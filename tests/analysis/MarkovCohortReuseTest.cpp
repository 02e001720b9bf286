// Cohort runs reuse the storage of earlier runs and match jump names without copying them: random models,
// with jump names in any letter case and run again and again among models of other sizes, against the same
// chain computed here in plain arrays.

#include "analysis/MarkovCohort.h"
#include "foundation/RandomGenerator.h"
#include "tests/analysis/MarkovTestTrees.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
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
            int error = 0;
            const double value = EvaluateMarkovNode(tree.markov, &error, 0, nullptr);
            ASSERT_EQ(error, 0) << "round " << round;
            EXPECT_NEAR(value, expected, 1e-9 * std::max(1.0, std::fabs(expected))) << "round " << round;
        }
    }
}

}  // namespace
