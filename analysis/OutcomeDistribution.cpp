#include "analysis/OutcomeDistribution.h"

#include <cmath>

namespace {

int CompareSelected(const void* a, const void* b)
{
    const Outcome* first = *static_cast<Outcome* const*>(a);
    const Outcome* second = *static_cast<Outcome* const*>(b);
    return first->triple.Compare(second->triple);
}

// The percentiles of the second pass: each is taken at the first outcome whose cumulative probability
// reaches its threshold.
struct Percentile {
    double threshold;
    double* value;
    int32_t* found;
};

}  // namespace

OutcomeDistribution::~OutcomeDistribution()
{
    Clear();
}

bool OutcomeDistribution::Add(double value, double probability, const char* label, bool merge)
{
    ValueTriple triple;
    triple.value = value;
    return AddTriple(triple, probability, label, merge);
}

bool OutcomeDistribution::AddTriple(const ValueTriple& triple, double probability, const char* label, bool merge)
{
    Outcome* outcome = new Outcome;
    outcome->triple = triple;
    outcome->probability = probability;
    outcome->label = label;
    return Insert(outcome, merge);
}

bool OutcomeDistribution::Insert(Outcome* outcome, bool merge)
{
    if (merge) {
        for (int i = 0; i < Count(); ++i) {
            Outcome* existing = OutcomeAt(i);
            if (existing->label == outcome->label && existing->triple.NearlyEqual(outcome->triple)) {
                existing->probability += outcome->probability;
                delete outcome;
                return true;
            }
        }
    }
    if (PtrArray::Add(outcome))
        return true;
    delete outcome;
    return false;
}

void OutcomeDistribution::SortByComponent(OutcomeDistribution& output, int component, bool copy) const
{
    ValueTripleSelector selector(component);
    output.Copy(*this, copy);
    output.Sort(CompareSelected);
}

OutcomeStatistics OutcomeDistribution::Statistics(double factor, int component, double p) const
{
    OutcomeStatistics result;
    if (IsEmpty())
        return result;
    const bool withTails = p > 0.0 && p < 0.5;

    double total = 0.0;
    double sum = 0.0;
    double bestProbability = 0.0;
    for (int i = 0; i < Count(); ++i) {
        const Outcome* outcome = OutcomeAt(i);
        const double v = outcome->triple.Component(component);
        total += outcome->probability;
        sum += v * outcome->probability;
        if (outcome->probability > bestProbability) {
            bestProbability = outcome->probability;
            result.mode = v;
        }
    }
    result.mean = total != 0.0 ? sum / total : 0.0;

    Percentile percentiles[] = {
        {0.95 * total, &result.percentile95, &result.found95},
        {0.5 * total, &result.median, &result.foundMedian},
        {0.05 * total, &result.percentile5, &result.found5},
        {p * total, &result.lowerTail, &result.foundLowerTail},
        {(1.0 - p) * total, &result.upperTail, &result.foundUpperTail},
    };
    const int percentileCount = withTails ? 5 : 3;
    double cumulative = 0.0;
    for (int i = 0; i < Count(); ++i) {
        const Outcome* outcome = OutcomeAt(i);
        const double v = outcome->triple.Component(component);
        result.variance += outcome->probability * (v - result.mean) * (v - result.mean) * factor;
        cumulative += outcome->probability;
        for (int k = 0; k < percentileCount; ++k) {
            if (!*percentiles[k].found && percentiles[k].threshold <= cumulative) {
                *percentiles[k].value = v;
                *percentiles[k].found = 1;
            }
        }
    }
    result.standardDeviation = std::sqrt(result.variance);
    result.minimum = OutcomeAt(0)->triple.Component(component);
    result.maximum = OutcomeAt(Count() - 1)->triple.Component(component);
    return result;
}

double OutcomeDistribution::StandardDeviation(double mean, double factor) const
{
    double sum = 0.0;
    for (int i = 0; i < Count(); ++i) {
        const Outcome* outcome = OutcomeAt(i);
        const double difference = outcome->triple.Selected() - mean;
        sum += difference * difference * outcome->probability * factor;
    }
    return std::sqrt(sum);
}

void OutcomeDistribution::StoreItem(Archive& archive, void* item)
{
    static_cast<Outcome*>(item)->Serialize(archive);
}

void* OutcomeDistribution::LoadItem(Archive& archive)
{
    Outcome* outcome = new Outcome;
    outcome->Serialize(archive);
    return outcome;
}

void* OutcomeDistribution::CloneItem(void* item)
{
    return new Outcome(*static_cast<Outcome*>(item));
}

void OutcomeDistribution::DeleteItem(void* item)
{
    delete static_cast<Outcome*>(item);
}
