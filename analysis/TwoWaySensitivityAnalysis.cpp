#include "analysis/TwoWaySensitivityAnalysis.h"

#include "analysis/VariableSubstitution.h"
#include "foundation/PresenterSlot.h"
#include "foundation/VersionRecord.h"
#include "model/StoredAnalysis.h"

namespace {

using Slot = PresenterSlot<TwoWaySensitivityResults, TwoWaySensitivityPresenter>;

}  // namespace

TwoWaySensitivityAnalysis::TwoWaySensitivityAnalysis(TreeNode* node, const TwoWaySettings& settings)
    : RegionSweepRun(node, TwoWaySensitivityKind, {&settings.x, &settings.y}, settings.checkCoherence)
{
}

// Records before 3.0 beta 2 end after the bindings, and only those from 3.5 beta 2 on hold correlated ranges.
TwoWaySensitivityAnalysis::TwoWaySensitivityAnalysis(TreeDocument* treeDocument, StoredAnalysis* record)
    : RegionSweepRun(treeDocument, record, TwoWaySensitivityKind, 2, KnownVersion::k3_0_Beta2,
                     KnownVersion::k3_5_Beta2)
{
}

void TwoWaySensitivityAnalysis::Finish()
{
    RestoreAll();
    TwoWaySensitivityResults results;
    results.strategies = strategies;
    results.newRun = newRun != 0;
    results.title = "Sensitivity Analysis on ";
    results.subtitle = SweptVariables();
    results.xLabel = sets[0].AxisTitle(document);
    results.yLabel = sets[1].AxisTitle(document);
    // The graph takes the map over.
    if (!maps.empty())
        results.map = std::move(maps[0]);
    maps.clear();
    results.graphTemplate = CallerTemplate();
    if (Slot::Current())
        Slot::Current()(results);
}

TwoWaySensitivityPresenter SetTwoWaySensitivityPresenter(TwoWaySensitivityPresenter presenter)
{
    return Slot::Replace(std::move(presenter));
}

void RunStoredTwoWaySensitivity(StoredAnalysis* record, TreeDocument* document)
{
    RunAnalysis(std::make_unique<TwoWaySensitivityAnalysis>(document, record));
}

// Items: node path, X and Y names, X low and high, Y low and high, X and Y intervals.
void DescribeTwoWaySensitivity(TreeDocument* document, StoredAnalysis* record, zString& text)
{
    const StoredNameList& items = *record->parameters;
    auto item = [&items](int i) { return StoredItemText(items, i); };
    text = "Sens(2) on ";
    text += item(1);
    text += " and ";
    text += item(2);
    AppendAtNode(text, document, item(0));
    text += "\r\n";
    for (int axis = 0; axis < 2; ++axis) {
        text += item(1 + axis);
        text += ": ";
        text += item(3 + 2 * axis);
        text += " to ";
        text += item(4 + 2 * axis);
        text += "; ";
        text += item(7 + axis);
        text += " Intervals\r\n";
    }
}
