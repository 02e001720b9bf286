#pragma once
// How displayed numbers look: decimal places by the kind of number, thousands grouping, a power of ten
// divided out (with a K, M or B letter) and units (the currency symbol, or a units text before or after the
// number). A preference record: every new format starts from the user's saved number format. Typed text is
// written by NumericFormatting.h and read back into numbers by NumericFormatParsing.h.

#include "foundation/NumericFormatParsing.h"
#include "foundation/NumericFormatting.h"
#include "foundation/PreferenceRecord.h"
#include "foundation/zString.h"

#include <cstdint>

class NumericFormat : public PreferenceRecord {
public:
    // Units kinds.
    enum : int32_t { UnitsNone = 0, UnitsCurrency = 1, UnitsTextBefore = 2, UnitsTextAfter = 3 };

    // Defaults, then the user's saved number format; an axis format stays one whatever the saved format is.
    explicit NumericFormat(bool axisFormat = false);

    // The older text form "axisFormat,unitsKind,commas,expValDigits,probDigits,axisDigits,chopOff,spare".
    // All eight values must be present and in range; then changed is cleared and the result is true.
    bool FromText(const char* text, int flag, const VersionRecord& version) override;
    const char* ClassName() const override { return "NumericFormat"; }
    // The individual keys "NumFormQuantity", "NumFormCommas", "NumFormChopOff", "NumFormExpValDigits",
    // "NumFormProbDigits", "NumFormAxisDigits" and "NumFormPrefixOrSuffix" of section "NumericFormat".
    void ReadProfile() override;
    void WriteProfile() override;
    // Stored form:
    //   axisFormat     1
    //   unitsKind      2   (before 2.6: 1 byte, nonzero meaning currency)
    //   commas         1
    //   spare          1
    //   expValDigits   1
    //   probDigits     1
    //   axisDigits     1
    //   chopOff        1
    //   unitsText      stored string (from 2.6 on)
    // After reading, a flag other than 0 or 1, digits above 20 or a chop-off above 10 sets format error 22.
    void Serialize(Archive& archive, const VersionRecord& version) override;
    // spare 0, currency units, no chop-off, commas, 0 expected-value places, 3 probability places, 0 axis
    // places; the units text is not touched.
    void SetDefaults() override;

    // Decimal places: axisDigits for an axis format, else expValDigits or probDigits.
    int DigitsFor(bool isExpectedValue) const;
    // Twice probDigits, at most 9.
    int ExtendedProbDigits() const;

    uint8_t changed = 0;
    uint8_t axisFormat = 0;
    uint8_t spare = 0;
    uint8_t commas = 1;
    uint8_t expValDigits = 0;
    uint8_t probDigits = 3;
    uint8_t axisDigits = 0;
    uint8_t chopOff = 0;
    int32_t unitsKind = UnitsCurrency;
    zString unitsText;
};

// The built-in format of numbers shown outside a document's own format.
extern const NumericFormat DefaultNumericFormat;
