#include "foundation/NumericFormat.h"

#include "foundation/Archive.h"
#include "foundation/PreferencesStore.h"
#include "foundation/StoredString.h"

#include <cstdio>

namespace {

constexpr int MaxDigits = 20;
constexpr int MaxChopOff = 10;
const char* const Section = "NumericFormat";

bool IsFlag(int value) { return value == 0 || value == 1; }
bool IsDigitCount(int value) { return value >= 0 && value <= MaxDigits; }
bool IsChopOff(int value) { return value >= 0 && value <= MaxChopOff; }
bool IsStoredUnitsKind(int value) { return value >= -32768 && value <= 32767; }

// A profile integer, or the default when the stored value is out of range.
int ReadProfileIntIn(const char* key, int defaultValue, bool (*valid)(int))
{
    int value = ReadProfileInt(Section, key, defaultValue);
    return valid(value) ? value : defaultValue;
}

} // namespace

NumericFormat::NumericFormat(bool axis) : axisFormat(0)
{
    // The saved format is the user's default format, never an axis's: an axis format made while nothing is
    // saved yet saves the defaults as any other does. Whether this one labels axes is its own.
    SetDefaults();
    LoadPreferences(*this);
    axisFormat = axis ? 1 : 0;
}

void NumericFormat::SetDefaults()
{
    spare = 0;
    unitsKind = UnitsCurrency;
    chopOff = 0;
    commas = 1;
    expValDigits = 0;
    probDigits = 3;
    axisDigits = 0;
}

int NumericFormat::DigitsFor(bool isExpectedValue) const
{
    if (axisFormat)
        return axisDigits;
    return isExpectedValue ? expValDigits : probDigits;
}

int NumericFormat::ExtendedProbDigits() const
{
    int digits = 2 * probDigits;
    return digits > 9 ? 9 : digits;
}

bool NumericFormat::FromText(const char* text, int, const VersionRecord&)
{
    if (!text)
        return false;
    int axis = 0, kind = 0, groups = 0, expected = 0, probability = 0, axisPlaces = 0, chop = 0, spareValue = 0;
    if (std::sscanf(text, "%d,%d,%d,%d,%d,%d,%d,%d", &axis, &kind, &groups, &expected, &probability, &axisPlaces,
                    &chop, &spareValue) != 8)
        return false;
    if (!IsFlag(axis) || !IsStoredUnitsKind(kind) || !IsFlag(groups) || !IsDigitCount(expected) ||
        !IsDigitCount(probability) || !IsDigitCount(axisPlaces) || !IsChopOff(chop) || !IsFlag(spareValue))
        return false;
    axisFormat = static_cast<uint8_t>(axis);
    unitsKind = kind;
    commas = static_cast<uint8_t>(groups);
    expValDigits = static_cast<uint8_t>(expected);
    probDigits = static_cast<uint8_t>(probability);
    axisDigits = static_cast<uint8_t>(axisPlaces);
    chopOff = static_cast<uint8_t>(chop);
    spare = static_cast<uint8_t>(spareValue);
    changed = 0;
    return true;
}

void NumericFormat::ReadProfile()
{
    unitsKind = ReadProfileIntIn("NumFormQuantity", UnitsCurrency, IsStoredUnitsKind);
    commas = static_cast<uint8_t>(ReadProfileIntIn("NumFormCommas", 1, IsFlag));
    chopOff = static_cast<uint8_t>(ReadProfileIntIn("NumFormChopOff", 0, IsChopOff));
    expValDigits = static_cast<uint8_t>(ReadProfileIntIn("NumFormExpValDigits", 0, IsDigitCount));
    probDigits = static_cast<uint8_t>(ReadProfileIntIn("NumFormProbDigits", 3, IsDigitCount));
    axisDigits = static_cast<uint8_t>(ReadProfileIntIn("NumFormAxisDigits", 0, IsDigitCount));
    ReadProfileString(Section, "NumFormPrefixOrSuffix", unitsText, 100, false);
    spare = 0;
    changed = 0;
}

void NumericFormat::WriteProfile()
{
    WriteProfileInt(Section, "NumFormQuantity", unitsKind);
    WriteProfileInt(Section, "NumFormCommas", commas);
    WriteProfileInt(Section, "NumFormChopOff", chopOff);
    WriteProfileInt(Section, "NumFormExpValDigits", expValDigits);
    WriteProfileInt(Section, "NumFormProbDigits", probDigits);
    WriteProfileInt(Section, "NumFormAxisDigits", axisDigits);
    WriteProfileString(Section, "NumFormPrefixOrSuffix", unitsText.Text(), false);
}

void NumericFormat::Serialize(Archive& archive, const VersionRecord& version)
{
    if (archive.HasFormatError())
        return;
    if (archive.IsStoring()) {
        archive.WriteByte(axisFormat).WriteShort(static_cast<int16_t>(unitsKind)).WriteByte(commas);
        archive.WriteByte(spare).WriteByte(expValDigits).WriteByte(probDigits).WriteByte(axisDigits);
        archive.WriteByte(chopOff);
        StoreString(archive, unitsText);
        return;
    }
    bool hasUnitsText = version.IsAtLeast(KnownVersion::k2_6);
    archive.ReadByte(axisFormat);
    if (hasUnitsText) {
        int16_t kind = 0;
        archive.ReadShort(kind);
        unitsKind = kind;
    } else {
        uint8_t currency = 0;
        archive.ReadByte(currency);
        unitsKind = currency ? UnitsCurrency : UnitsNone;
    }
    archive.ReadByte(commas).ReadByte(spare).ReadByte(expValDigits).ReadByte(probDigits).ReadByte(axisDigits);
    archive.ReadByte(chopOff);
    if (hasUnitsText)
        LoadString(archive, unitsText);
    if (!IsFlag(axisFormat) || !IsFlag(commas) || !IsFlag(spare) || !IsDigitCount(expValDigits) ||
        !IsDigitCount(probDigits) || !IsChopOff(chopOff))
        archive.SetFormatError(Archive::FormatNumericFormat);
}

const NumericFormat DefaultNumericFormat(false);
