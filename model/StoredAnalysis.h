#pragma once
// A named record of an analysis's settings, kept with the tree so that the analysis can be run again:
// its parameters as texts (their meaning is the kind's), a comment, the version of the settings' form,
// the analysis kind and an optional graph template. A plain record made with Init and freed with Destroy.

#include "foundation/StoredNameList.h"
#include "foundation/VersionRecord.h"
#include "foundation/zString.h"

#include <cstdint>
#include <memory>

class GraphTemplate;
class TreeDocument;

// Analysis kinds of stored records.
enum StoredAnalysisKind : int32_t {
    OneWaySensitivityKind = 1,
    ThresholdKind = 2,
    ProbabilityDistributionKind = 3,
    RollBackKind = 4,
    TwoWaySensitivityKind = 5,
    ObsoleteKind = 6,
    MarkovCohortKind = 7,
    NoAnalysisKind = 8,
    ThreeWaySensitivityKind = 9,
    TornadoKind = 10,
    NodeValuesKind = 11,
    OverUnderKind = 12,
    MonteCarloKind = 13,
    EvpiKind = 14,
};

struct StoredAnalysis {
    // Empty texts, the current version, an empty parameter list, kind 0, no template, no successor.
    void Init();
    // Frees the parameter list, the template and the texts.
    void Destroy();
    // A new record that owns copies of this one's parameters and template (the successor link is shared).
    [[nodiscard]] StoredAnalysis* Clone() const;
    // A new record made by Init; freed with Delete.
    [[nodiscard]] static StoredAnalysis* New();
    static void Delete(StoredAnalysis* record);

    StoredNameList* parameters = nullptr;
    zString name;
    zString comment;
    VersionRecord version;
    int32_t kind = 0;
    GraphTemplate* graphTemplate = nullptr;
    int16_t templateAllowed = 0;
    int16_t spare = 0;
    // The record to run after this one (not owned, not stored).
    StoredAnalysis* next = nullptr;
};

// Owns a record made by New and frees it with Delete.
struct StoredAnalysisDeleter {
    void operator()(StoredAnalysis* record) const { StoredAnalysis::Delete(record); }
};
using StoredAnalysisPtr = std::unique_ptr<StoredAnalysis, StoredAnalysisDeleter>;
