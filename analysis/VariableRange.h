#pragma once
// One variable that a sensitivity analysis varies: its name, its values at the first and the last step,
// and the definitions of the tree that the sweep overwrites, each with the formula text it had.

#include "foundation/FormattedValue.h"
#include "foundation/PtrArray.h"
#include "foundation/zString.h"

#include <cstdint>

class Archive;
class VariableDefinition;
struct TreeNode;

// A definition that a sweep overwrites and the formula text it had before. Without a definition and a node
// it stands for the risk preference coefficient.
struct RangeBinding {
    VariableDefinition* definition = nullptr;
    TreeNode* node = nullptr;
    zString savedText;
};

// The bindings of a range: owns its entries, never the definitions or nodes they point to.
class RangeBindingList : public PtrArray {
public:
    RangeBindingList() : PtrArray(4, true) {}
    ~RangeBindingList() override { Clear(); }

    RangeBinding* At(int i) const { return static_cast<RangeBinding*>(PtrArray::At(i)); }
    void* CloneItem(void* item) override { return new RangeBinding(*static_cast<RangeBinding*>(item)); }
    void DeleteItem(void* item) override { delete static_cast<RangeBinding*>(item); }
};

class VariableRange {
public:
    // An empty range, to be read from an archive.
    VariableRange() = default;
    // The name (key upper-cased) with its low and high values; third value and tolerance zero, mode 0.
    VariableRange(const zString& name, const FormattedValue& low, const FormattedValue& high);
    VariableRange(const VariableRange&) = delete;
    VariableRange& operator=(const VariableRange&) = delete;

    // Stored form, see VariableRange.cpp.
    void Serialize(Archive& archive);

    // low + i * ((high - low) / n): step 0 is low, step n high.
    double StepValue(int i, int n) const;
    // Writes step i of n into every binding as its text with nine significant digits; copies that text to
    // text when given.
    void ApplyStep(int i, int n, zString* text);
    // Puts every binding's saved formula text back.
    void Restore();
    // "low .. high", or "low +/- tolerance%" in tolerance mode.
    void Describe(zString& out) const;

    zString name;
    // The name upper-cased: variables are looked up regardless of case.
    zString key;
    // The values at step 0 and at the last step.
    FormattedValue low;
    FormattedValue high;
    FormattedValue thirdValue;
    // A percentage, used when mode is nonzero: the range is then low plus or minus this share of it.
    FormattedValue tolerance;
    int16_t mode = 0;
    RangeBindingList bindings;
};
