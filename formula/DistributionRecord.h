#pragma once
// One numbered distribution of a document: DistSamp(n) names it by its index. It holds its distribution,
// or the name of a lookup table whose values are the probabilities of its indexes, and its current draw.

#include "foundation/zString.h"

#include <cstdint>

class Archive;
class Distribution;
class LookupTable;
class FormulaDocument;
class RunFault;

class DistributionRecord {
public:
    DistributionRecord() = default;
    // A copy with its own copy of the distribution.
    DistributionRecord(const DistributionRecord& source);
    DistributionRecord& operator=(const DistributionRecord&) = delete;
    virtual ~DistributionRecord();

    // Draws a new value (Monte Carlo trials, Markov stages); a record that is not sampled takes its
    // expected value. Each operation sets the code of its first failure in *fault (may be null).
    void Sample(RunFault* fault);
    // The current draw; DistributionNotSampled when there is none.
    double CurrentSample(RunFault* fault);
    // The distribution's mean, or the median of its table; DistributionUndefined when it has neither.
    double ExpectedValue(RunFault* fault);
    // True (message shown, DistributionRecursive) when the record is already being evaluated.
    bool CheckRecursion(RunFault* fault);
    // The table of a table-based record; null (message shown, DistributionTableMissing) when it does not
    // exist.
    LookupTable* FindTable(RunFault* fault);
    // Takes the distribution; a Table type takes its table name from parameter 0.
    void SetDistribution(Distribution* newDistribution);
    void SetOwner(FormulaDocument* document);
    // "DISTSAMP(n)".
    void FormatIndexCall(zString& out) const;
    // Stored form, see DistributionRecord.cpp.
    void Serialize(Archive& archive);

    Distribution* GetDistribution() const { return distribution; }

    zString comment;
    zString tableName;
    zString tableKey;
    int32_t index = 0;
    int32_t hasSample = 0;
    int32_t resampleEachStage = 0;
    int32_t sampled = 1;
    int32_t busy = 0;
    double sampleValue = 0.0;

private:
    Distribution* distribution = nullptr;
};
