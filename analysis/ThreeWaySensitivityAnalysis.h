#pragma once
// Three-way sensitivity analysis: a two-way sweep over X and Y repeated for every step of a third variable
// Z, filling one strategy region map per Z step. The maps keep every cell's full value triple, so regions
// under cost-effectiveness compare costs as the two-way maps do.

#include "analysis/TwoWaySensitivityAnalysis.h"

#include <memory>
#include <vector>

struct ThreeWaySettings {
    SensitivityAxisSettings x;
    SensitivityAxisSettings y;
    SensitivityAxisSettings z;
    bool checkCoherence = true;
};

class ThreeWaySensitivityAnalysis : public RegionSweepRun {
public:
    ThreeWaySensitivityAnalysis(TreeNode* node, const ThreeWaySettings& settings);
    // Runs a stored record (kind 9) again; a record that no longer fits the tree stops with a message.
    ThreeWaySensitivityAnalysis(TreeDocument* document, StoredAnalysis* record);

    void Finish() override;
};

// What the three-way sensitivity graph is given: the maps, one per Z step, and the third variable's scale.
class GraphTemplate;

struct ThreeWaySensitivityResults {
    std::vector<std::shared_ptr<StrategyRegionMap>> maps;
    int32_t strategies = 0;
    bool newRun = false;
    zString title;
    zString subtitle;
    zString labels[3];
    double zLow = 0.0;
    double zHigh = 0.0;
    double zStep = 0.0;
    // The template kept with the stored analysis that drew the graph, applied to the new window; null for none.
    const GraphTemplate* graphTemplate = nullptr;
};
using ThreeWaySensitivityPresenter = std::function<void(const ThreeWaySensitivityResults&)>;
ThreeWaySensitivityPresenter SetThreeWaySensitivityPresenter(ThreeWaySensitivityPresenter presenter);

void DescribeThreeWaySensitivity(TreeDocument* document, StoredAnalysis* record, zString& text);
void RunStoredThreeWaySensitivity(StoredAnalysis* record, TreeDocument* document);
