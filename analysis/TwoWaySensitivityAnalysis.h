#pragma once
// Two-way sensitivity analysis: varies two variables X and Y over their own ranges and, at every grid point,
// rolls back every branch of a decision node into a strategy region map, one evaluation per idle step.
// Every overwritten definition gets its formula back when the run ends, however it ends.

#include "analysis/RegionSweepRun.h"

#include <functional>
#include <memory>

struct TwoWaySettings {
    SensitivityAxisSettings x;
    SensitivityAxisSettings y;
    // Off: the probabilities are not checked at each grid point (the tree's checking flag is off meanwhile).
    bool checkCoherence = true;
};

class TwoWaySensitivityAnalysis : public RegionSweepRun {
public:
    TwoWaySensitivityAnalysis(TreeNode* node, const TwoWaySettings& settings);
    // Runs a stored record (kind 5) again; a record that no longer fits the tree stops with a message.
    TwoWaySensitivityAnalysis(TreeDocument* document, StoredAnalysis* record);

    void Finish() override;
};

// What the two-way sensitivity graph is given: it takes the map.
class GraphTemplate;

struct TwoWaySensitivityResults {
    std::shared_ptr<StrategyRegionMap> map;
    int32_t strategies = 0;
    bool newRun = false;
    zString title;
    zString subtitle;
    zString xLabel;
    zString yLabel;
    // The template kept with the stored analysis that drew the graph, applied to the new window; null for none.
    const GraphTemplate* graphTemplate = nullptr;
};
// Shows a two-way sweep. Until a presenter is installed nothing is shown.
using TwoWaySensitivityPresenter = std::function<void(const TwoWaySensitivityResults&)>;
TwoWaySensitivityPresenter SetTwoWaySensitivityPresenter(TwoWaySensitivityPresenter presenter);

// The description of a stored two-way analysis (kind 5).
void DescribeTwoWaySensitivity(TreeDocument* document, StoredAnalysis* record, zString& text);
void RunStoredTwoWaySensitivity(StoredAnalysis* record, TreeDocument* document);
