#include "analysis/MonteCarloSimulation.h"

#include "analysis/ProbabilityVerification.h"
#include "analysis/RollBack.h"
#include "analysis/TreeQueries.h"
#include "analysis/VariableSubstitution.h"
#include "foundation/RandomGenerator.h"
#include "foundation/StringHelpers.h"
#include "formula/Distribution.h"
#include "model/DocVariable.h"
#include "model/DocumentVariableOps.h"
#include "model/NodePath.h"
#include "model/StoredAnalysis.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"

#include <cmath>
#include <ctime>

namespace {

// A decision node at or below the node; terminal and Markov nodes are not looked below.
bool HasDecisionAtOrBelow(const TreeNode* node)
{
    if (node->IsDecision())
        return true;
    if (node->IsEndNode())
        return false;
    for (int i = 0; i < node->childCount; ++i)
        if (HasDecisionAtOrBelow(node->GetChild(i)))
            return true;
    return false;
}

// Sets the calculation-state switches of a trial and restores them on every exit.
class TrialSwitches {
public:
    TrialSwitches(CalcState& calc, int32_t resample, int32_t fixedPath)
        : calc(calc), resample(calc.resample), fixedPath(calc.fixedPath), trialFlag1(calc.trialFlag1)
    {
        calc.resample = resample;
        calc.fixedPath = fixedPath;
        // End nodes are evaluated anew in each trial, since their payoffs may read the new samples.
        calc.trialFlag1 = 1;
    }
    ~TrialSwitches()
    {
        calc.resample = resample;
        calc.fixedPath = fixedPath;
        calc.trialFlag1 = trialFlag1;
    }
    TrialSwitches(const TrialSwitches&) = delete;
    TrialSwitches& operator=(const TrialSwitches&) = delete;

private:
    CalcState& calc;
    int32_t resample;
    int32_t fixedPath;
    int32_t trialFlag1;
};

}  // namespace

MonteCarloSimulation::MonteCarloSimulation(TreeNode* node) : node(node), document(node->document)
{
    optionCount = node->childCount;
    isDecision = node->IsDecision();
    costEffectiveness = document->IsCostEffectiveness();
    hasDecisions = HasDecisionAtOrBelow(node);
}

MonteCarloSimulation::~MonteCarloSimulation() = default;

bool MonteCarloSimulation::Setup(const MonteCarloSettings& settings)
{
    OutcomeRelay relay(outcome);
    if (!CheckRiskPreference(document, nullptr))
        return false;
    DistributionList& all = document->Distributions;
    // Without sampling every trial sees the same values, so the optimal path is fixed once.
    reevaluatePath = all.Count() > 0 && hasDecisions && settings.reevaluatePath != 0 &&
                     settings.samplingMode != SampleNone;
    if (settings.trials <= 0)
        return false;
    trials = static_cast<uint16_t>(settings.trials);
    weight = 1.0 / trials;
    totalWeight = 0.0;
    kept.reserve(trials);
    samplingMode = settings.samplingMode;
    sampled.RemoveAll();
    unsampled.RemoveAll();
    switch (samplingMode) {
    case SampleAll:
        for (int i = 0; i < all.Count(); ++i)
            sampled.Add(all.RecordAt(i));
        break;
    case SampleNone:
    case SampleChosen:
        for (int i = 0; i < all.Count(); ++i)
            unsampled.Add(all.RecordAt(i));
        if (samplingMode == SampleChosen) {
            for (int32_t index : settings.chosen) {
                DistributionRecord* record = document->FindDistributionByIndex(index);
                if (record == nullptr || sampled.IndexOf(record) >= 0)
                    continue;
                unsampled.RemovePtr(record);
                sampled.InsertSorted(record);
            }
        }
        break;
    default:
        return false;
    }
    if (settings.seed >= 1) {
        SeedRandom(static_cast<uint32_t>(settings.seed));
        for (int i = 0; i < sampled.Count(); ++i)
            if (Distribution* distribution = sampled.RecordAt(i)->GetDistribution())
                distribution->ResetSampler();
    } else {
        SeedRandom(static_cast<uint32_t>(std::time(nullptr)));
    }
    return true;
}

void MonteCarloSimulation::Begin()
{
    OutcomeRelay relay(outcome);
    // The trials draw other values and leave their own on the nodes: a rolled-back tree stops showing the
    // roll back's, and no check or probability of a trial trusts them.
    if (document->IsRolledBack())
        document->EndRolledBack();
    flaggedVariables.clear();
    ListFlaggedVariables(*document, &flaggedVariables);
    for (DocVariable* variable : flaggedVariables)
        variable->tValue3 = variable->tValue2;
    for (int i = 0; i < unsampled.Count(); ++i)
        unsampled.RecordAt(i)->sampled = 0;
    optionColumns = reevaluatePath ? static_cast<size_t>(optionCount) * (costEffectiveness ? 2 : 1) : 0;
    variableColumns = flaggedVariables.size();
    sampleColumns = static_cast<size_t>(sampled.Count());
    // Kept trials point into the columns and labels, so all three start again together.
    kept.clear();
    columns.clear();
    columns.reserve((optionColumns + variableColumns + sampleColumns) * trials);
    labels.assign(1, zString());
    nodeLabels.clear();
    RunFault sampleFault;
    document->ApplyToDistributions(&sampleFault);
    if (sampleFault)
        error.Set(sampleFault.Code());
    if (reevaluatePath || error)
        return;
    if (hasDecisions) {
        RollBackTree(node, &error, RollBackSilent);
        if (!error && !VerifyProbabilities(document, 0, node, nullptr, 0))
            error.Set(OutcomeCode::ProbabilitiesNotOne);
    }
}

bool MonteCarloSimulation::RunTrial()
{
    OutcomeRelay relay(outcome);
    trialCounter += 1;
    if (trialCounter > trials)
        return true;
    TrialSwitches switches(document->CalcStateRecord, samplingMode, reevaluatePath ? 0 : 1);
    return Trial();
}

bool MonteCarloSimulation::Trial()
{
    RunFault sampleFault;
    if (samplingMode != SampleNone)
        for (int i = 0; i < sampled.Count() && !sampleFault; ++i)
            sampled.RecordAt(i)->Sample(&sampleFault);
    for (DocVariable* variable : flaggedVariables)
        variable->tValue3 = variable->tValue2;
    if (sampleFault)
        error.Set(sampleFault.Code());
    if (error)
        return true;

    KeptTrial trial{0.0, 0.0, 0.0, -1, 0, 0, static_cast<uint32_t>(columns.size())};
    if (reevaluatePath) {
        RollBackTree(node, &error, RollBackSilent);
        if (error)
            return DropTrial(trial.columnStart);
        for (int i = 0; i < optionCount; ++i) {
            const ValueTriple& option = node->GetChild(i)->triple;
            if (costEffectiveness) {
                columns.push_back(option.cost);
                columns.push_back(option.effectiveness);
            } else {
                columns.push_back(option.value);
            }
        }
        if (samplingMode != SampleNone && node->optimal != nullptr && node->optimal->Count() > 0) {
            TreeNode* best = node->optimal->At(0);
            trial.optimalLabel = LabelOf(best);
            for (int i = 0; i < optionCount; ++i)
                if (node->GetChild(i) == best)
                    trial.optimalIndex = i;
        }
    }

    TreeNode* reached = nullptr;
    const double value = TrialValue(node, &error, &reached);
    if (error)
        return DropTrial(trial.columnStart);
    const ValueTriple triple{node->triple.cost, node->triple.effectiveness, value};
    TrackExtremes(triple);
    if (reached != nullptr)
        trial.outcomeLabel = LabelOf(reached);
    AddOutcome(triple, labels[static_cast<size_t>(trial.outcomeLabel)].Text());
    totalWeight += weight;

    trial.value = value;
    trial.cost = triple.cost;
    trial.effectiveness = triple.effectiveness;
    for (DocVariable* variable : flaggedVariables)
        columns.push_back(variable->tValue3);
    for (int i = 0; i < sampled.Count(); ++i)
        columns.push_back(sampled.RecordAt(i)->CurrentSample(&sampleFault));
    kept.push_back(trial);
    if (sampleFault)
        error.Set(sampleFault.Code());
    return static_cast<bool>(error);
}

bool MonteCarloSimulation::DropTrial(uint32_t columnStart)
{
    columns.resize(columnStart);
    // Escape inside a trial (a Markov walk or a roll back watches for it) ends the run as Stop does: the
    // trials done are the results.
    if (error.Code() == OutcomeCode::Cancelled)
        error.Clear();
    return true;
}

int32_t MonteCarloSimulation::LabelOf(const TreeNode* labelled)
{
    labelled->GetShortText(shortText, 30);
    for (auto& known : nodeLabels) {
        if (known.first != labelled)
            continue;
        if (labels[static_cast<size_t>(known.second)] != shortText) {
            known.second = static_cast<int32_t>(labels.size());
            labels.push_back(shortText);
        }
        return known.second;
    }
    nodeLabels.emplace_back(labelled, static_cast<int32_t>(labels.size()));
    labels.push_back(shortText);
    return nodeLabels.back().second;
}

MonteCarloTrialRecord MonteCarloSimulation::RecordAt(int i) const
{
    const KeptTrial& trial = kept[static_cast<size_t>(i)];
    MonteCarloTrialRecord record;
    record.outcomeLabel = labels[static_cast<size_t>(trial.outcomeLabel)];
    record.optimalLabel = labels[static_cast<size_t>(trial.optimalLabel)];
    record.value = trial.value;
    record.cost = trial.cost;
    record.effectiveness = trial.effectiveness;
    record.optimalIndex = trial.optimalIndex;
    const double* at = columns.data() + trial.columnStart;
    record.optionValues.assign(at, at + optionColumns);
    at += optionColumns;
    record.variableValues.assign(at, at + variableColumns);
    at += variableColumns;
    record.samples.assign(at, at + sampleColumns);
    return record;
}

void MonteCarloSimulation::AddOutcome(const ValueTriple& triple, const char* label)
{
    // A wider window than the tolerance, so that no rounding of its ends loses a candidate; the first
    // equal outcome in list order takes the weight.
    const double margin = 2e-10;
    int first = -1;
    for (auto it = outcomeIndex.lower_bound(triple.value - margin);
         it != outcomeIndex.end() && it->first <= triple.value + margin; ++it) {
        const Outcome* existing = outcomes.OutcomeAt(it->second);
        if ((first < 0 || it->second < first) && existing->label == label && existing->triple.NearlyEqual(triple))
            first = it->second;
    }
    if (first >= 0) {
        outcomes.OutcomeAt(first)->probability += weight;
        return;
    }
    if (outcomes.AddTriple(triple, weight, label, false) && !std::isnan(triple.value))
        outcomeIndex.emplace(triple.value, outcomes.Count() - 1);
}

void MonteCarloSimulation::TrackExtremes(const ValueTriple& triple)
{
    if (kept.empty()) {
        minimum = maximum = triple;
        return;
    }
    if (triple.value < minimum.value)
        minimum.value = triple.value;
    else if (triple.value > maximum.value)
        maximum.value = triple.value;
    if (!costEffectiveness)
        return;
    if (triple.cost < minimum.cost)
        minimum.cost = triple.cost;
    else if (triple.cost > maximum.cost)
        maximum.cost = triple.cost;
    if (triple.effectiveness < minimum.effectiveness)
        minimum.effectiveness = triple.effectiveness;
    else if (triple.effectiveness > maximum.effectiveness)
        maximum.effectiveness = triple.effectiveness;
}

void MonteCarloSimulation::End()
{
    if (totalWeight > 0.0 && totalWeight < 1.0)
        for (int i = 0; i < outcomes.Count(); ++i)
            outcomes.OutcomeAt(i)->probability /= totalWeight;
    for (DocVariable* variable : flaggedVariables)
        variable->tValue3 = variable->tValue1;
    for (int i = 0; i < unsampled.Count(); ++i)
        unsampled.RecordAt(i)->sampled = 1;
}

OutcomeStatistics MonteCarloSimulation::Statistics(int component) const
{
    OutcomeDistribution sorted(16, false);
    outcomes.SortByComponent(sorted, component, false);
    return sorted.Statistics(1.0, component, -1.0);
}

StoredAnalysis* MakeMonteCarloRecord(TreeNode* node, const MonteCarloSettings& settings)
{
    StoredAnalysis* record = NewStoredRecordAt(MonteCarloKind, node, 0);
    AddNumberItem(*record->parameters, settings.trials);
    AddNumberItem(*record->parameters, settings.reevaluatePath);
    AddNumberItem(*record->parameters, static_cast<long>(settings.chosen.size()));
    for (int32_t index : settings.chosen)
        AddNumberItem(*record->parameters, index);
    AddNumberItem(*record->parameters, settings.samplingMode);
    AddNumberItem(*record->parameters, settings.seed);
    return record;
}

TreeNode* ReadMonteCarloRecord(TreeDocument* document, StoredAnalysis* record, MonteCarloSettings& settings)
{
    const StoredNameList& parameters = *record->parameters;
    long trials = 0;
    long reevaluate = 0;
    long count = 0;
    if (!ReadIntegerItem(parameters, 1, trials) || !ReadIntegerItem(parameters, 2, reevaluate) ||
        !ReadIntegerItem(parameters, 3, count) || trials < 1 || trials > 32000)
        return nullptr;
    // The count is trusted only as far as the list reaches.
    if (count < 0 || count > parameters.Count() - 4)
        return nullptr;
    settings = MonteCarloSettings();
    settings.trials = static_cast<int16_t>(trials);
    settings.reevaluatePath = reevaluate != 0 ? 1 : 0;
    for (int i = 0; i < count; ++i) {
        long index = 0;
        if (!ReadIntegerItem(parameters, 4 + i, index))
            return nullptr;
        settings.chosen.push_back(static_cast<int32_t>(index));
    }
    long mode = 0;
    long seed = 0;
    if (ReadIntegerItem(parameters, 4 + static_cast<int>(count), mode) &&
        ReadIntegerItem(parameters, 5 + static_cast<int>(count), seed)) {
        settings.samplingMode = static_cast<int16_t>(mode);
        settings.seed = static_cast<int16_t>(seed >= 1 && seed <= 32767 ? seed : 0);
    } else {
        settings.samplingMode = SampleChosen;
        settings.seed = 0;
    }
    const zString* path = parameters.At(0);
    return path != nullptr ? FindNodeByPath(document->Root, path->Text()) : nullptr;
}

void DescribeMonteCarlo(TreeDocument* document, StoredAnalysis* record, zString& text)
{
    MonteCarloSettings settings;
    TreeNode* node = ReadMonteCarloRecord(document, record, settings);
    text = "Monte Carlo Simulation\r\nat ";
    if (node != nullptr) {
        zString name;
        node->GetShortText(name, 30);
        text += name;
    } else {
        text += "(Unknown)";
    }
    long trials = 0;
    text += "\r\n";
    AppendInt(text, ReadIntegerItem(*record->parameters, 1, trials) ? trials : 0);
    text += " Trials";
}
