#pragma once
// A tree's custom interface: the numbers (parameters) a designer lets the end user change, what else that
// user may do (options) and the designer's comment. Held by the tree document and stored in its file; the
// designer and run-time dialogs edit it.

#include "foundation/PtrArray.h"
#include "foundation/zString.h"

#include <cstdint>

class Archive;
class VersionRecord;
struct TreeNode;

// One number the end user may change; it sets the definition of its variable.
struct CustomInterfaceParameter {
    zString variableName;
    zString switchLabel{};  // text of the check box of an on/off switch, at most 8 characters
    zString valueText{};    // written into the definition when applied; empty: the formatted current value
    zString workingText{};  // while the Change Values dialog is open; not stored
    double low = 0.0;
    double high = 0.0;
    double defaultValue = 0.0;
    double currentValue = 0.0;
    double workingValue = 0.0; // not stored
    int16_t integerOnly = 0;
    int16_t onOffSwitch = 0;
    int16_t wheelAllowed = 0;
};

// A calculation method the end user may pick: codes 1-4 payoff 1-4, 5 cost-effectiveness, 6 benefit-cost,
// 7 multi-attribute.
struct CalcMethodChoice {
    zString menuText;
    int16_t code = 0;
};

// What the end user may do; a list of the calculation-method choices.
class CustomInterfaceOptions : public PtrArray {
public:
    CustomInterfaceOptions() : PtrArray(4, true) {}
    ~CustomInterfaceOptions() override { Clear(); }
    void DeleteItem(void* item) override { delete static_cast<CalcMethodChoice*>(item); }
    CalcMethodChoice* At(int i) const { return static_cast<CalcMethodChoice*>(PtrArray::At(i)); }

    // Bit i: the end user may run analysis i (0 one-way sensitivity ... 17 roll back) by hand.
    uint32_t analysesOffered = 0x3F710;
    int16_t allowRiskToggle = 0;
    // The risk function the user may switch on is the constant-risk-aversion one (else the other).
    int16_t constantRiskAversion = 1;
    int16_t allowCalcMethodChange = 0;
    int16_t allowViewTree = 1;
    int16_t allowSaveTree = 0;
    // 0 the Basic custom interface, 1 the Extended one.
    int16_t extended = 0;
};

class CustomInterfaceSettings : public PtrArray {
public:
    CustomInterfaceSettings() : PtrArray(4, true) {}
    ~CustomInterfaceSettings() override { Clear(); }
    void DeleteItem(void* item) override { delete static_cast<CustomInterfaceParameter*>(item); }
    CustomInterfaceParameter* At(int i) const { return static_cast<CustomInterfaceParameter*>(PtrArray::At(i)); }

    // Stored form (a writer writes the current version; readers gate on what they read):
    //   version record V                         3 bytes
    //   options: version record W                3 bytes
    //            allow risk toggle, constant risk aversion, allow calc method change, allow view tree,
    //            allow save tree                 5 x i16
    //            choice count n                  i16, then n x (code i16, menu text string)
    //            W >= 3.0 beta 2: extended       i16
    //            W > 3.0 beta 2: analyses mask   u32 (else the mask keeps its value)
    //   parameter count m                        i16
    //   m parameters:  V < 3.0 beta 2 (reading only): two strings, discarded
    //                  variable name, switch label   2 strings
    //                  low, high, default, current   4 x f64
    //                  integer only, on/off switch, wheel allowed   3 x i16
    //                  V >= 3.5: value text          string
    //   comment                                  string
    // Reading stops at the first failure of the archive, whatever the counts say.
    void Serialize(Archive& archive);
    // The end user has an option to set: the risk function switch, or a calculation method to choose.
    bool IsInUse() const
    {
        return options.allowRiskToggle != 0 || (options.allowCalcMethodChange != 0 && options.Count() > 0);
    }

    // Writes the parameter's value text (its current value, formatted, when the text is empty) into the
    // definition of its variable: at the node when it binds the variable, else at the root when that does;
    // the node whose definition changed, or null when neither binds it.
    static TreeNode* ApplyParameterValue(const CustomInterfaceParameter& parameter, TreeNode* root, TreeNode* node);

    CustomInterfaceOptions options;
    zString comment;

private:
    void SerializeOptions(Archive& archive);
    void SerializeParameter(Archive& archive, CustomInterfaceParameter& parameter, const VersionRecord& version);
};
