#pragma once
// The ranges that move together along one axis of a sensitivity analysis: the axis's main variable first,
// then the variables correlated with it, all taking the same step at the same time.

#include "analysis/VariableRange.h"
#include "foundation/PtrArray.h"

#include <cstdint>

class Archive;

class SensitivityRangeSet {
public:
    SensitivityRangeSet() = default;
    SensitivityRangeSet(const SensitivityRangeSet&) = delete;
    SensitivityRangeSet& operator=(const SensitivityRangeSet&) = delete;

    // Appends a range; the set owns it from then on.
    void Add(VariableRange* range);
    int Count() const { return ranges.Count(); }
    VariableRange* RangeAt(int i) const { return ranges.At(i); }

    // Every range takes step i of the intervals; the main range's value text goes to text when given.
    void ApplyStep(int i, zString* text);
    // Every range's definitions get their formulas back.
    void RestoreAll();
    // Copies of the other set's ranges (name, low, high) whose bindings save the definitions' current texts.
    void Assign(const SensitivityRangeSet& other);

    // Stored form, see SensitivityRangeSet.cpp.
    void Serialize(Archive& archive);

    // The number of equal intervals of the axis; -1 until the analysis is set up.
    int32_t intervals = -1;

private:
    class RangeList : public PtrArray {
    public:
        RangeList() : PtrArray(4, true) {}
        ~RangeList() override { Clear(); }
        VariableRange* At(int i) const { return static_cast<VariableRange*>(PtrArray::At(i)); }
        void DeleteItem(void* item) override { delete static_cast<VariableRange*>(item); }
    };

    RangeList ranges;
};
