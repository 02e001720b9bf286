#include "formula/DistributionRecord.h"

#include "formula/RunOutcome.h"
#include "formula/BuiltinRegistry.h"
#include "formula/Distribution.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/StringHelpers.h"
#include "foundation/VersionRecord.h"

namespace {
constexpr int32_t kTableType = 16;

// Sets the record's busy flag for one evaluation and restores the previous value.
class BusyScope {
public:
    explicit BusyScope(int32_t& flag) : flag(flag), saved(flag) { flag = 1; }
    ~BusyScope() { flag = saved; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    int32_t& flag;
    int32_t saved;
};
}  // namespace

DistributionRecord::DistributionRecord(const DistributionRecord& source)
    : comment(source.comment),
      tableName(source.tableName),
      tableKey(source.tableKey),
      index(source.index),
      hasSample(source.hasSample),
      resampleEachStage(source.resampleEachStage),
      sampled(source.sampled),
      sampleValue(source.sampleValue),
      distribution(source.distribution ? source.distribution->Clone() : nullptr)
{
}

DistributionRecord::~DistributionRecord() { delete distribution; }

bool DistributionRecord::CheckRecursion(RunFault* fault)
{
    if (!busy)
        return false;
    zString number;
    AppendInt(number, index);
    zString message("Distribution index $1 has a recursive parameter.");
    SubstituteArgs(message, number.Text());
    ReportFailure(OutcomeCode::DistributionRecursive, nullptr, nullptr, message.Text(), -1);
    if (fault)
        fault->Set(OutcomeCode::DistributionRecursive);
    return true;
}

LookupTable* DistributionRecord::FindTable(RunFault* fault)
{
    LookupTable* table = ::FindTable(tableKey.Text(), true);
    if (table)
        return table;
    zString message("The table \"");
    message += tableName;
    message += "\"was not found, and cannot be used as a distribution.";
    ReportFailure(OutcomeCode::DistributionTableMissing, nullptr, nullptr, message.Text(), -1);
    if (fault)
        fault->Set(OutcomeCode::DistributionTableMissing);
    return nullptr;
}

void DistributionRecord::Sample(RunFault* fault)
{
    if (!sampled) {
        sampleValue = ExpectedValue(fault);
        hasSample = 1;
        return;
    }
    if (CheckRecursion(fault))
        return;
    BusyScope scope(busy);
    RunFault localFault;
    RunFault* flag = fault ? fault : &localFault;
    if (tableName.IsEmpty()) {
        if (!distribution) {
            flag->Set(OutcomeCode::DistributionUndefined);
            hasSample = 0;
            return;
        }
        sampleValue = distribution->Sample(flag);
        hasSample = 1;
        return;
    }
    LookupTable* table = FindTable(flag);
    if (!table) {
        hasSample = 0;
        return;
    }
    sampleValue = table->SampleIndex(flag);
    hasSample = !*flag;
}

double DistributionRecord::CurrentSample(RunFault* fault)
{
    if (!hasSample && fault)
        fault->Set(OutcomeCode::DistributionNotSampled);
    return sampleValue;
}

double DistributionRecord::ExpectedValue(RunFault* fault)
{
    if (CheckRecursion(fault))
        return 0.0;
    BusyScope scope(busy);
    if (!tableName.IsEmpty()) {
        LookupTable* table = FindTable(fault);
        return table ? table->Median(fault) : 0.0;
    }
    if (!distribution) {
        if (fault)
            fault->Set(OutcomeCode::DistributionUndefined);
        return 0.0;
    }
    return distribution->Mean(fault);
}

void DistributionRecord::SetDistribution(Distribution* newDistribution)
{
    if (newDistribution != distribution)
        delete distribution;
    distribution = newDistribution;
    if (distribution && distribution->TypeCode() == kTableType) {
        tableName = distribution->Parameter(0)->Text();
        tableKey = tableName;
        tableKey.MakeUpper();
    } else {
        tableName.Clear();
        tableKey.Clear();
    }
}

void DistributionRecord::SetOwner(FormulaDocument* document)
{
    if (distribution)
        distribution->SetOwner(document);
}

void DistributionRecord::FormatIndexCall(zString& out) const
{
    GetBuiltinFunctionName(BuiltinDistSamp, out);
    out += "(";
    AppendInt(out, index);
    out += ")";
}

// Stored form:
//   version record            3 bytes
//   index                     2 bytes
//   hasSample                 2 bytes
//   reserved 0                2 bytes
//   sampleValue               8 bytes
//   reserved 0.0              8 bytes
//   has-distribution flag     2 bytes
//   comment                   stored string
//   distribution              its stored form, when the flag is set
//   resampleEachStage         2 bytes, from 3.0.b2 on
//   tableName                 stored string, newer than 3.0.b2
void DistributionRecord::Serialize(Archive& archive)
{
    if (archive.Failed())
        return;
    VersionRecord version;
    if (archive.IsStoring()) {
        version.Serialize(archive);
        archive.WriteShort(static_cast<int16_t>(index)).WriteShort(static_cast<int16_t>(hasSample)).WriteShort(0);
        archive.WriteDouble(sampleValue).WriteDouble(0.0);
        archive.WriteShort(distribution ? 1 : 0);
        StoreString(archive, comment);
        if (distribution)
            StoreDistribution(distribution, archive);
        archive.WriteShort(static_cast<int16_t>(resampleEachStage));
        StoreString(archive, tableName);
        return;
    }
    version.Serialize(archive);
    int16_t storedIndex = 0;
    int16_t storedHasSample = 0;
    int16_t reserved = 0;
    double reservedValue = 0.0;
    int16_t hasDistribution = 0;
    archive.ReadShort(storedIndex).ReadShort(storedHasSample).ReadShort(reserved);
    archive.ReadDouble(sampleValue).ReadDouble(reservedValue);
    archive.ReadShort(hasDistribution);
    index = storedIndex;
    hasSample = storedHasSample;
    LoadString(archive, comment);
    if (hasDistribution)
        SetDistribution(LoadDistribution(archive));
    if (version.IsAtLeast(KnownVersion::k3_0_Beta2)) {
        int16_t resample = 0;
        archive.ReadShort(resample);
        resampleEachStage = resample;
        if (version.IsNewerThan(KnownVersion::k3_0_Beta2)) {
            LoadString(archive, tableName);
            tableKey = tableName;
            tableKey.MakeUpper();
        }
    }
}
