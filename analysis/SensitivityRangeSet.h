#pragma once
// The ranges that move together along one axis of a sensitivity analysis: the axis's main variable first,
// then the variables correlated with it, all taking the same step at the same time.

#include "analysis/VariableRange.h"
#include "foundation/PtrArray.h"

#include <cstdint>

class Archive;
class NameList;
class TreeDocument;
struct StoredItemReader;

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

    // "[name:  description]" of range i: names a variable that moves with the main one and its range.
    zString FormatBracketLabel(int i) const;
    // An axis's title: the main variable's label, then the bracket label of every correlated range.
    zString AxisTitle(const TreeDocument* document) const;

    // Text form in a stored analysis: the count of all ranges, then from range 1 (skipFirst) or 0 each
    // range's name, low and high texts and its bindings.
    void StoreText(NameList& items, bool skipFirst) const;
    // Reads that form for the tree, appending the ranges; false when the list ends or a binding fails.
    bool LoadText(StoredItemReader& items, TreeDocument* document, bool skipFirst);

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
