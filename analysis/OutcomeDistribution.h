#pragma once
// A discrete distribution of results: outcomes with probabilities and labels, as Monte Carlo simulation,
// the probability distribution graphs and the standard deviation of a node collect them. Equal outcomes
// may be merged on insertion; statistics are computed over a list sorted by one component of the triples.

#include "analysis/Outcome.h"
#include "analysis/OutcomeStatistics.h"
#include "foundation/PtrArray.h"

class OutcomeDistribution : public PtrArray {
public:
    explicit OutcomeDistribution(int16_t growBy = 16, bool ownsItems = true) : PtrArray(growBy, ownsItems) {}
    ~OutcomeDistribution() override;

    Outcome* OutcomeAt(int i) const { return static_cast<Outcome*>(At(i)); }

    // An outcome {0, 0, value}. With merge, an outcome with the same label (case-sensitive; null is empty)
    // and a triple equal within 1e-10 in every component takes the new probability added to its own;
    // otherwise the new outcome is appended. False when the list is full.
    bool Add(double value, double probability, const char* label, bool merge);
    bool AddTriple(const ValueTriple& triple, double probability, const char* label, bool merge);

    // Fills `output` (cleared by the caller; normally non-owning) with this list's items, copies of them
    // when `copy` is set, sorted ascending by the given component.
    void SortByComponent(OutcomeDistribution& output, int component, bool copy) const;

    // Statistics of a list sorted ascending by `component`; the tail percentiles at p and 1 - p only when
    // 0 < p < 0.5. The variance is scaled by `factor` and not divided by the total probability. An empty
    // list gives the all-zero record, a total probability of 0 the mean 0.
    OutcomeStatistics Statistics(double factor, int component, double p) const;

    // Square root of the sum of (v - mean)^2 * probability * factor, v being the currently selected
    // component of each triple.
    double StandardDeviation(double mean, double factor) const;

    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;

private:
    bool Insert(Outcome* outcome, bool merge);
};
