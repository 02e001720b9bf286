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

class ThreeWaySensitivityAnalysis : public AnalysisRun {
public:
    ThreeWaySensitivityAnalysis(TreeNode* node, const ThreeWaySettings& settings);
    // Runs a stored record (kind 9) again; a record that no longer fits the tree stops with a message.
    ThreeWaySensitivityAnalysis(TreeDocument* document, StoredAnalysis* record);
    ~ThreeWaySensitivityAnalysis() override;

    bool Begin() override;
    const char* Name() const override { return "Sensitivity Analysis"; }
    int Step() override;
    void Finish() override;
    double ProgressPos() override;
    double ProgressTotal() override { return maps.empty() ? 0 : static_cast<double>(zCount) * maps[0]->CellCount(); }
    StoredAnalysis* MakeStoredRecord() override;

    bool BuildBindings();

    TreeNode* node;
    std::unique_ptr<CoherenceGuard> coherenceGuard;
    zString names[3];
    zString whenText;
    zString valueTexts[3];
    int32_t strategies = 0;
    int32_t xCount = 0;
    int32_t yCount = 0;
    int32_t zCount = 0;
    int32_t yStep = 0;
    int32_t xStep = 0;
    int32_t zStep = 0;
    int32_t newRun = 0;
    int32_t strategyCounter = 0;
    SensitivityRangeSet sets[3];
    std::vector<std::shared_ptr<StrategyRegionMap>> maps;
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
