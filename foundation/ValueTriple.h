#pragma once
// The value of a node or of one analysis cell: cost, effectiveness and value. In cost-effectiveness work the
// value is the cost/effectiveness ratio; elsewhere it is the expected value.

#include <cstdint>

class Archive;
class VersionRecord;

// Component numbers: 1 cost, 2 effectiveness, anything else the value.
enum ValueComponent { ComponentCost = 1, ComponentEffectiveness = 2, ComponentValue = 3 };

constexpr double kNoRatio = 1e20;

struct ValueTriple {
    double cost = 0.0;
    double effectiveness = 0.0;
    double value = 0.0;

    double Component(int component) const;
    // The component that the global selector names.
    double Selected() const;
    // Sign of Selected() minus the other's Selected(): -1, 0 or 1.
    int Compare(const ValueTriple& other) const;
    // Each component differs by less than 1e-10.
    bool NearlyEqual(const ValueTriple& other) const;
    // value = cost / effectiveness, or 1e20 when the effectiveness is 0 or less.
    void ComputeRatio();
    // Stored form: cost, effectiveness, value as three doubles.
    void Serialize(Archive& archive);

    // The component that comparisons and sorting use (initially the value); a ValueTripleSelector sets it.
    static int Selector() { return selector; }

private:
    friend class ValueTripleSelector;
    static int selector;
};

// Saves the global selector, sets a new one, and restores the saved one when it goes out of scope.
class ValueTripleSelector {
public:
    explicit ValueTripleSelector(int component) : saved(ValueTriple::selector) { ValueTriple::selector = component; }
    ~ValueTripleSelector() { ValueTriple::selector = saved; }
    ValueTripleSelector(const ValueTripleSelector&) = delete;
    ValueTripleSelector& operator=(const ValueTripleSelector&) = delete;

private:
    int saved;
};

void StoreValueTriples(Archive& archive, ValueTriple* triples, int count);
// A new array of count triples (owned by the caller). Files older than 3.5 hold one plain double per
// triple, which becomes the value; cost and effectiveness stay 0.
ValueTriple* LoadValueTriples(Archive& archive, const VersionRecord& fileVersion, int count);
