#include "model/TreeCalcPrefs.h"

#include "foundation/Archive.h"
#include "foundation/ArchiveTransfer.h"
#include "foundation/PreferencesStore.h"

#include <cstdio>

namespace {

const char* const Section = "TreeCalcPrefs";

bool IsPayoffIndex(int value) { return value >= 0 && value <= 3; }
bool IsCalcMethod(int value) { return value >= 0 && value <= static_cast<int>(CalcMethodKind::MultiAttribute); }

// A profile key that must name a payoff or a method: out of range keeps the default.
int ReadIndexKey(const char* key, int defaultValue, bool (*valid)(int))
{
    int value = ReadProfileInt(Section, key, defaultValue);
    return valid(value) ? value : defaultValue;
}

// A direction flag stored as one byte of which only bit 0 counts.
void TransferFlagBit(Archive& archive, int32_t& flag)
{
    TransferByte(archive, flag);
    flag &= 1;
}

void SkipBytes(Archive& archive, uint32_t count)
{
    uint8_t ignored = 0;
    for (uint32_t i = 0; i < count; ++i)
        archive.ReadByte(ignored);
}

} // namespace

bool CalcMethodFromNumber(int number, CalcMethodKind& method)
{
    if (!IsCalcMethod(number))
        return false;
    method = static_cast<CalcMethodKind>(number);
    return true;
}

TreeCalcPrefs::TreeCalcPrefs()
{
    SetDefaults();
    LoadPreferences(*this);
}

void TreeCalcPrefs::SetDefaults()
{
    RollBackCalculatesKey = RollBackExpectedValues;
    UseUtility = 0;
    CalcComplementaryProbs = 0;
    CurrentPayoff = 0;
    BCCostPayoff = 1;
    BCBenefitPayoff = 0;
    CECostPayoff = 0;
    CEEffPayoff = 1;
    AllowTermNodeNameAsPayoff = 0;
    MarkovMonteFastTerm = 1;
    FastRollBack = 0;
    for (NumericFormat& format : PayoffFormats)
        format.SetDefaults();
    for (int32_t& direction : OptPath)
        direction = 1;
    MultiAttrOptPath = 1;
    CostEffOptPath = 0;
    BenCostOptPath = 1;
    CalcMethod = PayoffMethod;
    for (Expression& weight : MultiAttrWeight)
        weight.SetText("");
    CostEffFormat.SetDefaults();
    MultiAttrFormat.SetDefaults();
    BenCostFormat.SetDefaults();
}

NumericFormat TreeCalcPrefs::EffectivenessFormat() const
{
    NumericFormat format = PayoffFormats[IsPayoffIndex(CEEffPayoff) ? CEEffPayoff : 0];
    if (format.unitsKind == NumericFormat::UnitsCurrency)
        format.unitsKind = NumericFormat::UnitsNone;
    return format;
}

const NumericFormat& TreeCalcPrefs::CurrentNumericFormat() const
{
    switch (CalcMethod) {
    case CostEffectivenessMethod: return CostEffFormat;
    case BenefitCostMethod: return BenCostFormat;
    case MultiAttributeMethod: return MultiAttrFormat;
    default: return PayoffFormats[IsPayoffIndex(CurrentPayoff) ? CurrentPayoff : 0];
    }
}

NumericFormat& TreeCalcPrefs::CurrentNumericFormat()
{
    return const_cast<NumericFormat&>(static_cast<const TreeCalcPrefs&>(*this).CurrentNumericFormat());
}

// Older text form: RollBackCalculatesKey, UseUtility, CalcComplementaryProbs, OptPath1..4, CurrentPayoff.
bool TreeCalcPrefs::FromText(const char* text, int, const VersionRecord&)
{
    int values[8] = {};
    if (text == nullptr || std::sscanf(text, "%d,%d,%d,%d,%d,%d,%d,%d", &values[0], &values[1], &values[2],
                                       &values[3], &values[4], &values[5], &values[6], &values[7]) != 8)
        return false;
    RollBackCalculatesKey = values[0];
    UseUtility = static_cast<uint8_t>(values[1]);
    CalcComplementaryProbs = static_cast<uint8_t>(values[2]);
    for (int i = 0; i < 4; ++i)
        OptPath[i] = values[3 + i] != 0 ? 1 : 0;
    CurrentPayoff = static_cast<int8_t>(IsPayoffIndex(values[7]) ? values[7] : 0);
    return true;
}

void TreeCalcPrefs::ReadProfile()
{
    RollBackCalculatesKey = ReadProfileInt(Section, "RollBackCalculatesKey", 0);
    UseUtility = static_cast<uint8_t>(ReadProfileInt(Section, "UseUtility", 0));
    CalcComplementaryProbs = static_cast<uint8_t>(ReadProfileInt(Section, "CalcComplementaryProbs", 0));
    MultiAttrOptPath = ReadProfileInt(Section, "MultiAttrOptPath", 1);
    BenCostOptPath = ReadProfileInt(Section, "BenCostOptPath", 1);
    CostEffOptPath = ReadProfileInt(Section, "CostEffOptPath", 0);
    CurrentPayoff = static_cast<int8_t>(ReadIndexKey("CurrentPayoff", 0, IsPayoffIndex));
    BCCostPayoff = static_cast<int8_t>(ReadIndexKey("BCCostPayoff", 1, IsPayoffIndex));
    BCBenefitPayoff = static_cast<int8_t>(ReadIndexKey("BCBenefitPayoff", 0, IsPayoffIndex));
    CECostPayoff = static_cast<int8_t>(ReadIndexKey("CECostPayoff", 0, IsPayoffIndex));
    CEEffPayoff = static_cast<int8_t>(ReadIndexKey("CEEffPayoff", 1, IsPayoffIndex));
    CalcMethod = static_cast<CalcMethodKind>(ReadIndexKey("CalcMethod", 0, IsCalcMethod));
    AllowTermNodeNameAsPayoff = static_cast<uint8_t>(ReadProfileInt(Section, "AllowTermNodeNameAsPayoff", 0));
    MarkovMonteFastTerm = static_cast<uint8_t>(ReadProfileInt(Section, "MarkovMonteFastTerm", 1));
    FastRollBack = static_cast<uint8_t>(ReadProfileInt(Section, "FastRollBack", 0));
    char key[24];
    for (int n = 1; n <= 4; ++n) {
        std::snprintf(key, sizeof key, "OptPath%d", n);
        OptPath[n - 1] = ReadProfileInt(Section, key, 1);
        std::snprintf(key, sizeof key, "MultiAttrWeight%d", n);
        zString weight;
        ReadProfileString(Section, key, weight, 200, false);
        MultiAttrWeight[n - 1].SetText(weight.Text());
    }
}

void TreeCalcPrefs::WriteProfile()
{
    WriteProfileInt(Section, "RollBackCalculatesKey", RollBackCalculatesKey);
    WriteProfileInt(Section, "UseUtility", UseUtility);
    WriteProfileInt(Section, "CalcComplementaryProbs", CalcComplementaryProbs);
    WriteProfileInt(Section, "MultiAttrOptPath", MultiAttrOptPath);
    WriteProfileInt(Section, "BenCostOptPath", BenCostOptPath);
    WriteProfileInt(Section, "CostEffOptPath", CostEffOptPath);
    WriteProfileInt(Section, "CurrentPayoff", CurrentPayoff);
    WriteProfileInt(Section, "BCCostPayoff", BCCostPayoff);
    WriteProfileInt(Section, "BCBenefitPayoff", BCBenefitPayoff);
    WriteProfileInt(Section, "CECostPayoff", CECostPayoff);
    WriteProfileInt(Section, "CEEffPayoff", CEEffPayoff);
    WriteProfileInt(Section, "CalcMethod", static_cast<int>(CalcMethod));
    WriteProfileInt(Section, "AllowTermNodeNameAsPayoff", AllowTermNodeNameAsPayoff);
    WriteProfileInt(Section, "MarkovMonteFastTerm", MarkovMonteFastTerm);
    WriteProfileInt(Section, "FastRollBack", FastRollBack);
    char key[24];
    for (int n = 1; n <= 4; ++n) {
        std::snprintf(key, sizeof key, "OptPath%d", n);
        WriteProfileInt(Section, key, OptPath[n - 1]);
        std::snprintf(key, sizeof key, "MultiAttrWeight%d", n);
        WriteProfileString(Section, key, MultiAttrWeight[n - 1].Text().Text(), false);
    }
}

// Stored form (v: the version record before it; the writer gives the current one):
//   RollBackCalculatesKey i16; UseUtility, CalcComplementaryProbs, CurrentPayoff  u8 each
//   -- v >= 2.6 --
//   v < 3.0 beta 9: two bytes, ignored
//   MarkovMonteFastTerm, BCCostPayoff, BCBenefitPayoff, CECostPayoff, CEEffPayoff  u8 each
//   CalcMethod i16; AllowTermNodeNameAsPayoff u8
//   MultiAttrWeight 1..4                                 Expression each
//   cost-effectiveness, benefit-cost, multi-attribute formats   version record + format each
//   MultiAttrOptPath, BenCostOptPath, CostEffOptPath     u8 each (bit 0)
//   v >= 2.6 beta 2: FastRollBack u8
//   -- every version --
//   payoff 1..4: OptPath u8 (bit 0), then the payoff's format (version record + format)
//   3.5 <= v <= 3.5 beta 4: two f64 and one i16, ignored
// Reading a payoff index or method out of range sets format error 23.
void TreeCalcPrefs::Serialize(Archive& archive, const VersionRecord& version)
{
    if (archive.HasFormatError())
        return;
    TransferShort(archive, RollBackCalculatesKey);
    TransferByte(archive, UseUtility);
    TransferByte(archive, CalcComplementaryProbs);
    TransferByte(archive, CurrentPayoff);
    if (version.IsAtLeast(KnownVersion::k2_6)) {
        if (archive.IsLoading() && version.IsOlderThan(KnownVersion::k3_0_Beta9))
            SkipBytes(archive, 2);
        TransferByte(archive, MarkovMonteFastTerm);
        TransferByte(archive, BCCostPayoff);
        TransferByte(archive, BCBenefitPayoff);
        TransferByte(archive, CECostPayoff);
        TransferByte(archive, CEEffPayoff);
        TransferShort(archive, CalcMethod);
        TransferByte(archive, AllowTermNodeNameAsPayoff);
        for (Expression& weight : MultiAttrWeight)
            weight.Serialize(archive);
        SerializeWithVersion(CostEffFormat, archive);
        SerializeWithVersion(BenCostFormat, archive);
        SerializeWithVersion(MultiAttrFormat, archive);
        TransferFlagBit(archive, MultiAttrOptPath);
        TransferFlagBit(archive, BenCostOptPath);
        TransferFlagBit(archive, CostEffOptPath);
        if (version.IsAtLeast(KnownVersion::k2_6_Beta2))
            TransferByte(archive, FastRollBack);
    }
    for (int payoff = 0; payoff < 4; ++payoff) {
        TransferFlagBit(archive, OptPath[payoff]);
        SerializeWithVersion(PayoffFormats[payoff], archive);
    }
    if (archive.IsLoading() && version.IsAtLeast(KnownVersion::k3_5) && version.IsAtMost(KnownVersion::k3_5_Beta4))
        SkipBytes(archive, 2 * 8 + 2);
    if (archive.IsLoading() &&
        !(IsPayoffIndex(CurrentPayoff) && IsPayoffIndex(BCCostPayoff) && IsPayoffIndex(BCBenefitPayoff) &&
          IsPayoffIndex(CECostPayoff) && IsPayoffIndex(CEEffPayoff) && IsCalcMethod(static_cast<int>(CalcMethod))))
        archive.SetFormatError(FormatBadTreePrefs);
}
