// Cost-effectiveness cohort models rolled back through the program's entry point, each against the same model
// written by hand as a competent programmer writes it: the variables worked out once per run, the discount
// factors carried from cycle to cycle, the lookup table read into an array beforehand.
//   first model: two strategies of a four-state model over 20 cycles; every root variable is a formula and
//     the rewards read them.
//   second model: two strategies of a five-state model over 61 cycles; a revision risk that changes with
//     time and a mortality table looked up by age.
//   probabilistic run of the first model: four of its variables drawn per sample; the hand-written loop
//     makes the same draws, rolls both strategies back, walks one individual through the better one and
//     keeps each sample's results.

#include "bench/Bench.h"

#include "analysis/MarkovCohort.h"
#include "analysis/MonteCarloSimulation.h"
#include "analysis/TreeEngines.h"
#include "widgets/MessageBoxes.h"
#include "formula/Distribution.h"
#include "formula/DistributionRecord.h"
#include "formula/DistributionSamplers.h"
#include "formula/DistributionTypes.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "formula/RunOutcome.h"
#include "foundation/UniformRandom.h"
#include "model/MarkovInfo.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

constexpr double kNegligible = 1e-12;  // shares the engine skips

struct Exit {
    const char* target;
    const char* probability;
};

// A state of `markov` with its cost and effectiveness rewards per cycle (payoffs 0 and 1) and its exits.
void AddState(TreeNode* markov, const char* name, const char* initial, const char* initialCost,
              const char* cost, const char* effect, std::initializer_list<Exit> exits)
{
    TreeDocument& document = *markov->document;
    TreeNode* state = document.AddChild(markov, exits.size() > 0 ? ChanceNode : TerminalNode, name, initial);
    for (int payoff = 0; payoff < 2; ++payoff) {
        state->SetMarkovRewardText(InitialReward, payoff == 0 ? initialCost : "0", payoff);
        state->SetMarkovRewardText(IncrementalReward, payoff == 0 ? cost : effect, payoff);
        state->SetMarkovRewardText(FinalReward, "0", payoff);
    }
    for (const Exit& exit : exits)
        document.AddChild(state, TerminalNode, exit.target, exit.probability)->SetMarkovJumpState(exit.target, false);
}

TreeNode* AddMarkov(TreeDocument& document, const char* name, const char* termination)
{
    TreeNode* markov = document.AddChild(document.Root, MarkovNode, name);
    markov->SetMarkovSharedTermination(termination);
    return markov;
}

std::vector<double> StrategyResults(const TreeDocument& document)
{
    std::vector<double> results;
    for (int i = 0; i < document.Root->childCount; ++i) {
        results.push_back(document.Root->GetChild(i)->triple.cost);
        results.push_back(document.Root->GetChild(i)->triple.effectiveness);
    }
    return results;
}

// ---- First model: Early, Late, Severe, Dead over 20 cycles; the new strategy adds a drug that slows both
// progressions.

constexpr int kFirstCycles = 20;

struct FirstInputs {
    double cEarly = 1701 + 1055, cLate = 3500 + 1055, cSevere = 9000 + 2500, cDrug = 4172.0 / 2;
    double uEarly = 1 - 0.1, uLate = 0.7 + 0.1, uSevere = 0.25 * 2;
    double pProg = 350.0 / 1734, pSev = 52.0 / 1734, pLateSev = 87.0 / 348, rr = 1 - 0.4, pDie = 0.01 + 0.005;
    double disc = 3.5 / 100;
};

// The root variables; those named in `sampled` are drawn from distributions 1, 2, ... in that order.
void DefineFirstVariables(TreeDocument& document, std::initializer_list<const char*> sampled = {})
{
    const char* const formulas[][2] = {
        {"cEarly", "1701+1055"}, {"cLate", "3500+1055"}, {"cSevere", "9000+2500"}, {"cDrug", "4172/2"},
        {"uEarly", "1-0.1"},     {"uLate", "0.7+0.1"},   {"uSevere", "0.25*2"},    {"pProg", "350/1734"},
        {"pSev", "52/1734"},     {"pLateSev", "87/348"}, {"rr", "1-0.4"},          {"pDie", "0.01+0.005"},
        {"disc", "3.5/100"}};
    for (const auto& variable : formulas) {
        std::string formula = variable[1];
        int index = 1;
        for (const char* name : sampled) {
            if (std::string(name) == variable[0])
                formula = "DistSamp(" + std::to_string(index) + ")";
            ++index;
        }
        document.EnsureVariable(variable[0], formula.c_str());
    }
}

void AddFirstStrategy(TreeDocument& document, const char* name, bool treated)
{
    TreeNode* markov = AddMarkov(document, name, "_stage >= 20");
    const std::string drug = treated ? "+cDrug" : "";
    const std::string slowing = treated ? "*rr" : "";
    const std::string early = "(cEarly" + drug + ")/(1+disc)^_stage";
    const std::string late = "(cLate" + drug + ")/(1+disc)^_stage";
    const std::string toLate = "pProg" + slowing;
    const std::string toSevere = "pSev" + slowing;
    const std::string lateToSevere = "pLateSev" + slowing;
    AddState(markov, "Early", "1", "0", early.c_str(), "uEarly/(1+disc)^_stage",
             {{"Late", toLate.c_str()}, {"Severe", toSevere.c_str()}, {"Dead", "pDie"}, {"Early", "#"}});
    AddState(markov, "Late", "0", "0", late.c_str(), "uLate/(1+disc)^_stage",
             {{"Severe", lateToSevere.c_str()}, {"Dead", "pDie"}, {"Late", "#"}});
    AddState(markov, "Severe", "0", "0", "cSevere/(1+disc)^_stage", "uSevere/(1+disc)^_stage",
             {{"Dead", "0.15+pDie"}, {"Severe", "#"}});
    AddState(markov, "Dead", "0", "0", "0", "0", {});
}

// The transition probabilities of one strategy of the first model, row by row (Early, Late, Severe, Dead).
struct FirstMatrix {
    double p[4][4] = {};
    double cost[4] = {};
    double effect[4] = {};

    FirstMatrix(const FirstInputs& in, bool treated)
    {
        const double toLate = treated ? in.pProg * in.rr : in.pProg;
        const double toSevere = treated ? in.pSev * in.rr : in.pSev;
        const double lateToSevere = treated ? in.pLateSev * in.rr : in.pLateSev;
        const double severeDies = 0.15 + in.pDie;
        p[0][1] = toLate;
        p[0][2] = toSevere;
        p[0][3] = in.pDie;
        p[0][0] = 1.0 - toLate - toSevere - in.pDie;
        p[1][2] = lateToSevere;
        p[1][3] = in.pDie;
        p[1][1] = 1.0 - lateToSevere - in.pDie;
        p[2][3] = severeDies;
        p[2][2] = 1.0 - severeDies;
        p[3][3] = 1.0;
        const double drug = treated ? in.cDrug : 0.0;
        const double costs[4] = {in.cEarly + drug, in.cLate + drug, in.cSevere, 0.0};
        const double effects[4] = {in.uEarly, in.uLate, in.uSevere, 0.0};
        for (int s = 0; s < 4; ++s) {
            cost[s] = costs[s];
            effect[s] = effects[s];
        }
    }
};

// One strategy's cohort: transitions at the current stage, the stage advanced, then the discounted rewards,
// until the termination stage.
void PlainFirstStrategy(const FirstInputs& in, bool treated, int cycles, double& cost, double& effect)
{
    const FirstMatrix m(in, treated);
    const double step = 1.0 / (1.0 + in.disc);
    double share[4] = {1.0, 0.0, 0.0, 0.0};
    double discount = 1.0;
    cost = 0.0;
    effect = 0.0;
    for (int stage = 1; stage < cycles; ++stage) {
        double next[4] = {0.0, 0.0, 0.0, 0.0};
        for (int s = 0; s < 4; ++s) {
            if (!(share[s] > kNegligible))
                continue;
            for (int t = 0; t < 4; ++t)
                next[t] += m.p[s][t] * share[s];
        }
        discount *= step;
        for (int s = 0; s < 4; ++s) {
            share[s] = next[s];
            if (share[s] > kNegligible) {
                cost += m.cost[s] * discount * share[s];
                effect += m.effect[s] * discount * share[s];
            }
        }
    }
}

void PlainFirstModel(const FirstInputs& in, int cycles, double* results)
{
    PlainFirstStrategy(in, false, cycles, results[0], results[1]);
    PlainFirstStrategy(in, true, cycles, results[2], results[3]);
}

// ---- Second model: a joint replacement over 61 cycles. The first replacement's risk of revision grows
// with time (a Weibull hazard, lowered by the new prosthesis); background mortality comes from a table by age.

constexpr int kSecondCycles = 61;
constexpr double kAges[] = {35, 45, 55, 65, 75, 85};
constexpr double kMortality[] = {0.00151, 0.00393, 0.0109, 0.0316, 0.0884, 0.181};

void DefineSecondVariables(TreeDocument& document)
{
    const char* const formulas[][2] = {
        {"age0", "55+5"},          {"lambda", "exp(-5.490935)"}, {"gamma", "exp(0.3740968)"},
        {"rrNew", "exp(-1.344474)"}, {"omrPrimary", "0.02*1"},  {"omrRevision", "0.02*1"},
        {"pReRevision", "0.04*1"}, {"cStandard", "394+0"},      {"cNew", "579+0"},
        {"cRevision", "5294+0"},   {"uSuccessP", "0.85*1"},     {"uRevision", "0.3*1"},
        {"uSuccessR", "0.75*1"},   {"discCost", "0.06*1"},      {"discEffect", "0.015*1"}};
    for (const auto& variable : formulas)
        document.EnsureVariable(variable[0], variable[1]);
}

void AddSecondStrategy(TreeDocument& document, const char* name, bool newProsthesis)
{
    TreeNode* markov = AddMarkov(document, name, "_stage >= 61");
    const std::string revision = std::string("1-exp(lambda") + (newProsthesis ? "*rrNew" : "") +
                                 "*(_stage^gamma-(_stage+1)^gamma))";
    const char* mortality = "mortality[age0+_stage]";
    AddState(markov, "Primary", "1", newProsthesis ? "cNew" : "cStandard", "0", "0",
             {{"Dead", "omrPrimary"}, {"SuccessP", "#"}});
    AddState(markov, "SuccessP", "0", "0", "0", "uSuccessP/(1+discEffect)^_stage",
             {{"Revision", revision.c_str()}, {"Dead", mortality}, {"SuccessP", "#"}});
    AddState(markov, "Revision", "0", "0", "cRevision/(1+discCost)^_stage", "uRevision/(1+discEffect)^_stage",
             {{"Dead", "omrRevision+mortality[age0+_stage]"}, {"SuccessR", "#"}});
    AddState(markov, "SuccessR", "0", "0", "0", "uSuccessR/(1+discEffect)^_stage",
             {{"Revision", "pReRevision"}, {"Dead", mortality}, {"SuccessR", "#"}});
    AddState(markov, "Dead", "0", "0", "0", "0", {});
}

struct SecondInputs {
    double age0 = 55 + 5, lambda = std::exp(-5.490935), gamma = std::exp(0.3740968), rrNew = std::exp(-1.344474);
    double omrPrimary = 0.02, omrRevision = 0.02, pReRevision = 0.04;
    double cStandard = 394, cNew = 579, cRevision = 5294;
    double uSuccessP = 0.85, uRevision = 0.3, uSuccessR = 0.75, discCost = 0.06, discEffect = 0.015;
};

// mortality: by stage, as the table gives it at age0 + stage.
void PlainSecondStrategy(const SecondInputs& in, const double* mortality, bool newProsthesis, int cycles,
                         double& cost, double& effect)
{
    enum { Primary, SuccessP, Revision, SuccessR, Dead };
    const double hazard = newProsthesis ? in.lambda * in.rrNew : in.lambda;
    const double costStep = 1.0 / (1.0 + in.discCost);
    const double effectStep = 1.0 / (1.0 + in.discEffect);
    double share[5] = {1.0, 0.0, 0.0, 0.0, 0.0};
    double costDiscount = 1.0;
    double effectDiscount = 1.0;
    cost = newProsthesis ? in.cNew : in.cStandard;
    effect = 0.0;
    double elapsed = 0.0;  // stage^gamma, carried to the next cycle
    for (int stage = 0; stage + 1 < cycles; ++stage) {
        const double following = std::pow(stage + 1.0, in.gamma);
        const double revise = 1.0 - std::exp(hazard * (elapsed - following));
        elapsed = following;
        const double dies = mortality[stage];
        double next[5] = {0.0, 0.0, 0.0, 0.0, 0.0};
        if (share[Primary] > kNegligible) {
            next[Dead] += in.omrPrimary * share[Primary];
            next[SuccessP] += (1.0 - in.omrPrimary) * share[Primary];
        }
        if (share[SuccessP] > kNegligible) {
            next[Revision] += revise * share[SuccessP];
            next[Dead] += dies * share[SuccessP];
            next[SuccessP] += (1.0 - revise - dies) * share[SuccessP];
        }
        if (share[Revision] > kNegligible) {
            const double revisionDies = in.omrRevision + dies;
            next[Dead] += revisionDies * share[Revision];
            next[SuccessR] += (1.0 - revisionDies) * share[Revision];
        }
        if (share[SuccessR] > kNegligible) {
            next[Revision] += in.pReRevision * share[SuccessR];
            next[Dead] += dies * share[SuccessR];
            next[SuccessR] += (1.0 - in.pReRevision - dies) * share[SuccessR];
        }
        if (share[Dead] > kNegligible)
            next[Dead] += share[Dead];
        costDiscount *= costStep;
        effectDiscount *= effectStep;
        const double costs[5] = {0.0, 0.0, in.cRevision * costDiscount, 0.0, 0.0};
        const double effects[5] = {0.0, in.uSuccessP * effectDiscount, in.uRevision * effectDiscount,
                                   in.uSuccessR * effectDiscount, 0.0};
        for (int s = 0; s < 5; ++s) {
            share[s] = next[s];
            if (share[s] > kNegligible) {
                cost += costs[s] * share[s];
                effect += effects[s] * share[s];
            }
        }
    }
}

// The tables directory of the run: a fresh folder under the temporary one, removed again at the end.
class BenchTables {
public:
    BenchTables()
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        directory = std::string(temp) + "kivo_bench_tables" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(directory.c_str(), nullptr);
        SetTablesDirectory(directory.c_str());
        LoadTablesDirectory();
    }
    ~BenchTables()
    {
        FreeTables();
        for (const std::string& name : names)
            DeleteFileA((directory + name + ".tbl").c_str());
        RemoveDirectoryA(directory.c_str());
    }
    LookupTable* Create(const char* name)
    {
        names.push_back(name);
        return CreateTable(name, name, "", LookupTable::Truncation, false);
    }

private:
    std::string directory;
    std::vector<std::string> names;
};

void AddDistribution(TreeDocument& document, int index, int type, double first, double second)
{
    const double values[] = {static_cast<double>(type), 0.0, first, second};
    auto* record = new DistributionRecord;
    record->index = index;
    record->SetDistribution(MakeDistributionFromValues(4, values, nullptr));
    record->SetOwner(&document);
    document.Distributions.InsertSorted(record);
}

// The hand-written draws of the probabilistic run, with the same kernels the distributions use.
struct PlainDraws {
    GammaVariateSource progressionA, progressionB, slowingA, slowingB, drug, utilityA, utilityB;

    void Draw(FirstInputs& in)
    {
        const double pa = progressionA.Next(350, 1.0);
        in.pProg = pa / (pa + progressionB.Next(1384, 1.0));
        const double sa = slowingA.Next(60, 1.0);
        in.rr = sa / (sa + slowingB.Next(40, 1.0));
        in.cDrug = drug.Next(100, 100 / 2086.0);
        const double ua = utilityA.Next(90, 1.0);
        in.uEarly = ua / (ua + utilityB.Next(10, 1.0));
    }
};

// One individual through a strategy of the first model: a uniform draw chooses each cycle's transition.
double PlainWalk(const FirstMatrix& m, double disc, int cycles, double& effect)
{
    const double step = 1.0 / (1.0 + disc);
    double discount = 1.0;
    double cost = 0.0;
    effect = 0.0;
    int state = 0;
    for (int stage = 1; stage < cycles; ++stage) {
        double u = UniformRandom(0.0, 1.0);
        int next = 3;
        for (int t = 0; t < 4; ++t) {
            if (u < m.p[state][t]) {
                next = t;
                break;
            }
            u -= m.p[state][t];
        }
        state = next;
        discount *= step;
        cost += m.cost[state] * discount;
        effect += m.effect[state] * discount;
    }
    return cost;
}

struct PlainSample {
    double options[4];
    double cost, effect;
};

}  // namespace

KIVO_BENCH(CostEffectivenessCohort)
{
    HostSilence quiet(Silence::Notices);
    TreeDocument document;
    document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    DefineFirstVariables(document);
    AddFirstStrategy(document, "Standard", false);
    AddFirstStrategy(document, "Drug", true);
    RollBackResult result = RollBackDocument(document);
    const std::vector<double> kivo = StrategyResults(document);
    const double perRun = BenchSecondsEach(500, [&] { result = RollBackDocument(document); });

    volatile int cycles = kFirstCycles;  // kept opaque so the loops are not folded away
    std::vector<double> plain(4);
    const double plainRun = BenchSecondsEach(200000, [&] {
        const FirstInputs inputs;
        PlainFirstModel(inputs, cycles, plain.data());
        BenchKeep(plain[0]);
    });
    if (result.status != 0)
        std::printf("roll back failed: %s\n", result.outcome.text.Text());
    std::printf("two strategies of 4 states over %d cycles, 13 root variables defined by formulas: status %d, "
                "KIVO %.2f us (aim 20 us), hand-written %.3f us\n",
                kFirstCycles, result.status, perRun * 1e6, plainRun * 1e6);
    BenchCompareAll("cost-effectiveness cohort, each strategy's cost and effectiveness", kivo, plain, perRun,
                    plainRun);

    // Each run after the drug's cost changed, as a sensitivity analysis runs: no value of a run before holds.
    constexpr int kChanges = 200;
    int change = 0;
    const double changedRun = BenchSecondsEach(kChanges, [&] {
        document.Root->SetBinding("cDrug", std::to_string(1000 + 10 * change++).c_str(), false);
        result = RollBackDocument(document);
    });
    const std::vector<double> changedKivo = StrategyResults(document);
    const double changedPlain = BenchSecondsEach(kChanges, [&] {
        FirstInputs inputs;
        inputs.cDrug = 1000 + 10 * (kChanges - 1);
        PlainFirstModel(inputs, cycles, plain.data());
        BenchKeep(plain[0]);
    });
    std::printf("each run after a change of the drug's cost: status %d, KIVO %.2f us, hand-written %.3f us\n",
                result.status, changedRun * 1e6, changedPlain * 1e6);
    BenchCompareAll("cost-effectiveness cohort after a change", changedKivo, plain, changedRun, changedPlain);
}

KIVO_BENCH(TimeDependentCohort)
{
    HostSilence quiet(Silence::Notices);
    BenchTables tables;
    LookupTable* table = tables.Create("mortality");
    if (table == nullptr) {
        std::printf("could not create the mortality table\n");
        return;
    }
    for (size_t i = 0; i < sizeof kAges / sizeof kAges[0]; ++i)
        table->SetEntry(kAges[i], kMortality[i]);
    const SecondInputs inputs;
    double mortality[kSecondCycles];
    for (int stage = 0; stage < kSecondCycles; ++stage) {
        RunFault fault;
        mortality[stage] = table->Lookup(inputs.age0 + stage, &fault);
    }

    TreeDocument document;
    document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    DefineSecondVariables(document);
    AddSecondStrategy(document, "Standard", false);
    AddSecondStrategy(document, "New prosthesis", true);
    RollBackResult result = RollBackDocument(document);
    const std::vector<double> kivo = StrategyResults(document);
    const double perRun = BenchSecondsEach(200, [&] { result = RollBackDocument(document); });

    volatile int cycles = kSecondCycles;
    std::vector<double> plain(4);
    const double plainRun = BenchSecondsEach(20000, [&] {
        const SecondInputs in;
        PlainSecondStrategy(in, mortality, false, cycles, plain[0], plain[1]);
        PlainSecondStrategy(in, mortality, true, cycles, plain[2], plain[3]);
        BenchKeep(plain[0]);
    });
    if (result.status != 0)
        std::printf("roll back failed: %s\n", result.outcome.text.Text());
    std::printf("two strategies of 5 states over %d cycles, time-dependent risk and a table: status %d, KIVO %.2f "
                "us, hand-written %.3f us\n",
                kSecondCycles, result.status, perRun * 1e6, plainRun * 1e6);
    BenchCompareAll("time-dependent cohort, each strategy's cost and effectiveness", kivo, plain, perRun, plainRun);

    // Each run after the new prosthesis's relative risk changed: its time-dependent risk is worked out anew.
    constexpr int kChanges = 100;
    int change = 0;
    auto relativeRisk = [](int i) { return 0.2 + 0.001 * i; };
    const double changedRun = BenchSecondsEach(kChanges, [&] {
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", relativeRisk(change++));
        document.Root->SetBinding("rrNew", text, false);
        result = RollBackDocument(document);
    });
    const std::vector<double> changedKivo = StrategyResults(document);
    const double changedPlain = BenchSecondsEach(kChanges, [&] {
        SecondInputs in;
        in.rrNew = relativeRisk(kChanges - 1);
        PlainSecondStrategy(in, mortality, false, cycles, plain[0], plain[1]);
        PlainSecondStrategy(in, mortality, true, cycles, plain[2], plain[3]);
        BenchKeep(plain[0]);
    });
    std::printf("each run after a change of the relative risk: status %d, KIVO %.2f us, hand-written %.3f us\n",
                result.status, changedRun * 1e6, changedPlain * 1e6);
    BenchCompareAll("time-dependent cohort after a change", changedKivo, plain, changedRun, changedPlain);
}

KIVO_BENCH(ProbabilisticCohort)
{
    HostSilence quiet(Silence::Notices);
    constexpr int kSamples = 1000;
    TreeDocument document;
    document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    AddDistribution(document, 1, DistBeta, 350, 1384);
    AddDistribution(document, 2, DistBeta, 60, 40);
    AddDistribution(document, 3, DistGamma, 100, 100 / 2086.0);
    AddDistribution(document, 4, DistBeta, 90, 10);
    DefineFirstVariables(document, {"pProg", "rr", "cDrug", "uEarly"});
    AddFirstStrategy(document, "Standard", false);
    AddFirstStrategy(document, "Drug", true);
    MonteCarloSimulation simulation(document.Root);
    MonteCarloSettings settings;
    settings.trials = kSamples;
    settings.seed = 1000;
    settings.reevaluatePath = 1;
    if (!simulation.Setup(settings))
        return;
    // The samples run back to back, as in a slice of the program's progress.
    const double perSample = BenchSecondsEach(1, [&] {
                                 MarkovRunReuse reuse(document);
                                 simulation.Begin();
                                 while (!simulation.RunTrial()) {
                                 }
                                 simulation.End();
                             }) / kSamples;

    // The hand-written run makes its own draws; its results are checked on KIVO's draws.
    volatile int cycles = kFirstCycles;
    std::vector<PlainSample> kept(kSamples);
    PlainDraws draws;
    const double plainPerSample = BenchSecondsEach(20, [&] {
                                      for (PlainSample& sample : kept) {
                                          FirstInputs in;
                                          draws.Draw(in);
                                          PlainFirstModel(in, cycles, sample.options);
                                          const bool treated = sample.options[2] / sample.options[3] <
                                                               sample.options[0] / sample.options[1];
                                          sample.cost = PlainWalk(FirstMatrix(in, treated), in.disc, cycles,
                                                                  sample.effect);
                                      }
                                      BenchKeep(kept.back().cost);
                                  }) / kSamples;
    std::vector<double> kivo;
    std::vector<double> plain;
    for (int i = 0; i < simulation.RecordCount(); ++i) {
        const MonteCarloTrialRecord& record = simulation.RecordAt(i);
        if (record.samples.size() != 4)
            continue;
        FirstInputs in;
        in.pProg = record.samples[0];
        in.rr = record.samples[1];
        in.cDrug = record.samples[2];
        in.uEarly = record.samples[3];
        double options[4];
        PlainFirstModel(in, kFirstCycles, options);
        kivo.insert(kivo.end(), record.optionValues.begin(), record.optionValues.end());
        plain.insert(plain.end(), options, options + 4);
    }
    std::printf("%d samples of four distributions: error %d, KIVO %.2f us per sample (aim 50 us), hand-written "
                "%.3f us (draws, both strategies, one individual's walk, results kept)\n",
                simulation.RecordCount(), static_cast<int>(simulation.error.Code()), perSample * 1e6, plainPerSample * 1e6);
    BenchCompareAll("probabilistic run, each sample's strategy costs and effectiveness", kivo, plain, perSample,
                    plainPerSample);
}
