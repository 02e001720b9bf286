// A small treatment model rolled back whole: a decision between two strategies, each a Markov cohort of
// four states (early, late, severe, dead) over 20 cycles. Background mortality comes from a lookup table
// indexed by the stage; the second strategy slows progression to 60%. Each living state earns its
// discounted quality weight per cycle.

#include "bench/Bench.h"

#include "analysis/MarkovCohort.h"
#include "analysis/MonteCarloSimulation.h"
#include "analysis/RollBack.h"
#include "app/MessageBoxes.h"
#include "formula/Distribution.h"
#include "formula/DistributionRecord.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "model/MarkovInfo.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

constexpr int kCycles = 20;
constexpr int kStates = 4;
// Background mortality by stage: each entry holds from its stage until the next (truncation).
constexpr double kMortalityStages[] = {0, 5, 10, 15};
constexpr double kMortality[] = {0.01, 0.015, 0.02, 0.03};
constexpr double kQuality[kStates] = {1.0, 0.8, 0.5, 0.0};
constexpr double kSlowing = 0.6;
constexpr double kPlainProgression[] = {0.2, 0.05, 0.25, kSlowing};

TreeNode* AddNode(TreeNode* parent, int kind, const char* text, const char* probability)
{
    auto* node = new TreeNode(parent->document);
    node->SetKind(kind, false);
    node->SetText(text, false);
    node->SetProbabilityText(probability, false);
    parent->InsertChild(node, -1);
    return node;
}

struct Exit {
    const char* target;
    const char* probability;
};

void AddState(TreeNode* markov, const char* name, const char* initial, const char* reward,
              std::initializer_list<Exit> exits)
{
    TreeNode* state = AddNode(markov, exits.size() > 0 ? ChanceNode : TerminalNode, name, initial);
    state->SetMarkovRewardText(InitialReward, "0", 0);
    state->SetMarkovRewardText(IncrementalReward, reward, 0);
    state->SetMarkovRewardText(FinalReward, "0", 0);
    for (const Exit& exit : exits)
        AddNode(state, TerminalNode, exit.target, exit.probability)->SetMarkovJumpState(exit.target, false);
}

// The progression probabilities, as numbers or as samples of distributions.
struct Progression {
    const char* early;
    const char* severe;
    const char* late;
};
constexpr Progression kFixedProgression{"0.2", "0.05", "0.25"};
constexpr Progression kSampledProgression{"DistSamp(1)", "DistSamp(2)", "DistSamp(3)"};

// slowing is "" for the first strategy and "*0.6" (or "*DistSamp(4)") for the second.
void AddStrategy(TreeNode* decision, const char* name, const std::string& slowing,
                 const Progression& progression = kFixedProgression)
{
    TreeNode* markov = AddNode(decision, MarkovNode, name, "");
    markov->SetMarkovTerminationText("_stage >= 20", 0);
    const std::string early = progression.early + slowing;
    const std::string severe = progression.severe + slowing;
    const std::string late = progression.late + slowing;
    AddState(markov, "Early", "1", "1/1.035^_stage",
             {{"Late", early.c_str()}, {"Severe", severe.c_str()}, {"Dead", "mortality[_stage]"}, {"Early", "#"}});
    AddState(markov, "Late", "0", "0.8/1.035^_stage",
             {{"Severe", late.c_str()}, {"Dead", "mortality[_stage]"}, {"Late", "#"}});
    AddState(markov, "Severe", "0", "0.5/1.035^_stage", {{"Dead", "0.15 + mortality[_stage]"}, {"Severe", "#"}});
    AddState(markov, "Dead", "0", "0", {});
}

// One strategy's cohort in plain arrays, in the engine's order: transitions at the current stage, the stage
// advanced, then the discounted rewards until the termination stage. Shares of at most 1e-12 are skipped as
// the engine skips them.
double PlainStrategy(const double* mortality, const double* progression, double slowing, int cycles)
{
    constexpr double kNegligible = 1e-12;
    const double early = progression[0] * slowing;
    const double severe = progression[1] * slowing;
    const double late = progression[2] * slowing;
    double share[kStates] = {1.0, 0.0, 0.0, 0.0};
    double total = 0.0;
    for (int stage = 0;;) {
        const double dead = mortality[stage];
        double next[kStates] = {0.0, 0.0, 0.0, 0.0};
        if (share[0] > kNegligible) {
            next[1] += early * share[0];
            next[2] += severe * share[0];
            next[3] += dead * share[0];
            next[0] += (1.0 - early - severe - dead) * share[0];
        }
        if (share[1] > kNegligible) {
            next[2] += late * share[1];
            next[3] += dead * share[1];
            next[1] += (1.0 - late - dead) * share[1];
        }
        if (share[2] > kNegligible) {
            const double dies = 0.15 + dead;
            next[3] += dies * share[2];
            next[2] += (1.0 - dies) * share[2];
        }
        if (share[3] > kNegligible)
            next[3] += share[3];
        for (int s = 0; s < kStates; ++s)
            share[s] = next[s];
        if (++stage >= cycles)
            return total;
        const double discount = std::pow(1.035, stage);
        double stageSum = 0.0;
        for (int s = 0; s < kStates; ++s) {
            if (share[s] > kNegligible)
                stageSum += kQuality[s] / discount * share[s];
        }
        total += stageSum;
    }
}

// progression: early, severe and late progression, then the second strategy's slowing.
double PlainRollBack(const double* mortality, const double* progression, int cycles)
{
    const double first = PlainStrategy(mortality, progression, 1.0, cycles);
    const double second = PlainStrategy(mortality, progression, progression[3], cycles);
    return second > first ? second : first;
}

double SecondsPerRepetition(long repetitions, const std::function<void()>& body)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    for (long i = 0; i < repetitions; ++i)
        body();
    return std::chrono::duration<double>(Clock::now() - start).count() / repetitions;
}

void AddUniform(TreeDocument& document, int index, double low, double high)
{
    auto* record = new DistributionRecord;
    record->index = index;
    Distribution* uniform = MakeDistribution(2);
    uniform->Parameter(0)->SetText(std::to_string(low).c_str());
    uniform->Parameter(1)->SetText(std::to_string(high).c_str());
    record->SetDistribution(uniform);
    record->SetOwner(&document);
    document.Distributions.InsertSorted(record);
}

// A probabilistic run: the three progression probabilities and the slowing drawn per sample, the optimal
// strategy re-evaluated by a whole roll back in each. The hand-written loop takes the samples KIVO drew.
void ProbabilisticRun(const double* mortality)
{
    constexpr int kSamples = 1000;
    TreeDocument window;
    AddUniform(window, 1, 0.15, 0.25);
    AddUniform(window, 2, 0.03, 0.07);
    AddUniform(window, 3, 0.2, 0.3);
    AddUniform(window, 4, 0.5, 0.7);
    AddStrategy(window.Root, "Standard", "", kSampledProgression);
    AddStrategy(window.Root, "Combined", "*DistSamp(4)", kSampledProgression);
    MonteCarloSimulation simulation(window.Root);
    MonteCarloSettings settings;
    settings.trials = kSamples;
    settings.seed = 1000;
    settings.reevaluatePath = 1;
    if (!simulation.Setup(settings))
        return;
    const double perSample = SecondsPerRepetition(1, [&] {
                                 // The trials run back to back, as in a slice of the progress.
                                 MarkovRunReuse reuse;
                                 simulation.Begin();
                                 while (!simulation.RunTrial()) {
                                 }
                                 simulation.End();
                             }) / kSamples;
    double value = 0.0;
    std::vector<double> samples;
    for (int i = 0; i < simulation.RecordCount(); ++i) {
        const MonteCarloTrialRecord& record = simulation.RecordAt(i);
        value += std::max(record.optionValues[0], record.optionValues[1]);
        samples.insert(samples.end(), record.samples.begin(), record.samples.end());
    }
    volatile int cycles = kCycles;  // kept opaque so the loops are not folded away
    double plainValue = 0.0;
    const int count = simulation.RecordCount();
    const double plainPerSample = SecondsPerRepetition(20, [&] {
                                      plainValue = 0.0;
                                      for (int i = 0; i < count; ++i)
                                          plainValue += PlainRollBack(mortality, &samples[4 * i], cycles);
                                      BenchKeep(plainValue);
                                  }) / count;
    std::printf("%d samples of four distributions: error %d, KIVO %.2f us per sample (roll back and one "
                "individual's walk), hand-written roll back %.3f us\n",
                count, simulation.error, perSample * 1e6, plainPerSample * 1e6);
    BenchCompare("probabilistic run, sum of the optimal values", value, plainValue, perSample, plainPerSample);
}


}  // namespace

KIVO_BENCH(TreatmentCohortRollBack)
{
    HostSilence quiet(Silence::Notices);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string directory =
        std::string(temp) + "kivo_bench_tables" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(directory.c_str(), nullptr);
    SetTablesDirectory(directory.c_str());
    LoadTablesDirectory();
    LookupTable* table = CreateTable("mortality", "mortality", "", LookupTable::Truncation, false);
    if (table == nullptr) {
        std::printf("could not create the mortality table in %s\n", directory.c_str());
        return;
    }
    for (int i = 0; i < 4; ++i)
        table->SetEntry(kMortalityStages[i], kMortality[i]);
    double mortality[kCycles];
    for (int stage = 0; stage < kCycles; ++stage) {
        int32_t err = 0;
        mortality[stage] = table->Lookup(stage, &err);
    }

    {
        TreeDocument window;
        AddStrategy(window.Root, "Standard", "");
        AddStrategy(window.Root, "Combined", "*0.6");
        int error = 0;
        const double value = RollBackTree(window.Root, &error, RollBackSilent);
        const double perRun = SecondsPerRepetition(500, [&] {
            error = 0;
            BenchKeep(RollBackTree(window.Root, &error, RollBackSilent));
        });
        volatile int cycles = kCycles;  // kept opaque so the loops are not folded away
        double plainValue = 0.0;
        const double plainRun = SecondsPerRepetition(50000, [&] {
            plainValue = PlainRollBack(mortality, kPlainProgression, cycles);
            BenchKeep(plainValue);
        });
        std::printf("two strategies of %d states over %d cycles: error %d, KIVO %.2f us, hand-written %.3f us\n",
                    kStates, kCycles, error, perRun * 1e6, plainRun * 1e6);
        BenchCompare("whole roll back", value, plainValue, perRun, plainRun);

        // What does not grow with the cycles: preparing and finishing each cohort run and the decision.
        for (int i = 0; i < window.Root->childCount; ++i)
            window.Root->GetChild(i)->SetMarkovTerminationText("_stage >= 1", 0);
        const double oneCycle = SecondsPerRepetition(2000, [&] {
            error = 0;
            BenchKeep(RollBackTree(window.Root, &error, RollBackSilent));
        });
        std::printf("a roll back with one cycle per strategy: %.2f us\n", oneCycle * 1e6);
    }
    ProbabilisticRun(mortality);
    FreeTables();
    DeleteFileA((directory + "mortality.tbl").c_str());
    RemoveDirectoryA(directory.c_str());
}
