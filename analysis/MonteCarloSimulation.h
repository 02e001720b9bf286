#pragma once
// Monte Carlo simulation at a node: in each trial the chosen distributions of the document are sampled and
// the node is evaluated once along random branches. Each trial's outcome enters an outcome list with weight
// 1/n; a record per trial keeps what the report lists. A caller drives it one trial per call:
// Setup, Begin, RunTrial until it answers true or the user stops, then End exactly once.

#include "analysis/OutcomeDistribution.h"
#include "foundation/ValueTriple.h"
#include "foundation/zString.h"
#include "formula/DistributionList.h"
#include "formula/RunOutcome.h"

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

class DocVariable;
struct StoredAnalysis;
class TextReport;
class TreeDocument;
struct TreeNode;

// The results a simulation shows (MonteCarloSimulation::ShowResult).
enum MonteCarloResult : int {
    OutcomeDistributionResult = 1,
    StrategyFrequencyResult = 2,
    CostDistributionResult = 3,
    EffectivenessDistributionResult = 4,
};

// Sampling modes: nothing, every distribution, the chosen ones.
enum MonteCarloSampling : int16_t { SampleNone = 0, SampleAll = 1, SampleChosen = -2 };

struct MonteCarloSettings {
    int16_t trials = 100;
    // >= 1 selects a predictable sequence; otherwise the clock seeds it.
    int16_t seed = 0;
    int16_t reevaluatePath = 0;
    int16_t samplingMode = SampleAll;
    // Index numbers of the chosen distributions (SampleChosen).
    std::vector<int32_t> chosen;
};

// A trial as the report lists it.
struct MonteCarloTrialRecord {
    zString outcomeLabel;
    zString optimalLabel;
    double value = 0.0;
    double cost = 0.0;
    double effectiveness = 0.0;
    // Per option its expected value, or its cost then its effectiveness; empty without re-evaluation.
    std::vector<double> optionValues;
    std::vector<double> samples;
    std::vector<double> variableValues;
    int32_t optimalIndex = -1;
};

class MonteCarloSimulation {
public:
    explicit MonteCarloSimulation(TreeNode* node);
    MonteCarloSimulation(const MonteCarloSimulation&) = delete;
    MonteCarloSimulation& operator=(const MonteCarloSimulation&) = delete;
    ~MonteCarloSimulation();

    // False when the risk preference check refuses, trials is 0 or the sampling mode is unknown.
    bool Setup(const MonteCarloSettings& settings);
    // Before the first trial; a rolled-back tree stops being rolled back, since the trials change its values.
    void Begin();
    // One trial; true when the simulation is done, failed or was stopped by Escape within the trial (such a
    // trial is neither recorded nor counted; a stop leaves no error).
    bool RunTrial();
    // After the last trial or a stop: the outcome probabilities of an early stop are rescaled to sum to 1.
    void End();
    // Statistics of the outcomes sorted by the component (ValueTriple numbering).
    OutcomeStatistics Statistics(int component) const;
    // Hands a graph of the result to the program (MonteCarloResult); false when none is made: the outcomes
    // do not vary (said in a message), or no strategy frequency without per-trial re-evaluation.
    bool ShowResult(int choice) const;
    // The ordered list of trials with every column; the options do not change it.
    void WriteReport(TextReport& report, int options) const;

    int RecordCount() const { return static_cast<int>(kept.size()); }
    // The record of trial i, made from what the trial kept.
    MonteCarloTrialRecord RecordAt(int i) const;

    uint16_t trialCounter = 0;
    uint16_t trials = 0;
    int32_t optionCount = 0;
    bool isDecision = false;
    int32_t samplingMode = SampleAll;
    RunFault error;
    // What setting up, beginning and the trials reported (each reported on as it ends).
    RunOutcome outcome;
    bool costEffectiveness = false;
    bool hasDecisions = false;
    bool reevaluatePath = false;
    OutcomeDistribution outcomes;
    std::vector<DocVariable*> flaggedVariables;
    DistributionList sampled{4, false};
    DistributionList unsampled{4, false};
    double weight = 0.0;
    double totalWeight = 0.0;
    ValueTriple minimum;
    ValueTriple maximum;
    TreeNode* node;
    TreeDocument* document;

private:
    bool Trial();
    // Drops the trial in progress (its columns from columnStart on); always true, the run ends.
    bool DropTrial(uint32_t columnStart);
    void TrackExtremes(const ValueTriple& triple);
    // Merges the trial's outcome into an equal one (same label, triple within 1e-10) or appends it, as the
    // outcome list's merging insertion does, finding the candidates by value instead of scanning the list.
    void AddOutcome(const ValueTriple& triple, const char* label);

    // The position in `labels` of the node's short text.
    int32_t LabelOf(const TreeNode* labelled);

    // The outcomes' list positions by value.
    std::multimap<double, int> outcomeIndex;

    // What each trial keeps, without an allocation of its own: its numbers, its labels as positions in
    // `labels`, and its option values, variable values and samples in `columns` from columnStart on.
    struct KeptTrial {
        double value;
        double cost;
        double effectiveness;
        int32_t optimalIndex;
        int32_t outcomeLabel;
        int32_t optimalLabel;
        uint32_t columnStart;
    };
    std::vector<KeptTrial> kept;
    std::vector<double> columns;
    size_t optionColumns = 0;
    size_t variableColumns = 0;
    size_t sampleColumns = 0;
    // Every label met, the empty one first; the last label made for each node.
    std::vector<zString> labels;
    std::vector<std::pair<const TreeNode*, int32_t>> nodeLabels;
    zString shortText;
};

// Stored form of a simulation's settings (kind MonteCarloKind): node path, trials, re-evaluate flag, number
// of chosen distributions, their index numbers, sampling mode, seed.
[[nodiscard]] StoredAnalysis* MakeMonteCarloRecord(TreeNode* node, const MonteCarloSettings& settings);
// The simulated node with the settings read back, or null when the node is not found or the record is
// short. A record without sampling mode and seed samples the chosen distributions with a clock seed.
TreeNode* ReadMonteCarloRecord(TreeDocument* document, StoredAnalysis* record, MonteCarloSettings& settings);
// "Monte Carlo Simulation", "at " and the node (or "(Unknown)"), and the number of trials, on three lines.
void DescribeMonteCarlo(TreeDocument* document, StoredAnalysis* record, zString& text);
